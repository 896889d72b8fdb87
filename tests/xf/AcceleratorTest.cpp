// Accelerator tables and keys of the top-level frame: the table list rebuilt
// at every activation (the framework's table first, then deepest and active
// frames first), real key presses reaching their handlers, the accelerator
// lookup for shortcut texts, and the keyboard cues.
#include <gtest/gtest.h>
#include "XfTestKit.h"
#include "xf/xfCommands.h"

using namespace xftest;

namespace {

// A child frame that notes every keyboard-cue call it is passed.
class CCuesFrame : public CxfFrame
{
public:
    std::vector<bool>* calls = nullptr;
    void ShowKeyboardCues(bool show) override
    {
        calls->push_back(show);
        CxfFrame::ShowKeyboardCues(show);
    }
};

class Accelerators : public HostTest
{
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        root = Build(L"R(controller=1){F(ver){F(AccelTable=110,controller=10){P(id=1)}"
                     L"F(AccelTable=111,controller=11){F(AccelTable=113,controller=13){P(id=2)}}}}",
                     600, 400, false);
        ASSERT_EQ(L"F:vc1{Fc10P1,Fc11{Fc13P2}}", Describe(root));
        a = root->GetChild(0);
        c = root->GetChild(1)->GetChild(0);
        static_cast<CTestController*>(root->GetController())->rec.handles = {41010, 41011, 41012, 41013, 41014, 41015};
        keyTarget = a->GetPane()->GetDlgItem(1000)->m_hWnd;
    }
    void TearDown() override
    {
        SetControl(false);
        HostTest::TearDown();
    }
    // Posts a key press to a pane's edit box and reports what it ran.
    std::vector<std::string> Press(UINT key, UINT message = WM_KEYDOWN)
    {
        Log().events.clear();
        ::PostMessageW(keyTarget, message, key, 1);
        PumpFor(60);
        return Log().events;
    }
    static void SetControl(bool down)
    {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = down ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }
    CxfFrame* root = nullptr;
    CxfFrame* a = nullptr; // table 110
    CxfFrame* c = nullptr; // table 113, inside the frame of table 111
    HWND keyTarget = nullptr;
};

using Ran = std::vector<std::string>;

} // namespace

TEST_F(Accelerators, TablesAreSearchedFrameworkFirstThenDeepestAndActiveFirst)
{
    // Frame a is active: 110, then 113 (deeper) before 111.
    EXPECT_EQ((Ran{"c1 ran 41010"}), Press(VK_F7));
    EXPECT_EQ((Ran{"c1 ran 41015"}), Press(VK_F8));
    // Activating c rebuilds the list: 113, 111, then 110.
    c->ActivateFrame();
    EXPECT_EQ((Ran{"c1 ran 41011"}), Press(VK_F7));
    EXPECT_EQ((Ran{"c1 ran 41015"}), Press(VK_F8));
    a->ActivateFrame();
    EXPECT_EQ((Ran{"c1 ran 41010"}), Press(VK_F7));

    // Modifiers count; the framework's Ctrl+Tab wins over table 110's.
    EXPECT_EQ((Ran{}), Press('K'));
    SetControl(true);
    EXPECT_EQ((Ran{"c1 ran 41013"}), Press('K'));
    EXPECT_EQ((Ran{}), Press(VK_TAB));
    SetControl(false);
}

TEST_F(Accelerators, LookupInSearchOrderOnTheTopLevelFrameOnly)
{
    ACCEL found{};
    ASSERT_TRUE(root->FindAccelerator(ID_XF_NEXT_FRAME, &found));
    EXPECT_EQ(VK_TAB, found.key);
    EXPECT_TRUE(found.fVirt & FCONTROL);
    EXPECT_FALSE(found.fVirt & FSHIFT);
    ASSERT_TRUE(root->FindAccelerator(ID_XF_PREV_FRAME, &found));
    EXPECT_TRUE((found.fVirt & (FCONTROL | FSHIFT)) == (FCONTROL | FSHIFT));
    ASSERT_TRUE(root->FindAccelerator(41013, &found));
    EXPECT_EQ('K', found.key);
    EXPECT_FALSE(root->FindAccelerator(41099, &found));
    EXPECT_FALSE(a->FindAccelerator(41013, &found));
    EXPECT_FALSE(root->FindAccelerator(41013, nullptr));
}

TEST_F(Accelerators, KeyboardCues)
{
    std::vector<bool> calls;
    CCuesFrame* child = new CCuesFrame;
    child->calls = &calls;
    ASSERT_TRUE(child->Create(root));
    root->AddChildFrame(child);
    BOOL saved = TRUE;
    ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &saved, 0);

    // Hidden by the system: Alt shows them, other keys leave them.
    ::SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<PVOID>(FALSE), 0);
    Press(VK_MENU, WM_SYSKEYDOWN);
    EXPECT_EQ((std::vector<bool>{true}), calls);
    Press(VK_F9);
    EXPECT_EQ(1u, calls.size());
    // Shown by the system: every other key keeps them shown.
    ::SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<PVOID>(TRUE), 0);
    calls.clear();
    Press(VK_F9);
    EXPECT_EQ((std::vector<bool>{true}), calls);
    Press(VK_MENU, WM_SYSKEYDOWN);
    EXPECT_EQ(1u, calls.size());

    ::SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(saved)), 0);
}
