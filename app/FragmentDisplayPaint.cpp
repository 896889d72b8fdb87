// The fragment display's painting: edge lines of every visible fragment
// first, then the boxes over them; and the one-box redraw after a change of
// a fragment's tempo or comment.
#include "app/FragmentDisplay.h"

#include "common/LocalizedString.h"
#include "app/TempoText.h"
#include "app/ViewResources.h"

namespace {

const COLORREF kActiveEdge = RGB(0, 0, 255);
const COLORREF kEdge = RGB(192, 192, 192);
const COLORREF kBox = RGB(240, 240, 240);

} // namespace

CRect CFragmentDisplay::BoxRect(const SFragmentInfo& f, const CRect& view)
{
    const int top = view.top + kTopMargin + kRowHeight * f.Row;
    CRect box(view.left + m_container->TimeToPixel(f.StartTime, true), top,
              view.left + m_container->TimeToPixel(f.EndTime, true), top + kRowHeight);
    box.left += 1;
    box.top += 1;
    return box;
}

void CFragmentDisplay::Draw(CDC* dc, CRect rect)
{
    if (!m_container || !dc)
        return;
    dc->FillSolidRect(&rect, GetBkColor());
    CFontSelector font(dc->GetSafeHdc(), GetStyleFont());
    if (m_fragments.GetSize() == 0) {
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(GetTextColor());
        CLocalizedString hint(IDS_FRAGMENT_HINT);
        dc->DrawText(hint, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    const LONGLONG last = m_container->PixelToTime(rect.Width(), true);
    const LONGLONG first = m_container->GetPosition();
    for (int pass = 0; pass < 2; ++pass)
        for (INT_PTR i = 0; i < m_fragments.GetSize(); ++i) {
            const SFragmentInfo& f = *m_fragments.GetAt(i);
            if (f.StartTime > last || f.EndTime < first)
                continue;
            if (pass == 1) {
                DrawBox(dc, f, rect);
                continue;
            }
            const COLORREF colour = &f == m_active ? kActiveEdge : kEdge;
            for (LONGLONG t : {f.StartTime, f.EndTime}) {
                const int x = rect.left + m_container->TimeToPixel(t, true);
                DrawLine(dc->GetSafeHdc(), x, rect.top, x, rect.bottom - 1, colour);
            }
        }
}

void CFragmentDisplay::DrawBox(CDC* dc, const SFragmentInfo& f, const CRect& view)
{
    const bool active = &f == m_active;
    IHybridStyle* style = GetStyle();
    const CRect box = BoxRect(f, view);
    dc->FillSolidRect(&box, active && style ? style->GetSelBkColor() : kBox);
    CRect area = box;
    area.DeflateRect(1, 1);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(active && style ? style->GetSelTextColor() : GetTextColor());

    const CString label = FormatTempo(f.Tempo);
    const int labelWidth = dc->GetTextExtent(label).cx;
    dc->DrawText(label, &area, DT_VCENTER | DT_SINGLELINE);

    int markWidth = 0;
    if (f.Looped) {
        const UINT mark = active ? IDB_LOOP_ACTIVE : IDB_LOOP;
        markWidth = GetBitmapResourceSize(mark).cx;
        if (labelWidth + markWidth < area.Width()) {
            const CRect place(area.right - markWidth, area.top, area.right, area.bottom);
            DrawBitmapTransparentCentred(mark, dc->GetSafeHdc(), place, active ? RGB(0, 0, 0) : RGB(255, 255, 255));
        }
    }
    if (!f.Comment.IsEmpty() && dc->GetTextExtent(f.Comment).cx + labelWidth + markWidth <= area.Width())
        dc->DrawText(f.Comment, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void CFragmentDisplay::RedrawBox(const SFragmentInfo& f)
{
    if (!m_container)
        return;
    CViewDC viewDC(GetCtrlWindow());
    if (!viewDC.Get())
        return;
    CDC* dc = CDC::FromHandle(viewDC.Get());
    CFontSelector font(viewDC.Get(), GetStyleFont());
    DrawBox(dc, f, GetRect());
}
