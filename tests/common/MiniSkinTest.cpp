// The nine-grid skin: command parsing, minimum sizes, and drawing at three
// sizes with the pixels checked at the corners, the edges and the centre.
#include <gtest/gtest.h>

#include "common/MiniSkin.h"
#include "platform/mfc/afxwin.h"
#include "tests/support/DibCanvas.h"

namespace {

// The test bitmap 61030 is 9 x 10, cut 3,2,4 by 2,3,5; each piece has its
// own colour and its top-left pixel has the key colour.
const UINT kBitmap = 61030;
const COLORREF kKey = 0x0000FF;
const COLORREF kPiece[3][3] = {
    {RGB(0x10, 0x20, 0x30), RGB(0x40, 0x50, 0x60), RGB(0x70, 0x80, 0x90)},
    {RGB(0xA0, 0xB0, 0xC0), RGB(0x11, 0x99, 0x22), RGB(0x33, 0x44, 0xDD)},
    {RGB(0x55, 0x66, 0x77), RGB(0x88, 0x22, 0x11), RGB(0x22, 0x88, 0x88)},
};
const COLORREF kBack = RGB(1, 2, 3);

// A canvas filled with the background colour, as a device object.
class CCanvas : public testsupport::CDibCanvas
{
public:
    CCanvas(int w, int h) : CDibCanvas(w, h)
    {
        Fill(kBack);
        EXPECT_TRUE(dc.Attach(Hdc()));
    }
    ~CCanvas() { dc.Detach(); }

    CDC dc;
};

TEST(MiniSkin, ParsesOnlyTheFirstWellFormedCommand)
{
    // Test skin strings, then the program's own (bitmaps of the test program
    // stand in); a skin holds one command or none.
    const struct
    {
        UINT id;
        CSize size;
    } rows[] = {
        {61000, CSize(9, 10)}, {61001, CSize(7, 10)}, {61005, CSize(9, 10)}, // text after the first command is ignored
        {61002, CSize(0, 0)},  {61003, CSize(0, 0)},  {61004, CSize(0, 0)},  {61006, CSize(0, 0)},
        {61099, CSize(0, 0)},  {6031, CSize(15, 7)},  {6033, CSize(6, 2)},   {7030, CSize(12, 10)},
        {7033, CSize(10, 10)}, {8030, CSize(14, 12)}, {10249, CSize(4, 4)}};
    for (const auto& row : rows) {
        CMiniSkin skin(kBitmap, kKey, row.id);
        EXPECT_EQ(row.size.cx ? 1 : 0, skin.GetCommandCount()) << row.id;
        EXPECT_EQ(row.size, skin.GetMinSize()) << row.id;
    }
    CMiniSkin noBitmap(61098, kKey, 61000);
    EXPECT_EQ(0, noBitmap.GetCommandCount());
    CMiniSkin empty;
    EXPECT_EQ(CSize(0, 0), empty.GetMinSize());

    std::unique_ptr<CMiniSkin::SCmd> cmd(CMiniSkin::ParseCommand(L"SimpleMosaic{6,0,0,0,2,0}"));
    ASSERT_NE(nullptr, cmd);
    EXPECT_EQ(CSize(6, 2), cmd->GetSize());
    EXPECT_EQ(nullptr, CMiniSkin::ParseCommand(L"Other{1,2,3,4,5,6}"));
    EXPECT_EQ(nullptr, CMiniSkin::ParseCommand(nullptr));
}

void CheckNineGrid(int W, int H)
{
    SCOPED_TRACE(testing::Message() << W << " x " << H);
    const int x0 = 10, y0 = 10;
    CCanvas canvas(x0 + W + 10, y0 + H + 10);
    CMiniSkin skin(kBitmap, kKey, 61000);
    CRect rect(x0, y0, x0 + W, y0 + H);
    skin.Draw(&canvas.dc, rect);

    const int l = 3, r = 4, t = 2, b = 5;
    const int xs[3][2] = {{x0, x0 + l - 1}, {x0 + l, x0 + W - r - 1}, {x0 + W - r, x0 + W - 1}};
    const int ys[3][2] = {{y0, y0 + t - 1}, {y0 + t, y0 + H - b - 1}, {y0 + H - b, y0 + H - 1}};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            for (int xi = 0; xi < 2; ++xi)
                for (int yi = 0; yi < 2; ++yi) {
                    int x = xs[col][xi], y = ys[row][yi];
                    COLORREF want = (x == x0 && y == y0) ? kBack : kPiece[row][col];
                    EXPECT_EQ(want, canvas.At(x, y)) << "piece " << row << "," << col << " at " << x << "," << y;
                }
    EXPECT_EQ(kPiece[1][1], canvas.At(x0 + W / 2, y0 + t + (H - t - b) / 2));
    // Nothing outside the rectangle.
    EXPECT_EQ(kBack, canvas.At(x0 - 1, y0 - 1));
    EXPECT_EQ(kBack, canvas.At(x0 + W, y0 + H / 2));
    EXPECT_EQ(kBack, canvas.At(x0 + W / 2, y0 + H));
}

TEST(MiniSkin, DrawsNineGridAtThreeSizes)
{
    CheckNineGrid(9, 10);   // the bitmap's own size
    CheckNineGrid(60, 40);  // stretched both ways
    CheckNineGrid(200, 12); // wide and low: the middle row shrinks
}

TEST(MiniSkin, ZeroCentreColumnDrawsCentredStripAndEmptyDrawsNothing)
{
    CCanvas canvas(80, 40);
    CMiniSkin skin(kBitmap, kKey, 61001);
    skin.Draw(&canvas.dc, CRect(10, 10, 50, 30)); // 40 wide: strip of 7 at 10 + 16
    EXPECT_EQ(kBack, canvas.At(25, 15));
    EXPECT_EQ(kPiece[1][0], canvas.At(26, 15));
    EXPECT_EQ(kPiece[1][0], canvas.At(28, 15));
    EXPECT_EQ(kPiece[1][2], canvas.At(29, 15));
    EXPECT_EQ(kPiece[1][2], canvas.At(32, 15));
    EXPECT_EQ(kBack, canvas.At(33, 15));
    EXPECT_EQ(kPiece[2][2], canvas.At(32, 29));

    // An empty skin, no rectangle, no device and a zero width draw nothing.
    CMiniSkin none(kBitmap, kKey, 61002);
    none.Draw(&canvas.dc, CRect(0, 0, 80, 40));
    none.Draw(&canvas.dc, static_cast<const RECT*>(nullptr));
    none.Draw(nullptr, CRect(0, 0, 80, 40));
    CMiniSkin(kBitmap, kKey, 61000).Draw(&canvas.dc, CRect(60, 5, 60, 30));
    EXPECT_EQ(kBack, canvas.At(5, 5));
    EXPECT_EQ(kBack, canvas.At(60, 20));
}

} // namespace
