#include "xf/xfToolBarLabel.h"
#include <algorithm>
#include "common/DrawRoutinesDC.h"
#include "common/LocalizedString.h"
#include "hybrid/ContentDrawing.h"
#include "hybrid/HybridResources.h"
#include "xf/xfFrame.h"

namespace {

const COLORREF kLinkColour = 0xFF0000;

} // namespace

CxfToolBarLabel::CxfToolBarLabel(const SxfToolBarItem* item) : m_item(item)
{
    if (m_item->nParam2 != 0) {
        CLocalizedString text;
        if (text.LoadString(m_item->nParam2))
            m_strText = static_cast<LPCWSTR>(text);
    }
}

STDMETHODIMP CxfToolBarLabel::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out,
                       {Primary(IID_IHybridContent), Primary(IID_IxfToolBarLabel), Primary(IID_IStretchContent),
                        SInterfaceEntry(IID_IxfHasID, static_cast<IxfHasID*>(this))});
}

void CxfToolBarLabel::SetText(LPCWSTR text)
{
    const CString value = text ? text : L"";
    if (value == m_strText)
        return;
    m_strText = value;
    Invalidate();
}

void CxfToolBarLabel::SetImage(UINT bitmapId, COLORREF mask)
{
    if (static_cast<int>(bitmapId) == m_nImageId)
        return;
    m_nImageId = static_cast<int>(bitmapId);
    m_crImageMask = mask;
    Invalidate();
}

void CxfToolBarLabel::SetUnderline(bool underline)
{
    if (underline == m_bUnderline)
        return;
    m_bUnderline = underline;
    Invalidate();
}

IStretchContent* CxfToolBarLabel::SetLength(int length)
{
    m_nStretch = length;
    return this;
}

void CxfToolBarLabel::Measure()
{
    if (m_cx != 0 || m_cy != 0)
        return;
    CHybridCtrl* control = GetCtrl();
    if (!control || !control->GetSafeHwnd())
        return;
    CString sample = m_strText;
    if (sample.IsEmpty()) {
        const int letters = static_cast<int>(std::max<INT_PTR>(m_item->nParam, 1));
        for (int i = 0; i < letters; ++i)
            sample += L'M';
    }
    const CSize extent = MeasureStyleText(control, GetStyle(), sample);
    m_cx = extent.cx + 6;
    m_cy = extent.cy + 6;
}

int CxfToolBarLabel::GetPreferredWidth()
{
    Measure();
    return m_nStretch != 0 ? m_nStretch : m_cx;
}

int CxfToolBarLabel::GetPreferredHeight(int)
{
    Measure();
    return m_cy;
}

bool CxfToolBarLabel::OnLButtonDown(const CPoint&)
{
    CHybridCtrl* control = GetCtrl();
    CWnd* parent = control ? control->GetParent() : nullptr;
    CxfFrame* frame = dynamic_cast<CxfFrame*>(parent);
    if (!frame)
        return false;
    ::PostMessageW(frame->GetTopFrame()->GetSafeHwnd(), WM_COMMAND, m_item->nID, 0);
    return true;
}

HCURSOR CxfToolBarLabel::GetCursor(const CPoint&)
{
    if (!m_item.HasFlag(XF_ITEMF_LINK))
        return nullptr;
    return ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDC_HYBRID_LINK));
}

void CxfToolBarLabel::Draw(CDC* dc, CRect rect)
{
    const COLORREF bk = GetBkColor();
    if (!(GetStyleBits() & HCB_TRANSPARENT))
        dc->FillSolidRect(&rect, bk);
    if (m_item.HasFlag(XF_ITEMF_HIDEEMPTY) && m_strText.IsEmpty())
        return;
    if (m_item.HasFlag(XF_ITEMF_ALT)) {
        const COLORREF edge = ShadeColour(bk, 20);
        dc->Draw3dRect(&rect, edge, edge);
        rect.DeflateRect(1, 1);
    }
    if (m_nImageId != -1) {
        const int w = GetBitmapResourceSize(static_cast<UINT>(m_nImageId)).cx + 6;
        const CRect image(rect.left, rect.top, rect.left + w, rect.bottom);
        DrawBitmapTransparentCentred(static_cast<UINT>(m_nImageId), dc, &image, m_crImageMask);
        rect.left += w;
    }
    if (m_strText.IsEmpty())
        return;
    CFontSelector font(dc->GetSafeHdc(), StyleFont(GetStyle()));
    const bool link = m_item.HasFlag(XF_ITEMF_LINK);
    const bool centre = m_item.HasFlag(XF_ITEMF_CENTRE);
    const COLORREF colour = link ? kLinkColour : 0;
    dc->SetTextColor(colour);
    dc->SetBkMode(TRANSPARENT);
    UINT format = DT_SINGLELINE | DT_VCENTER;
    if (centre)
        format |= DT_CENTER;
    else if (m_nImageId != -1)
        format |= DT_RIGHT;
    dc->DrawText(m_strText, &rect, format);
    if (link || m_bUnderline) {
        const CSize extent = dc->GetTextExtent(m_strText);
        const int w = std::min<int>(extent.cx, rect.Width());
        const int y = rect.bottom - (rect.Height() - extent.cy) / 2;
        const int x = centre ? rect.left + (rect.Width() - w) / 2 : rect.left;
        DrawLine(dc, x, y, x + w, y, colour, PS_SOLID, 1);
    }
}

STDMETHODIMP CxfBrandLabel::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out,
                       {Primary(IID_IHybridContent), SInterfaceEntry(IID_IxfHasID, static_cast<IxfHasID*>(this))});
}

void CxfBrandLabel::Draw(CDC* dc, CRect rect)
{
    dc->FillSolidRect(&rect, RGB(0xFF, 0, 0));
}
