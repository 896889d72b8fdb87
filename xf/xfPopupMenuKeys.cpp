// CxfPopupMenu: keyboard handling and the accelerator texts of the rows.
#include "xf/xfPopupMenu.h"
#include <cwctype>
#include "common/KeyRoutines.h"
#include "hybrid/IHybridSubContent.h"
#include "hybrid/IHybridText.h"
#include "xf/xfFrame.h"

namespace {

const DWORD kSubMenuData = static_cast<DWORD>(-1);
const DWORD kTextData = 10;

struct SKeyName
{
    WORD key;
    UINT stringId;
};

// The first entry with a key wins.
const SKeyName kKeyNames[] = {
    {0x08, 10183}, {0x0C, 10184}, {0x0D, 10185}, {0x10, 10186}, {0x11, 10187}, {0x12, 10191}, {0x13, 10192},
    {0x1B, 10188}, {0x2E, 10189}, {0x70, 10193}, {0x71, 10194}, {0x72, 10195}, {0x73, 10196}, {0x74, 10197},
    {0x75, 10198}, {0x76, 10199}, {0x77, 10200}, {0x78, 10201}, {0x79, 10202}, {0x7A, 10203}, {0x7B, 10204},
    {0x7C, 10205}, {0x7D, 10206}, {0x7E, 10207}, {0x7F, 10208}, {0x80, 10209}, {0x81, 10210}, {0x82, 10211},
    {0x83, 10212}, {0x84, 10213}, {0x85, 10214}, {0x86, 10215}, {0x87, 10216}, {0x60, 10217}, {0x61, 10218},
    {0x62, 10219}, {0x63, 10220}, {0x64, 10221}, {0x65, 10222}, {0x66, 10223}, {0x67, 10224}, {0x68, 10225},
    {0x69, 10226}, {0x21, 10244}, {0x22, 10243}, {0x23, 10242}, {0x24, 10241}, {0x25, 10240}, {0x26, 10239},
    {0x27, 10238}, {0x28, 10237}, {0x29, 10236}, {0x2B, 10235}, {0x2C, 10234}, {0x2D, 10233}, {0x2F, 10232},
    {0x6A, 10231}, {0x6B, 10230}, {0x6C, 10229}, {0x6D, 10228}, {0x6E, 10227}, {0x6F, 10190}, {0x20, 10245},
    {0x09, 10254},
};

void AppendPart(CString& text, UINT stringId)
{
    CString part;
    part.LoadString(stringId);
    if (!text.IsEmpty())
        text += L"+";
    text += part;
}

// The character after the first '&', upper-cased; 0 when there is none
// or the '&' is the last character.
WCHAR MnemonicOf(const CString& text)
{
    const int amp = text.Find(L'&');
    if (amp < 0 || amp + 1 >= text.GetLength())
        return 0;
    return static_cast<WCHAR>(std::towupper(text[amp + 1]));
}

} // namespace

CString FormatAccelerator(BYTE flags, WORD key)
{
    CString text;
    if (flags & FSHIFT)
        AppendPart(text, 10186);
    if (flags & FCONTROL)
        AppendPart(text, 10187);
    if (flags & FALT)
        AppendPart(text, 10191);
    if (flags & FVIRTKEY) {
        for (const SKeyName& name : kKeyNames) {
            if (name.key == key) {
                AppendPart(text, name.stringId);
                return text;
            }
        }
    }
    if (key < 0x100 && std::iswalnum(key)) {
        if (!text.IsEmpty())
            text += L"+";
        text += static_cast<WCHAR>(std::towupper(key));
    }
    return text;
}

CString GetAcceleratorText(CxfFrame* owner, UINT id)
{
    ACCEL accel{};
    CxfFrame* top = owner ? owner->GetTopFrame() : nullptr;
    if (!top || !top->FindAccelerator(id, &accel))
        return CString();
    return FormatAccelerator(accel.fVirt, accel.key);
}

BOOL CxfPopupMenu::PreTranslateMessage(MSG* msg)
{
    if (CWnd::PreTranslateMessage(msg))
        return TRUE;
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return FALSE;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))
        return FALSE;
    if (OnMenuKey(msg))
        return TRUE; // this popup may be gone: nothing touches it now
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_CANCEL)) {
        HWND cancel = ::GetDlgItem(m_hWnd, IDCANCEL);
        if (cancel && !::IsWindowEnabled(cancel))
            return FALSE;
        SendMessage(WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
    return FALSE;
}

IHybridCell* CxfPopupMenu::FirstSelectedRow()
{
    for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
        if (m_rows[i]->IsSelected())
            return m_rows[i];
    return nullptr;
}

int CxfPopupMenu::FindSelectable(int from, int step)
{
    const int count = static_cast<int>(m_rows.GetSize());
    for (int n = 0; n < count; ++n) {
        const int i = ((from + n * step) % count + count) % count;
        if ((m_rows[i]->GetStyleBits() & HCB_ITEM) != 0)
            return i;
    }
    return -1;
}

void CxfPopupMenu::SelectRow(IHybridCell* row)
{
    m_ctrl.ClearSelection(0, false);
    row->SetSelected(true, false);
}

bool CxfPopupMenu::ActivateRow(IHybridCell* row)
{
    if (!row || !row->IsEnabled())
        return false;
    if (row->GetData() == kSubMenuData) {
        if (m_pSubMenu)
            return false;
        SelectRow(row);
        ScheduleSubMenu(row, false);
        return true;
    }
    DeliverCommand(row, true);
    return true;
}

bool CxfPopupMenu::MatchMnemonic(WCHAR ch)
{
    const WCHAR wanted = static_cast<WCHAR>(std::towupper(ch));
    for (INT_PTR i = 0; i < m_rows.GetSize(); ++i) {
        CIPtr<IHybridSubContent> sub;
        CCellArray children;
        if (m_rows[i]->GetSubContent(&sub) && sub)
            sub->GetChildren(&children);
        for (INT_PTR c = 0; c < children.GetSize(); ++c) {
            CIPtr<IHybridText> text;
            if (children[c]->GetData() != kTextData ||
                FAILED(text.QueryFrom(children[c]->GetContentPtr(), IID_IHybridText)) || !text ||
                MnemonicOf(text->GetText()) != wanted)
                continue;
            // A disabled row uses the key and does nothing: a mnemonic
            // never runs a disabled command.
            CIPtr<IHybridCell> row = m_rows[i];
            if (row->IsEnabled())
                (void)ActivateRow(row); // the key is used either way
            return true;
        }
    }
    return false;
}

bool CxfPopupMenu::OnMenuKey(const MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        const UINT key = static_cast<UINT>(msg->wParam);
        const int count = static_cast<int>(m_rows.GetSize());
        CIPtr<IHybridCell> selected = FirstSelectedRow();
        switch (key) {
        case VK_RETURN:
            if (ActivateRow(selected))
                return true;
            break;
        case VK_LEFT:
            if (m_pSubMenu) {
                CloseSubMenu();
                return true;
            }
            break;
        case VK_UP:
        case VK_DOWN: {
            if (count == 0)
                break;
            const int step = key == VK_DOWN ? 1 : -1;
            const int at = selected ? m_rows.Find(selected) : -1;
            const int found = at < 0 ? FindSelectable(0, 1) : FindSelectable(at + step, step);
            if (found < 0)
                break;
            SelectRow(m_rows[found]);
            return true;
        }
        case VK_RIGHT:
            if (!selected) {
                const int found = FindSelectable(0, 1);
                if (found >= 0) {
                    SelectRow(m_rows[found]);
                    return true;
                }
            } else if (selected->GetData() == kSubMenuData && !m_pSubMenu && selected->IsEnabled()) {
                ScheduleSubMenu(selected, false);
                return true;
            }
            break;
        default:
            if (const WCHAR ch = GetCharFromKeyMsg(msg))
                if (MatchMnemonic(ch))
                    return true;
            break;
        }
    }
    return m_pParentHolder ? m_pParentHolder->OnMenuKey(msg) : false;
}
