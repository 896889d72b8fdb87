#pragma once
// CDisplayContent<I>: the base of every audio view. A view is a windowless
// content on one shared time model; it registers with the model when it is
// made and holds it (the model holds the view too, until its Clear).
//
// The model may tell a view about the play cursor on the playback thread
// while the view's control is being destroyed on the user-interface thread.
// The view's link to its cell is therefore guarded by a small lock, and the
// view forgets its cell when the cell lets go of it: a view that outlives
// its control never draws into it or asks it to repaint. Lock order: the
// model's lock, then the view's.
#include "platform/mfc/afxmt.h"
#include "common/CritSecLock.h"
#include "common/DrawRoutines.h"
#include "hybrid/ContentBase.h"
#include "app/ITimeContainer.h"
#include "app/ViewInterfaces.h"
#include "app/ViewDC.h"

template <class I>
class CDisplayContent : public CContentBase<I, BASE_STUB, BASE_STUB2>
{
    typedef CContentBase<I, BASE_STUB, BASE_STUB2> Base;

public:
    explicit CDisplayContent(ITimeContainer* container) : m_container(container)
    {
        if (container)
            container->AddDisplay(static_cast<I*>(this));
    }

    [[nodiscard]] bool CanFocus() override { return false; }

    void Draw(CDC* dc, CRect rect) override
    {
        CFontSelector font(dc ? dc->GetSafeHdc() : nullptr, GetStyleFont());
        Paint(dc, rect, 0, rect.Width());
    }

    void OnLButtonUp(const CPoint&) override
    {
        CHybridCtrl* control = this->GetCtrl();
        if (control && control->IsCaptureCell(this->m_cell))
            this->ReleaseMouse();
    }

    void Invalidate() override
    {
        CCritSecLock lock(&m_cellLock);
        Base::Invalidate();
    }

    void OnRelease() override
    {
        CIPtr<IHybridCell> leaving;
        CCritSecLock lock(&m_cellLock);
        leaving = this->m_cell;
        this->m_cell = nullptr;
    }

    // IDisplay
    void SetReader(IAudioReader*) override {}
    void OnPlayCursorChanged() override {}
    void OnPlayPositionChanged() override {}
    void OnSelectionChanged() override { Invalidate(); }

    // Draws the view into rect, from column firstColumn on.
    virtual void Paint(CDC* dc, CRect rect, int firstColumn, int columnCount) = 0;

protected:
    // The font of the cell's style; null without a cell or a font.
    HFONT GetStyleFont()
    {
        IHybridStyle* style = this->GetStyle();
        CFont* font = style ? style->GetFont() : nullptr;
        return font ? static_cast<HFONT>(*font) : nullptr;
    }

    // Size of a text in the style's font, on a memory device context
    // compatible with the screen.
    CSize MeasureText(LPCWSTR text)
    {
        CDC dc;
        if (!dc.CreateCompatibleDC(nullptr))
            return CSize(0, 0);
        CFontSelector font(dc.GetSafeHdc(), GetStyleFont());
        return dc.GetTextExtent(text, lstrlenW(text));
    }

    // Posts a message to the window that holds the view's control.
    void PostToOwner(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        CHybridCtrl* control = this->GetCtrl();
        HWND owner = control && control->GetSafeHwnd() ? ::GetParent(control->GetSafeHwnd()) : nullptr;
        if (owner)
            ::PostMessageW(owner, message, wParam, lParam);
    }

    // The control's window while the view sits in a live control, else null.
    HWND GetCtrlWindow()
    {
        CHybridCtrl* control = this->GetCtrl();
        if (!control || control->IsDestroying())
            return nullptr;
        HWND wnd = control->GetSafeHwnd();
        return wnd && ::IsWindow(wnd) ? wnd : nullptr;
    }

    // Two vertical one-pixel lines over the view's height, XOR-drawn
    // straight into the control: drawing them again removes them.
    void DrawXorLines(int x1, int x2, COLORREF colour)
    {
        CViewDC dc(GetCtrlWindow());
        if (!dc.Get())
            return;
        const CRect view = this->GetRect();
        ::SetROP2(dc.Get(), R2_XORPEN);
        DrawLine(dc.Get(), x1, view.top, x1, view.bottom, colour);
        DrawLine(dc.Get(), x2, view.top, x2, view.bottom, colour);
        ::SetROP2(dc.Get(), R2_COPYPEN);
    }

    const CIPtr<ITimeContainer> m_container;
    CCriticalSection m_cellLock;
};
