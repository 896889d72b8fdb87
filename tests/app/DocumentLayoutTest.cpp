// The open file's windows as the user reshapes them with the real pointer:
// the split between the views and the information pane, and the time
// scroller dragged past the start of the file.
#include <windows.h>
#include "AppTestKit.h"
#include "RealInput.h"
#include "app/AppIds.h"
#include "app/MainFrame.h"
#include "app/TimeScrollerContent.h"
#include "app/ViewInterfaces.h"
#include "app/ViririziruPane.h"
#include "hybrid/HybridCtrl.h"
#include "tests/support/TestSupport.h"
#include "xf/xfFrame.h"

using namespace apptest;

namespace {

void Button(DWORD flags)
{
    realinput::Button(flags);
    PumpFor(60);
}

// A press at one screen point, a move to the other, a release there.
void DragWithThePointer(POINT from, POINT to)
{
    ::SetCursorPos(from.x, from.y);
    PumpFor(60);
    Button(MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 4; ++step) {
        ::SetCursorPos(from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4);
        Button(MOUSEEVENTF_MOVE);
    }
    Button(MOUSEEVENTF_LEFTUP);
    PumpFor(200);
}

class DocumentLayout : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(Start());
        MainFrame()->MoveWindow(0, 0, 1000, 700);
        const std::wstring copy = testsupport::ScratchDir(L"app-layout") + L"\\layout.wav";
        ASSERT_TRUE(::CopyFileW(Tone().c_str(), copy.c_str(), FALSE));
        ::DeleteFileW(ProjectOf(copy).c_str());
        m_pane = Open(copy);
        ASSERT_TRUE(m_pane);
        ASSERT_TRUE(PumpLayout());
    }

    // The document's frame that splits the views from the information pane.
    CxfFrame* Split()
    {
        for (CxfFrame* f = m_pane->GetFrame(); f; f = f->GetFrame())
            if (f->GetSizes().size() == 2)
                return f;
        return nullptr;
    }

    // The share of the split's room the views have.
    static double ViewsShare(CxfFrame* split)
    {
        const std::vector<int>& sizes = split->GetSizes();
        return double(sizes[0]) / (sizes[0] + sizes[1]);
    }

    CViririziruPane* m_pane = nullptr;
};

// The time scroller among the pane's controls.
CTimeScrollerContent* FindScroller(CWnd* pane)
{
    for (HWND w = ::GetWindow(pane->GetSafeHwnd(), GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        auto* ctrl = dynamic_cast<CHybridCtrl*>(CWnd::FromHandlePermanent(w));
        if (!ctrl)
            continue;
        CCellArray cells;
        CCellCollector collect(cells);
        ctrl->EnumCells(collect, HCE_ALL);
        for (INT_PTR i = 0; i < cells.GetSize(); ++i)
            if (auto* scroller = dynamic_cast<CTimeScrollerContent*>(cells.GetAt(i)->GetContentPtr()))
                return scroller;
    }
    return nullptr;
}

} // namespace

TEST_F(DocumentLayout, ADraggedSplitKeepsItsShareAndTheScrollerScrollsBeforeTheStart)
{
    // The split dragged from 70 % to about 45 % with the real pointer...
    CxfFrame* split = Split();
    ASSERT_TRUE(split);
    EXPECT_NEAR(0.7, ViewsShare(split), 0.01);
    CRect views;
    split->GetChild(0)->GetWindowRect(&views);
    CRect area;
    split->GetWindowRect(&area);
    const POINT grip{views.right + 3, views.CenterPoint().y};
    const POINT to{area.left + area.Width() * 45 / 100, grip.y};
    DragWithThePointer(grip, to);
    const double dragged = ViewsShare(split);
    EXPECT_NEAR(0.45, dragged, 0.02);

    // ...keeps that share when the window is resized, larger and smaller.
    for (int width : {1200, 800}) {
        MainFrame()->MoveWindow(0, 0, width, 650);
        ASSERT_TRUE(PumpLayout()) << width;
        EXPECT_NEAR(dragged, ViewsShare(split), 0.01) << width;
    }

    // The scroller's thumb dragged far left scrolls the views before the
    // start of the file, and they draw there. The window moves right, so
    // that the pointer has room left of it on the screen.
    MainFrame()->MoveWindow(400, 0, 800, 650);
    ITimeContainer* time = m_pane->GetTimeContainer();
    time->SetScale(500);
    time->SetPosition(1000000);
    ASSERT_TRUE(PumpLayout());
    CTimeScrollerContent* scroller = FindScroller(m_pane);
    ASSERT_TRUE(scroller);
    CPoint thumb = scroller->GetThumbRect(scroller->GetRect()).CenterPoint();
    scroller->GetCell()->GetCtrl()->ClientToScreen(&thumb);
    DragWithThePointer(thumb, POINT{thumb.x - 300, thumb.y});
    const LONGLONG width = scroller->GetRect().Width();
    EXPECT_EQ(1000000 - 300 * time->GetLength() / width, time->GetPosition());
    EXPECT_LT(time->GetPosition(), 0);
    m_pane->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR answer = 0;
    EXPECT_TRUE(::SendMessageTimeoutW(MainFrame()->GetSafeHwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer));
}
