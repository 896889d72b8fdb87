#pragma once
// CImplantedWndContent: lets a real child window of the control take the
// place of a cell (type letter 'i'). The content reserves the cell's height
// and registers the window with the control, which shows it over the cell,
// moves it with every relayout and scroll and hides it while the cell is
// not visible. The window stays its creator's.
#include "hybrid/ContentBase.h"
#include "hybrid/IHybridImplantedWnd.h"

class CImplantedWndContent : public CContentBase<IHybridImplantedWnd>
{
public:
    CImplantedWndContent() = default;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    WCHAR GetType() override { return L'i'; }
    void Draw(CDC* dc, CRect rect) override;
    int GetPreferredHeight(int) override { return m_height; }
    void OnDetach() override;

    void SetHeight(int height) override;
    void SetWnd(HWND wnd) override;

private:
    int m_height = 100;
    HWND m_wnd = nullptr;
};
