// The waveform view on real generated files: the band follows the signal,
// selection by mouse, the play cursor drawn from another thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include "audio/CreateAudioReader.h"
#include "app/TimeContainer.h"
#include "app/WaveDisplayContent.h"
#include "tests/app/ViewTestKit.h"
#include "tests/support/TestSupport.h"

using namespace viewtest;

namespace {

const COLORREF kGrey = RGB(163, 163, 163);
const COLORREF kWave = RGB(153, 177, 243);
const COLORREF kNavy = RGB(0, 0, 128);

// At scale 400 one column is 4 ms: the two-second file spans 500 columns
// of the 600-column view, 150 rows high.
struct WaveDisplayTest : ::testing::Test
{
    CViewHost host{600, 150};
    CIPtr<ITimeContainer> model{new CTimeContainer};
    CIPtr<CWaveDisplayContent> view{new CWaveDisplayContent(model, false)};
    CIPtr<IAudioReader> reader;

    void SetUp() override
    {
        model->SetScale(400);
        host.Add(view);
        host.Settle();
    }
    void TearDown() override { model->Clear(); }

    void Open(const std::wstring& path)
    {
        ASSERT_TRUE(CreateAudioReader(path.c_str(), &reader, false));
        model->SetReader(reader);
        view->SetReader(reader);
        CIPtr<IPeakContainer> peaks;
        ASSERT_TRUE(reader->GetPeakContainer(&peaks, nullptr));
        for (int i = 0; i < 1000 && !peaks->IsComplete(); ++i)
            host.Pump(10);
        ASSERT_TRUE(peaks->IsComplete());
        host.Settle(100);
    }
    // As the playback thread moves it: the interface thread goes on
    // handling its messages meanwhile (taking a window's device context
    // from another thread may wait for them).
    void PlayCursorFromAnotherThread(LONGLONG t)
    {
        std::atomic<bool> done{false};
        std::thread player([&] {
            model->SetPlayCursor(t);
            done = true;
        });
        while (!done)
            host.Pump(5);
        player.join();
        host.Pump(100); // the other thread's drawing reaches the screen
    }
    // Rows of column x painted in `colour`.
    int Rows(int x, COLORREF colour)
    {
        int n = 0;
        for (int y = 0; y < 150; ++y)
            n += host.Pixel(x, y) == colour;
        return n;
    }
};

TEST_F(WaveDisplayTest, TheBandFollowsTheEnvelopeOfTheFile)
{
    for (int x : {0, 300, 599})
        EXPECT_EQ(Rows(x, kGrey), 150) << "without peaks the view is grey";
    Open(testsupport::TestData(L"silence1_loud1.wav"));
    for (int x = 5; x < 245; x += 10) {
        EXPECT_LE(Rows(x, kWave), 1) << "silent second, column " << x;
        EXPECT_EQ(host.Pixel(x, 20), RGB(255, 255, 255)) << x;
    }
    for (int x = 255; x < 495; x += 10)
        EXPECT_GE(Rows(x, kWave), 120) << "loud second, column " << x;
    for (int x = 505; x < 600; x += 10)
        EXPECT_EQ(Rows(x, kGrey), 150) << "past the end of the file, column " << x;
    // The grey centre line and edges of a drawn column.
    EXPECT_EQ(host.Pixel(100, 75), RGB(192, 192, 192));
    EXPECT_EQ(host.Pixel(100, 0), RGB(192, 192, 192));
    EXPECT_EQ(host.Pixel(100, 149), RGB(192, 192, 192));
}

TEST_F(WaveDisplayTest, DraggingMakesAndMovesTheSelection)
{
    Open(testsupport::TestData(L"silence1_loud1.wav"));
    host.Press(300, 70);
    host.Drag(350, 70);
    host.Drag(400, 70);
    host.Release(400, 70);
    EXPECT_EQ(model->GetSelStart(), 300 * 4000);
    EXPECT_EQ(model->GetSelEnd(), 400 * 4000);
    host.Settle();
    EXPECT_GE(Rows(350, kNavy), 120) << "the selected wave is navy";
    EXPECT_EQ(Rows(420, kNavy), 0);

    // Within 9 columns of the start: the start moves, the end stays.
    host.Hover(309, 70);
    EXPECT_EQ(view->GetDragMode(), 1);
    host.Press(309, 70);
    host.Drag(250, 70);
    host.Release(250, 70);
    EXPECT_EQ(model->GetSelMin(), 250 * 4000);
    EXPECT_EQ(model->GetSelMax(), 400 * 4000);

    // The end dragged past the view's right edge stops at the edge.
    host.Hover(395, 70);
    EXPECT_EQ(view->GetDragMode(), 2);
    host.Press(395, 70);
    host.Drag(900, 70);
    host.Release(900, 70);
    EXPECT_EQ(model->GetSelMax(), 600 * 4000);

    // Ten columns away from both ends: a new selection; a click clears it.
    host.Hover(100, 70);
    EXPECT_EQ(view->GetDragMode(), 0);
    host.Press(100, 70);
    host.Release(100, 70);
    EXPECT_FALSE(model->HasSelection());
}

TEST_F(WaveDisplayTest, ThePlayCursorIsDrawnFromThePlaybackThread)
{
    Open(testsupport::TestData(L"silence1_loud1.wav"));
    // In the silent second the column is all background.
    PlayCursorFromAnotherThread(100 * 4000);
    EXPECT_EQ(host.Pixel(100, 10), kWave) << "light-blue background of the cursor column";
    // In the loud second the cursor column's wave is white.
    PlayCursorFromAnotherThread(300 * 4000);
    EXPECT_EQ(host.Pixel(100, 10), RGB(255, 255, 255)) << "the old column is plain again";
    EXPECT_EQ(host.Pixel(300, 2), kWave);
    EXPECT_GE(Rows(300, RGB(255, 255, 255)), 120) << "white wave";
    EXPECT_EQ(Rows(300, kWave), 150 - Rows(300, RGB(255, 255, 255)) - 3);
}

TEST(WaveDisplayLifetime, AViewOutlivingItsControlDrawsNothing)
{
    CIPtr<ITimeContainer> model = MakeModel(testsupport::TestData(L"silence1_loud1.wav"), 400);
    CIPtr<CWaveDisplayContent> view(new CWaveDisplayContent(model, false));
    {
        CViewHost host(600, 150);
        host.Add(view);
        host.Settle();
    }
    // The control is gone; the model still holds the view.
    std::atomic<bool> done{false};
    std::thread player([&] {
        for (int i = 0; i < 200; ++i)
            model->SetPlayCursor(i * 4000);
        done = true;
    });
    while (!done)
        testsupport::PumpMessages(5);
    player.join();
    model->SetPosition(123);
    model->SetSelection(0, 1000);
    EXPECT_EQ(view->GetCell(), nullptr);
    model->Clear();
}

} // namespace
