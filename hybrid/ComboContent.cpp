#include "hybrid/ComboContent.h"
#include <algorithm>
#include "common/DrawRoutines.h"
#include "common/LocalizedString.h"
#include "hybrid/ComboList.h"
#include "hybrid/ContentDrawing.h"
#include "hybrid/EditContent.h"
#include "hybrid/TextContent.h"

namespace {

enum : UINT {
    IDB_COMBO_ARROW = 10022,
    IDB_COMBO_ARROW_DISABLED = 10023,
    IDB_COMBO_FLAT_ARROW = 10032,
    IDB_COMBO_FLAT_ARROW_FOCUS = 10034,
    IDB_COMBO_FLAT_ARROW_DISABLED = 10046,
};
const COLORREF kArrowKey = 0x0000FF;
const int kButtonWidth = 16;

} // namespace

CComboContent::CComboContent() = default;

CComboContent::~CComboContent()
{
    DropList();
}

STDMETHODIMP CComboContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out,
                       {Primary(IID_IHybridContent), Primary(IID_IHybridCombo), Primary(IID_IStretchContent)});
}

CComboList* CComboContent::GetOpenList()
{
    // A list destroyed with its owner took its object along.
    if (m_list && !::IsWindow(m_listWnd)) {
        m_list = nullptr;
        m_listWnd = nullptr;
    }
    return m_list;
}

IStretchContent* CComboContent::SetLength(int length)
{
    m_width = length;
    return this;
}

int CComboContent::AddStringID(UINT id)
{
    CLocalizedString text;
    text.LoadString(id);
    return AddString(text);
}

int CComboContent::AddString(LPCWSTR text)
{
    m_itemData.Add(0);
    return static_cast<int>(m_items.Add(text ? text : L""));
}

LPCWSTR CComboContent::GetString(int index)
{
    return IsValidIndex(index) ? static_cast<LPCWSTR>(m_items[index]) : L"";
}

void CComboContent::SetCurSel(int index, bool notify)
{
    if ((index != -1 && !IsValidIndex(index)) || index == m_current)
        return;
    CIPtr<IHybridCombo> self(this); // the notification may detach the cell
    m_current = index;
    OnCurrentChanged();
    if (notify)
        NotifyCell(HN_COMBO_CHANGED);
}

int CComboContent::SelectString(LPCWSTR text, bool notify)
{
    if (!text)
        return -1;
    for (int i = 0; i < GetCount(); ++i) {
        if (m_items[i] == text) {
            SetCurSel(i, notify);
            return i;
        }
    }
    return -1;
}

int CComboContent::SelectItemData(DWORD value)
{
    int index = -1;
    for (int i = 0; i < static_cast<int>(m_itemData.GetSize()) && index == -1; ++i)
        if (m_itemData[i] == value)
            index = i;
    SetCurSel(index, true);
    return index;
}

void CComboContent::ResetContent()
{
    m_items.RemoveAll();
    m_itemData.RemoveAll();
    SetCurSel(-1, true);
}

void CComboContent::SetItemData(int index, DWORD value)
{
    if (index >= 0 && index < static_cast<int>(m_itemData.GetSize()))
        m_itemData[index] = value;
}

DWORD CComboContent::GetItemData(int index)
{
    return index >= 0 && index < static_cast<int>(m_itemData.GetSize()) ? m_itemData[index] : 0;
}

void CComboContent::SetPromptText(LPCWSTR text)
{
    if (!text)
        return;
    m_prompt = text;
    Invalidate();
}

int CComboContent::GetPreferredWidth()
{
    if (m_width)
        return m_width;
    int widest = 0;
    for (int i = 0; i < GetCount(); ++i)
        widest = std::max(widest, static_cast<int>(MeasureStyleText(GetCtrl(), GetStyle(), m_items[i]).cx));
    return widest + 12 + ::GetSystemMetrics(SM_CXVSCROLL);
}

int CComboContent::GetPreferredHeight(int)
{
    IHybridStyle* style = GetStyle();
    return (style ? style->GetTextHeight() : 0) + 8;
}

bool CComboContent::OnLButtonDown(const CPoint&)
{
    if (m_closeTime) {
        const DWORD elapsed = ::GetTickCount() - m_closeTime;
        m_closeTime = 0;
        if (elapsed < COMBO_REOPEN_GUARD_MS)
            return true;
    }
    ShowDropDown(true, false);
    return true;
}

bool CComboContent::OnKeyDown(UINT virtualKey, UINT)
{
    if (virtualKey != VK_UP && virtualKey != VK_DOWN)
        return false;
    if (::GetKeyState(VK_MENU) < 0) {
        ShowDropDown(virtualKey == VK_DOWN, false);
        return true;
    }
    const int index = virtualKey == VK_DOWN ? m_current + 1 : m_current - 1;
    if (virtualKey == VK_UP && m_current == -1)
        return true;
    if (IsValidIndex(index))
        SetCurSel(index, true);
    return true;
}

void CComboContent::ShowDropDown(bool show, bool lostActivation)
{
    CIPtr<IHybridCombo> self(this);
    if (show && !GetOpenList())
        OpenList();
    else if (!show && GetOpenList())
        CloseList(lostActivation);
    Invalidate();
}

void CComboContent::OpenList()
{
    CHybridCtrl* control = GetCtrl();
    if (!control || !control->GetSafeHwnd())
        return;
    CRect work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    CRect rect = GetRect();
    control->ClientToScreen(&rect);
    CWnd* owner = CWnd::FromHandle(::GetParent(control->GetSafeHwnd()));
    CComboList* list = new CComboList(this, owner);
    if (!list->Create(IDD_HYBRID_COMBO_LIST, owner)) {
        delete list;
        return;
    }
    m_list = list;
    m_listWnd = list->GetSafeHwnd();
    const int rows = std::min(GetCount(), COMBO_MAX_ROWS);
    const int height = list->GetRowHeight() * rows + 2;
    const int width = rect.Width();
    int x = rect.left, y = rect.bottom;
    if (y + height > work.bottom)
        y = rect.top - height;
    if (x < work.left)
        x = work.left;
    else if (x + width > work.right)
        x = work.right - width;
    ::SetWindowPos(m_listWnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_SHOWWINDOW);
    if (NotifiesDropDown())
        NotifyCell(HN_COMBO_OPENED);
}

void CComboContent::CloseList(bool lostActivation)
{
    if (lostActivation) {
        CRect rect = GetRect();
        CPoint cursor;
        ::GetCursorPos(&cursor);
        if (CHybridCtrl* control = GetCtrl())
            control->ClientToScreen(&rect);
        if (rect.PtInRect(cursor))
            m_closeTime = std::max<DWORD>(::GetTickCount(), 1);
    }
    // Forgotten first: closing deactivates the list, which asks to close
    // again, and that request must find nothing to close.
    CComboList* list = m_list;
    m_list = nullptr;
    m_listWnd = nullptr;
    list->Close();
    if (CHybridCtrl* control = GetCtrl()) {
        control->SetFocus();
        control->SetActiveCell(m_cell, true, false);
    }
    if (NotifiesDropDown())
        NotifyCell(HN_COMBO_CLOSED);
}

void CComboContent::DropList()
{
    if (CComboList* list = GetOpenList()) {
        m_list = nullptr;
        m_listWnd = nullptr;
        list->Close();
    }
}

void CComboContent::OnDetach()
{
    DropList();
}

void CComboContent::DrawArrow(CDC* dc, CRect& rect, bool focusLook, bool enabled)
{
    const HDC hdc = dc->GetSafeHdc();
    const DWORD high = HighBits();
    const bool open = m_list != nullptr;
    if (high & HCMB_ARROWONLY) {
        const UINT bitmap = enabled ? IDB_COMBO_ARROW : IDB_COMBO_ARROW_DISABLED;
        const SIZE size = GetBitmapResourceSize(bitmap);
        CRect arrow(rect.right - size.cx - 2, rect.top, rect.right - 2, rect.bottom);
        DrawBitmapTransparentCentred(bitmap, hdc, arrow, kArrowKey);
        rect.right -= size.cx + 2;
        return;
    }
    CRect button(rect);
    button.DeflateRect(2, 2);
    button.left = button.right - kButtonWidth;
    UINT bitmap;
    if (high & HCMB_FLAT) {
        bitmap = !enabled    ? IDB_COMBO_FLAT_ARROW_DISABLED
                 : focusLook ? IDB_COMBO_FLAT_ARROW_FOCUS
                             : IDB_COMBO_FLAT_ARROW;
    } else {
        bitmap = enabled ? IDB_COMBO_ARROW : IDB_COMBO_ARROW_DISABLED;
        if (open) {
            dc->FillSolidRect(&button, ::GetSysColor(COLOR_BTNFACE));
            dc->Draw3dRect(&button, HYBRID_SHADOW, HYBRID_SHADOW);
        } else {
            CRect face(button);
            ::DrawFrameControl(hdc, &face, DFC_BUTTON, DFCS_BUTTONPUSH);
        }
    }
    if (open)
        button.OffsetRect(1, 1);
    DrawBitmapTransparentCentred(bitmap, hdc, button, kArrowKey);
    rect.right -= button.Width();
}

void CComboContent::Draw(CDC* dc, CRect rect)
{
    const HDC hdc = dc->GetSafeHdc();
    const DWORD high = HighBits();
    const bool open = m_list != nullptr;
    const bool focusLook = !open && IsFocusCell();
    const bool enabled = IsEnabled();
    CFontSelector font(hdc, StyleFont(GetStyle()));
    const COLORREF textColour = focusLook ? GetSelTextColor() : enabled ? GetTextColor() : HYBRID_SHADOW;
    const COLORREF field = ::GetSysColor(focusLook ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    if (high & HCMB_FLAT) {
        dc->FillSolidRect(&rect, field);
        if (!(high & HCMB_FLATFOCUS) || focusLook || open)
            dc->Draw3dRect(&rect, HYBRID_SHADOW, HYBRID_SHADOW);
    } else {
        DrawEditFrame(dc, rect, false);
        CRect inner(rect);
        inner.DeflateRect(2, 2);
        const COLORREF window = ::GetSysColor(COLOR_WINDOW);
        dc->Draw3dRect(&inner, window, window);
        inner.DeflateRect(1, 1);
        dc->FillSolidRect(&inner, field);
    }
    DrawArrow(dc, rect, focusLook, enabled);
    const CString text = GetShownText();
    rect.DeflateRect(3, 3);
    if (focusLook && !(high & HCMB_ARROWONLY))
        DrawFocusRectangle(hdc, rect);
    rect.left += 1;
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, textColour);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if ((high & HCMB_ARROWONLY) || (static_cast<DWORD>(GetStyleBits()) & HTB_CENTER))
        format |= DT_CENTER;
    ::DrawTextW(hdc, text, text.GetLength(), &rect, format);
}
