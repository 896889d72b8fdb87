// The fragment display's mouse and keyboard: the hit test that chooses what
// a press does, the drag with its XOR lines, and the edit made on release.
#include "app/FragmentDisplay.h"

#include <algorithm>
#include "app/ViewMessages.h"
#include "app/ViewResources.h"
#include "app/ViewServices.h"

int CFragmentDisplay::ColumnOf(LONGLONG t)
{
    return GetRect().left + m_container->TimeToPixel(t, true);
}

HCURSOR CFragmentDisplay::GetCursor(const CPoint& point)
{
    if (!HasMouseCapture() && m_container) {
        m_dragMode = 0;
        m_target = nullptr;
        const CRect view = GetRect();
        // The active fragment is tried first: it wins where boxes overlap.
        std::vector<SFragmentInfo*> candidates;
        if (m_active)
            candidates.push_back(m_active);
        for (INT_PTR i = 0; i < m_fragments.GetSize(); ++i)
            candidates.push_back(m_fragments.GetAt(i));
        for (SFragmentInfo* f : candidates) {
            const int x1 = ColumnOf(f->StartTime), x2 = ColumnOf(f->EndTime);
            const int top = view.top + kTopMargin + kRowHeight * f->Row;
            if (top < point.y && point.y < top + kRowHeight && x1 < point.x && point.x < x2) {
                m_dragMode = 3;
                m_target = f;
                break;
            }
        }
        for (size_t i = 0; !m_target && i < candidates.size(); ++i) {
            SFragmentInfo* f = candidates[i];
            if (std::abs(point.x - ColumnOf(f->StartTime)) < kEdgeTolerance)
                m_dragMode = 1;
            else if (std::abs(point.x - ColumnOf(f->EndTime)) < kEdgeTolerance)
                m_dragMode = 2;
            else
                continue;
            m_target = f;
        }
    }
    if (m_moved && HasMouseCapture())
        return ::LoadCursorW(nullptr, IDC_SIZEWE);
    if (m_dragMode == 3)
        return nullptr;
    const UINT id = m_dragMode == 0 ? IDC_FRAGMENT_CREATE : IDC_FRAGMENT_EDGE;
    return ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id));
}

bool CFragmentDisplay::OnLButtonDown(const CPoint& point)
{
    if (!m_container)
        return true;
    if (m_dragMode == 0) {
        m_drag.SetRect(point.x, point.y, point.x, point.y);
    } else {
        if (!m_target)
            return false;
        const int x1 = ColumnOf(m_target->StartTime), x2 = ColumnOf(m_target->EndTime);
        if (m_dragMode == 1) {
            m_drag.SetRect(x2, 0, point.x, point.y);
        } else if (m_dragMode == 2) {
            m_drag.SetRect(x1, 0, point.x, point.y);
        } else {
            m_grabOffset = point.x - x1;
            m_moved = false;
            SetActive(m_target);
            m_drag.SetRect(x1, 0, x2, 0);
        }
    }
    CaptureMouse();
    if (m_dragMode != 3)
        DrawDragLines();
    return true;
}

void CFragmentDisplay::OnMouseMove(const CPoint& point)
{
    if (!HasMouseCapture() || !m_container)
        return;
    const CRect view = GetRect();
    const int x =
        std::max(static_cast<int>(view.left), std::min(static_cast<int>(point.x), static_cast<int>(view.right)));
    DrawDragLines();
    if (m_dragMode != 3) {
        m_drag.right = x;
        m_drag.bottom = point.y;
    } else {
        if (!m_moved && std::abs(x - (m_drag.left + m_grabOffset)) > kMoveDeadZone)
            m_moved = true;
        if (m_moved) {
            const int width = m_drag.Width();
            m_drag.left = x - m_grabOffset;
            m_drag.right = m_drag.left + width;
        }
    }
    DrawDragLines();
}

void CFragmentDisplay::OnLButtonUp(const CPoint& point)
{
    if (!HasMouseCapture())
        return;
    CDisplayContent<IFragmentDisplay>::OnLButtonUp(point);
    if (!m_container)
        return;
    const int left = GetRect().left;
    LONGLONG t1 = m_container->PixelToTime(m_drag.left - left, true);
    LONGLONG t2 = m_container->PixelToTime(m_drag.right - left, true);
    if (!m_target && t1 == t2) {
        m_moved = false;
        return;
    }
    // A plain click on a box only activates it, whatever its length.
    if (m_dragMode == 3 && !m_moved) {
        FinishEdit();
        return;
    }
    // No fragment reaches before the start of the file: a moved one stops
    // there with its length, a dragged edge stops at 0.
    if (m_dragMode == 3) {
        const LONGLONG before = std::min(t1, t2);
        if (before < 0) {
            t1 -= before;
            t2 -= before;
        }
    } else {
        t1 = std::max<LONGLONG>(t1, 0);
        t2 = std::max<LONGLONG>(t2, 0);
    }
    if ((t2 > t1 ? t2 - t1 : t1 - t2) < kMinDuration) {
        ShowViewMessage(GetCtrl(), IDS_FRAGMENT_TOO_SHORT);
        FinishEdit();
        return;
    }
    if (m_dragMode == 0) {
        AddFragment(t1, t2, L"");
    } else if (m_target) {
        const bool selectionWasTarget =
            m_container->GetSelMin() == m_target->StartTime && m_container->GetSelMax() == m_target->EndTime;
        m_target->StartTime = std::min(t1, t2);
        m_target->EndTime = std::max(t1, t2);
        Layout();
        PostToOwner(WM_FRAGMENTS_CHANGED);
        if (selectionWasTarget)
            m_container->SetSelection(t1, t2);
    }
    FinishEdit();
}

void CFragmentDisplay::FinishEdit()
{
    m_target = nullptr;
    m_moved = false;
    Invalidate();
}

bool CFragmentDisplay::OnLButtonDblClk(const CPoint&)
{
    if (m_dragMode == 3)
        PostViewCommand(GetCtrl(), ID_FRAGMENT_ZOOM_TO);
    return true;
}

bool CFragmentDisplay::OnRButtonDown(const CPoint& point, bool*)
{
    if (m_target)
        SetActive(m_target);
    if (!m_active)
        return false;
    CHybridCtrl* control = GetCtrl();
    FragmentMenuOpener open = GetFragmentMenuOpener();
    if (control && open) {
        CPoint screen = point;
        control->ClientToScreen(&screen);
        open(control, screen);
    }
    return true;
}

bool CFragmentDisplay::OnKeyDown(UINT virtualKey, UINT)
{
    if (virtualKey != VK_ESCAPE || !HasMouseCapture())
        return false;
    ReleaseMouse();
    m_target = nullptr;
    m_moved = false;
    Invalidate();
    return true;
}

void CFragmentDisplay::DrawDragLines()
{
    DrawXorLines(m_drag.left, m_drag.right, RGB(255, 0, 0));
}
