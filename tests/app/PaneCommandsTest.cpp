// The transcription pane's commands on a real document of the test file
// (10 s), each case in one table, and the handlers that nothing names in a
// message map, called directly.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "AppTestKit.h"
#include "DialogAnswerer.h"
#include "app/AppIds.h"
#include "app/AppSettings.h"
#include "app/MainController.h"
#include "app/MainFrame.h"
#include "app/ViewMessages.h"
#include "app/ViririziruController.h"
#include "app/ViririziruPane.h"
#include "tests/support/TestSupport.h"
#include "xf/xfContentInterfaces.h"
#include "xf/xfFrame.h"
#include "xf/xfMDIClient.h"

using namespace apptest;
using xftest::CDialogAnswerer;

namespace {

constexpr LONGLONG kSecond = 1000000;

// Remembers what an update handler did.
class CRecordingCmdUI : public CCmdUI
{
public:
    void Enable(BOOL on) override
    {
        enabled = on != FALSE;
        ++calls;
    }
    bool enabled = false;
    int calls = 0;
};

class PaneCommands : public OneProgramTest
{
protected:
    void SetUp() override
    {
        OneProgramTest::SetUp();
        // A copy of its own, so that its project file is this case's alone.
        const std::wstring path = testsupport::ScratchDir(L"pane-commands") + L"\\steps.wav";
        ASSERT_TRUE(::CopyFileW(testsupport::TestData(L"steps_440_660_880.wav").c_str(), path.c_str(), FALSE));
        ::DeleteFileW(ProjectOf(path).c_str());
        ASSERT_TRUE(Open(path));
        time = Pane()->GetTimeContainer();
        fragments = Pane()->GetFragmentDisplay();
        width = static_cast<int>(Pane()->GetWaveDisplay()->GetRect().Width());
        ASSERT_GT(width, 250) << "the cases need a waveform view at least 250 pixels wide";
        ASSERT_LT(width, 1000);
    }
    // No play position, no play cursor, no selection, no fragment; 10 ms
    // a pixel from the file's start.
    void Reset()
    {
        Command(ID_CMD_STOP);
        PumpUntil([this] { return !Pane()->IsPlaying(); }, 5000);
        time->GetPlayPosition(true);
        time->SetPlayCursor(-1);
        time->SetSelection(0, 0);
        fragments->RemoveAll();
        time->SetScale(1000);
        time->SetPosition(0);
    }
    // A fragment, made as the fragment display makes one: it becomes active.
    void MarkFragment(LONGLONG from, LONGLONG to)
    {
        fragments->AddFragment(from, to, nullptr);
        PumpFor(60);
    }
    std::vector<std::wstring> CommandAnswered(UINT id, int button)
    {
        CDialogAnswerer answerer({{button, L""}}, MainFrame()->GetSafeHwnd());
        Command(id);
        PumpFor(100);
        return answerer.Seen();
    }
    static bool Shows(const std::vector<std::wstring>& seen, const wchar_t* text)
    {
        return seen.size() == 1 && seen[0].find(text) != std::wstring::npos;
    }
    ITimeContainer* time = nullptr;
    IFragmentDisplay* fragments = nullptr;
    int width = 0;
};

} // namespace

TEST_F(PaneCommands, EachCommandDoesWhatItPromises)
{
    const std::pair<const char*, std::function<bool()>> cases[] = {
        {"While playing, autoscroll brings a play cursor left of the view back into it",
         [&] {
             SetAutoscrollPlayback(false);
             time->SetPosition(8 * kSecond);
             Command(ID_CMD_PLAY); // the whole file from its start
             const bool moving = PumpUntil([&] { return time->GetPlayCursor() > kSecond / 4; }, 5000);
             PumpFor(300);
             const bool stayed = time->GetPosition() == 8 * kSecond;
             SetAutoscrollPlayback(true);
             const bool followed = PumpUntil([&] { return time->GetPosition() < 8 * kSecond; }, 3000);
             const bool atCursor = time->GetPosition() <= time->GetPlayCursor();
             Command(ID_CMD_STOP);
             // Positions the thread posted before it stopped still scroll
             // the view: the next cases start once they have all arrived.
             const bool stopped = PumpUntil([&] { return !Pane()->IsPlaying(); }, 5000);
             PumpFor(300);
             return moving && stayed && followed && atCursor && stopped;
         }},
        {"Zoom In on a play position on screen keeps it under its column",
         [&] {
             time->SetPlayPosition(2 * kSecond); // column 200
             Command(ID_CMD_ZOOM_IN);
             return time->GetScale() == 500 && time->GetPosition() == 1 * kSecond &&
                    time->TimeToPixel(2 * kSecond, true) == 200;
         }},
        {"Zoom Out on a play position off screen keeps the middle column's time",
         [&] {
             time->SetPosition(5 * kSecond);
             time->SetPlayPosition(1 * kSecond); // left of the view
             const LONGLONG middle = time->PixelToTime(width / 2, true);
             Command(ID_CMD_ZOOM_OUT);
             return time->GetScale() == 2000 && time->PixelToTime(width / 2, true) == middle;
         }},
        {"Zoom on the play cursor when there is no play position",
         [&] {
             time->SetPlayCursor(3 * kSecond); // column 300
             Command(ID_CMD_ZOOM_IN);
             return time->GetScale() == 500 && time->TimeToPixel(3 * kSecond, true) == 300;
         }},
        {"Zoom without play position or cursor does nothing",
         [&] {
             time->SetPosition(kSecond / 2);
             Command(ID_CMD_ZOOM_IN);
             Command(ID_CMD_ZOOM_OUT);
             return time->GetScale() == 1000 && time->GetPosition() == kSecond / 2;
         }},
        {"Zoom Whole File: the duration in ms over the view less 5 pixels, from the start",
         [&] {
             time->SetPosition(3 * kSecond);
             const LONGLONG expected = Pane()->GetReader()->GetDuration() * 1000 / (width - 5) / 10;
             Command(ID_CMD_ZOOM_WHOLE);
             return time->GetScale() == expected && time->GetPosition() == 0;
         }},
        {"Releasing the position slider inside the active fragment keeps it",
         [&] {
             MarkFragment(1 * kSecond, 3 * kSecond);
             time->SetSelection(1 * kSecond, 3 * kSecond);
             time->SetPlayPosition(3 * kSecond); // the end counts as inside
             Pane()->SendMessage(WM_POSITION_SLIDER_RELEASED);
             return fragments->HasActive() && time->HasSelection();
         }},
        {"Releasing it outside deactivates the fragment and clears the selection",
         [&] {
             MarkFragment(1 * kSecond, 3 * kSecond);
             time->SetSelection(1 * kSecond, 3 * kSecond);
             time->SetPlayPosition(5 * kSecond);
             Pane()->SendMessage(WM_POSITION_SLIDER_RELEASED);
             return !fragments->HasActive() && !time->HasSelection() && fragments->GetCount() == 1;
         }},
        {"Select Tempo without an active fragment says so",
         [&] { return Shows(CommandAnswered(ID_CMD_SELECT_TEMPO, IDOK), L"Activate a fragment first."); }},
        {"Remove All asks, and No keeps the fragments",
         [&] {
             MarkFragment(1 * kSecond, 2 * kSecond);
             MarkFragment(4 * kSecond, 5 * kSecond);
             const bool asked =
                 Shows(CommandAnswered(ID_CMD_REMOVE_ALL, IDNO), L"Are you sure you want to remove all fragments?");
             const bool kept = fragments->GetCount() == 2;
             CommandAnswered(ID_CMD_REMOVE_ALL, IDYES);
             return asked && kept && fragments->GetCount() == 0;
         }},
        {"To The Fragment Beginning: the selection's start over the active fragment's, else 0",
         [&] {
             MarkFragment(1 * kSecond, 3 * kSecond);
             time->SetSelection(2 * kSecond, 4 * kSecond);
             Command(ID_CMD_TO_FRAGMENT_BEGIN);
             const LONGLONG fromSelection = time->GetPlayPosition(true);
             time->SetSelection(0, 0);
             fragments->SetActiveIndex(-1);
             Command(ID_CMD_TO_FRAGMENT_BEGIN);
             return fromSelection == 2 * kSecond && time->GetPlayPosition(true) == 0;
         }},
    };
    for (const auto& c : cases) {
        Reset();
        EXPECT_TRUE(c.second()) << c.first;
    }
    Reset();
    SetAutoscrollPlayback(true);
}

TEST_F(PaneCommands, SpareCommandAndUnmappedHandlers)
{
    // The spare command and its update stop at the pane; a command nobody
    // maps goes through the tree unhandled.
    EXPECT_TRUE(Root()->OnCmdMsg(ID_CMD_SPARE, CN_COMMAND, nullptr, nullptr));
    CRecordingCmdUI spareUi;
    spareUi.m_nID = ID_CMD_SPARE;
    EXPECT_TRUE(Pane()->OnCmdMsg(ID_CMD_SPARE, CN_UPDATE_COMMAND_UI, &spareUi, nullptr));
    EXPECT_EQ(0, spareUi.calls) << "the update handler is empty";
    EXPECT_FALSE(Root()->OnCmdMsg(ID_CMD_ZOOM_FIT, CN_COMMAND, nullptr, nullptr));

    // The main controller's way to the main area's tab strip.
    CIPtr<IxfFrameListContent> expected;
    ASSERT_TRUE(Area()->GetFrameList(&expected));
    IxfFrameListContent* list = Controller()->GetMainFrameList();
    EXPECT_EQ(expected.Get(), list);
    if (list)
        list->Release();
    CMainController loose;
    EXPECT_EQ(nullptr, loose.GetMainFrameList()) << "without a frame";

    // The pane's unmapped pair: the update enables with a selection only.
    CRecordingCmdUI ui;
    Pane()->GetTimeContainer()->SetSelection(0, 0);
    Pane()->OnUpdateUnmappedCommand(&ui);
    const bool withoutSelection = ui.enabled;
    Pane()->GetTimeContainer()->SetSelection(kSecond, 2 * kSecond);
    Pane()->OnUpdateUnmappedCommand(&ui);
    EXPECT_FALSE(withoutSelection);
    EXPECT_TRUE(ui.enabled);
    EXPECT_EQ(2, ui.calls);
    const int fragmentsBefore = Pane()->GetFragmentDisplay()->GetCount();
    Pane()->OnUnmappedCommand();
    EXPECT_EQ(fragmentsBefore, Pane()->GetFragmentDisplay()->GetCount());
    EXPECT_TRUE(Pane()->GetTimeContainer()->HasSelection());

    // The document controller's unmapped handler changes nothing.
    auto* document = dynamic_cast<CViririziruController*>(Documents()[0]->GetController());
    ASSERT_NE(nullptr, document);
    document->OnUnmappedCommand();
    EXPECT_NE(nullptr, document->GetReader());
    EXPECT_EQ(1u, Documents().size());
}
