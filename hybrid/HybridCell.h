#pragma once
// CHybridCell: the one implementation of IHybridCell. A cell holds one
// content and one sub-content, knows its control, its parent container and
// its siblings. References form cycles until Detach breaks them.
#include "platform/mfc/afxwin.h"
#include "common/Interfaces.h"
#include "hybrid/IHybridCell.h"
#include "hybrid/IHybridContent.h"
#include "hybrid/IHybridSubContent.h"
#include "hybrid/IHybridHandler.h"
#include "hybrid/IHybridStyle.h"

class CHybridCell : public IHybridCell
{
public:
    // parent is null for the root cell.
    CHybridCell(CHybridCtrl* control, IHybridSubContent* parent);

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    void SetContent(IHybridContent* content) override;
    void CreateContent(WORD letter, uint64_t styleBits) override;
    [[nodiscard]] bool GetContent(IHybridContent** out) override;
    IHybridContent* GetContentPtr() override;
    WCHAR GetContentType() override;
    void SetSubContent(IHybridHeading* columnModel, int kind) override;
    [[nodiscard]] bool GetSubContent(IHybridSubContent** out) override;
    int Layout(bool storeBottom) override;
    int GetPreferredHeight(int width, bool contentOnly) override;
    int GetPreferredWidth() override;
    void SetRect(const RECT& rect) override;
    void GetRect(RECT* out) override;
    void GetContentRect(RECT* out) override;
    bool HitTest(POINT point, IHybridCell** out) override;
    IHybridCell* SetStyleBits(DWORD low, DWORD high) override;
    uint64_t GetStyleBits() override;
    void SetStyle(IHybridStyle* style) override;
    IHybridStyle* GetStyle() override;
    IHybridCell* SetFlags(DWORD flags) override;
    DWORD GetFlags() override;
    void Draw(CDC* dc) override;
    void Invalidate() override;
    void SelectInRect(const RECT* documentRect, int flag) override;
    [[nodiscard]] bool IsSelected() override;
    void SetSelected(bool select, bool notify) override;
    [[nodiscard]] bool GetItemCell(IHybridCell** out) override;
    [[nodiscard]] bool IsHot(bool byControl) override;
    [[nodiscard]] bool HasParent() override;
    [[nodiscard]] bool GetParentCell(IHybridCell** out) override;
    [[nodiscard]] bool FindAncestor(WORD letter, IHybridCell** outCell, IHybridContent** outContent) override;
    CHybridCtrl* GetCtrl() override;
    IHybridCell* SetData(DWORD_PTR data) override;
    DWORD_PTR GetData() override;
    IHybridCell* SetMargins(DWORD margins) override;
    DWORD GetMargins() override;
    void Detach() override;
    LRESULT Notify(int code, IHybridCell* sender) override;
    void SetHandler(IHybridHandler* handler) override;
    [[nodiscard]] bool GetHandler(IHybridHandler** out) override;
    void SetBkColor(COLORREF colour, bool recursive) override;
    COLORREF GetBkColor() override;
    void Show(bool show, bool fromParent) override;
    [[nodiscard]] bool IsShown() override;
    [[nodiscard]] bool IsVisible() override;
    [[nodiscard]] bool IsEnabled() override;
    void Enable(bool enable) override;
    IHybridCell* LockSelection(bool lock) override;
    void SetNext(IHybridCell* cell) override;
    IHybridCell* GetPrev() override;
    void SetPrev(IHybridCell* cell) override;
    IHybridCell* GetNext() override;

protected:
    virtual ~CHybridCell();
    friend class CRefCount; // deletes at the last Release

private:
    [[nodiscard]] bool HasFrame() const;
    DWORD LowBits() const { return static_cast<DWORD>(m_styleBits); }
    void Paint(CDC* dc, const CRect& rect);
    void ShowChildren(bool show);
    void Animate(bool expand);

    CHybridCtrl* m_control;
    CIPtr<IHybridSubContent> m_parent;
    CIPtr<IHybridCell> m_next;
    CIPtr<IHybridCell> m_prev;
    CIPtr<IHybridContent> m_content;
    CIPtr<IHybridSubContent> m_subContent;
    int m_subContentKind;
    CIPtr<IHybridHandler> m_handler;
    CIPtr<IHybridStyle> m_style;
    uint64_t m_styleBits;
    DWORD m_flags;
    DWORD_PTR m_data;
    DWORD m_margins;
    COLORREF m_bkColor;
    RECT m_rect;
    CRefCount m_refs;
};
