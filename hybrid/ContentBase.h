#pragma once
// CContentBase<I, I2, I3>: the shared implementation of every content:
// reference counting (starting at 0), the link to the owning cell, a neutral
// default for each content operation, mouse capture and the colour helpers
// used for painting. A concrete content overrides only what it needs and
// implements QueryInterface (AnswerQuery answers from an {id, part} table).
#include <initializer_list>
#include "platform/mfc/afxwin.h"
#include "common/Interfaces.h"
#include "hybrid/IHybridContent.h"
#include "hybrid/IHybridCell.h"
#include "hybrid/IHybridStyle.h"
#include "hybrid/ITimerCallback.h"
#include "hybrid/HybridCtrl.h"

// Fillers of the optional template parameters.
struct BASE_STUB
{};
struct BASE_STUB2
{};

template <class I, class I2 = BASE_STUB, class I3 = BASE_STUB2>
class CContentBase : public I, public I2, public I3, public ITimerCallback
{
public:
    CContentBase() : m_refs(0) {}
    CContentBase(const CContentBase&) = delete;
    CContentBase& operator=(const CContentBase&) = delete;

    // IUnknown (QueryInterface is the concrete class's)
    STDMETHODIMP_(ULONG) AddRef() override { return m_refs.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_refs.Release(this); }

    // IHybridContent
    WCHAR GetType() override { return L'U'; }
    [[nodiscard]] bool CanFocus() override { return false; }
    void SetCell(IHybridCell* cell) override { m_cell = cell; }
    IHybridCell* GetCell() override { return m_cell; }
    void Draw(CDC*, CRect) override {}
    void Invalidate() override
    {
        if (m_cell)
            m_cell->Invalidate();
    }
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
    [[nodiscard]] bool IsEnabled() override { return m_cell ? m_cell->IsEnabled() : false; }
    void Enable(bool enable) override
    {
        if (m_cell)
            m_cell->Enable(enable);
    }
    void Show(bool show, bool) override
    {
        if (m_cell)
            m_cell->Show(show, false);
    }
    [[nodiscard]] bool IsShown() override { return m_cell ? m_cell->IsShown() : false; }
    IHybridStyle* GetStyle() override { return m_cell ? m_cell->GetStyle() : nullptr; }
    uint64_t GetStyleBits() override { return m_cell ? m_cell->GetStyleBits() : 0; }
    LRESULT OnChildNotify(UINT, IHybridCell*, bool*) override { return 0; }
    CRect GetRect() override
    {
        CRect rect(0, 0, 0, 0);
        if (m_cell)
            m_cell->GetRect(&rect);
        return rect;
    }
    [[nodiscard]] bool IsSelected() override { return m_cell ? m_cell->IsSelected() : false; }

    // ITimerCallback
    void OnTimer(UINT_PTR) override {}

    // The template's own virtual operations.
    virtual ~CContentBase() {}
    virtual void CaptureMouse()
    {
        CHybridCtrl* control = GetCtrl();
        if (!control)
            return;
        control->SetCaptureCell(m_cell);
    }
    virtual void ReleaseMouse()
    {
        if (CHybridCtrl* control = GetCtrl())
            control->ReleaseCaptureCell(m_cell);
        ::ReleaseCapture();
    }
    [[nodiscard]] virtual bool HasMouseCapture()
    {
        // The control's own record first: asking the system for the capture
        // costs far more, and a repaint asks for every slider it draws.
        CHybridCtrl* control = GetCtrl();
        return control && control->IsCaptureCell(m_cell) && ::GetCapture() == control->GetSafeHwnd();
    }
    virtual CHybridCtrl* GetCtrl() { return m_cell ? m_cell->GetCtrl() : nullptr; }
    virtual void SetCellStyleBits(DWORD low, DWORD high)
    {
        if (m_cell)
            m_cell->SetStyleBits(low, high);
    }

    // Painting and notification helpers.
    COLORREF GetBkColor() { return m_cell ? m_cell->GetBkColor() : 0; }
    COLORREF GetSelBkColor()
    {
        CHybridCtrl* control = GetCtrl();
        IHybridStyle* style = GetStyle();
        if (control && control->HasFocus() && style)
            return style->GetSelBkColor();
        return ::GetSysColor(COLOR_INACTIVECAPTION);
    }
    COLORREF GetSelTextColor()
    {
        CHybridCtrl* control = GetCtrl();
        IHybridStyle* style = GetStyle();
        if (control && control->HasFocus() && style)
            return style->GetSelTextColor();
        return ::GetSysColor(COLOR_INACTIVECAPTIONTEXT);
    }
    COLORREF GetTextColor()
    {
        IHybridStyle* style = GetStyle();
        return style ? style->GetTextColor() : 0;
    }
    COLORREF GetStateBkColor() { return IsSelected() ? GetSelBkColor() : GetBkColor(); }
    COLORREF GetStateTextColor() { return IsSelected() ? GetSelTextColor() : GetTextColor(); }
    LRESULT NotifyCell(UINT code) { return m_cell ? m_cell->Notify(static_cast<int>(code), m_cell) : 0; }
    [[nodiscard]] bool IsFocusCell()
    {
        CHybridCtrl* control = GetCtrl();
        if (!control)
            return false;
        CIPtr<IHybridCell> focus;
        if (!control->GetFocusCell(&focus) || !focus)
            return false;
        return IsSameObject(focus, m_cell);
    }
    void RequestRelayout()
    {
        if (CHybridCtrl* control = GetCtrl())
            control->UpdateLayout(false);
    }

protected:
    // QueryInterface rules of the toolkit: E_INVALIDARG for a null out; for
    // IUnknown the primary interface, for each listed id the part the table
    // gives (the primary interface, or a second interface such as the timer
    // part), with a reference added; E_NOINTERFACE otherwise.
    [[nodiscard]] HRESULT AnswerQuery(REFIID riid, void** out, std::initializer_list<SInterfaceEntry> parts)
    {
        if (!out)
            return E_INVALIDARG;
        *out = nullptr;
        I* primary = static_cast<I*>(this);
        if (IsEqualIID(riid, IID_IUnknown))
            return AnswerQueryInterface(riid, out, {{IID_IUnknown, primary}});
        return AnswerQueryInterface(riid, out, parts);
    }
    // The primary interface as a table row: AnswerQuery(riid, out, {Primary(IID_IHybridText)}).
    SInterfaceEntry Primary(REFIID id) { return SInterfaceEntry(id, static_cast<I*>(this)); }
    // The timer part as a table row.
    SInterfaceEntry TimerPart() { return SInterfaceEntry(IID_ITimerCallback, static_cast<ITimerCallback*>(this)); }

    CRefCount m_refs;
    CIPtr<IHybridCell> m_cell;
};
