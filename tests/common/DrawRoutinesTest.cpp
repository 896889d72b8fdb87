// Drawing routines on real device contexts of the screen format.
#include <gtest/gtest.h>
#include "common/DrawRoutines.h"
#include "tests/support/DibCanvas.h"

using testsupport::CDibCanvas;

TEST(DrawRoutines, ShadesAndGradientDirections)
{
    EXPECT_EQ(RGB(76, 76, 76), ShadeColour(RGB(255, 0, 0), 255));
    EXPECT_EQ(RGB(16, 0, 0), ShadeColour(RGB(48, 32, 16), 32));
    EXPECT_EQ(RGB(255, 255, 255), LightenColour(RGB(240, 240, 240), 32));
    EXPECT_EQ(RGB(30, 40, 50), LightenColour(RGB(20, 30, 40), 10));

    CDibCanvas canvas(10, 6);
    canvas.Fill(RGB(1, 2, 3));
    RECT r{0, 0, 10, 6};
    DrawGradientRect(canvas.Hdc(), r, RGB(0, 0, 0), RGB(100, 200, 0), 3);
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(0, 3));
    EXPECT_EQ(RGB(50, 100, 0), canvas.At(5, 3));
    EXPECT_EQ(RGB(90, 180, 0), canvas.At(9, 0));

    DrawGradientRect(canvas.Hdc(), r, RGB(0, 0, 0), RGB(0, 0, 30), 4);
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(4, 0));
    EXPECT_EQ(RGB(0, 0, 25), canvas.At(4, 5));

    // From both sides to the middle: the edges keep the start colour.
    DrawGradientRect(canvas.Hdc(), r, RGB(200, 0, 0), RGB(0, 0, 0), 1);
    EXPECT_EQ(RGB(200, 0, 0), canvas.At(0, 2));
    EXPECT_EQ(canvas.At(1, 2), canvas.At(9, 2));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(5, 2));

    // A one-pixel band has no steps: drawn in the start colour, no division by zero.
    RECT thin{2, 0, 3, 6};
    DrawGradientRect(canvas.Hdc(), thin, RGB(7, 8, 9), RGB(200, 200, 200), 1);
    EXPECT_EQ(RGB(7, 8, 9), canvas.At(2, 1));
}

TEST(DrawRoutines, TransparentBlitLeavesKeyColourOut)
{
    CDibCanvas source(20, 10), dest(20, 10);
    source.Fill(RGB(255, 255, 255));
    source.Fill(RGB(10, 200, 30), {5, 2, 10, 6});
    dest.Fill(RGB(0, 0, 255));
    TransparentBlitColourKey(dest.Hdc(), 0, 0, 20, 10, source.Hdc(), 0, 0, RGB(255, 255, 255));
    EXPECT_EQ(RGB(0, 0, 255), dest.At(0, 0));
    EXPECT_EQ(RGB(0, 0, 255), dest.At(19, 9));
    EXPECT_EQ(RGB(10, 200, 30), dest.At(6, 3));

    // A key colour that does not occur copies the image whole.
    dest.Fill(RGB(0, 0, 255));
    TransparentBlitColourKey(dest.Hdc(), 0, 0, 20, 10, source.Hdc(), 0, 0, RGB(1, 2, 3));
    EXPECT_EQ(RGB(255, 255, 255), dest.At(0, 0));
    EXPECT_EQ(RGB(10, 200, 30), dest.At(6, 3));

    // Wider than the shared mask: beyond x = 1000 the key colour is still
    // left out and the image copied.
    CDibCanvas wideSource(1300, 40), wide(1300, 40);
    wideSource.Fill(RGB(255, 255, 255));
    wideSource.Fill(RGB(200, 0, 0), {1100, 10, 1200, 20});
    wide.Fill(RGB(0, 128, 0));
    TransparentBlitColourKey(wide.Hdc(), 0, 0, 1300, 40, wideSource.Hdc(), 0, 0, RGB(255, 255, 255));
    EXPECT_EQ(RGB(0, 128, 0), wide.At(1050, 5));
    EXPECT_EQ(RGB(0, 128, 0), wide.At(1299, 39));
    EXPECT_EQ(RGB(200, 0, 0), wide.At(1150, 15));
    EXPECT_EQ(RGB(0, 128, 0), wide.At(10, 10));
}

TEST(DrawRoutines, FocusRectangleTwiceRestores)
{
    CDibCanvas canvas(30, 30);
    canvas.Fill(RGB(40, 90, 160));
    auto before = canvas.Pixels();
    RECT r{20, 25, 3, 4}; // not normalised
    DrawFocusRectangle(canvas.Hdc(), r);
    EXPECT_NE(before, canvas.Pixels());
    DrawFocusRectangle(canvas.Hdc(), r);
    EXPECT_EQ(before, canvas.Pixels());
    RECT empty{5, 5, 5, 5};
    DrawFocusRectangle(canvas.Hdc(), empty);
    EXPECT_EQ(before, canvas.Pixels());
}

TEST(DrawRoutines, LineAndSizes)
{
    CDibCanvas canvas(10, 10);
    canvas.Fill(RGB(255, 255, 255));
    DrawLine(canvas.Hdc(), 1, 5, 8, 5, RGB(255, 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(1, 5));
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(7, 5));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(8, 5)); // end point not painted

    HBITMAP bitmap = CreateBitmap(17, 9, 1, 1, nullptr);
    SIZE s = GetBitmapSize(bitmap);
    EXPECT_EQ(17, s.cx);
    EXPECT_EQ(9, s.cy);
    DeleteObject(bitmap);
    EXPECT_EQ(0, GetBitmapSize(nullptr).cx);
    EXPECT_EQ(0, GetBitmapResourceSize(54321).cx + GetBitmapResourceSize(54321).cy);

    EXPECT_EQ(GetSystemMetrics(SM_CXICON), GetIconSize(LoadIcon(nullptr, IDI_APPLICATION)).cx);
}
