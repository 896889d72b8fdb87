#include "hybrid/ComboList.h"
#include "platform/mfc/afxmsg.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/IHybridText.h"
#include "hybrid/TextContent.h"

namespace {

const DWORD kRowBits = HCB_NOFRAME | HCB_ITEM;

} // namespace

BEGIN_MESSAGE_MAP(CComboList, CActiveDlg)
    ON_WM_SIZE()
    ON_WM_ACTIVATE()
END_MESSAGE_MAP()

CComboList::CComboList(IHybridCombo* combo, CWnd* owner)
    : CActiveDlg(IDD_HYBRID_COMBO_LIST, owner, false), m_combo(combo)
{
}

CComboList::~CComboList() = default;

BOOL CComboList::OnInitDialog()
{
    CActiveDlg::OnInitDialog();
    m_initialised = true;
    if (!m_list.Create(this, IDC_HYBRID_COMBO_LIST, 0)) {
        EndDialog(IDCANCEL); // no list to choose from: the combo stays as it was
        return TRUE;
    }
    m_list.SetSingleSelect(true);
    m_list.SetHoverSelect(true);
    CIPtr<IHybridCell> currentRow;
    if (CIPtr<IHybridCombo> combo = m_combo) {
        const DWORD centred = static_cast<DWORD>(combo->GetStyleBits()) & HTB_CENTER;
        const int count = combo->GetCount();
        const int current = combo->GetCurSel();
        CCellBuilder builder(&m_list);
        for (int i = 0; i < count; ++i) {
            CIPtr<IHybridCell> row;
            CIPtr<IHybridText> text;
            builder.SetText(combo->GetString(i))
                .SetData(static_cast<DWORD_PTR>(i))
                .SetStyleBits(kRowBits | centred)
                .ReturnCell(&row)
                .ReturnText(&text)
                .AddText();
            if (!row)
                continue;
            if (i == current) {
                row->SetSelected(true, true);
                m_list.SetActiveCell(row, false, false);
                currentRow = row;
            }
            if (i == 0) {
                m_firstRow = row;
                if (text)
                    m_list.SetLineStep(text->GetPreferredHeight(1));
            }
        }
    }
    if (currentRow)
        m_list.EnsureVisible(currentRow);
    CRect client;
    GetClientRect(&client);
    m_list.MoveWindow(&client, TRUE);
    return TRUE;
}

int CComboList::GetRowHeight()
{
    if (!m_firstRow)
        return 0;
    CRect client;
    GetClientRect(&client);
    m_list.MoveWindow(0, 0, client.Width(), 0, FALSE);
    m_list.RecalcLayout(false);
    CRect row;
    m_firstRow->GetRect(&row);
    return row.Height();
}

void CComboList::CloseThroughCombo(bool lostActivation)
{
    CIPtr<IHybridCombo> combo(m_combo);
    if (combo)
        combo->ShowDropDown(false, lostActivation);
}

void CComboList::Commit()
{
    CIPtr<IHybridCombo> combo(m_combo);
    if (!combo)
        return;
    if (IHybridCell* row = m_list.GetSelectedCell())
        combo->SetCurSel(static_cast<int>(row->GetData()), true);
    // The notification may already have closed the list: then this object
    // is gone, and the combo has no list left to close.
    combo->ShowDropDown(false, false);
}

BOOL CComboList::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
        CloseThroughCombo(false);
        return TRUE;
    }
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        Commit();
        return TRUE;
    }
    if (msg->message == WM_SYSKEYDOWN) {
        if (msg->wParam == VK_UP && ::GetKeyState(VK_MENU) < 0)
            CloseThroughCombo(false);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

LRESULT CComboList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HYBRID_NOTIFY) {
        if (wParam == HN_LBUTTONUP)
            PostMessage(WM_COMBOLIST_COMMIT);
        return 0;
    }
    if (message == WM_COMBOLIST_COMMIT) {
        Commit();
        return 0;
    }
    return CActiveDlg::WindowProc(message, wParam, lParam);
}

void CComboList::OnSize(UINT, int cx, int cy)
{
    if (m_list.GetSafeHwnd())
        m_list.MoveWindow(0, 0, cx, cy, TRUE);
}

void CComboList::OnActivate(UINT state, CWnd*, BOOL)
{
    Default();
    if (state != WA_INACTIVE) {
        if (m_list.GetSafeHwnd())
            m_list.SetFocus();
        return;
    }
    // Closing gives the activation back, which deactivates the list again:
    // that second close is ignored (the combo reports one close).
    if (!m_closing)
        CloseThroughCombo(true);
}

// Destroyed from outside (with its owner) instead of through Close: the
// object goes with its window. After Close, Close deletes it; a creation
// that failed before the dialog started leaves it to its creator.
void CComboList::PostNcDestroy()
{
    if (m_initialised && !m_closing)
        delete this;
}
