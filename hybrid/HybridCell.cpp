#include "hybrid/HybridCell.h"
#include <algorithm>
#include "common/DrawRoutines.h"
#include "hybrid/CellArray.h"
#include "hybrid/ContentFactory.h"
#include "hybrid/HandlerSlot.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/SubContents.h"

namespace {

uint8_t MarginByte(DWORD margins, int index)
{
    return static_cast<uint8_t>((margins >> (8 * index)) & 0xFF);
}

} // namespace

CHybridCell::CHybridCell(CHybridCtrl* control, IHybridSubContent* parent)
    : m_control(control), m_parent(parent), m_subContentKind(0), m_styleBits(HCB_VSTRETCH), m_flags(HCF_SHOWN),
      m_data(0), m_margins(0), m_rect{0, 0, 0, 0}, m_refs(0)
{
    CIPtr<IHybridCell> owner;
    if (parent && parent->GetOwnerCell(&owner) && owner)
        m_bkColor = owner->GetBkColor();
    else
        m_bkColor = control ? control->GetBkColor() : ::GetSysColor(COLOR_WINDOW);
}

CHybridCell::~CHybridCell()
{
}

STDMETHODIMP CHybridCell::QueryInterface(REFIID riid, void** out)
{
    return AnswerQueryInterface(riid, out, {{IID_IUnknown, static_cast<IUnknown*>(this)}});
}

STDMETHODIMP_(ULONG) CHybridCell::AddRef()
{
    return m_refs.AddRef();
}
STDMETHODIMP_(ULONG) CHybridCell::Release()
{
    return m_refs.Release(this);
}

void CHybridCell::SetContent(IHybridContent* content)
{
    if (content)
        m_content = content;
}

void CHybridCell::CreateContent(WORD letter, uint64_t styleBits)
{
    m_content = nullptr;
    CIPtr<IHybridContent> content(CreateContentForLetter(static_cast<WCHAR>(letter), styleBits));
    if (!content)
        return;
    m_content = content;
    content->SetCell(this);
    content->OnAttach();
}

bool CHybridCell::GetContent(IHybridContent** out)
{
    return ReturnInterface(static_cast<IHybridContent*>(m_content), out);
}

IHybridContent* CHybridCell::GetContentPtr()
{
    return m_content;
}

WCHAR CHybridCell::GetContentType()
{
    return m_content ? m_content->GetType() : 0;
}

void CHybridCell::SetSubContent(IHybridHeading* columnModel, int kind)
{
    m_subContent = nullptr;
    if (columnModel && kind == 0)
        kind = 1;
    m_subContentKind = kind;
    switch (kind) {
    case 1:
        if (columnModel)
            m_subContent = new CHeadSubContent(m_control, this, columnModel);
        break;
    case 2: m_subContent = new CVerSubContent(m_control, this); break;
    case 3:
    case 4: m_subContent = new CMLSubContent(m_control, this, kind); break;
    case 5: m_subContent = new CFreeSubContent(m_control, this); break;
    default: break;
    }
}

bool CHybridCell::GetSubContent(IHybridSubContent** out)
{
    return ReturnInterface(static_cast<IHybridSubContent*>(m_subContent), out);
}

int CHybridCell::Layout(bool storeBottom)
{
    CRect rect;
    GetRect(&rect);
    const int top = rect.top;
    int contentBottom = top, subBottom = top;
    if (IsVisible()) {
        if (m_content) {
            contentBottom = top + GetPreferredHeight(rect.Width(), true);
            m_content->OnLayout();
        }
        if ((LowBits() & HCB_FILLAREA) && m_control) {
            CRect area;
            m_control->GetCellAreaRect(&area);
            contentBottom = std::max(contentBottom, static_cast<int>(area.bottom));
        }
        if (m_subContent)
            subBottom = m_subContent->Layout(contentBottom - top);
    }
    const int bottom = std::max(contentBottom, subBottom) + MarginByte(m_margins, 3);
    if (storeBottom)
        m_rect.bottom = bottom;
    return bottom;
}

int CHybridCell::GetPreferredHeight(int width, bool contentOnly)
{
    int height = m_content ? m_content->GetPreferredHeight(width) : 0;
    if (!contentOnly && m_subContent)
        height = std::max(height, m_subContent->GetPreferredHeight(width));
    return height + (HasFrame() ? 2 : 0);
}

int CHybridCell::GetPreferredWidth()
{
    int width = m_content ? m_content->GetPreferredWidth() : 0;
    if (m_subContent)
        width = std::max(width, m_subContent->GetPreferredWidth());
    return width + (HasFrame() ? 2 : 0);
}

void CHybridCell::SetRect(const RECT& rect)
{
    const bool changed = !EqualRect(&rect, &m_rect);
    m_rect = rect;
    if (changed && m_handler)
        m_handler->OnSize(rect.right - rect.left, rect.bottom - rect.top);
}

void CHybridCell::GetRect(RECT* out)
{
    if (!out)
        return;
    if (!m_control) {
        SetRectEmpty(out);
        return;
    }
    *out = m_rect;
    OffsetRect(out, 0, -m_control->GetScrollPos());
}

void CHybridCell::GetContentRect(RECT* out)
{
    if (!out)
        return;
    GetRect(out);
    const DWORD margins = GetMargins();
    out->left += MarginByte(margins, 0);
    out->top += MarginByte(margins, 1);
    out->right -= MarginByte(margins, 2);
    out->bottom -= MarginByte(margins, 3);
}

bool CHybridCell::HitTest(POINT point, IHybridCell** out)
{
    if (!out || !IsShown())
        return false;
    if (m_subContent && m_subContent->HitTest(point, out))
        return true;
    CRect rect;
    GetRect(&rect);
    if (!rect.PtInRect(point))
        return false;
    return ReturnInterface(static_cast<IHybridCell*>(this), out);
}

IHybridCell* CHybridCell::SetStyleBits(DWORD low, DWORD high)
{
    m_styleBits = (static_cast<uint64_t>(high) << 32) | low;
    return this;
}

uint64_t CHybridCell::GetStyleBits()
{
    return m_styleBits;
}

void CHybridCell::SetStyle(IHybridStyle* style)
{
    m_style = style;
}

IHybridStyle* CHybridCell::GetStyle()
{
    if (!m_style && m_control)
        m_style = m_control->GetDefaultStyle();
    return m_style;
}

IHybridCell* CHybridCell::SetFlags(DWORD flags)
{
    m_flags = flags;
    return this;
}

DWORD CHybridCell::GetFlags()
{
    return m_flags;
}

void CHybridCell::Draw(CDC* dc)
{
    if (!dc || !m_control)
        return;
    CRect rect, clip, meet;
    GetRect(&rect);
    dc->GetClipBox(&clip);
    if (!meet.IntersectRect(&clip, &rect))
        return;
    if (IsVisible())
        Paint(dc, rect);
    else
        dc->FillSolidRect(&rect, m_bkColor);
}

void CHybridCell::Paint(CDC* dc, const CRect& rect)
{
    const DWORD low = LowBits();
    const bool paintSelection = !(low & HCB_TRANSPARENT);
    COLORREF frameColour = m_bkColor;
    if (m_content) {
        IHybridStyle* style = GetStyle();
        if (IsSelected() && style)
            frameColour = m_control->HasFocus() ? style->GetSelBkColor() : ::GetSysColor(COLOR_INACTIVECAPTION);
        if ((low & HCB_OFFSCREEN) && rect.Width() > 0 && rect.Height() > 0) {
            CDC memDC;
            CBitmap bitmap;
            if (memDC.CreateCompatibleDC(dc) && bitmap.CreateCompatibleBitmap(dc, rect.Width(), rect.Height())) {
                CBitmap* old = memDC.SelectObject(&bitmap);
                if (style)
                    memDC.SetTextColor(style->GetTextColor());
                m_content->Draw(&memDC, CRect(0, 0, rect.Width(), rect.Height()));
                dc->BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), &memDC, 0, 0, SRCCOPY);
                memDC.SelectObject(old);
            }
        } else {
            m_content->Draw(dc, rect);
        }
    }
    if (m_subContent)
        m_subContent->Draw(dc, !m_content && paintSelection);
    if (HasFrame() && paintSelection) {
        CBrush brush(frameColour);
        dc->FrameRect(&rect, &brush);
    }
    if (m_margins) {
        IHybridStyle* style = GetStyle();
        const COLORREF grid = style ? style->GetGridColor() : 0xC0C0C0;
        const int l = MarginByte(m_margins, 0), t = MarginByte(m_margins, 1);
        const int r = MarginByte(m_margins, 2), b = MarginByte(m_margins, 3);
        if (l)
            dc->FillSolidRect(rect.left, rect.top, l, rect.Height(), grid);
        if (r)
            dc->FillSolidRect(rect.right - r, rect.top, r, rect.Height(), grid);
        if (t)
            dc->FillSolidRect(rect.left, rect.top, rect.Width(), t, grid);
        if (b)
            dc->FillSolidRect(rect.left, rect.bottom - b, rect.Width(), b, grid);
    }
    if (HasFrame() && IsSameObject(m_control->GetSelectedCell(), this))
        dc->DrawFocusRect(&rect);
}

void CHybridCell::Invalidate()
{
    if (!m_control || !IsVisible())
        return;
    if (!(LowBits() & HCB_TRANSPARENT)) {
        m_control->QueueCellRedraw(this, nullptr);
        return;
    }
    // A transparent cell is repainted through its nearest opaque ancestor,
    // clipped to this cell. The clip is in client coordinates (the window
    // device context's), so the scroll position is already taken off.
    CIPtr<IHybridCell> ancestor;
    GetParentCell(&ancestor);
    while (ancestor && (static_cast<DWORD>(ancestor->GetStyleBits()) & HCB_TRANSPARENT)) {
        CIPtr<IHybridCell> up;
        ancestor->GetParentCell(&up);
        ancestor = up;
    }
    if (ancestor) {
        CRect clip;
        GetRect(&clip);
        m_control->QueueCellRedraw(ancestor, &clip);
    }
    m_control->QueueCellRedraw(this, nullptr);
}

void CHybridCell::SelectInRect(const RECT* documentRect, int flag)
{
    if (!documentRect)
        return;
    if (LowBits() & HCB_ITEM) {
        RECT meet;
        SetSelected(IntersectRect(&meet, &m_rect, documentRect) != FALSE, true);
    } else if (m_subContent) {
        m_subContent->SelectInRect(documentRect);
    }
    (void)flag;
}

bool CHybridCell::IsSelected()
{
    return (m_flags & HCF_SELECTED) != 0;
}

void CHybridCell::SetSelected(bool select, bool notify)
{
    if (m_flags & HCF_LOCKED)
        return;
    CIPtr<IHybridCell> keep(this);
    bool changed = false;
    if (!(LowBits() & HCB_NEVERSELECT) && IsSelected() != select) {
        m_flags ^= HCF_SELECTED;
        changed = true;
    }
    if (m_subContent)
        m_subContent->SelectAll(select, notify);
    if (!changed)
        return;
    if (LowBits() & HCB_SHOWSELECTED)
        Show(select, false);
    if (notify)
        Notify(HN_CELL_SELECTION, this);
    Invalidate();
    if (notify && m_control)
        m_control->PostSelectionChanged();
}

bool CHybridCell::GetItemCell(IHybridCell** out)
{
    if (!out)
        return false;
    if (LowBits() & HCB_ITEM)
        return ReturnInterface(static_cast<IHybridCell*>(this), out);
    CIPtr<IHybridCell> parent;
    if (!GetParentCell(&parent) || !parent)
        return false;
    return parent->GetItemCell(out);
}

bool CHybridCell::IsHot(bool byControl)
{
    if (!m_control)
        return false;
    if (byControl)
        return IsSameObject(m_control->GetHoverCell(), this);
    POINT cursor;
    if (!::GetCursorPos(&cursor) || !m_control->GetSafeHwnd())
        return false;
    ::ScreenToClient(m_control->GetSafeHwnd(), &cursor);
    CRect rect;
    GetRect(&rect);
    return rect.PtInRect(cursor) != FALSE;
}

bool CHybridCell::HasParent()
{
    return m_parent != nullptr;
}

bool CHybridCell::GetParentCell(IHybridCell** out)
{
    if (!out || !m_parent)
        return false;
    return m_parent->GetOwnerCell(out);
}

bool CHybridCell::FindAncestor(WORD letter, IHybridCell** outCell, IHybridContent** outContent)
{
    CIPtr<IHybridCell> cell;
    GetParentCell(&cell);
    while (cell) {
        IHybridContent* content = cell->GetContentPtr();
        if (content && content->GetType() == static_cast<WCHAR>(letter)) {
            if (outCell)
                ReturnInterface(static_cast<IHybridCell*>(cell), outCell);
            if (outContent)
                ReturnInterface(content, outContent);
            return true;
        }
        CIPtr<IHybridCell> up;
        cell->GetParentCell(&up);
        cell = up;
    }
    return false;
}

CHybridCtrl* CHybridCell::GetCtrl()
{
    return m_control;
}

IHybridCell* CHybridCell::SetData(DWORD_PTR data)
{
    m_data = data;
    return this;
}

DWORD_PTR CHybridCell::GetData()
{
    return m_data;
}

IHybridCell* CHybridCell::SetMargins(DWORD margins)
{
    m_margins = margins;
    return this;
}

DWORD CHybridCell::GetMargins()
{
    if (!HasFrame())
        return m_margins;
    if (m_margins == 0)
        return 0x01010101;
    DWORD result = 0;
    for (int i = 0; i < 4; ++i) {
        DWORD side = MarginByte(m_margins, i);
        if (side)
            side = std::min<DWORD>(side + 1, 0xFF);
        result |= side << (8 * i);
    }
    return result;
}

void CHybridCell::Detach()
{
    CIPtr<IHybridCell> self(this);
    CIPtr<IHybridContent> content(m_content);
    if (content)
        content->OnDetach();
    SetHandler(nullptr);
    if (m_parent) {
        CIPtr<IHybridSubContent> parent(m_parent);
        parent->RemoveChild(this);
        m_parent = nullptr;
    }
    if (content) {
        content->OnRelease();
        // A released content must not be called by a timer it left running.
        if (m_control)
            m_control->KillTimersOf(content);
        m_content = nullptr;
    }
    if (m_subContent) {
        CIPtr<IHybridSubContent> sub(m_subContent);
        sub->RemoveAll();
        m_subContent = nullptr;
    }
    CIPtr<IHybridCell> next(m_next), prev(m_prev);
    if (next)
        next->SetPrev(prev);
    if (prev)
        prev->SetNext(next);
    m_next = nullptr;
    m_prev = nullptr;
    if (m_control) {
        m_control->UpdateLayout(true);
        m_control = nullptr;
    }
}

LRESULT CHybridCell::Notify(int code, IHybridCell* sender)
{
    if ((LowBits() & HCB_STOP_RUBBERBAND) && code == static_cast<int>(HN_RUBBERBAND_START))
        return 1;
    CIPtr<IHybridCell> self(this);
    bool handled = false;
    if (m_content && (!IsSameObject(sender, this) || code == static_cast<int>(HN_RUBBERBAND_CHANGED))) {
        CIPtr<IHybridContent> content(m_content);
        LRESULT result = content->OnChildNotify(static_cast<UINT>(code), sender, &handled);
        if (handled)
            return result;
    }
    if (m_handler) {
        CIPtr<IHybridHandler> handler(m_handler);
        handled = false;
        LRESULT result = handler->OnNotify(static_cast<UINT>(code), sender, &handled);
        if (handled)
            return result;
    }
    CIPtr<IHybridCell> parent;
    if (GetParentCell(&parent) && parent)
        return parent->Notify(code, sender);
    return m_control ? m_control->NotifyParent(static_cast<UINT>(code), sender) : 0;
}

void CHybridCell::SetHandler(IHybridHandler* handler)
{
    ReplaceHandler(m_handler, handler, m_control, this);
}

bool CHybridCell::GetHandler(IHybridHandler** out)
{
    return ReturnInterface(static_cast<IHybridHandler*>(m_handler), out);
}

void CHybridCell::SetBkColor(COLORREF colour, bool recursive)
{
    m_bkColor = colour;
    if (!recursive || !m_subContent)
        return;
    CCellArray children;
    m_subContent->GetChildren(&children);
    for (int i = 0; i < children.GetSize(); ++i)
        if (IHybridCell* child = children.GetAt(i))
            child->SetBkColor(colour, true);
}

COLORREF CHybridCell::GetBkColor()
{
    return m_bkColor;
}

void CHybridCell::ShowChildren(bool show)
{
    if (!m_subContent)
        return;
    CCellArray children;
    m_subContent->GetChildren(&children);
    for (int i = 0; i < children.GetSize(); ++i)
        if (IHybridCell* child = children.GetAt(i))
            child->Show(show, true);
}

void CHybridCell::Show(bool show, bool fromParent)
{
    if (!m_control)
        return;
    CIPtr<IHybridCell> self(this);
    if (fromParent) {
        ShowChildren(show);
        if (show)
            m_flags &= ~HCF_PARENTHIDDEN;
        else
            m_flags |= HCF_PARENTHIDDEN;
        return;
    }
    if (show) {
        if (IsShown())
            return;
        ShowChildren(true);
        m_flags |= HCF_SHOWN;
        if (LowBits() & HCB_ANIMATE)
            Animate(true);
        else
            m_control->UpdateLayout(true);
    } else {
        if (!IsShown())
            return;
        if (LowBits() & HCB_ANIMATE)
            Animate(false);
        if (m_control)
            m_control->UpdateLayout(true);
        m_flags &= ~HCF_SHOWN;
        ShowChildren(false);
    }
    if (m_content)
        m_content->OnShow(show);
}

void CHybridCell::Animate(bool expand)
{
    CHybridCtrl* control = m_control;
    if (!control || !control->GetSafeHwnd() || !::IsWindow(control->GetSafeHwnd()) || control->IsDestroying())
        return;
    if (expand)
        control->RecalcLayout(false);
    CRect rect, area;
    GetRect(&rect);
    control->GetCellAreaRect(&area);
    const int top = rect.top, right = area.right, h = rect.Height();
    const int bottom = area.bottom;
    const int step = h / 10;
    if (step <= 0 || right <= 0 || bottom <= top)
        return;
    CClientDC windowDC(control);
    CDC memDC;
    CBitmap bitmap;
    // The bitmap reaches h below the area, so that every band copied from
    // (0, top + i) lies inside it.
    const int bitmapHeight = bottom + h;
    if (!memDC.CreateCompatibleDC(&windowDC) || !bitmap.CreateCompatibleBitmap(&windowDC, right, bitmapHeight))
        return;
    CBitmap* old = memDC.SelectObject(&bitmap);
    memDC.FillSolidRect(0, 0, right, bitmapHeight, control->GetBkColor());
    control->DrawAll(&memDC);
    if (!expand) {
        const int contentBottom = control->GetContentHeight() - control->GetScrollPos();
        if (contentBottom < bitmapHeight)
            memDC.FillSolidRect(0, std::max(contentBottom, 0), right, bitmapHeight - std::max(contentBottom, 0),
                                control->GetBkColor());
        for (int i = step; i <= h; i += step) {
            windowDC.BitBlt(0, top, right, bottom - top, &memDC, 0, top + i, SRCCOPY);
            ::Sleep(10);
        }
    } else {
        for (int i = h; i >= 0; i -= step) {
            windowDC.BitBlt(0, top, right, bottom - top, &memDC, 0, top + i, SRCCOPY);
            ::Sleep(10);
        }
    }
    memDC.SelectObject(old);
}

bool CHybridCell::IsShown()
{
    return (m_flags & HCF_SHOWN) != 0;
}

bool CHybridCell::IsVisible()
{
    return IsShown() && !(m_flags & HCF_PARENTHIDDEN);
}

bool CHybridCell::IsEnabled()
{
    return !(m_flags & HCF_DISABLED);
}

void CHybridCell::Enable(bool enable)
{
    if (IsEnabled() == enable)
        return;
    m_flags ^= HCF_DISABLED;
    if (m_content)
        m_content->OnEnable(enable);
    Invalidate();
}

IHybridCell* CHybridCell::LockSelection(bool lock)
{
    if (lock)
        m_flags |= HCF_LOCKED;
    else
        m_flags &= ~HCF_LOCKED;
    return this;
}

void CHybridCell::SetNext(IHybridCell* cell)
{
    m_next = cell;
}
IHybridCell* CHybridCell::GetPrev()
{
    return m_prev;
}
void CHybridCell::SetPrev(IHybridCell* cell)
{
    m_prev = cell;
}
IHybridCell* CHybridCell::GetNext()
{
    return m_next;
}

bool CHybridCell::HasFrame() const
{
    return (LowBits() & HCB_ITEM) && !(LowBits() & HCB_NOFRAME);
}
