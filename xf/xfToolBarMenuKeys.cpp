// CxfToolBar: the keyboard menu mode of a menu band (Alt, F10, mnemonics,
// arrows, Enter, Escape).
#include "xf/xfToolBar.h"
#include "common/KeyRoutines.h"
#include "xf/xfHorMenuElement.h"
#include "xf/xfMessages.h"

void CxfToolBar::GetMenuElements(CIArray<IxfHorMenuElement>& out)
{
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i) {
        CIPtr<IxfHorMenuElement> element;
        if (IHybridContent* content = m_cells[i]->GetContentPtr())
            if (SUCCEEDED(element.QueryFrom(content, IID_IxfHorMenuElement)) && element)
                out.Add(element);
    }
}

void CxfToolBar::RetranslateMenuBand()
{
    CIArray<IxfHorMenuElement> elements;
    GetMenuElements(elements);
    if (elements.GetSize() == 0)
        return;
    for (INT_PTR i = 0; i < elements.GetSize(); ++i) {
        // Every menu element of a band is a CxfHorMenuElement (the band's
        // table makes them).
        IxfHorMenuElement* element = elements[i];
        static_cast<CxfHorMenuElement*>(element)->Retranslate();
    }
    RecalcLayout();
    Invalidate();
}

void CxfToolBar::SetHotElement(IxfHorMenuElement* element)
{
    if (m_pHotElement == element)
        return;
    if (m_pHotElement)
        m_pHotElement->SetHot(false);
    m_pHotElement = element;
    if (m_pHotElement)
        m_pHotElement->SetHot(true);
}

bool CxfToolBar::HasMenuBand()
{
    CIArray<IxfHorMenuElement> elements;
    GetMenuElements(elements);
    return elements.GetSize() > 0;
}

bool CxfToolBar::HandleMenuKey(const MSG* msg)
{
    if (!msg)
        return false;
    const UINT message = msg->message;
    const UINT key = static_cast<UINT>(msg->wParam);
    CIArray<IxfHorMenuElement> elements;
    GetMenuElements(elements);

    if (message == WM_KEYDOWN && (key == VK_RETURN || key == VK_UP || key == VK_DOWN)) {
        if (!m_pHotElement || m_pHotElement->IsMenuOpen())
            return false;
        m_pHotElement->OpenMenu(true, true);
        return true;
    }
    if (key == VK_MENU || key == VK_F10) {
        if (message == WM_SYSKEYUP) {
            if (m_pHotElement)
                SetHotElement(nullptr);
            else if (elements.GetSize() > 0)
                SetHotElement(elements[0]);
            return true;
        }
        if (message == WM_SYSKEYDOWN) {
            if (m_pHotElement && m_pHotElement->IsMenuOpen())
                m_pHotElement->OpenMenu(false, false);
            return true;
        }
        return false;
    }
    if (key == VK_ESCAPE) {
        // Only the key going down acts: its release (and its character)
        // must not end the menu mode that the press left in place.
        if (!m_pHotElement || (message != WM_KEYDOWN && message != WM_SYSKEYDOWN))
            return false;
        if (m_pHotElement->IsMenuOpen())
            m_pHotElement->OpenMenu(false, false);
        else
            SetHotElement(nullptr);
        return true;
    }
    if (message == WM_KEYDOWN && (key == VK_LEFT || key == VK_RIGHT)) {
        const INT_PTR count = elements.GetSize();
        const int i = m_pHotElement ? elements.Find(m_pHotElement) : -1;
        if (count < 2 || i < 0)
            return false;
        const INT_PTR next = key == VK_LEFT ? (i == 0 ? count - 1 : i - 1) : (i == count - 1 ? 0 : i + 1);
        const bool wasOpen = m_pHotElement->IsMenuOpen();
        if (wasOpen)
            m_pHotElement->OpenMenu(false, false);
        SetHotElement(elements[next]);
        if (wasOpen)
            PostMessage(XFM_OPENHOTMENU, 0, 0);
        return true;
    }
    // Alt with a letter: the context bit of the message says Alt is down.
    const bool altDown = (msg->lParam & (1 << 29)) != 0;
    const bool ownRule = key == VK_LEFT || key == VK_RIGHT || key == VK_RETURN || key == VK_UP || key == VK_DOWN;
    if (message == WM_SYSKEYDOWN && altDown && !ownRule) {
        const WCHAR ch = GetCharFromKeyMsg(msg);
        for (INT_PTR i = 0; i < elements.GetSize(); ++i) {
            if (ch && elements[i]->MatchesMnemonic(ch)) {
                SetHotElement(elements[i]);
                m_pHotElement->OpenMenu(true, true);
                return true;
            }
        }
        return false;
    }
    return false;
}
