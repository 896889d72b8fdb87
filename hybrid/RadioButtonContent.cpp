#include "hybrid/RadioButtonContent.h"
#include "common/DrawRoutines.h"
#include "hybrid/ContentDrawing.h"

namespace {

// x offset of the strip frame for a box state; -1 for a state without one.
int StripOffset(UINT state)
{
    const UINT s = state & (DFCS_CHECKED | DFCS_PUSHED | DFCS_INACTIVE);
    switch (s) {
    case 0: return 0;
    case DFCS_CHECKED: return 13;
    case DFCS_PUSHED: return 26;
    case DFCS_CHECKED | DFCS_PUSHED: return 39;
    case DFCS_INACTIVE: return 52;
    case DFCS_CHECKED | DFCS_INACTIVE: return 65;
    default: return -1;
    }
}

} // namespace

STDMETHODIMP CRadioButtonContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IHybridRadioButton)});
}

void CRadioButtonContent::SetBitmap(int bitmapId, COLORREF transparent)
{
    m_bitmapId = bitmapId;
    m_transparent = transparent;
    Invalidate();
}

void CRadioButtonContent::SetCheck(bool check, bool notify)
{
    if (check == m_checked)
        return;
    m_checked = check;
    if (notify)
        NotifyCell(HN_RADIO_CHANGED);
    Invalidate();
    if (check)
        UncheckGroup(notify);
}

void CRadioButtonContent::UncheckGroup(bool notify)
{
    CHybridCtrl* control = GetCtrl();
    CIPtr<IHybridCell> group(GetCell());
    while (group && !(static_cast<DWORD>(group->GetStyleBits()) & HCB_RADIOGROUP)) {
        CIPtr<IHybridCell> up;
        group->GetParentCell(&up);
        group = up;
    }
    if (!group || !control)
        return;
    CCellArray cells;
    CCellCollector collector(cells);
    control->EnumCells(collector, HCE_ALL, group);
    for (int i = 0; i < cells.GetSize(); ++i) {
        CIPtr<IHybridRadioButton> other;
        if (FAILED(other.QueryFrom(cells.GetAt(i)->GetContentPtr(), IID_IHybridRadioButton)) || !other)
            continue;
        if (!IsSameObject(other, static_cast<IHybridRadioButton*>(this)))
            other->SetCheck(false, notify);
    }
}

void CRadioButtonContent::Draw(CDC* dc, CRect rect)
{
    const HDC hdc = dc->GetSafeHdc();
    dc->FillSolidRect(&rect, GetStateBkColor());
    CRect box = BoxRect(rect);
    UINT state = DFCS_BUTTONRADIO;
    if (m_pushed)
        state |= DFCS_PUSHED;
    if (!IsEnabled())
        state |= DFCS_INACTIVE;
    if (m_checked)
        state |= DFCS_CHECKED;
    if (m_bitmapId) {
        const int offset = StripOffset(state);
        if (offset >= 0) {
            CRect source(offset, 0, offset + kBox, kBox);
            DrawBitmapTransparentCentred(static_cast<UINT>(m_bitmapId), hdc, box, m_transparent, &source);
        }
    } else {
        ::DrawFrameControl(hdc, &box, DFC_BUTTON, state);
    }
    DrawLabel(hdc, rect);
}
