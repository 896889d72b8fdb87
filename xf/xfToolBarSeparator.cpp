#include "xf/xfToolBarSeparator.h"
#include "xf/xfResources.h"
#include "xf/xfToolBar.h"

STDMETHODIMP CxfToolBarSeparator::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IStretchContent)});
}

IStretchContent* CxfToolBarSeparator::SetLength(int length)
{
    m_nStretch = length;
    return this;
}

void CxfToolBarSeparator::OnAttach()
{
    CHybridCtrl* control = GetCtrl();
    CxfToolBar* bar = control ? dynamic_cast<CxfToolBar*>(control->GetParent()) : nullptr;
    if (!bar)
        return;
    m_bVertical = bar->IsVertical();
    m_skin.Init(IDB_XF_SEPARATOR, RGB(0xFF, 0, 0), IDS_XF_SEPARATOR_SKIN);
}

void CxfToolBarSeparator::Draw(CDC* dc, CRect rect)
{
    if (!(GetStyleBits() & HCB_TRANSPARENT))
        dc->FillSolidRect(&rect, GetBkColor());
    if (m_item.HasFlag(XF_ITEMF_ALT))
        m_skin.Draw(dc, rect);
}

int CxfToolBarSeparator::GetPreferredWidth()
{
    return m_nStretch != 0 && !m_bVertical ? m_nStretch : m_skin.GetMinSize().cx;
}

int CxfToolBarSeparator::GetPreferredHeight(int)
{
    return m_nStretch != 0 && m_bVertical ? m_nStretch : m_skin.GetMinSize().cy;
}
