#pragma once
// CGroupBorderContent: one side of a group box's border (top, bottom, left or
// right), drawn by a nine-grid skin over the cell's background. The group
// handler makes four of them around its title row and body.
#include "common/MiniSkin.h"
#include "hybrid/ContentBase.h"

struct IGroupBorderContent : public IHybridContent
{};

enum EGroupBorderSide {
    GROUP_BORDER_TOP = 0,
    GROUP_BORDER_BOTTOM = 1,
    GROUP_BORDER_LEFT = 2,
    GROUP_BORDER_RIGHT = 3,
};

class CGroupBorderContent : public CContentBase<IGroupBorderContent>
{
public:
    // borderSet 0 or 1 chooses one of the two bitmap sets.
    CGroupBorderContent(UINT borderSet, int side);

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    void Draw(CDC* dc, CRect rect) override;
    int GetPreferredHeight(int width) override;

    // Kept and compared, never drawn.
    virtual void SetText(LPCWSTR text);
    // The bitmap drawn for this side (exposed for the border columns and tests).
    UINT GetBitmapId() const { return m_bitmapId; }
    int GetMinWidth() const { return m_skin.GetMinSize().cx; }

private:
    CString m_text;
    int m_side;
    UINT m_bitmapId;
    CMiniSkin m_skin;
};
