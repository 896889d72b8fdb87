#pragma once
// A resizable frame or background drawn from one small bitmap: the bitmap is
// cut into a 3 x 3 grid whose corners keep their size while the edges and
// the middle stretch, and a key colour stays transparent. The grid comes
// from a command string of the string table, "SimpleMosaic{l,c,r,t,m,b}":
// the widths of the left, centre and right columns and the heights of the
// top, middle and bottom rows, in pixels of the bitmap.
// User-interface thread only.
#include "platform/mfc/afx.h"
#include "platform/mfc/afxdc.h"
#include "common/PtrArrays.h"

class CMiniSkin
{
public:
    // One drawing command of a skin.
    struct SCmd
    {
        virtual ~SCmd() = default;
        virtual void Draw(CDC* dc, const RECT& rect, CBitmap* skin, COLORREF key) = 0;
        virtual CSize GetSize() const = 0;
    };

    // The nine-piece stretch. When the centre column is 0 wide, the drawing
    // is only l + r wide, centred in the rectangle.
    struct SSimpleMosaic : SCmd
    {
        int l = 0, c = 0, r = 0, t = 0, m = 0, b = 0;
        void Draw(CDC* dc, const RECT& rect, CBitmap* skin, COLORREF key) override;
        CSize GetSize() const override { return CSize(l + c + r, t + m + b); }
    };

    CMiniSkin();
    CMiniSkin(UINT bitmapId, COLORREF key, UINT commandId);
    virtual ~CMiniSkin();
    CMiniSkin(const CMiniSkin&) = delete;
    CMiniSkin& operator=(const CMiniSkin&) = delete;

    // Loads the bitmap and the command string and parses it; a missing
    // bitmap or string, another command name or a malformed command leaves
    // the skin without commands (it then draws nothing).
    void Init(UINT bitmapId, COLORREF key, UINT commandId);
    void Draw(CDC* dc, const RECT& rect);
    void Draw(CDC* dc, const RECT* rect);
    // Per axis the largest size of the commands; (0, 0) without commands.
    CSize GetMinSize() const;
    int GetCommandCount() const { return static_cast<int>(m_commands.GetSize()); }

    // Parses the first command of a command string (exposed for its tests).
    static SCmd* ParseCommand(LPCWSTR text);

private:
    UINT m_bitmapId = 0;
    COLORREF m_key = 0;
    CBitmap m_bitmap;
    CString m_commandText;
    CGCPtrArray<SCmd> m_commands;
};
