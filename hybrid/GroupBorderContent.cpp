#include "hybrid/GroupBorderContent.h"

namespace {

struct SBorderSkin
{
    UINT bitmap;
    COLORREF key;
    UINT command;
};

// Indexed by border set * 4 + side.
const SBorderSkin kSkins[8] = {
    {6013, 0xFFFFFF, 6031}, {6014, 0xFFFFFF, 6032}, {6015, 0xFFFFFF, 6033}, {6016, 0xFFFFFF, 6034},
    {6026, 0x0000FF, 6031}, {6027, 0x0000FF, 6032}, {6025, 0x0000FF, 6033}, {6024, 0x0000FF, 6034},
};

const SBorderSkin& SkinOf(UINT borderSet, int side)
{
    const UINT set = borderSet ? 1 : 0;
    const int s = side < GROUP_BORDER_TOP || side > GROUP_BORDER_RIGHT ? GROUP_BORDER_TOP : side;
    return kSkins[set * 4 + static_cast<UINT>(s)];
}

} // namespace

CGroupBorderContent::CGroupBorderContent(UINT borderSet, int side)
    : m_side(side), m_bitmapId(SkinOf(borderSet, side).bitmap)
{
    const SBorderSkin& skin = SkinOf(borderSet, side);
    m_skin.Init(skin.bitmap, skin.key, skin.command);
}

STDMETHODIMP CGroupBorderContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IGroupBorderContent)});
}

void CGroupBorderContent::Draw(CDC* dc, CRect rect)
{
    dc->FillSolidRect(&rect, GetBkColor());
    m_skin.Draw(dc, &rect);
}

int CGroupBorderContent::GetPreferredHeight(int)
{
    return m_skin.GetMinSize().cy;
}

void CGroupBorderContent::SetText(LPCWSTR text)
{
    if (!text || m_text == text)
        return;
    m_text = text;
    Invalidate();
}
