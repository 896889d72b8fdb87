#pragma once
// A listener of the peak container that counts the redraw requests it gets.
// Every content operation but Invalidate is inert.
#include <atomic>

#include "audio/IDisplay.h"
#include "common/Interfaces.h"
#include "platform/mfc/afxgeom.h"

class CTestDisplay : public IDisplay
{
public:
    std::atomic<int> invalidated{0};

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        return AnswerQueryInterface(iid, out, {
            {IID_IUnknown, static_cast<IDisplay*>(this)},
            {IID_IHybridContent, static_cast<IDisplay*>(this)},
            {IID_IDisplay, static_cast<IDisplay*>(this)}});
    }
    STDMETHODIMP_(ULONG) AddRef() override { return m_refs.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_refs.Release(this); }
    LONG Refs() const { return m_refs.Get(); }

    void Invalidate() override { ++invalidated; }

    WCHAR GetType() override { return L'U'; }
    bool CanFocus() override { return false; }
    void SetCell(IHybridCell*) override {}
    IHybridCell* GetCell() override { return nullptr; }
    void Draw(CDC*, CRect) override {}
    LPCTSTR GetToolTipText() override { return nullptr; }
    void OnAttach() override {}
    void OnDetach() override {}
    void OnLayout() override {}
    void OnShow(bool) override {}
    void OnMouseMove(const CPoint&) override {}
    bool OnMouseWheel(short) override { return false; }
    bool OnLButtonDown(const CPoint&) override { return false; }
    bool OnLButtonDblClk(const CPoint&) override { return false; }
    void OnLButtonUp(const CPoint&) override {}
    bool OnRButtonDown(const CPoint&, bool*) override { return false; }
    bool OnRButtonUp(const CPoint&) override { return false; }
    void OnMouseEnter() override {}
    void OnMouseLeave() override {}
    void OnActivate(bool) override {}
    void OnEnable(bool) override {}
    bool OnKeyDown(UINT, UINT) override { return false; }
    void OnKeyUp(UINT, UINT) override {}
    HCURSOR GetCursor(const CPoint&) override { return nullptr; }
    int GetPreferredWidth() override { return 0; }
    int GetPreferredHeight(int) override { return 0; }
    void OnRelease() override {}
    bool IsEnabled() override { return false; }
    void Enable(bool) override {}
    void Show(bool, bool) override {}
    bool IsShown() override { return false; }
    IHybridStyle* GetStyle() override { return nullptr; }
    uint64_t GetStyleBits() override { return 0; }
    LRESULT OnChildNotify(UINT, IHybridCell*, bool*) override { return 0; }
    CRect GetRect() override { return CRect(); }
    bool IsSelected() override { return false; }

    void SetReader(IAudioReader*) override {}
    void OnPlayCursorChanged() override {}
    void OnPlayPositionChanged() override {}
    void OnSelectionChanged() override { Invalidate(); }

    virtual ~CTestDisplay() = default;

private:
    CRefCount m_refs{0};
};
