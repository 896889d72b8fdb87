#pragma once
// One top-level entry of a menu band: shows the entry's text on the bar,
// lights up under the mouse or the keyboard and opens the entry's submenu
// as a popup right under itself. Once one element's popup is open, the
// mouse moving onto another element moves the popup there.
#include "hybrid/ContentBase.h"
#include "xf/xfContentInterfaces.h"
#include "xf/xfPopupMenu.h"

class CxfHorMenuElement : public CContentBase<IxfHorMenuElement, IxfRootMenuElement>, public CxfSubMenuHolder
{
public:
    CxfHorMenuElement(UINT menuId, int index);
    ~CxfHorMenuElement() override;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    [[nodiscard]] bool CanFocus() override { return false; }
    void Draw(CDC* dc, CRect rect) override;
    int GetPreferredWidth() override;
    int GetPreferredHeight(int width) override;
    bool OnLButtonDown(const CPoint& point) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;

    void SetHot(bool hot) override;
    void OpenMenu(bool open, bool selectFirst) override;
    [[nodiscard]] bool IsMenuOpen() override { return s_pCurrent == this; }
    [[nodiscard]] bool MatchesMnemonic(WCHAR ch) override;

    void GetAnchorRect(RECT* out) override;

    void OnSubMenuClosed() override;
    void CloseMenuChain() override;
    bool OnMenuKey(const MSG* msg) override;

    LPCWSTR GetText() const { return m_strText; }
    // Reads the entry's text again in the current language; the element is
    // measured anew.
    void Retranslate();
    CxfPopupMenu* GetPopup() const { return m_pSubMenu; }
    // The element that leads the open band menu, or null.
    static CxfHorMenuElement* GetCurrent() { return s_pCurrent; }

private:
    void LoadText();
    void OpenPopup();
    void ClosePopup();
    void Measure();

    UINT m_nMenuID;
    int m_nIndex;
    CSize m_size{0, 0};
    CString m_strText;
    bool m_bMouseOver = false;
    bool m_bHot = false;

    static CxfHorMenuElement* s_pCurrent;
};
