// Frame layout: split sizes from pixels and percentages, deferred layout on
// the top-level frame's timer, bars around the area, splitter drags,
// minimum sizes and splitter painting.
#include <gtest/gtest.h>
#include "XfTestKit.h"
#include "common/DrawRoutines.h"
#include "xf/xfControlBar.h"
#include "xf/xfLayout.h"

using namespace xftest;

namespace {

const int kKind = 31;

// A host whose tree is built from one layout, laid out at width x height.
class FrameLayout : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (host.m_hWnd)
            host.Close();
        DrainQuits();
        Central().layouts.erase(kKind);
        EXPECT_EQ(0, Log().panesAlive);
    }
    CxfFrame* Build(const wchar_t* layout, int width, int height)
    {
        DrainQuits(); // from a host closed before
        Central().layouts[kKind] = layout;
        EXPECT_TRUE(host.Open(width, height, false));
        PumpLayout();
        return host.Root();
    }
    void Resize(int width, int height) { host.MoveWindow(0, 0, width, height, TRUE); }
    // Left/top and right/bottom of child i along the split axis.
    static std::pair<int, int> Span(CxfFrame* parent, int i, bool horizontal = true)
    {
        const CRect rc = RectInParent(parent->GetChild(i)->m_hWnd);
        return horizontal ? std::make_pair(int(rc.left), int(rc.right)) : std::make_pair(int(rc.top), int(rc.bottom));
    }
    CTestHost host{CxfAgent::FlagBuildLayout, kKind};
};

// Counts its layouts.
class CCountingFrame : public CxfFrame
{
public:
    void RecalcLayout() override
    {
        ++layouts;
        CxfFrame::RecalcLayout();
    }
    int layouts = 0;
};

} // namespace

TEST_F(FrameLayout, PercentSizesShareTheSpaceLeftBySplitters)
{
    CxfFrame* root = Build(L"F(ver){F(width=70p){P(id=1)}F(width=30p){P(id=2)}}", 1006, 600);
    ASSERT_EQ(L"F:v{FP1,FP2}", Describe(root));
    EXPECT_EQ(std::make_pair(0, 700), Span(root, 0));
    EXPECT_EQ(std::make_pair(706, 1006), Span(root, 1));
    EXPECT_EQ(CRect(0, 0, 700, 600), RectInParent(root->GetChild(0)->GetPane()->m_hWnd) + CPoint(0, 0));

    // Resizing relays out on the next tick, not inside WM_SIZE.
    Resize(1106, 600);
    EXPECT_EQ(std::make_pair(0, 700), Span(root, 0));
    PumpLayout();
    EXPECT_EQ(std::make_pair(0, 770), Span(root, 0));
    EXPECT_EQ(std::make_pair(776, 1106), Span(root, 1));

    // A spare pixel goes to the last child.
    Resize(1007, 600);
    PumpLayout();
    EXPECT_EQ(std::make_pair(0, 700), Span(root, 0));
    EXPECT_EQ(std::make_pair(706, 1007), Span(root, 1));

    // A hidden child leaves the split; the last visible one takes the rest.
    root->GetChild(0)->SetVisible(false);
    PumpLayout();
    EXPECT_EQ(std::make_pair(0, 1007), Span(root, 1));
}

TEST_F(FrameLayout, LastChildFillsButIsNeverShrunk)
{
    CxfFrame* root = Build(L"F(ver){F(width=33p){P(id=1)}F(width=33p){P(id=2)}F(width=33p){P(id=3)}}", 1006, 300);
    // 994 available: 328 and 328; the last gets 994 - (328 + 328 + 6).
    EXPECT_EQ((std::vector<int>{328, 328, 332}), root->GetSizes());
    host.Close();
    Build(L"F(hor){F(height=500){P(id=1)}F(height=400){P(id=2)}}", 300, 706);
    EXPECT_EQ((std::vector<int>{500, 400}), host.Root()->GetSizes());
    EXPECT_EQ(std::make_pair(506, 906), Span(host.Root(), 1, false));
}

TEST_F(FrameLayout, ProportionalAndConstantWidths)
{
    CxfFrame* root = Build(
        L"F(ver){F(width=200,ProportionalWidth){P(id=1)}F(width=200,ConstWidth){P(id=2)}F{P(id=3)}}", 1006, 300);
    EXPECT_EQ((std::vector<int>{200, 200, 588}), root->GetSizes());
    Resize(2012, 300);
    PumpLayout();
    // 200 x 2000 / 1006 (the last client width), truncated.
    EXPECT_EQ((std::vector<int>{397, 200, 1397}), root->GetSizes());
}

TEST_F(FrameLayout, NoRoomLeavesEveryChildEmptyAndZeroAreasAreSkipped)
{
    CxfFrame* root = Build(L"F(ver){F(width=50p){P(id=1)}F{P(id=2)}F{P(id=3)}}", 10, 300);
    EXPECT_EQ((std::vector<int>{0, 0, 0}), root->GetSizes());
    Resize(0, 300);
    PumpLayout();
    EXPECT_EQ((std::vector<int>{0, 0, 0}), root->GetSizes());
    Resize(606, 300);
    PumpLayout();
    EXPECT_EQ((std::vector<int>{297, 0, 291}), root->GetSizes()); // the last: 594 - (297 + 0 + 6)
}

TEST_F(FrameLayout, BarsDockAroundTheArea)
{
    CxfFrame* root =
        Build(L"C(top){P(id=41)}C(left){P(id=42)}C(bottom){P(id=43)}C(right){P(id=44)}F{P(id=1)}", 1006, 600);
    ASSERT_EQ(L"FP1[CP41,CP42,CP43,CP44]", Describe(root));
    EXPECT_EQ(CRect(0, 0, 1006, 28), RectInParent(root->GetBar(0)->m_hWnd));
    EXPECT_EQ(CRect(0, 28, 28, 600), RectInParent(root->GetBar(1)->m_hWnd));
    EXPECT_EQ(CRect(28, 572, 1006, 600), RectInParent(root->GetBar(2)->m_hWnd));
    EXPECT_EQ(CRect(978, 28, 1006, 572), RectInParent(root->GetBar(3)->m_hWnd));
    EXPECT_EQ(CRect(28, 28, 978, 572), CRect(root->GetAreaRect()));
    EXPECT_EQ(CRect(28, 28, 978, 572), RectInParent(root->GetPane()->m_hWnd));
    // Inside a bar: a 4-pixel border and the 10-pixel gripper strip.
    auto* top = static_cast<CxfControlBar*>(root->GetBar(0));
    auto* left = static_cast<CxfControlBar*>(root->GetBar(1));
    EXPECT_EQ(CRect(14, 4, 1002, 24), RectInParent(top->GetPane()->m_hWnd));
    EXPECT_EQ(CRect(4, 14, 24, 568), RectInParent(left->GetPane()->m_hWnd));
    EXPECT_EQ(0, top->m_dock.row);
    EXPECT_EQ(0, top->m_dock.pos);

    SIZE min{};
    root->GetMinSize(min, false);
    EXPECT_EQ(56 + 50, min.cx); // left and right bars, and the pane
    EXPECT_EQ(56 + 50, min.cy);
    root->GetMinSize(min, true);
    EXPECT_EQ(56, min.cx);
}

TEST_F(FrameLayout, OneLayoutPerTickHoweverManyRequests)
{
    CWnd plain;
    ASSERT_TRUE(plain.CreateEx(0, nullptr, L"plain", WS_POPUP, CRect(0, 0, 800, 300), nullptr, 0));
    auto* root = new CCountingFrame;
    ASSERT_TRUE(root->CreateWnd(&plain));
    ParseLayout(root, L"F(ver){F(width=50p){P(id=1)}F{P(id=2)}}");
    CxfFrame::Tidy(root);
    CxfFrame::Start(root, nullptr, true);
    for (int i = 0; i < 3; ++i)
        root->RequestLayout(true);
    root->MoveWindow(0, 0, 800, 300);
    EXPECT_EQ(0, root->layouts);
    PumpLayout();
    EXPECT_EQ(1, root->layouts);
    EXPECT_EQ(std::make_pair(0, 397), Span(root, 0));

    for (int w = 600; w < 606; ++w)
        root->MoveWindow(0, 0, w, 300);
    EXPECT_EQ(1, root->layouts);
    EXPECT_EQ(std::make_pair(0, 397), Span(root, 0));
    EXPECT_TRUE(PumpUntil([&] { return root->layouts > 1; }));
    PumpLayout();
    EXPECT_EQ(2, root->layouts);
    EXPECT_EQ(std::make_pair(0, 299), Span(root, 0));

    CxfFrame::Start(root, nullptr, false);
    CxfFrame::TearDown(root);
    root->DestroyWindow();
    plain.DestroyWindow();
}

TEST_F(FrameLayout, SplitterDragKeepsMinimumSizes)
{
    CxfFrame* root = Build(L"F(ver){F(width=70p){P(id=1)}F(width=30p){P(id=2)}}", 1006, 600);
    auto press = [&](UINT message, int x) {
        root->SendMessage(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, 100));
    };
    press(WM_LBUTTONDOWN, 703);
    EXPECT_EQ(root->m_hWnd, ::GetCapture());
    press(WM_MOUSEMOVE, 503); // the pointer stays in the splitter's middle
    EXPECT_EQ((std::vector<int>{500, 500}), root->GetSizes());
    EXPECT_EQ(std::make_pair(506, 1006), Span(root, 1)); // at once, without a layout
    press(WM_MOUSEMOVE, 10);
    EXPECT_EQ((std::vector<int>{50, 950}), root->GetSizes());
    press(WM_MOUSEMOVE, 1000);
    EXPECT_EQ((std::vector<int>{950, 50}), root->GetSizes());
    press(WM_LBUTTONUP, 1000);
    EXPECT_EQ(nullptr, ::GetCapture());
    press(WM_MOUSEMOVE, 500); // no capture: nothing moves
    EXPECT_EQ((std::vector<int>{950, 50}), root->GetSizes());

    // A press off the splitter does not capture.
    press(WM_LBUTTONDOWN, 300);
    EXPECT_EQ(nullptr, ::GetCapture());

    // Over the splitter the cursor becomes the sizing arrow.
    CPoint onSplitter(952, 100);
    root->ClientToScreen(&onSplitter);
    ::SetCursorPos(onSplitter.x, onSplitter.y);
    EXPECT_TRUE(root->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(root->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    ::SetCursorPos(onSplitter.x - 100, onSplitter.y);
    EXPECT_FALSE(root->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(root->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
}

TEST_F(FrameLayout, SplittersArePaintedWithGradientAndGripDots)
{
    for (const wchar_t* layout : {L"F(ver){F(width=70p){P(id=1)}F{P(id=2)}}",
                                  L"F(ver,WndColorSplitters){F(width=70p){P(id=1)}F{P(id=2)}}"}) {
        CxfFrame* root = Build(layout, 1006, 600);
        const bool windowColour = root->HasParam(L"WndColorSplitters");
        CDC mem;
        CClientDC screen(nullptr);
        mem.CreateCompatibleDC(&screen);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&screen, 1006, 600);
        CBitmap* old = mem.SelectObject(&bitmap);
        root->PaintSplitters(&mem);
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        EXPECT_EQ(face, mem.GetPixel(10, 10));
        if (windowColour) {
            EXPECT_EQ(::GetSysColor(COLOR_WINDOW), mem.GetPixel(700, 10));
            EXPECT_EQ(::GetSysColor(COLOR_WINDOW), mem.GetPixel(704, 326));
        } else {
            EXPECT_EQ(LightenColour(face, 5), mem.GetPixel(700, 10));
            EXPECT_EQ(RGB(255, 255, 255), mem.GetPixel(704, 326));
        }
        // Ten dots, 5 pixels apart, from 25 below to 20 above the middle.
        for (int offset = -20; offset <= 25; offset += 5)
            EXPECT_EQ(RGB(0xA3, 0xA3, 0xA3), mem.GetPixel(703, 300 + offset)) << offset;
        EXPECT_NE(RGB(0xA3, 0xA3, 0xA3), mem.GetPixel(703, 300 - 25));
        mem.SelectObject(old);
        host.Close();
    }
}
