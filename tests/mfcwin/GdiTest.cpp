// Drawing through the GDI wrappers: memory DC, blit to a window, read back.
#include "MfcWinTest.h"
#include "MfcWinTestIds.h"
#include <gtest/gtest.h>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kShade = RGB(0x40, 0x40, 0x40);

class CCanvasWnd : public CWnd
{
public:
    int paints = 0;
    bool selectedBack = false;

protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        CDC mem;
        ASSERT_TRUE(mem.CreateCompatibleDC(&dc));
        CBitmap bmp;
        ASSERT_TRUE(bmp.CreateCompatibleBitmap(&dc, 100, 80));
        CBitmap* oldBmp = mem.SelectObject(&bmp);
        mem.FillSolidRect(0, 0, 100, 80, kRed);
        CBrush blue(kBlue);
        mem.FillRect(CRect(10, 10, 30, 30), &blue);
        CPen green(PS_SOLID, 1, kGreen);
        CPen* oldPen = mem.SelectObject(&green);
        mem.MoveTo(0, 50);
        mem.LineTo(100, 50);
        mem.SelectObject(oldPen);
        mem.Draw3dRect(CRect(40, 10, 60, 30), kWhite, kShade);
        // Clipping: a fill outside the clip rectangle leaves the pixels alone.
        int saved = mem.SaveDC();
        mem.IntersectClipRect(70, 0, 100, 40);
        mem.FillSolidRect(60, 0, 40, 40, kBlue);
        mem.RestoreDC(saved);
        dc.BitBlt(0, 0, 100, 80, &mem, 0, 0, SRCCOPY);
        // Stretch the top-left 10x10 (red) to 20x20 at (110, 0).
        dc.StretchBlt(110, 0, 20, 20, &mem, 0, 0, 10, 10, SRCCOPY);
        dc.PatBlt(140, 0, 10, 10, BLACKNESS);
        mem.SelectObject(oldBmp);
        selectedBack = mem.GetCurrentBitmap()->m_hObject != bmp.m_hObject;
        ++paints;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCanvasWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

} // namespace

TEST(MfcGdi, MemoryDcBlittedToTheWindowReadsBack)
{
    CCanvasWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"Canvas", WS_POPUP | WS_VISIBLE, CRect(30, 30, 230, 130), nullptr, 0));
    wnd.Invalidate();
    wnd.UpdateWindow();
    ASSERT_GE(wnd.paints, 1);
    EXPECT_TRUE(wnd.selectedBack);

    CClientDC dc(&wnd);
    ASSERT_GE(dc.GetDeviceCaps(BITSPIXEL), 24) << "pixel checks need true colour";
    EXPECT_EQ(kRed, dc.GetPixel(5, 5));
    EXPECT_EQ(kBlue, dc.GetPixel(20, 20));
    EXPECT_EQ(kGreen, dc.GetPixel(50, 50));
    EXPECT_EQ(kWhite, dc.GetPixel(40, 10)); // top-left corner
    EXPECT_EQ(kWhite, dc.GetPixel(58, 10)); // top line
    EXPECT_EQ(kShade, dc.GetPixel(59, 10)); // top-right corner belongs to the bottom-right colour
    EXPECT_EQ(kShade, dc.GetPixel(59, 29));
    EXPECT_EQ(kShade, dc.GetPixel(40, 29));
    EXPECT_EQ(kRed, dc.GetPixel(50, 20));  // inside the frame, untouched
    EXPECT_EQ(kRed, dc.GetPixel(65, 20));  // clipped away
    EXPECT_EQ(kBlue, dc.GetPixel(75, 20)); // inside the clip
    EXPECT_EQ(kRed, dc.GetPixel(129, 19)); // stretched
    EXPECT_EQ(RGB(0, 0, 0), dc.GetPixel(145, 5));
    wnd.DestroyWindow();
}

TEST(MfcGdi, ObjectsOwnTheirHandlesAndTemporariesDoNot)
{
    HGDIOBJ pen;
    {
        CPen p(PS_SOLID, 2, kBlue);
        pen = p.m_hObject;
        ASSERT_NE(nullptr, pen);
        LOGPEN lp{};
        EXPECT_TRUE(p.GetLogPen(&lp));
        EXPECT_EQ(kBlue, lp.lopnColor);
        EXPECT_EQ(2, lp.lopnWidth.x);
        // A temporary wrapper of the same handle has the right class.
        CGdiObject* temp = CGdiObject::FromHandle(pen);
        EXPECT_NE(nullptr, dynamic_cast<CPen*>(temp));
    }
    EXPECT_EQ(0u, ::GetObjectType(pen)); // deleted with its owner

    CBrush brush(kGreen);
    HGDIOBJ h = brush.Detach();
    EXPECT_EQ(nullptr, brush.m_hObject);
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), ::GetObjectType(h));
    CBrush other;
    EXPECT_TRUE(other.Attach(h));
    EXPECT_TRUE(other.DeleteObject());
    EXPECT_EQ(0u, ::GetObjectType(h));

    CRgn a, b, both;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(b.CreateRectRgn(5, 5, 20, 20));
    ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(COMPLEXREGION, both.CombineRgn(&a, &b, RGN_OR));
    EXPECT_TRUE(both.PtInRegion(15, 15));
    EXPECT_FALSE(both.PtInRegion(15, 2));
    CRect box;
    both.GetRgnBox(&box);
    EXPECT_EQ(CRect(0, 0, 20, 20), box);

    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, L"Tahoma"));
    LOGFONTW lf{};
    font.GetLogFont(&lf);
    EXPECT_LT(lf.lfHeight, 0); // a character height, in pixels of the screen

    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(nullptr));
    CFont* old = mem.SelectObject(&font);
    CSize ext = mem.GetTextExtent(CString(L"Wide text"));
    EXPECT_GT(ext.cx, 0);
    EXPECT_GT(ext.cy, 0);
    TEXTMETRICW tm{};
    EXPECT_TRUE(mem.GetTextMetrics(&tm));
    EXPECT_GT(tm.tmHeight, 0);
    mem.SelectObject(old);
    EXPECT_EQ(CSize(0, 0), mem.GetTextExtent(L"", 0));

    CDC* wrapped = CDC::FromHandle(mem.m_hDC);
    EXPECT_EQ(wrapped, CDC::FromHandle(mem.m_hDC));
    CWnd* nullWnd = nullptr;
    EXPECT_EQ(nullptr, nullWnd->GetSafeHwnd());
}

TEST(MfcGdi, MenusLoadFromResourcesAndTrackUntilDismissed)
{
    CMenu bar;
    ASSERT_TRUE(bar.LoadMenu(IDR_TEST_MENU));
    CMenu* popup = bar.GetSubMenu(0);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(2, popup->GetMenuItemCount());
    EXPECT_EQ(static_cast<UINT>(ID_TEST_SECOND), popup->GetMenuItemID(1));
    CString text;
    popup->GetMenuString(ID_TEST_FIRST, text, MF_BYCOMMAND);
    EXPECT_EQ(CString(L"First"), text);

    CMenu own;
    ASSERT_TRUE(own.CreatePopupMenu());
    EXPECT_TRUE(own.AppendMenu(MF_STRING, 7, L"Seven"));
    HMENU h = own.Detach();
    EXPECT_TRUE(::IsMenu(h));
    {
        CMenu holder;
        ASSERT_TRUE(holder.Attach(h));
    }
    EXPECT_FALSE(::IsMenu(h)); // destroyed with its owner

    // TrackPopupMenu is modal: a timer ends the menu mode.
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"O", WS_POPUP | WS_VISIBLE, CRect(0, 0, 100, 100), nullptr, 0));
    owner.SetForegroundWindow();
    ::SetTimer(owner.m_hWnd, 1, 100, [](HWND hWnd, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(hWnd, id);
        ::EndMenu();
    });
    EXPECT_FALSE(popup->TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 10, 10, &owner));
    owner.DestroyWindow();
}
