#include "xf/xfToolbarBk.h"
#include <algorithm>
#include "common/DrawRoutinesDC.h"
#include "xf/xfToolBar.h"

STDMETHODIMP CxfToolbarBk::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent)});
}

int CxfToolbarBk::GetPreferredWidth()
{
    CHybridCtrl* control = GetCtrl();
    if (!control)
        return 0;
    CRect area;
    control->GetCellAreaRect(&area);
    return area.Width();
}

void CxfToolbarBk::Draw(CDC* dc, CRect rect)
{
    CHybridCtrl* control = GetCtrl();
    CxfToolBar* bar = control ? dynamic_cast<CxfToolBar*>(control->GetParent()) : nullptr;
    if (!bar)
        return;
    const COLORREF bk = bar->GetBkColor();
    dc->FillSolidRect(&rect, bk);
    if (bar->GetBkKind() != CxfToolBar::BkDefault || !m_cell)
        return;
    CIPtr<IHybridSubContent> sub;
    if (!m_cell->GetSubContent(&sub) || !sub)
        return;
    // The gradient runs from the top-left corner to the far corner of the items.
    CRect box = rect;
    CCellArray children;
    sub->GetChildren(&children);
    if (children.GetSize() > 0) {
        box.right = rect.left;
        box.bottom = rect.top;
        for (INT_PTR i = 0; i < children.GetSize(); ++i) {
            CIPtr<IHybridCell> child = children.GetAt(i);
            CRect r;
            child->GetRect(&r);
            box.right = std::max(box.right, r.right);
            box.bottom = std::max(box.bottom, r.bottom);
        }
    }
    DrawGradientRect(dc, &box, LightenColour(bk, 10), ShadeColour(bk, 15), bar->IsVertical() ? 3 : 4);
    dc->SetPixel(box.left, box.top, bk);
    dc->SetPixel(box.right - 1, box.top, bk);
    dc->SetPixel(box.left, box.bottom - 1, bk);
    dc->SetPixel(box.right - 1, box.bottom - 1, bk);
}
