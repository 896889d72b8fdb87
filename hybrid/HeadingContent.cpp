#include "hybrid/HeadingContent.h"
#include "common/DrawRoutines.h"
#include "hybrid/ContentDrawing.h"
#include "hybrid/IHybridHeading.h"
#include "hybrid/IHybridSubContent.h"

namespace {

// Only one column border is dragged at a time in the whole program.
struct SColumnResize
{
    int index = -1;
    int side = 0;
    CIPtr<IHybridHeading> model;
    CPoint last{0, 0};
};

SColumnResize& Resize()
{
    static SColumnResize state;
    return state;
}

const int kGrip = 7;

} // namespace

int CHeadingContent::GetResizeSide()
{
    return Resize().side;
}

STDMETHODIMP CHeadingContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IHeadingContent)});
}

int CHeadingContent::GetPreferredHeight(int)
{
    IHybridStyle* style = GetStyle();
    return (style ? style->GetTextHeight() : 0) + 4;
}

void CHeadingContent::SetText(LPCWSTR text)
{
    if (!text || m_text == text)
        return;
    m_text = text;
    Invalidate();
}

void CHeadingContent::SetTextID(int id)
{
    if (id == m_textId)
        return;
    m_textId = id;
    Invalidate();
}

void CHeadingContent::SetSortMark(int mark)
{
    if (mark == m_sortMark)
        return;
    m_sortMark = mark;
    Invalidate();
}

void CHeadingContent::Draw(CDC* dc, CRect rect)
{
    const HDC hdc = dc->GetSafeHdc();
    const DWORD high = HighBits();
    if (!(high & HHB_FLAT)) {
        CRect face(rect);
        ::DrawFrameControl(hdc, &face, DFC_BUTTON, DFCS_BUTTONPUSH);
    } else {
        const int direction = (!m_inside && m_sortMark == 0) ? 4 : 5;
        DrawGradientRect(hdc, rect, HYBRID_LIGHT, ::GetSysColor(COLOR_BTNFACE), direction);
        if (m_inside)
            dc->Draw3dRect(&rect, HYBRID_SHADOW, HYBRID_LIGHT);
        else
            dc->Draw3dRect(&rect, HYBRID_LIGHT, HYBRID_SHADOW);
        if (high & HHB_ROUNDED) {
            COLORREF around = GetCtrl() ? GetCtrl()->GetBkColor() : HYBRID_LIGHT;
            CIPtr<IHybridCell> parent;
            if (m_cell && m_cell->GetParentCell(&parent) && parent)
                around = parent->GetBkColor();
            const int l = rect.left, t = rect.top, r = rect.right;
            DrawLine(hdc, l, t, l + 3, t, around);
            DrawLine(hdc, l, t, l, t + 3, around);
            DrawLine(hdc, r - 1, t, r - 5, t, around);
            DrawLine(hdc, r - 1, t, r - 1, t + 4, around);
            DrawLine(hdc, r - 2, t, r - 2, t + 3, around);
        }
    }
    rect.left += 3;
    CFontSelector font(hdc, StyleFont(GetStyle()));
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, GetStateTextColor());
    if (m_textId != -1)
        m_text.LoadString(static_cast<UINT>(m_textId));
    CRect textRect(rect);
    ::DrawTextW(hdc, m_text, m_text.GetLength(), &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (m_sortMark != 0) {
        CRect mark(rect.right - rect.Height(), rect.top, rect.right, rect.bottom);
        DrawBitmapTransparentCentred(m_sortMark == 1 ? IDB_HYBRID_SORT_1 : IDB_HYBRID_SORT_OTHER, hdc, mark,
                                     HYBRID_LIGHT);
    }
}

HCURSOR CHeadingContent::GetCursor(const CPoint& point)
{
    SColumnResize& resize = Resize();
    if (!HasMouseCapture()) {
        resize.index = -1;
        resize.side = 0;
        CIPtr<IHybridCell> parent;
        CIPtr<IHybridSubContent> sub;
        if (m_cell && m_cell->GetParentCell(&parent) && parent && parent->GetSubContent(&sub) && sub) {
            resize.model = nullptr;
            sub->GetColumnModel(&resize.model);
            const int count = sub->GetColumnCount();
            int i = 0;
            for (; i < count; ++i) {
                CIPtr<IHybridCell> column;
                if (sub->GetColumnCell(i, &column) && IsSameObject(column, m_cell)) {
                    resize.index = i;
                    break;
                }
            }
            const CRect rect = GetRect();
            if (point.x < rect.left + kGrip && i != 0)
                resize.side = 1;
            else if (point.x > rect.right - kGrip && i < count - 1)
                resize.side = 2;
        }
    }
    if (resize.side == 0)
        return nullptr;
    return ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HYBRID_RESIZE));
}

bool CHeadingContent::OnLButtonDown(const CPoint& point)
{
    if (Resize().side != 0) {
        CaptureMouse();
        Resize().last = point;
        return true;
    }
    if (HighBits() & HHB_CLICKABLE) {
        CaptureMouse();
        m_pressed = m_inside = true;
        Invalidate();
        return true;
    }
    return false;
}

void CHeadingContent::OnMouseMove(const CPoint& point)
{
    if (!HasMouseCapture())
        return;
    if (m_pressed) {
        const bool inside = GetRect().PtInRect(point) != FALSE;
        if (inside != m_inside) {
            m_inside = inside;
            Invalidate();
        }
        return;
    }
    ResizeStep(point);
}

// Moves the dragged border: the two columns beside it share their sum, and
// neither falls below the narrowest width; the anchor stays where the border
// really is.
void CHeadingContent::ResizeStep(const CPoint& point)
{
    SColumnResize& resize = Resize();
    if (resize.index == -1 || !resize.model || (resize.side != 1 && resize.side != 2))
        return;
    const int a = resize.side == 1 ? resize.index - 1 : resize.index;
    const int b = a + 1;
    const int delta = point.x - resize.last.x;
    int wa = resize.model->GetWidth(a) + delta;
    int wb = resize.model->GetWidth(b) - delta;
    int lastX = point.x;
    if (wa < HEADING_MIN_COLUMN) {
        const int excess = HEADING_MIN_COLUMN - wa;
        wa = HEADING_MIN_COLUMN;
        wb -= excess;
        lastX = point.x + excess;
    } else if (wb < HEADING_MIN_COLUMN) {
        const int excess = HEADING_MIN_COLUMN - wb;
        wa -= excess;
        wb = HEADING_MIN_COLUMN;
        lastX = point.x - excess;
    }
    CIPtr<IHybridHeading> model(resize.model);
    model->SetWidth(a, wa);
    model->SetWidth(b, wb);
    resize.last = CPoint(lastX, point.y);
}

void CHeadingContent::OnLButtonUp(const CPoint&)
{
    if (!HasMouseCapture())
        return;
    CIPtr<IHeadingContent> self(this); // the notification may detach the cell
    ReleaseMouse();
    if (m_pressed) {
        if (m_inside)
            NotifyCell(HN_HEADING_CLICKED);
        m_pressed = m_inside = false;
        Invalidate();
        return;
    }
    Resize().index = -1;
    Resize().model = nullptr;
    RequestRelayout();
    NotifyCell(HN_COLUMNS_CHANGED);
}
