// The program from end to end: the real application object and main window,
// a real document frame on the test file of 440 Hz (0-2 s), 660 Hz (2-4 s)
// and 880 Hz (4-10 s), driven through the transcription pane's commands
// (and the pointer, where a click is what a case is about), heard through
// the captured sound device, and its project files on disk.
// One program serves the cases in turn; the last cases close it on the
// roads a user takes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "AppTestKit.h"
#include "CaptureKit.h"
#include "DialogAnswerer.h"
#include "RealInput.h"
#include "app/AppIds.h"
#include "app/AuxFiles.h"
#include "app/MainController.h"
#include "app/MainFrame.h"
#include "app/ViewMessages.h"
#include "app/ViewServices.h"
#include "app/ViririziruPane.h"
#include "app/WaveDisplayContent.h"
#include "common/TextTree.h"
#include "tests/support/Starvation.h"
#include "tests/support/TestSupport.h"
#include "xf/xfFrame.h"
#include "xf/xfMessages.h"
#include "xf/xfToolBar.h"
#include "xf/xfToolBarButton.h"

using namespace apptest;
using captest::CCapture;
using xftest::CDialogAnswerer;

namespace {

constexpr LONGLONG kSecond = 1000000;

std::wstring Steps()
{
    return testsupport::TestData(L"steps_440_660_880.wav");
}

// The tree's groups and leaves as one line: name{leaf=value;group{...}}.
std::wstring Dump(const SNode& node)
{
    std::wstring out = static_cast<LPCWSTR>(node.name);
    if (!node.isGroup)
        return out + L"=" + static_cast<LPCWSTR>(node.value) + L";";
    out += L"{";
    for (INT_PTR i = 0; i < node.children.GetSize(); ++i)
        out += Dump(*node.children.GetAt(i));
    return out + L"}";
}

std::wstring DumpFile(const std::wstring& path)
{
    CTextTree tree(L"Viririziru_Root");
    return tree.LoadTextTree(path.c_str()) ? Dump(tree.GetRoot()) : L"(unreadable)";
}

// Bytes in use on all of the process's heaps.
double HeapInUseKb()
{
    HANDLE heaps[64];
    const DWORD n = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
    double used = 0;
    for (DWORD i = 0; i < n; ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY e = {};
        while (HeapWalk(heaps[i], &e))
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                used += e.cbData;
        HeapUnlock(heaps[i]);
    }
    return used / 1024;
}

bool SameBytes(const std::wstring& a, const std::vector<uint8_t>& bytes)
{
    return testsupport::ReadFileBytes(a) == bytes;
}

// Whether the sound stops near capture frame `at` (where a pass ends and the
// next begins): a run of exact zeros longer than the two fades' meeting.
bool GapNear(const CCapture& c, size_t at)
{
    const std::vector<int16_t>& left = c.Left();
    const size_t from = std::min(left.size(), at > size_t(captest::kRate / 20) ? at - captest::kRate / 20 : 0);
    const size_t to = std::min(left.size(), at + captest::kRate / 20);
    const std::vector<int16_t> around(left.begin() + ptrdiff_t(from), left.begin() + ptrdiff_t(to));
    return around.size() < size_t(captest::kRate / 20) ||
           captest::LongestZeroRun(around) > size_t(captest::kRate / 1000);
}

class EndToEnd : public OneProgramTest
{
protected:
    void Cmd(UINT id)
    {
        Command(id);
        PumpFor(60);
    }
    // A fragment made from a selection, as the user makes one; it becomes
    // the active fragment.
    void Mark(double from, double to)
    {
        Pane()->GetTimeContainer()->SetSelection(LONGLONG(from * kSecond), LONGLONG(to * kSecond));
        Cmd(ID_CMD_NEW_FRAGMENT);
        PumpFor(60);
    }
    void StartPlaying(UINT id)
    {
        m_from = captest::SettledSize([](unsigned ms) { PumpFor(ms); });
        Cmd(id);
        EXPECT_TRUE(Pane()->IsPlaying() || Pane()->GetPlayContext().state != kPlayIdle);
    }
    CCapture WaitEnd(DWORD timeoutMs = 40000)
    {
        EXPECT_TRUE(PumpUntil([this] { return !Pane()->IsPlaying(); }, timeoutMs)) << "playback did not end";
        captest::SettledSize([](unsigned ms) { PumpFor(ms); });
        return CCapture(m_from);
    }
    CCapture Play(UINT id)
    {
        StartPlaying(id);
        return WaitEnd();
    }
    void Close()
    {
        Cmd(ID_CMD_CLOSE);
        EXPECT_TRUE(PumpUntil([this] { return Documents().empty(); }, 5000));
    }
    // The text of the toolbar's Play button, after an idle pass updated it.
    std::wstring PlayButtonText()
    {
        PumpFor(150);
        CIPtr<IHybridContent> content;
        if (!Root()->FindContent(ID_CMD_PLAY, &content) || !content)
            return L"(no button)";
        auto* button = dynamic_cast<CxfToolBarButton*>(content.Get());
        return button ? button->GetText() : L"(not a button)";
    }
    // A fresh copy of the test file under another name, without a project.
    std::wstring CopyOfSteps(const wchar_t* name)
    {
        const std::wstring path = testsupport::ScratchDir(name) + L"\\" + name;
        ::CopyFileW(Steps().c_str(), path.c_str(), FALSE);
        ::DeleteFileW(ProjectOf(path).c_str());
        return path;
    }

    uint64_t m_from = 0;
};

REAL_TIME_TEST_F(EndToEnd, AFragmentPlaysAtItsTempoThenAtTheOriginalThenTheWholeFileOnce)
{
    const std::wstring audio = CopyOfSteps(L"play.wav");
    ASSERT_TRUE(Open(audio));
    Mark(0, 4);
    Cmd(ID_CMD_TEMPO_08);
    ASSERT_EQ(0.8f, Pane()->GetFragmentDisplay()->GetActiveTempo());

    // 0.8x: 4 s of source become 5 s, still 440 then 660 Hz, none of the
    // 880 Hz that follows the range.
    CCapture slow = Play(ID_CMD_PLAY);
    SCOPED_TRACE("0.8x: " + slow.Describe());
    EXPECT_NEAR(5.0, slow.Sound(), 0.1);
    EXPECT_NEAR(440.0, slow.Frequency(440), 4.4);
    EXPECT_NEAR(660.0, slow.Frequency(660), 6.6);
    EXPECT_EQ(0.0, slow.Sound(880));
    ASSERT_FALSE(slow.Runs().empty());
    EXPECT_EQ(440, slow.Runs().at(slow.Leading() > 0 ? 1 : 0).tone);

    CCapture original = Play(ID_CMD_PLAY_ORIGINAL);
    SCOPED_TRACE("1.0x: " + original.Describe());
    EXPECT_NEAR(4.0, original.Sound(), 0.08);
    EXPECT_NEAR(660.0, original.Frequency(660), 6.6);
    EXPECT_EQ(0.0, original.Sound(880));

    // Neither a fragment nor a selection: the whole file once at 1.0x, and
    // the button reads "Stop" while it plays, "Play" again afterwards.
    Cmd(ID_CMD_REMOVE);
    Pane()->GetTimeContainer()->SetSelection(0, 0);
    StartPlaying(ID_CMD_PLAY);
    EXPECT_EQ(L"Stop", PlayButtonText());
    CCapture whole = WaitEnd();
    SCOPED_TRACE("whole: " + whole.Describe());
    EXPECT_NEAR(10.0, whole.Sound(), 0.2);
    EXPECT_NEAR(6.0, whole.Sound(880), 0.12) << "the tail is missing";
    EXPECT_EQ(L"Play", PlayButtonText());
}

REAL_TIME_TEST_F(EndToEnd, PreDelayComesOnceAndTempoAndLoopChangesReachTheRunningLoop)
{
    const std::wstring audio = CopyOfSteps(L"loop.wav");
    ASSERT_TRUE(Open(audio));
    // 1.5 s to 2.5 s: half a second of 440, half of 660.
    Mark(1.5, 2.5);
    Pane()->SetActivePreDelay(2);
    Cmd(ID_CMD_LOOP);
    StartPlaying(ID_CMD_PLAY);
    // The pass being heard: a new one whenever the play cursor goes back.
    captest::SHeardPass heard;
    auto heardPass = [&] { return heard.Follow(Pane()->GetTimeContainer()->GetPlayCursor()); };
    EXPECT_TRUE(PumpUntil([&] { return heardPass() >= 2; }, 15000));
    Cmd(ID_CMD_TEMPO_HALF); // heard at once; each later pass: 2 s
    EXPECT_TRUE(PumpUntil([&] { return heardPass() >= 4; }, 15000));
    const int expected = heard.pass;
    Cmd(ID_CMD_LOOP); // loop off: the pass being heard is the last
    CCapture c = WaitEnd();
    SCOPED_TRACE(c.Describe());
    EXPECT_GE(c.Leading(), 1.9) << "the pre-delay's silence";
    EXPECT_EQ(0.0, c.LongestGap()) << "a gap between passes";
    EXPECT_LE(captest::LongestZeroRun(c.Left()), size_t(captest::kRate / 1000)) << "a gap between passes";
    const std::vector<double> lengths = captest::PassLengths(c);
    ASSERT_EQ(size_t(expected), lengths.size()) << ::testing::PrintToString(lengths);
    EXPECT_EQ(4, expected);
    EXPECT_NEAR(1.0, lengths.front(), 0.1);
    EXPECT_NEAR(2.0, lengths[lengths.size() - 2], 0.15);
    EXPECT_NEAR(2.0, lengths.back(), 0.15);
}

REAL_TIME_TEST_F(EndToEnd, APlainClickInTheWaveformDuringThePreDelayEndsThePlayWithTheFragmentsActivation)
{
    // A plain click clears the selection; a selection that equals no
    // fragment leaves none active; a fragment no longer active ends its
    // play. So a click in the view during a fragment's pre-delay ends the
    // play at once, nothing of the fragment heard, as a click in any other
    // moment of a fragment's play does.
    const std::wstring audio = CopyOfSteps(L"click.wav");
    ASSERT_TRUE(Open(audio));
    Mark(1.5, 3.5);
    Pane()->SetActivePreDelay(3);
    ITimeContainer* time = Pane()->GetTimeContainer();
    auto* wave = static_cast<CWaveDisplayContent*>(Pane()->GetWaveDisplay());
    const CRect view = wave->GetRect();
    CPoint at(view.left + time->TimeToPixel(LONGLONG(2.7 * kSecond), true), view.CenterPoint().y);
    ASSERT_TRUE(view.PtInRect(at)) << "2.7 s is out of sight";
    wave->GetCtrl()->ClientToScreen(&at);
    MainFrame()->SetForegroundWindow();
    StartPlaying(ID_CMD_PLAY);
    const auto captured = [this] { return size_t((testsupport::CaptureSize() - m_from) / 4); };
    // A press and release at 2.7 s, a second into the silence.
    ASSERT_TRUE(PumpUntil([&] { return captured() >= size_t(captest::kRate); }, 5000));
    realinput::Click(at);
    ASSERT_TRUE(PumpUntil([&] { return !time->HasSelection(); })) << "the click did not reach the view";
    const size_t clickedAt = captured();
    CCapture c = WaitEnd(5000);
    SCOPED_TRACE(c.Describe());
    ASSERT_LT(clickedAt, size_t(2.5 * captest::kRate)) << "the click came after the silence (a busy machine)";
    SFragmentInfo active;
    EXPECT_FALSE(Pane()->GetFragmentDisplay()->GetActive(active)) << "a fragment is still active";
    EXPECT_EQ(0.0, c.Sound()) << "the fragment was heard";
    EXPECT_LT(c.Left().size(), size_t(3 * captest::kRate)) << "the silence was played on";
}

REAL_TIME_TEST_F(EndToEnd, ALoopSwitchedBackOnShortlyBeforeThePassEndsGoesOnWithoutAGap)
{
    // The loop switched off early in a pass, then on again 20 to 80 ms of
    // wall time before that pass ends (on the captured device, which takes
    // the sound about four times faster than real time, some 80 to 320 ms
    // of sound): the pane hands the flag on at a position message only, and
    // the play goes on, with nothing between the passes. When each switch
    // came is measured afterwards in the capture, against where its pass
    // ended, at the rate the device took the sound meanwhile; a switch that
    // missed the window (a busy machine) is left out and tried again.
    const std::wstring audio = CopyOfSteps(L"reloop.wav");
    ASSERT_TRUE(Open(audio));
    Mark(1.5, 2.5); // half a second of 440 Hz, half of 660 Hz
    Pane()->SetActivePreDelay(0);
    constexpr double kFromMs = 20, kToMs = 80;
    // More of them near the window's start, where a switch is most likely
    // to come too late.
    const double targetsMs[] = {22, 26, 30, 35, 40, 50, 60, 75};
    constexpr int kTrials = 8;
    constexpr int kMostAttempts = 24;
    const struct
    {
        UINT command;
        double tempo;
    } tempos[] = {{ID_CMD_TEMPO_ORIGINAL, 1.0}, {ID_CMD_TEMPO_HALF, 0.5}};
    struct STrial
    {
        size_t passStart; // capture frames of the play
        size_t on;        // the capture's size just after the switch
        double ms;        // wall milliseconds from the switch to the pass's end, at the device's rate
        bool wentOn;
    };
    bool looped = false;
    ITimeContainer* time = Pane()->GetTimeContainer();
    const auto captured = [this] { return size_t((testsupport::CaptureSize() - m_from) / 4); };
    for (const auto& t : tempos) {
        SCOPED_TRACE(t.tempo);
        Cmd(t.command);
        const size_t passFrames = size_t(captest::kRate / t.tempo + 0.5);
        int attempts = 0, tried = 0, inWindow = 0, wentOn = 0, gapless = 0;
        std::vector<STrial> trials; // of the play running
        captest::SHeardPass heard;
        size_t passStart = 0;
        // Each switch of the play that just ended, against its capture.
        const auto judge = [&](const CCapture& c) {
            for (const STrial& trial : trials) {
                const size_t end = trial.passStart + passFrames;
                const double ms = trial.ms;
                const bool counts = ms >= kFromMs && ms <= kToMs;
                const bool gap = trial.wentOn && GapNear(c, end);
                std::printf("[ figures  ] %.1fx: loop on %.0f ms before the pass's end (%.0f ms of sound): %s%s%s\n",
                            t.tempo, ms, (double(end) - double(trial.on)) * 1000 / captest::kRate,
                            trial.wentOn ? "went on" : "ended", gap ? ", with a gap" : "",
                            counts ? "" : " (outside the window, not counted)");
                if (!counts)
                    continue;
                ++inWindow;
                wentOn += trial.wentOn ? 1 : 0;
                gapless += trial.wentOn && !gap ? 1 : 0;
            }
            trials.clear();
        };
        int pass = 0; // the pass of the next switch, as the play cursor counts them
        while (tried < kTrials && attempts < kMostAttempts) {
            if (!Pane()->IsPlaying()) {
                if (!looped)
                    Cmd(ID_CMD_LOOP);
                looped = true;
                time->SetPlayPosition(LONGLONG(1.5 * kSecond)); // not where an ended play left it
                StartPlaying(ID_CMD_PLAY);
                heard = captest::SHeardPass();
                ASSERT_TRUE(PumpUntil([&] { return CCapture(m_from).StartOf(440, 0) != SIZE_MAX; }, 5000));
                passStart = CCapture(m_from).StartOf(440, 0);
                pass = 2; // the first pass comes with the device's start
            }
            // Early in the pass, the loop off.
            ASSERT_TRUE(PumpUntil([&] { return heard.Follow(time->GetPlayCursor()) >= pass; }, 10000));
            Command(ID_CMD_LOOP);
            // (A pass gone by unseen on a busy machine: the passes are whole.)
            passStart += size_t(heard.pass - pass) * passFrames;
            pass = heard.pass;
            const DWORD offTick = ::GetTickCount();
            const size_t offAt = captured();
            // Where the pass began in the capture: the first 440 Hz after the
            // 660 Hz of the pass before.
            const size_t search = passStart + passFrames * 3 / 4;
            size_t found = SIZE_MAX;
            ASSERT_TRUE(PumpUntil(
                [&] {
                    found = CCapture(m_from + uint64_t(search) * 4).StartOf(440, 0);
                    return found != SIZE_MAX;
                },
                5000));
            passStart = search + found;
            const double end = double(passStart + passFrames);
            // The loop on again, the target before the pass's end, at the
            // rate the device has been taking the sound since the switch.
            const double targetMs = targetsMs[attempts++ % std::size(targetsMs)];
            const auto rateSinceOff = [&](size_t now) {
                return std::max(1.0, double(now - offAt) / std::max<DWORD>(1, ::GetTickCount() - offTick));
            };
            EXPECT_TRUE(PumpUntil(
                [&] {
                    const size_t now = captured();
                    return double(now) >= end - targetMs * rateSinceOff(now);
                },
                5000));
            Command(ID_CMD_LOOP);
            const size_t on = captured();
            const double ms = (end - double(on)) / rateSinceOff(on);
            trials.push_back({passStart, on, ms, false});
            tried += ms >= kFromMs && ms <= kToMs ? 1 : 0;
            // The next pass is heard, or the play ends.
            EXPECT_TRUE(
                PumpUntil([&] { return heard.Follow(time->GetPlayCursor()) > pass || !Pane()->IsPlaying(); }, 10000));
            trials.back().wentOn = Pane()->IsPlaying();
            ++pass;
            if (!trials.back().wentOn)
                judge(WaitEnd());
        }
        if (Pane()->IsPlaying()) {
            Command(ID_CMD_LOOP); // off: the pass heard is the last
            looped = false;
            judge(WaitEnd());
        }
        std::printf("[ figures  ] %.1fx: %d of %d switched on %.0f-%.0f ms before the end went on, %d without a gap\n",
                    t.tempo, wentOn, inWindow, kFromMs, kToMs, gapless);
        EXPECT_GE(inWindow, kTrials / 2) << "too few switches came within the window";
        EXPECT_EQ(inWindow, wentOn) << "the play ended with the loop switched on";
        EXPECT_EQ(wentOn, gapless) << "a gap where the loop went on";
    }
    if (looped)
        Cmd(ID_CMD_LOOP);
    Close();
}

REAL_TIME_TEST_F(EndToEnd, APositionReleasedWhilePlayingIsHeardAtOnceOrEndsThePass)
{
    const std::wstring audio = CopyOfSteps(L"seek.wav");
    ASSERT_TRUE(Open(audio));
    ITimeContainer* time = Pane()->GetTimeContainer();
    time->SetSelection(0, 8 * kSecond);
    StartPlaying(ID_CMD_PLAY);
    // As the position slider does on a release: the position is stored, the
    // pane told. Inside the range the new place is heard at once, the queued
    // sound dropped; at or after the range's end the pass ends there and,
    // played once, the play with it. Each well into the play, where the
    // thread naps between writes unless the pane wakes it.
    const struct
    {
        double when, to; // the cursor's window starts at `when`
        int tone;        // of the new place; 0: none follows
    } releases[] = {{2.2, 6.0, 880}, {6.3, 1.0, 440}, {1.3, 9.0, 0}};
    std::vector<size_t> askedAt; // capture frames at the release
    for (const auto& r : releases) {
        ASSERT_TRUE(PumpUntil(
            [&] {
                const LONGLONG cursor = time->GetPlayCursor();
                return cursor >= LONGLONG(r.when * kSecond) && cursor < LONGLONG((r.when + 1) * kSecond);
            },
            10000))
            << "the cursor never showed " << r.when;
        askedAt.push_back(size_t((testsupport::CaptureSize() - m_from) / 4));
        time->SetPlayPosition(LONGLONG(r.to * kSecond));
        if (r.tone == 0) {
            // The pane clears a selection that the place lies outside of if
            // it still sees the place; the range is then the whole file. So
            // that the thread takes the place up under the range it was
            // released from (not whichever the race gives), it is woken and
            // takes the place before the pane is told; the selection is then
            // cleared all the same: the whole file as the range takes
            // nothing up again.
            Pane()->GetPlayContext().Wake();
            // (Taken, the position is none, or where the ended play put it.)
            ASSERT_TRUE(PumpUntil([&] { return time->GetPlayPosition(false) != LONGLONG(r.to * kSecond); }, 5000));
        }
        Pane()->PostMessage(WM_POSITION_SLIDER_RELEASED);
        if (r.tone == 0)
            time->SetSelection(0, 0);
    }
    CCapture c = WaitEnd();
    SCOPED_TRACE(c.Describe());
    for (size_t i = 0; i < std::size(releases); ++i) {
        SCOPED_TRACE(releases[i].to);
        // The new place's first sound, or the end of all sound.
        const size_t next = releases[i].tone ? c.StartOf(releases[i].tone, askedAt[i]) : c.EndOfSound();
        const double after = (double(next) - double(askedAt[i])) / captest::kRate;
        std::printf("[ figures  ] released at %.1f s: %.0f ms of the old place after it\n", releases[i].to,
                    after * 1000);
        EXPECT_LE(after, 0.15) << "the old place played on after the release";
    }
}

TEST_F(EndToEnd, ALongLoopLeavesTheMemoryWhereItWas)
{
    const std::wstring audio = CopyOfSteps(L"memory.wav");
    ASSERT_TRUE(Open(audio));
    Mark(1.5, 2.5);
    Cmd(ID_CMD_TEMPO_HALF);
    Cmd(ID_CMD_LOOP);
    auto passes = [this] { return Pane()->GetPlayContext().pass.load(); };
    // What the first play makes once (and keeps) is made here.
    StartPlaying(ID_CMD_PLAY);
    EXPECT_TRUE(PumpUntil([&] { return passes() >= 2; }, 15000));
    Cmd(ID_CMD_PLAY);
    EXPECT_FALSE(Pane()->IsPlaying());
    PumpFor(200);
    const double before = HeapInUseKb();
    // 60 s of sound at 0.5x, with the window taking every position message.
    StartPlaying(ID_CMD_PLAY);
    EXPECT_TRUE(PumpUntil([&] { return passes() >= 30; }, 60000));
    const double playing = HeapInUseKb();
    Cmd(ID_CMD_PLAY);
    EXPECT_FALSE(Pane()->IsPlaying());
    PumpFor(200);
    const double after = HeapInUseKb();
    EXPECT_LT(after - before, 4.0) << before << " kB before, " << playing << " kB playing, " << after << " kB after";
    Cmd(ID_CMD_LOOP);
    Close();
}

TEST_F(EndToEnd, MainToolBarButtonsPostTheirCommandsToTheMainWindow)
{
    // With a file open, a fragment active and a selection, every button is
    // enabled; each real click posts its command, taken here undelivered.
    ASSERT_TRUE(Open(CopyOfSteps(L"buttons.wav")));
    Mark(1, 2);
    PumpFor(150);
    auto* bar = static_cast<CxfToolBar*>(Root()->GetBar(1));
    HWND top = bar->GetFrame()->GetTopFrame()->GetSafeHwnd();
    MSG msg;
    while (::PeekMessageW(&msg, top, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
    }
    std::vector<UINT> posted;
    const CCellArray& cells = bar->GetItemCells();
    for (INT_PTR i = 0; i < cells.GetSize(); ++i) {
        if (!dynamic_cast<CxfToolBarButton*>(cells.GetAt(i)->GetContentPtr()))
            continue;
        CRect rect;
        cells.GetAt(i)->GetRect(&rect);
        CPoint at = rect.CenterPoint();
        const LPARAM where = MAKELPARAM(at.x, at.y);
        bar->GetCtrl().ClientToScreen(&at);
        ::SetCursorPos(at.x, at.y);
        bar->GetCtrl().SendMessage(WM_MOUSEMOVE, 0, where);
        bar->GetCtrl().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, where);
        bar->GetCtrl().SendMessage(WM_LBUTTONUP, 0, where);
        posted.push_back(::PeekMessageW(&msg, top, WM_COMMAND, WM_COMMAND, PM_REMOVE) ? LOWORD(msg.wParam) : 0);
    }
    const std::vector<UINT> expected = {ID_CMD_OPEN,           ID_CMD_PLAY,    ID_CMD_TO_FRAGMENT_BEGIN,
                                        ID_CMD_PLAY_ORIGINAL,  ID_CMD_REMOVE,  ID_CMD_ZOOM_WHOLE,
                                        ID_CMD_ZOOM_SELECTION, ID_CMD_ZOOM_IN, ID_CMD_ZOOM_OUT};
    EXPECT_EQ(expected, posted);
}

TEST_F(EndToEnd, TheProjectFileKeepsFragmentsAndViewAndBelongsToOneFileNameAndSize)
{
    const std::wstring audio = CopyOfSteps(L"project.wav");
    const std::wstring project = ProjectOf(audio);
    ASSERT_TRUE(Open(audio));
    EXPECT_EQ(0, Pane()->GetFragmentDisplay()->GetCount());
    Mark(1, 3);
    Cmd(ID_CMD_TEMPO_08);
    Cmd(ID_CMD_LOOP);
    Pane()->SetActivePreDelay(2);
    Pane()->SetActiveComment(L"bridge {a|b}");
    ITimeContainer* time = Pane()->GetTimeContainer();
    time->SetScale(300);
    time->SetPosition(1500000);
    Close();
    const std::wstring expected = L"Viririziru_Root{Selections{SelCount=1;Sel0{StartTime=1000000;EndTime=3000000;"
                                  L"Tempo=0.800000;Looped=1;Comment=bridge {a|b};PreDelaySec=2;}}"
                                  L"Settings{ScrollPos=1500000;Zoom=300;}}";
    EXPECT_EQ(expected, DumpFile(project));

    // Reopened: the view where it was, and everything saved back unchanged.
    ASSERT_TRUE(Open(audio));
    EXPECT_EQ(1500000, Pane()->GetTimeContainer()->GetPosition());
    EXPECT_EQ(300, Pane()->GetTimeContainer()->GetScale());
    Close();
    EXPECT_EQ(expected, DumpFile(project));

    // The same sound under another name is another project: empty, and the
    // first file's project stays as it was.
    ASSERT_TRUE(Open(CopyOfSteps(L"renamed.wav")));
    EXPECT_EQ(0, Pane()->GetFragmentDisplay()->GetCount());
    Close();
    EXPECT_EQ(expected, DumpFile(project));
}

TEST_F(EndToEnd, ADamagedProjectIsKeptAsideAndAFailedSaveIsToldWithTheOldFileWhole)
{
    const std::wstring audio = CopyOfSteps(L"damaged.wav");
    const std::wstring project = ProjectOf(audio);
    const char damaged[] = "Viririziru_Root\r\n{\r\nSelections\r\n{\r\nSelCount:|1|";
    ASSERT_TRUE(testsupport::WriteFileBytes(project, damaged, sizeof damaged - 1));
    ::RemoveDirectoryW((project + L".bak").c_str()); // left by a run cut short below
    ::DeleteFileW((project + L".bak").c_str());
    ASSERT_TRUE(Open(audio));
    EXPECT_EQ(0, Pane()->GetFragmentDisplay()->GetCount());
    EXPECT_TRUE(SameBytes(project + L".bak", std::vector<uint8_t>(damaged, damaged + sizeof damaged - 1)));
    Mark(0, 1);
    Close();
    const std::wstring saved = DumpFile(project);
    EXPECT_NE(std::wstring::npos, saved.find(L"SelCount=1;")) << saved;

    // A project that can't be replaced: the user is told which file, and the
    // file stays as it was.
    const std::vector<uint8_t> before = testsupport::ReadFileBytes(project);
    ASSERT_TRUE(Open(audio));
    Mark(2, 3);
    ASSERT_TRUE(::SetFileAttributesW(project.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        CDialogAnswerer answerer({{IDOK, L""}}, MainFrame()->GetSafeHwnd());
        Close();
        PumpFor(200);
        const std::vector<std::wstring> seen = answerer.Seen();
        ASSERT_EQ(1u, seen.size());
        EXPECT_NE(std::wstring::npos, seen[0].find(project)) << seen[0];
    }
    ::SetFileAttributesW(project.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(SameBytes(project, before));

    // A damaged project that cannot be kept aside (a folder holds the
    // ".bak" name): the user is told which file, and it is not saved over.
    const std::vector<uint8_t> damagedBytes(damaged, damaged + sizeof damaged - 1);
    ASSERT_TRUE(testsupport::WriteFileBytes(project, damaged, sizeof damaged - 1));
    ::DeleteFileW((project + L".bak").c_str());
    ASSERT_TRUE(::CreateDirectoryW((project + L".bak").c_str(), nullptr));
    {
        CDialogAnswerer answerer({{IDOK, L""}}, MainFrame()->GetSafeHwnd());
        ASSERT_TRUE(Open(audio));
        PumpFor(200);
        const std::vector<std::wstring> seen = answerer.Seen();
        ASSERT_EQ(1u, seen.size());
        EXPECT_NE(std::wstring::npos, seen[0].find(project)) << seen[0];
    }
    Mark(4, 5);
    Close();
    EXPECT_TRUE(SameBytes(project, damagedBytes));
    ::RemoveDirectoryW((project + L".bak").c_str());
}

TEST_F(EndToEnd, WhileALongFileStillLoadsPlayIsRefusedAndClosingCutsTheLoadShort)
{
    // Five minutes of MP3 take a while to decode into the cache.
    Controller()->OpenAudioFile(testsupport::TestData(L"tone440_5m.mp3").c_str());
    ASSERT_TRUE(Pane() && Pane()->GetReader());
    EXPECT_FALSE(Pane()->GetReader()->IsReady()) << "loaded before the case could play";
    CIPtr<IAudioReader> reader = Pane()->GetReader();
    Cmd(ID_CMD_PLAY);
    EXPECT_FALSE(Pane()->IsPlaying());
    // Closing cuts the load short instead of waiting for its end.
    Close();
    // The whole load takes about a second here: an uncut one ends meanwhile.
    EXPECT_FALSE(PumpUntil([&reader] { return reader->IsReady(); }, 2500)) << "the load went on after closing";
}

// The last case: it ends the program on each of its ways out.
TEST_F(EndToEnd, ClosingTheMainWindowAndExitSaveTheOpenFile)
{
    for (const bool byExit : {false, true}) {
        SCOPED_TRACE(byExit ? "Exit" : "main window closed");
        if (!s_running)
            SetUp();
        const std::wstring audio = CopyOfSteps(byExit ? L"exit.wav" : L"mainclose.wav");
        ASSERT_TRUE(Open(audio));
        Mark(0.5, 1.5);
        StartPlaying(ID_CMD_PLAY); // closing while playing stops first
        HWND window = MainFrame()->GetSafeHwnd();
        if (byExit)
            Command(ID_CMD_EXIT);
        else
            ::PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(PumpUntil([window] { return !::IsWindow(window); }, 10000));
        Ended();
        EXPECT_NE(std::wstring::npos, DumpFile(ProjectOf(audio)).find(L"StartTime=500000;EndTime=1500000;"));
    }
}

} // namespace
