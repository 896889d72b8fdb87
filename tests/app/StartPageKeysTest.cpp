// A recent file opened from the start page, by a click on its line or by
// Space on it, and then the keys a musician presses first: each is answered
// at once, and the keys go to the document now shown, not to the start page
// hidden behind it. Real input throughout (the system's input queue).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AnswerWatch.h"
#include "AppTestKit.h"
#include "RealInput.h"
#include "app/AppIds.h"
#include "app/MainFrame.h"
#include "app/StartPagePane.h"
#include "app/ViririziruPane.h"
#include "app/AppSettings.h"
#include "common/RecentList.h"
#include "tests/support/TestSupport.h"
#include "xf/xfFrame.h"

using namespace apptest;

namespace {

// An answer later than this after a key is a window that does not answer.
const DWORD kAnswerMs = 1000;

using testsupport::DescribeWindow;

class StartPageKeys : public OneProgramTest
{
protected:
    void SetUp() override
    {
        OneProgramTest::SetUp();
        MainFrame()->SetForegroundWindow();
        MainFrame()->SetActiveWindow();
        PumpFor(100);
    }
    void TearDown() override
    {
        if (Pane() && Pane()->IsPlaying())
            Command(ID_CMD_STOP);
        OneProgramTest::TearDown();
    }

    // A copy of the test tone, first on the start page's list; its line.
    IHybridCell* RecentLine(const wchar_t* name)
    {
        const std::wstring path = testsupport::ScratchDir(name) + L"\\" + name;
        ::CopyFileW(Tone().c_str(), path.c_str(), FALSE);
        ::DeleteFileW(ProjectOf(path).c_str());
        GetRecentList().Add(path.c_str());
        StartPage()->RebuildRecentList();
        EXPECT_TRUE(PumpLayout());
        const CCellArray& lines = StartPage()->GetFileCells();
        return lines.GetSize() > 0 ? lines.GetAt(0) : nullptr;
    }
    // Waits until the file opened shows and can be played.
    bool Opened()
    {
        return PumpUntil(
            [this] {
                return Documents().size() == 1 && Pane() && Pane()->GetReader() && Pane()->GetReader()->IsReady() &&
                       !Pane()->IsFirstViewPending();
            },
            10000);
    }
    // Whether the keyboard focus lies in the document frame, visible.
    testing::AssertionResult FocusInShownDocument()
    {
        const HWND focus = ::GetFocus();
        if (Documents().size() != 1)
            return testing::AssertionFailure() << Documents().size() << " documents";
        const HWND document = Documents()[0]->GetSafeHwnd();
        if (!focus || (focus != document && !::IsChild(document, focus)) || !::IsWindowVisible(focus))
            return testing::AssertionFailure() << "the focus is on " << DescribeWindow(focus);
        return testing::AssertionSuccess();
    }
    // Space, letters, Tab and the arrows, each answered within a second
    // and each leaving the focus in the shown document.
    void PressTheFirstKeys(CAnswerWatch& watch)
    {
        const struct
        {
            WORD key;
            const char* name;
        } keys[] = {{VK_SPACE, "Space"}, {'A', "A"},          {'K', "K"},    {VK_SPACE, "Space again"}, {VK_TAB, "Tab"},
                    {VK_LEFT, "Left"},   {VK_RIGHT, "Right"}, {VK_UP, "Up"}, {VK_DOWN, "Down"},         {'Z', "Z"}};
        for (const auto& k : keys) {
            watch.Step(k.name);
            realinput::Press(k.key);
            PumpFor(400);
            EXPECT_LT(watch.LongestWait(), kAnswerMs) << "after " << k.name;
            EXPECT_TRUE(FocusInShownDocument()) << "after " << k.name;
        }
    }
};

} // namespace

TEST_F(StartPageKeys, AfterAClickOnARecentFileTheKeysReachTheShownDocument)
{
    IHybridCell* line = RecentLine(L"clicked.wav");
    ASSERT_NE(nullptr, line);
    CAnswerWatch watch(MainFrame()->GetSafeHwnd());
    watch.Step("the click on the recent file");
    CRect rect;
    line->GetRect(&rect);
    CPoint at(rect.left + 6, rect.CenterPoint().y); // over the text: a link reacts only there
    StartPage()->GetCtrl().ClientToScreen(&at);
    realinput::MoveTo(at + CPoint(-2, 0));
    PumpFor(50);
    realinput::MoveTo(at);
    PumpFor(100);
    realinput::Click(at);
    ASSERT_TRUE(Opened()) << "the click opened nothing";
    EXPECT_TRUE(FocusInShownDocument()) << "after the open";
    PressTheFirstKeys(watch);
}

TEST_F(StartPageKeys, AfterSpaceOnARecentFileTheKeysReachTheShownDocument)
{
    IHybridCell* line = RecentLine(L"spaced.wav");
    ASSERT_NE(nullptr, line);
    CHybridCtrl& page = StartPage()->GetCtrl();
    page.SetFocus();
    page.SetActiveCell(line, true, false);
    PumpFor(100);
    CAnswerWatch watch(MainFrame()->GetSafeHwnd());
    watch.Step("Space on the recent file");
    realinput::Press(VK_SPACE);
    ASSERT_TRUE(Opened()) << "Space on the line opened nothing";
    EXPECT_TRUE(FocusInShownDocument()) << "after the open";
    PressTheFirstKeys(watch);
}
