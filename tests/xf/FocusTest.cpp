// The keyboard focus and the frames: it follows the document brought
// forward, leaves a frame hidden with it for the visible active frame, and
// is not given back under a hidden frame when a dialog host becomes active
// again. Keys sent to a window under a hidden frame reach nothing the user
// sees.
#include <gtest/gtest.h>
#include <string>
#include "XfTestIds.h"
#include "XfTestKit.h"
#include "tests/support/TestSupport.h"
#include "xf/xfCommands.h"
#include "xf/xfMDIClient.h"
#include "xf/xfMessages.h"

using namespace xftest;

namespace {

const int kDoc = 45;
const int kDialogKind = 72;

using testsupport::DescribeWindow;

// Whether the keyboard focus lies in the frame's pane and can be seen.
testing::AssertionResult FocusInPaneOf(CxfFrame* frame)
{
    const HWND focus = ::GetFocus();
    const HWND pane = frame && frame->GetPane() ? frame->GetPane()->GetSafeHwnd() : nullptr;
    if (pane && focus && (focus == pane || ::IsChild(pane, focus)) && ::IsWindowVisible(focus))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the focus is on " << DescribeWindow(focus);
}

class Focus : public HostTest
{
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        const std::wstring dir = testsupport::ScratchDir(L"xf-focus");
        song = dir + L"\\song.wav";
        other = dir + L"\\other.wav";
        for (const std::wstring& p : {song, other})
            ASSERT_TRUE(testsupport::WriteFileBytes(p, "data", 4));
        Central().layouts[kDoc] = L"F(controller=20){P(id=5)}";
        Central().tables[66] = listItems;
    }
    CxfFrame* BuildActive(const wchar_t* layout)
    {
        CxfFrame* root = Build(layout, 600, 400);
        host.SetForegroundWindow();
        host.SetActiveWindow();
        PumpFor(50);
        return root;
    }
    static void FocusEdit(CxfFrame* frame)
    {
        ::SetFocus(frame->GetPane()->GetDlgItem(1000)->GetSafeHwnd());
        frame->ActivateFrame();
    }
    std::wstring song, other;
    const SxfToolBarItem listItems[2] = {Item(XF_ITEM_FRAMELIST, 0, XF_ITEMF_STRETCH), kEnd};
};

// A dialog host (its dialog manager gives the focus back when it is
// activated again) with one MDI area.
class CDialogHost : public CDialog
{
public:
    CDialogHost() : m_agent(this, CxfAgent::FlagBuildLayout, kDialogKind) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const LRESULT result = CDialog::WindowProc(message, wParam, lParam);
        m_agent.OnHostMessage(message, wParam, lParam);
        return result;
    }
    CxfAgent m_agent;
};

} // namespace

TEST_F(Focus, ADocumentBroughtForwardTakesTheFocusFromTheFrameItHides)
{
    // The area's tab strip shows, hides and activates its documents.
    ASSERT_NE(nullptr, BuildActive(L"R(controller=1){M(mdiID=1,KeySwitchable){T(top,tb=66)F(controller=2){P(id=1)}}}"));
    CxfMDIClient* area = host.Root()->FindMDIClient(1);
    ASSERT_NE(nullptr, area);
    CxfFrame* start = area->GetChild(0);
    FocusEdit(start);
    ASSERT_TRUE(FocusInPaneOf(start));

    CxfFrame* a = area->OpenDocumentFrame(kDoc, song.c_str(), nullptr);
    ASSERT_NE(nullptr, a);
    EXPECT_TRUE(FocusInPaneOf(a)) << "after the open";
    CxfFrame* b = area->OpenDocumentFrame(kDoc, other.c_str(), nullptr);
    ASSERT_NE(nullptr, b);
    EXPECT_TRUE(FocusInPaneOf(b)) << "after the second open";
    EXPECT_EQ(a, area->OpenDocumentFrame(kDoc, song.c_str(), nullptr));
    EXPECT_TRUE(FocusInPaneOf(a)) << "after the open path was found again";

    // The keyboard switch: the next document's pane has the keys.
    host.Root()->SendMessage(WM_COMMAND, ID_XF_NEXT_FRAME);
    EXPECT_TRUE(b->IsShown());
    EXPECT_TRUE(FocusInPaneOf(b)) << "after the switch";

    // A click on a tab: the strip takes the focus with the press, the
    // document it brings forward takes it from there.
    auto* strip = dynamic_cast<CxfToolBar*>(area->GetBar(0));
    ASSERT_NE(nullptr, strip);
    PumpLayout(); // the tabs have their places
    ClickCell(strip, CellOf(strip, a->GetController()));
    PumpFor(50);
    EXPECT_TRUE(a->IsShown());
    EXPECT_TRUE(FocusInPaneOf(a)) << "after a click on its tab";

    // Closed with the focus in it: the document shown next has it, not the
    // root frame.
    a->PostMessage(XFM_CLOSEFRAME);
    ASSERT_TRUE(PumpUntil([&] { return area->GetChildCount() == 2; }));
    CxfFrame* shown = start->IsShown() ? start : b;
    ASSERT_TRUE(shown->IsShown());
    EXPECT_TRUE(FocusInPaneOf(shown)) << "after the close";
}

TEST_F(Focus, AFrameHiddenWithTheFocusHandsItToTheVisibleActiveFrame)
{
    CxfFrame* root = BuildActive(L"R{F(ver){F{P(id=1)}F{P(id=2)}}}");
    ASSERT_NE(nullptr, root);
    CxfFrame* split = root->GetChildCount() == 1 ? root->GetChild(0) : root;
    ASSERT_EQ(2, split->GetChildCount()) << Describe(root).c_str();
    CxfFrame* left = split->GetChild(0);
    CxfFrame* right = split->GetChild(1);
    FocusEdit(right);
    ASSERT_TRUE(FocusInPaneOf(right));
    right->SetVisible(false);
    EXPECT_TRUE(FocusInPaneOf(left));

    // Hidden without the focus: the focus stays where it is.
    right->SetVisible(true);
    FocusEdit(right);
    left->SetVisible(false);
    EXPECT_TRUE(FocusInPaneOf(right));
    left->SetVisible(true);
}

TEST_F(Focus, ADialogHostActivatedAgainDoesNotGiveTheFocusBackUnderAHiddenFrame)
{
    Central().layouts[kDialogKind] = L"F{M(mdiID=1){F(controller=2){P(id=1)}}}";
    CDialogHost dlg;
    ASSERT_TRUE(dlg.Create(IDD_XF_TEST_DIALOG_HOST, nullptr));
    ASSERT_TRUE(PumpUntil([&] { return dlg.IsWindowVisible() != FALSE; }));
    dlg.SetForegroundWindow();
    dlg.SetActiveWindow();
    PumpFor(50);
    CxfMDIClient* area = dlg.m_agent.GetRootFrame()->FindMDIClient(1);
    ASSERT_NE(nullptr, area);
    CxfFrame* start = area->GetChild(0);
    FocusEdit(start);
    ASSERT_TRUE(FocusInPaneOf(start));

    // Another window is active while a document opens over the start frame.
    CTestHost other(0, 0);
    ASSERT_TRUE(other.Open(100, 80));
    other.SetForegroundWindow();
    other.SetActiveWindow();
    PumpFor(50);
    ASSERT_NE(dlg.GetSafeHwnd(), ::GetActiveWindow());
    CxfFrame* a = area->OpenDocumentFrame(kDoc, song.c_str(), nullptr);
    ASSERT_NE(nullptr, a);
    EXPECT_FALSE(start->IsShown());

    dlg.SetForegroundWindow();
    dlg.SetActiveWindow();
    PumpFor(50);
    EXPECT_TRUE(FocusInPaneOf(a)) << "after the host became active again";

    other.Close();
    dlg.m_agent.Destroy();
    dlg.DestroyWindow();
    DrainQuits();
}
