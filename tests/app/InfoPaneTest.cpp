// The information pane of an open file in the real program: the file's
// facts, the fragment list, the playback values, and the active fragment's
// fields, changed as the user changes them.
#include "AppTestKit.h"
#include "app/AppIds.h"
#include "app/MainController.h"
#include "app/ViririziruInfoPane.h"
#include "app/ViririziruPane.h"
#include "hybrid/IHybridCheckBox.h"
#include "hybrid/IHybridCombo.h"
#include "hybrid/IHybridEdit.h"
#include "hybrid/IHybridText.h"
#include "tests/app/DialogTestKit.h"
#include "tests/support/TestSupport.h"
#include "xf/xfFrame.h"

using namespace apptest;

namespace {

// The contents answering I, in tree order.
template <class I>
std::vector<CIPtr<I>> ContentsOf(CHybridCtrl& ctrl, REFIID iid)
{
    CCellArray cells;
    CCellCollector collect(cells);
    ctrl.EnumCells(collect, HCE_ALL);
    std::vector<CIPtr<I>> out;
    for (INT_PTR i = 0; i < cells.GetSize(); ++i) {
        CIPtr<I> content;
        if (SUCCEEDED(content.QueryFrom(cells.GetAt(i)->GetContentPtr(), iid)) && content)
            out.push_back(content);
    }
    return out;
}

// The value text beside a label ("Duration:" -> "10 sec").
std::wstring ValueOf(CHybridCtrl& ctrl, const wchar_t* label)
{
    std::vector<std::wstring> texts = dlgtest::CellTexts(ctrl);
    for (size_t i = 0; i + 1 < texts.size(); ++i)
        if (texts[i] == label)
            return texts[i + 1];
    return L"<no label>";
}

class InfoPane : public AppTest
{
protected:
    // Opens a copy of the 10 s tone (44.1 kHz, stereo) with two fragments:
    // 1.5 s to 4 s "intro", and 5 s to 6 s at 0.85 x, the second active.
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(Start());
        const std::wstring copy = testsupport::ScratchDir(L"app-info") + L"\\info.wav";
        ASSERT_TRUE(::CopyFileW(Tone().c_str(), copy.c_str(), FALSE));
        ::DeleteFileW(ProjectOf(copy).c_str()); // an earlier case's
        m_pane = Open(copy);
        ASSERT_EQ(1u, Documents().size());
        m_info = dynamic_cast<CViririziruInfoPane*>(Documents()[0]->FindPane(PANE_INFORMATION));
        ASSERT_TRUE(m_info && m_pane);
        m_fragments = m_pane->GetFragmentDisplay();
        m_fragments->AddFragment(1500000, 4000000, L"intro");
        m_fragments->AddFragment(5000000, 6000000, L"");
        m_fragments->SetActiveIndex(1);
        m_fragments->SetActiveTempo(0.85f);
        m_info->RequestListRefresh();
        PumpFor(200);
        const auto combos = ContentsOf<IHybridCombo>(Ctrl(), IID_IHybridCombo);
        ASSERT_EQ(2u, combos.size());
        m_tempo = combos[0];
        m_preDelay = combos[1];
        m_comment = ContentsOf<IHybridEdit>(Ctrl(), IID_IHybridEdit).at(0);
        m_loop = ContentsOf<IHybridCheckBox>(Ctrl(), IID_IHybridCheckBox).at(0);
    }

    CHybridCtrl& Ctrl() { return m_info->GetCtrl(); }

    SFragmentInfo Active()
    {
        SFragmentInfo f;
        EXPECT_TRUE(m_fragments->GetActive(f));
        return f;
    }

    // A left click on a list row, as the user gives it.
    void ClickRow(int index)
    {
        ASSERT_LT(index, m_info->GetListRows().GetSize());
        CIPtr<IHybridCell> row = m_info->GetListRows().GetAt(index);
        CRect rect;
        row->GetRect(&rect);
        const LPARAM at = MAKELPARAM(rect.left + 6, rect.top + 4);
        Ctrl().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        Ctrl().SendMessage(WM_LBUTTONUP, 0, at);
        PumpFor(150);
    }

    CViririziruInfoPane* m_info = nullptr;
    CViririziruPane* m_pane = nullptr;
    CIPtr<IFragmentDisplay> m_fragments;
    CIPtr<IHybridCombo> m_tempo, m_preDelay;
    CIPtr<IHybridEdit> m_comment;
    CIPtr<IHybridCheckBox> m_loop;
};

} // namespace

TEST_F(InfoPane, ShowsTheFileTheFragmentListAndThePlayback)
{
    EXPECT_EQ(L"44 kHz, 16 bit, 2 channels", ValueOf(Ctrl(), L"File format:"));
    EXPECT_EQ(L"10 sec", ValueOf(Ctrl(), L"Duration:"));

    // Rows: title, times, tempo; the active fragment's row is selected.
    // Several requests in a row leave one list.
    for (int i = 0; i < 3; ++i)
        m_info->RequestListRefresh();
    PumpFor(100);
    const std::vector<std::wstring> rows[] = {
        {L"1 - intro", L"00:01.500 - 00:04.000 (00:02.500)", L"1.00 x"},
        {L"2", L"00:05.000 - 00:06.000 (00:01.000)", L"0.85 x"},
    };
    ASSERT_EQ(2, m_info->GetListRows().GetSize());
    for (int i = 0; i < 2; ++i) {
        CIPtr<IHybridCell> row = m_info->GetListRows().GetAt(i);
        EXPECT_EQ(rows[i], dlgtest::CellTexts(Ctrl(), row)) << "row " << i;
        EXPECT_EQ(i == 1, row->IsSelected()) << "row " << i;
    }

    // A double click on a row shows its fragment across the view.
    ClickRow(0);
    CRect rect;
    m_info->GetListRows().GetAt(0)->GetRect(&rect);
    const LPARAM at = MAKELPARAM(rect.left + 6, rect.top + 4);
    Ctrl().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    Ctrl().SendMessage(WM_LBUTTONUP, 0, at);
    PumpFor(200);
    ITimeContainer* time = m_pane->GetTimeContainer();
    const LONGLONG shown = time->GetScale() * 10 * m_pane->GetWaveDisplay()->GetRect().Width();
    EXPECT_NEAR(1500000, time->GetPosition(), 50000);
    EXPECT_NEAR(4000000, time->GetPosition() + shown, 50000);

    // Playback: position and whole seconds since the start; -1 empties both.
    m_info->UpdatePlayback(65432000, ::GetTickCount() - 3500);
    EXPECT_EQ(L"01:05.432", ValueOf(Ctrl(), L"Current playback position:"));
    EXPECT_EQ(L"3 sec", ValueOf(Ctrl(), L"Playback time:"));
    m_info->UpdatePlayback(-1, 0);
    EXPECT_EQ(L"", ValueOf(Ctrl(), L"Current playback position:"));
    EXPECT_EQ(L"", ValueOf(Ctrl(), L"Playback time:"));
}

TEST_F(InfoPane, EditsOnlyTheFieldTheUserChanges)
{
    // A click on the first row makes its fragment the active one; the
    // fields show it. Tempo items set (i + 1) x 0.1 in single precision.
    ClickRow(0);
    EXPECT_EQ(0, m_fragments->GetActiveIndex());
    EXPECT_EQ(L"00:01.500 - 00:04.000 (00:02.500)", ValueOf(Ctrl(), L"Time:"));
    EXPECT_STREQ(L"intro", m_comment->GetText());
    EXPECT_STREQ(L"1.0 x", m_tempo->GetString(m_tempo->GetCurSel()));
    m_tempo->SetCurSel(4, true);
    EXPECT_EQ(5 * 0.1f, Active().Tempo);
    m_tempo->SetCurSel(9, true);
    EXPECT_EQ((9 + 1) * 0.1f, Active().Tempo);

    // The 0.85 x fragment: the combo stays on its item, the tempo stays.
    ClickRow(1);
    ASSERT_EQ(1, m_fragments->GetActiveIndex());
    EXPECT_EQ(9, m_tempo->GetCurSel());
    EXPECT_EQ(0.85f, Active().Tempo);

    // Pre-delay items are seconds; changing one changes nothing else.
    for (int seconds : {30, 0, 2}) {
        m_preDelay->SetCurSel(seconds, true);
        EXPECT_EQ(seconds, Active().PreDelaySec);
        EXPECT_EQ(0.85f, Active().Tempo) << "pre-delay " << seconds;
    }
    EXPECT_STREQ(L"no delay", m_preDelay->GetString(0));

    // The loop box toggles the fragment's loop flag.
    m_loop->SetCheck(1, true);
    EXPECT_EQ(1, Active().Looped);
    m_loop->SetCheck(0, true);
    EXPECT_EQ(0, Active().Looped);

    // Typed comment: the fragment takes it and the list shows it.
    Ctrl().SetFocus();
    Ctrl().SetActiveCell(m_comment->GetCell(), true, false);
    for (UINT key : {'S', 'O'})
        ::PostMessageW(Ctrl().GetSafeHwnd(), WM_KEYDOWN, key, ::MapVirtualKeyW(key, 0) << 16 | 1);
    PumpFor(200);
    EXPECT_EQ(L"so", std::wstring(Active().Comment));
    ASSERT_EQ(2, m_info->GetListRows().GetSize());
    EXPECT_EQ(L"2 - so", dlgtest::CellTexts(Ctrl(), m_info->GetListRows().GetAt(1)).at(0));

    // No active fragment: the group folds away.
    IHybridCell* tempoRow = m_tempo->GetCell();
    EXPECT_TRUE(tempoRow->IsVisible());
    m_fragments->SetActiveIndex(-1);
    PumpFor(400);
    EXPECT_FALSE(tempoRow->IsVisible());
}
