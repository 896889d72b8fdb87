#include "xf/xfHorMenuElement.h"
#include <cwctype>
#include "platform/mfc/afxmenu.h"
#include "common/DrawRoutines.h"
#include "common/LocalizedString.h"
#include "hybrid/HybridCtrl.h"
#include "xf/xfFrame.h"
#include "xf/xfMessages.h"
#include "xf/xfToolBar.h"

CxfHorMenuElement* CxfHorMenuElement::s_pCurrent = nullptr;

CxfHorMenuElement::CxfHorMenuElement(UINT menuId, int index) : m_nMenuID(menuId), m_nIndex(index)
{
    LoadText();
}

void CxfHorMenuElement::LoadText()
{
    CMenu menu;
    if (!menu.LoadMenu(m_nMenuID))
        return;
    WCHAR buffer[256] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(m_nIndex), buffer, 255, MF_BYPOSITION);
    m_strText = buffer;
    TranslateText(m_strText);
}

void CxfHorMenuElement::Retranslate()
{
    LoadText();
    m_size = CSize(0, 0);
}

CxfHorMenuElement::~CxfHorMenuElement()
{
    if (s_pCurrent == this)
        s_pCurrent = nullptr;
}

STDMETHODIMP CxfHorMenuElement::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out,
                       {Primary(IID_IHybridContent), Primary(IID_IxfHorMenuElement),
                        SInterfaceEntry(IID_IxfRootMenuElement, static_cast<IxfRootMenuElement*>(this))});
}

void CxfHorMenuElement::Draw(CDC* dc, CRect rect)
{
    IHybridStyle* style = GetStyle();
    CFontSelector font(dc, style ? style->GetFont() : nullptr);
    const bool lit = (m_bHot && s_pCurrent != this) || m_bMouseOver || m_pSubMenu;
    COLORREF text = style ? style->GetTextColor() : 0;
    if (lit) {
        dc->FillSolidRect(&rect, style ? style->GetSelBkColor() : ::GetSysColor(COLOR_HIGHLIGHT));
        text = style ? style->GetSelTextColor() : ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else if (!(GetStyleBits() & HCB_TRANSPARENT)) {
        dc->FillSolidRect(&rect, GetBkColor());
    }
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(text);
    CString shown = m_strText;
    BOOL cues = TRUE;
    if (!::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0))
        cues = TRUE;
    if (::GetKeyState(VK_MENU) >= 0 && !cues)
        shown.Remove(L'&');
    // The size comes from the text as drawn, with the same flags: a '&'
    // that underlines takes no room.
    const UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (m_size.cx == 0 && m_size.cy == 0) {
        CRect calc(0, 0, 0, 0);
        dc->DrawText(shown, &calc, flags | DT_CALCRECT);
        m_size = CSize(calc.Width() + 6, calc.Height() + 8);
    }
    dc->DrawText(shown, &rect, flags);
}

void CxfHorMenuElement::Measure()
{
    if (m_size.cx != 0 || m_size.cy != 0)
        return;
    CDC dc;
    if (!dc.CreateCompatibleDC(nullptr))
        return;
    Draw(&dc, CRect(0, 0, 0, 0));
}

int CxfHorMenuElement::GetPreferredWidth()
{
    Measure();
    return m_size.cx;
}

int CxfHorMenuElement::GetPreferredHeight(int)
{
    Measure();
    return m_size.cy;
}

bool CxfHorMenuElement::OnLButtonDown(const CPoint&)
{
    OpenMenu(true, false);
    return true;
}

void CxfHorMenuElement::OnMouseEnter()
{
    m_bMouseOver = true;
    CxfHorMenuElement* other = s_pCurrent;
    if (other && other != this) {
        other->ClosePopup();
        s_pCurrent = this;
        other->SetHot(false);
        other->ClosePopup();
        OpenPopup();
        return;
    }
    Invalidate();
}

void CxfHorMenuElement::OnMouseLeave()
{
    m_bMouseOver = false;
    Invalidate();
}

void CxfHorMenuElement::SetHot(bool hot)
{
    if (m_bHot == hot)
        return;
    m_bHot = hot;
    Invalidate();
}

void CxfHorMenuElement::OpenMenu(bool open, bool selectFirst)
{
    if (!open) {
        s_pCurrent = nullptr;
        ClosePopup();
        return;
    }
    s_pCurrent = this;
    OpenPopup();
    if (selectFirst && m_pSubMenu) {
        MSG down{};
        down.hwnd = m_pSubMenu->GetSafeHwnd();
        down.message = WM_KEYDOWN;
        down.wParam = VK_DOWN;
        m_pSubMenu->PreTranslateMessage(&down);
    }
}

bool CxfHorMenuElement::MatchesMnemonic(WCHAR ch)
{
    const int amp = m_strText.Find(L'&');
    if (amp < 0 || amp + 1 >= m_strText.GetLength())
        return false;
    return std::towupper(m_strText[amp + 1]) == std::towupper(ch);
}

void CxfHorMenuElement::GetAnchorRect(RECT* out)
{
    if (!out)
        return;
    CRect rect = GetRect();
    if (CHybridCtrl* control = GetCtrl())
        control->ClientToScreen(&rect);
    *out = CRect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom);
}

void CxfHorMenuElement::OpenPopup()
{
    CHybridCtrl* control = GetCtrl();
    if (m_pSubMenu || !control)
        return;
    CRect rect = GetRect();
    control->ClientToScreen(&rect);
    CxfToolBar* bar = dynamic_cast<CxfToolBar*>(control->GetParent());
    CxfFrame* owner = bar && bar->GetFrame() ? bar->GetFrame()->GetTopFrame() : nullptr;
    CxfPopupMenu* popup =
        new CxfPopupMenu(this, this, SxfMenuPath(m_nMenuID, m_nIndex), rect.left, rect.bottom, owner, nullptr);
    m_pSubMenu = popup;
    // The popup takes the activation when it shows itself: activated while
    // still hidden, it would be slow to close (CActiveDlg).
    if (!popup->CreateModeless()) {
        m_pSubMenu = nullptr;
        delete popup;
    }
    Invalidate();
}

void CxfHorMenuElement::ClosePopup()
{
    if (m_pSubMenu)
        m_pSubMenu->SendMessage(XFM_CLOSEPOPUP);
    Invalidate();
}

void CxfHorMenuElement::OnSubMenuClosed()
{
    m_pSubMenu = nullptr;
    if (s_pCurrent == this)
        s_pCurrent = nullptr;
    Invalidate();
}

void CxfHorMenuElement::CloseMenuChain()
{
    // A command, a press elsewhere or another program ends the menu: the
    // band leaves its keyboard mode too, so that the next keys are the
    // program's and no menu opens again by itself.
    m_bHot = false;
    ClosePopup();
    CHybridCtrl* control = GetCtrl();
    if (CxfToolBar* bar = control ? dynamic_cast<CxfToolBar*>(control->GetParent()) : nullptr)
        bar->EndMenuMode();
}

bool CxfHorMenuElement::OnMenuKey(const MSG* msg)
{
    CHybridCtrl* control = GetCtrl();
    CxfToolBar* bar = control ? dynamic_cast<CxfToolBar*>(control->GetParent()) : nullptr;
    return bar && bar->HandleMenuKey(msg);
}
