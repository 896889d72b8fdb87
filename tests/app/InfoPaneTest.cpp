// The information pane of an open file in the real program: the file's
// facts, the fragment list, the playback values, and the active fragment's
// fields, changed as the user changes them.
#include <algorithm>
#include <functional>
#include <thread>
#include "AppTestKit.h"
#include "PopupWatch.h"
#include "RealInput.h"
#include "app/AppIds.h"
#include "app/MainController.h"
#include "app/MainFrame.h"
#include "app/Tempo.h"
#include "app/ViririziruInfoPane.h"
#include "app/ViririziruPane.h"
#include "hybrid/ComboContent.h"
#include "hybrid/HybridMessages.h"
#include "hybrid/IHybridCheckBox.h"
#include "hybrid/IHybridCombo.h"
#include "hybrid/IHybridEdit.h"
#include "hybrid/IHybridHeading.h"
#include "hybrid/IHybridSubContent.h"
#include "hybrid/IHybridText.h"
#include "hybrid/SliderContent.h"
#include "hybrid/TextContent.h"
#include "tests/app/DialogTestKit.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestSupport.h"
#include "xf/xfFrame.h"
#include "xf/xfMessages.h"
#include "xf/xfPopupMenu.h"

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
        // Every change above posted a rebuild of the list, which replaces
        // its rows' cells: a case takes them once the last was handled and
        // the pane laid out.
        ASSERT_TRUE(PumpLayout([this] { return ListSettled(); })) << "the fragment list was not rebuilt";
        const auto combos = ContentsOf<IHybridCombo>(Ctrl(), IID_IHybridCombo);
        ASSERT_EQ(2u, combos.size());
        m_tempo = combos[0];
        m_preDelay = combos[1];
        m_comment = ContentsOf<IHybridEdit>(Ctrl(), IID_IHybridEdit).at(0);
        m_loop = ContentsOf<IHybridCheckBox>(Ctrl(), IID_IHybridCheckBox).at(0);
    }

    CHybridCtrl& Ctrl() { return m_info->GetCtrl(); }

    // The list shows both fragments, laid out, and no rebuild of it or
    // layout of the pane waits.
    bool ListSettled()
    {
        MSG waiting;
        if (m_info->GetListRows().GetSize() != 2 ||
            ::PeekMessageW(&waiting, m_info->GetSafeHwnd(), WM_INFO_REBUILD_LIST, WM_INFO_REBUILD_LIST, PM_NOREMOVE) ||
            ::PeekMessageW(&waiting, Ctrl().GetSafeHwnd(), WM_HYBRID_RELAYOUT, WM_HYBRID_RELAYOUT, PM_NOREMOVE))
            return false;
        for (INT_PTR i = 0; i < m_info->GetListRows().GetSize(); ++i) {
            CRect rect;
            m_info->GetListRows().GetAt(i)->GetRect(&rect);
            if (rect.IsRectEmpty())
                return false;
        }
        return true;
    }

    SFragmentInfo Active()
    {
        SFragmentInfo f;
        EXPECT_TRUE(m_fragments->GetActive(f));
        return f;
    }

    // A left click on a list row, as the user gives it, and the row's
    // fragment made the active one (from messages the click posted).
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
        EXPECT_TRUE(PumpUntil([&] { return m_fragments->GetActiveIndex() == index && ListSettled(); }, 10000))
            << "the click on row " << index << " did not make its fragment the active one";
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

    // The 0.85 x fragment: no item is chosen (the combo shows the tempo as
    // its text), the tempo stays.
    ClickRow(1);
    ASSERT_EQ(1, m_fragments->GetActiveIndex());
    EXPECT_EQ(-1, m_tempo->GetCurSel());
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

namespace {

// The real pointer: moved to a screen point, its left button pressed and
// released there (twice for a double click).
void MouseAt(POINT screen)
{
    ::SetCursorPos(screen.x, screen.y);
    PumpFor(60);
}

void LeftClickAt(POINT screen, int clicks = 1)
{
    MouseAt(screen);
    for (int i = 0; i < clicks; ++i) {
        realinput::ClickHere();
        PumpFor(30);
    }
    PumpFor(150);
}

// The text a closed combo shows: its item, or its own text without one.
std::wstring Shown(IHybridCombo* combo)
{
    auto* content = dynamic_cast<CComboContent*>(combo);
    return content ? std::wstring(content->GetShownText()) : L"<no combo>";
}

// The pixels of a rectangle of a window's client area as the screen shows them.
std::vector<COLORREF> Pixels(HWND window, const CRect& rect)
{
    std::vector<COLORREF> out;
    HDC dc = ::GetDC(window);
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            out.push_back(::GetPixel(dc, x, y));
    ::ReleaseDC(window, dc);
    return out;
}

} // namespace

TEST_F(InfoPane, EveryPlaceNamesTheTempoThatPlays)
{
    // The active fragment plays at 0.85 x, which no item of the combo
    // offers: the combo shows it as its text, not an earlier item.
    EXPECT_EQ(-1, m_tempo->GetCurSel());
    EXPECT_EQ(L"0.85 x", Shown(m_tempo));

    // Its box names it with two decimals, not as the neighbouring 0.9 x.
    IHybridCell* display = m_fragments->GetCell();
    ASSERT_TRUE(display);
    HWND middle = display->GetCtrl()->GetSafeHwnd();
    SFragmentInfo f = Active();
    ITimeContainer* time = m_pane->GetTimeContainer();
    CRect box(display->GetContentPtr()->GetRect());
    box.left += time->TimeToPixel(f.StartTime, true) + 2;
    box.right = box.left + 40;
    box.bottom = box.top + 60;
    const std::vector<COLORREF> at085 = Pixels(middle, box);
    m_fragments->SetActiveTempo(0.9f);
    PumpFor(200);
    EXPECT_NE(at085, Pixels(middle, box)) << "0.85 x and 0.9 x look alike";
    EXPECT_EQ(8, m_tempo->GetCurSel());
    EXPECT_EQ(L"0.9 x", Shown(m_tempo));

    // A step up from 0.80 (Ctrl+Num+): the combo, the list and the fragment
    // all say 0.85.
    m_fragments->SetActiveTempo(0.8f);
    PumpFor(150);
    EXPECT_EQ(L"0.8 x", Shown(m_tempo));
    Command(ID_CMD_TEMPO_UP);
    PumpFor(300);
    EXPECT_NEAR(0.85f, Active().Tempo, 1e-5);
    EXPECT_EQ(L"0.85 x", Shown(m_tempo));
    EXPECT_EQ(L"0.85 x", dlgtest::CellTexts(Ctrl(), m_info->GetListRows().GetAt(1)).back());

    // A drag of the fragment menu's slider (its command while it tracks)
    // that passes over 0.60 and ends on 0.65 leaves 0.65 in the combo.
    m_pane->SetActiveTempo(0.6f);
    m_pane->SetActiveTempo(0.65f);
    PumpFor(300);
    EXPECT_EQ(L"0.65 x", Shown(m_tempo));
}

TEST_F(InfoPane, ADoubleClickOnAFragmentBoxZoomsToIt)
{
    // The first fragment (1.5 s to 4 s), double-clicked on its box with
    // the real pointer, fills the view as the list row's double click does.
    m_pane->GetTimeContainer()->SetScale(2000);
    m_pane->GetTimeContainer()->SetPosition(0);
    PumpFor(200);
    IHybridCell* display = m_fragments->GetCell();
    ASSERT_TRUE(display);
    CHybridCtrl* middle = display->GetCtrl();
    ITimeContainer* time = m_pane->GetTimeContainer();
    const CRect view(display->GetContentPtr()->GetRect());
    CPoint inBox(view.left + time->TimeToPixel(2500000, true), view.top + 12);
    middle->ClientToScreen(&inBox);
    LeftClickAt(inBox, 2);
    PumpFor(400);
    EXPECT_EQ(0, m_fragments->GetActiveIndex());
    const LONGLONG shown = time->GetScale() * 10 * m_pane->GetWaveDisplay()->GetRect().Width();
    EXPECT_NEAR(1500000, time->GetPosition(), 50000);
    EXPECT_NEAR(4000000, time->GetPosition() + shown, 50000);
}

namespace {

// The shares (in percent) of a row's column model and the widths its cells
// take, with the row's own width.
struct SRowColumns
{
    std::vector<int> shares, widths;
    int rowWidth = 0;
};

SRowColumns ColumnsOf(IHybridCell* row)
{
    SRowColumns out;
    CIPtr<IHybridSubContent> sub;
    CIPtr<IHybridHeading> model;
    if (!row || !row->GetSubContent(&sub) || !sub || !sub->GetColumnModel(&model) || !model)
        return out;
    for (int i = 0; i < model->GetCount(); ++i)
        out.shares.push_back(model->GetSecondValue(i));
    CCellArray cells;
    sub->GetChildren(&cells);
    for (INT_PTR i = 0; i < cells.GetSize(); ++i) {
        CRect rect;
        cells.GetAt(i)->GetRect(&rect);
        out.widths.push_back(rect.Width());
    }
    CRect rect;
    row->GetRect(&rect);
    out.rowWidth = rect.Width();
    return out;
}

// The row that holds the text cell showing `label`.
CIPtr<IHybridCell> RowOfLabel(CHybridCtrl& ctrl, const wchar_t* label)
{
    CCellArray cells;
    CCellCollector collect(cells);
    ctrl.EnumCells(collect, HCE_ALL);
    for (INT_PTR i = 0; i < cells.GetSize(); ++i) {
        CIPtr<IHybridText> text;
        CIPtr<IHybridCell> row;
        if (SUCCEEDED(text.QueryFrom(cells.GetAt(i)->GetContentPtr(), IID_IHybridText)) && text &&
            std::wstring(text->GetText()) == label && cells.GetAt(i)->GetParentCell(&row))
            return row;
    }
    return nullptr;
}

} // namespace

TEST_F(InfoPane, EachRowSplitsItsWidthByItsColumnModelsShares)
{
    // Model A (40, 60) for labels and values, B (40, 30, 30) for the
    // pre-delay, and the list lines' (70, 30), in percent of the row at
    // every width of the pane; the texts are single lines.
    ASSERT_EQ(2, m_info->GetListRows().GetSize());
    CCellArray rowParts;
    CIPtr<IHybridSubContent> rowSub;
    ASSERT_TRUE(m_info->GetListRows().GetAt(1)->GetSubContent(&rowSub) && rowSub);
    rowSub->GetChildren(&rowParts);
    ASSERT_EQ(2, rowParts.GetSize()) << "a row: its title, then its line";
    const struct
    {
        CIPtr<IHybridCell> row;
        std::vector<int> shares;
    } rows[] = {
        {RowOfLabel(Ctrl(), L"File format:"), {40, 60}},   {RowOfLabel(Ctrl(), L"Playback time:"), {40, 60}},
        {RowOfLabel(Ctrl(), L"Tempo:"), {40, 60}},         {RowOfLabel(Ctrl(), L"Comment:"), {40, 60}},
        {RowOfLabel(Ctrl(), L"Pre-delay:"), {40, 30, 30}}, {rowParts.GetAt(1), {70, 30}},
    };
    int seenWidths[2] = {};
    int size = 0;
    for (const SIZE& frame : {SIZE{800, 600}, SIZE{1280, 1000}}) {
        // The frames lay out on their timer, then the pane's control on the
        // relayout its new width posts.
        MainFrame()->MoveWindow(0, 0, frame.cx, frame.cy);
        ASSERT_TRUE(PumpLayout([this] { return ListSettled(); })) << "window " << frame.cx;
        for (const auto& r : rows) {
            ASSERT_TRUE(r.row);
            const SRowColumns seen = ColumnsOf(r.row);
            EXPECT_EQ(r.shares, seen.shares);
            std::vector<int> expected;
            for (int share : r.shares)
                expected.push_back(share * seen.rowWidth / 100);
            EXPECT_EQ(expected, seen.widths) << "row " << seen.rowWidth << " wide, window " << frame.cx;
        }
        seenWidths[size++] = ColumnsOf(rows[0].row).rowWidth;
    }
    EXPECT_LT(seenWidths[0] + 100, seenWidths[1]) << "the pane grew with the window";

    // The pane's own texts: the rows' cells and the list row's title.
    CCellArray cells;
    cells.Add(rowParts.GetAt(0));
    for (const auto& r : rows) {
        CIPtr<IHybridSubContent> sub;
        if (r.row->GetSubContent(&sub) && sub)
            sub->GetChildren(&cells);
    }
    for (INT_PTR i = 0; i < cells.GetSize(); ++i) {
        CIPtr<IHybridText> text;
        if (SUCCEEDED(text.QueryFrom(cells.GetAt(i)->GetContentPtr(), IID_IHybridText)) && text) {
            EXPECT_FALSE((cells.GetAt(i)->GetStyleBits() >> 32) & HTB_MULTILINE) << text->GetText();
        }
    }
}

namespace {

// The fragment menu's tempo slider as one right click shows it: its range
// and position, its position after a drag of its thumb, and how many menus
// the click opened at once.
struct SMenuSlider
{
    int minimum = -1, maximum = -1, position = -1, afterDrag = -1;
    int menus = 0;
};

// Runs inside the menu's own loop: once the menu shows and has the keys,
// reads its slider, drags the thumb with the real pointer to g_dragTo, and
// closes every open menu.
SMenuSlider g_seen;
int g_dragTo = 0;

void ReadAndDragSlider(CxfPopupMenu* menu)
{
    CIPtr<IHybridContent> content;
    auto* slider =
        menu->FindContent(ID_CMD_TEMPO_SLIDER, &content) ? dynamic_cast<CHybridSlider*>(content.Get()) : nullptr;
    if (!slider)
        return;
    slider->GetRange(g_seen.minimum, g_seen.maximum);
    g_seen.position = slider->GetPos();
    const CRect rect = slider->GetRect();
    const CRect track = slider->TrackRect(rect);
    CPoint from(slider->ValueToPixel(track, g_seen.position), rect.CenterPoint().y);
    // Halfway to the next step: the mouse maps onto steps by truncation.
    CPoint to((slider->ValueToPixel(track, g_dragTo) + slider->ValueToPixel(track, g_dragTo + 1)) / 2, from.y);
    menu->GetCtrl().ClientToScreen(&from);
    menu->GetCtrl().ClientToScreen(&to);
    MouseAt(from);
    realinput::Button(MOUSEEVENTF_LEFTDOWN);
    PumpFor(60);
    for (int step = 1; step <= 4; ++step)
        MouseAt(CPoint(from.x + (to.x - from.x) * step / 4, from.y));
    realinput::Button(MOUSEEVENTF_LEFTUP);
    PumpFor(200);
    g_seen.afterDrag = slider->GetPos();
}

// A right click of the real pointer at a screen point, and the fragment
// menu it opens, as the user sees and drags it.
SMenuSlider RightClickAndDragTempo(POINT screen, int dragTo)
{
    g_seen = SMenuSlider();
    g_dragTo = dragTo;
    auto countOpen = [] { g_seen.menus = std::max(g_seen.menus, CxfPopupMenu::GetOpenCount()); };
    testsupport::CModalWatch dragger(
        [countOpen] {
            countOpen();
            return xftest::PopupHasTheKeys();
        },
        [countOpen] {
            ReadAndDragSlider(CxfPopupMenu::GetOpen(CxfPopupMenu::GetOpenCount() - 1));
            countOpen();
            xftest::CancelOpenPopups();
        },
        xftest::CancelOpenPopups, xftest::kPopupUp);
    MouseAt(screen);
    realinput::ClickHere(true);
    EXPECT_TRUE(PumpUntil(
        [&dragger] { return dragger.Acted() && CxfPopupMenu::GetOpenCount() == 0 && !CxfPopupMenu::AnyExists(); },
        xftest::kPopupUp + 8000));
    EXPECT_TRUE(dragger.Acted()) << "the menu did not show with the keys within " << xftest::kPopupUp / 1000 << " s";
    EXPECT_FALSE(dragger.GaveUp()) << "the menu was still up " << xftest::kPopupUp / 1000 << " s after the click";
    return g_seen;
}

} // namespace

TEST_F(InfoPane, TheFragmentMenuFromTheListShowsAndSetsTheFragmentsTempo)
{
    // The first fragment plays at 0.80 x: its menu, from its box in the
    // fragment display and from its row in the list, puts the slider on
    // step 16 of 1 to 40, and a drag of the thumb to step 10 sets 0.5 x.
    MainFrame()->SetForegroundWindow();
    auto atEightTenths = [this] {
        m_fragments->SetActiveIndex(0);
        m_fragments->SetActiveTempo(0.8f);
        m_fragments->SetActiveIndex(1); // the other fragment is the active one
        m_info->RequestListRefresh();
        EXPECT_TRUE(PumpLayout([this] { return ListSettled(); }));
    };
    auto first = [this] {
        SFragmentInfo f;
        EXPECT_TRUE(m_fragments->GetAt(0, f));
        return f;
    };

    atEightTenths();
    IHybridCell* display = m_fragments->GetCell();
    ASSERT_TRUE(display);
    const CRect view(display->GetContentPtr()->GetRect());
    CPoint onBox(view.left + m_pane->GetTimeContainer()->TimeToPixel(2500000, true), view.top + 12);
    display->GetCtrl()->ClientToScreen(&onBox);
    const SMenuSlider fromDisplay = RightClickAndDragTempo(onBox, 10);
    EXPECT_EQ(1, fromDisplay.menus);
    EXPECT_EQ(1, fromDisplay.minimum);
    EXPECT_EQ(40, fromDisplay.maximum);
    EXPECT_EQ(16, fromDisplay.position);
    EXPECT_EQ(10, fromDisplay.afterDrag);
    EXPECT_EQ(0, m_fragments->GetActiveIndex());
    EXPECT_FLOAT_EQ(0.5f, first().Tempo);

    atEightTenths();
    ASSERT_EQ(2, m_info->GetListRows().GetSize());
    CRect row;
    m_info->GetListRows().GetAt(0)->GetRect(&row);
    CPoint onRow(row.left + 10, row.top + 5);
    Ctrl().ClientToScreen(&onRow);
    const SMenuSlider fromList = RightClickAndDragTempo(onRow, 10);
    EXPECT_EQ(1, fromList.menus) << "one right click, one menu";
    EXPECT_EQ(1, fromList.minimum);
    EXPECT_EQ(40, fromList.maximum);
    EXPECT_EQ(16, fromList.position) << "the list's menu shows the fragment's tempo";
    EXPECT_EQ(10, fromList.afterDrag);
    EXPECT_EQ(0, m_fragments->GetActiveIndex());
    EXPECT_FLOAT_EQ(0.5f, first().Tempo) << "the drag sets the tempo the slider shows";
    EXPECT_NEAR(
        0.85f,
        [this] {
            SFragmentInfo f;
            EXPECT_TRUE(m_fragments->GetAt(1, f));
            return f.Tempo;
        }(),
        1e-5)
        << "the other fragment keeps its tempo";
}
