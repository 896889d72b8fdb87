// Mouse, keyboard and focus driving the cells, with real posted messages.
#include <gtest/gtest.h>
#include "HybridTestKit.h"

using namespace hybridtest;

namespace {

// Ten item rows (20 pixels plus the frame: 22) in a container of their own,
// with user data 1..10. Row i spans y = 22 i .. 22 i + 22.
struct SList
{
    explicit SList(CTestHost& host, int count = 10) : list(host.AddContainer(nullptr, 2))
    {
        for (int i = 0; i < count; ++i) {
            rows.push_back(host.AddBox(list, 10, 20, RGB(200, 200, 200), HCB_ITEM));
            rows.back()->SetData(static_cast<DWORD_PTR>(i + 1));
        }
        host.Pump(80);
    }
    std::vector<bool> Selected() const
    {
        std::vector<bool> out;
        for (const auto& row : rows)
            out.push_back(row->IsSelected());
        return out;
    }
    CIPtr<IHybridCell> list;
    std::vector<CIPtr<IHybridCell>> rows;
};

int RowY(int i)
{
    return 22 * i + 10;
}

std::vector<bool> Only(int count, std::initializer_list<int> indexes)
{
    std::vector<bool> out(count, false);
    for (int i : indexes)
        out[i] = true;
    return out;
}

void SetKey(int vk, bool down)
{
    BYTE state[256];
    ::GetKeyboardState(state);
    state[vk] = down ? 0x80 : 0;
    ::SetKeyboardState(state);
}

void Key(CTestHost& host, UINT vk)
{
    host.Post(WM_KEYDOWN, vk, 1);
    host.Post(WM_KEYUP, vk, 0xC0000001);
    host.Pump();
}

} // namespace

TEST(HybridInput, ClickCtrlAndShiftSelection)
{
    CTestHost host(200, 150);
    SList list(host);
    CHybridCtrl& ctrl = host.Ctrl();

    host.Click(20, RowY(1));
    EXPECT_EQ(Only(10, {1}), list.Selected());
    EXPECT_EQ(list.rows[1].Get(), ctrl.GetSelectedCell());
    ASSERT_FALSE(host.m_itemPresses.empty());
    EXPECT_EQ(2u, host.m_itemPresses.back());
    EXPECT_TRUE(host.Saw(HN_LBUTTONDOWN));
    EXPECT_TRUE(host.Saw(HN_LBUTTONUP));

    host.Click(20, RowY(3), MK_CONTROL); // row 3 added
    EXPECT_EQ(Only(10, {1, 3}), list.Selected());
    host.Click(20, RowY(1), MK_CONTROL); // row 1 toggled off
    EXPECT_EQ(Only(10, {3}), list.Selected());

    // The toggled row stayed the current cell: Shift extends from it.
    host.Click(20, RowY(5), MK_SHIFT);
    EXPECT_EQ(Only(10, {1, 2, 3, 4, 5}), list.Selected());
    host.Click(20, RowY(0), MK_SHIFT); // range back up from 5 to 0
    EXPECT_EQ(Only(10, {0, 1, 2, 3, 4, 5}), list.Selected());

    // Pressing a selected cell keeps the selection until the release;
    // the plain release leaves only that cell.
    host.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, RowY(2)));
    host.Pump();
    EXPECT_EQ(Only(10, {0, 1, 2, 3, 4, 5}), list.Selected());
    host.Post(WM_LBUTTONUP, 0, MAKELPARAM(20, RowY(2)));
    host.Pump();
    EXPECT_EQ(Only(10, {2}), list.Selected());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST(HybridInput, RubberBandSelectsAndCanBeRefused)
{
    CTestHost host(200, 150);
    // Rows 150 wide in a flow so that the right part is empty space.
    CIPtr<IHybridCell> flow = host.AddContainer(nullptr, 3);
    std::vector<CIPtr<IHybridCell>> items;
    for (int i = 0; i < 6; ++i)
        items.push_back(host.AddBox(flow, 78, 20, RGB(100, 100, 100), HCB_ITEM));
    host.Pump(80);
    // Items (80 x 22 with their frames) two per row: x 0..80 and 80..160.
    host.TakeNotifications();
    host.m_answer17 = 0;                                       // nobody takes the band over
    host.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(180, 5)); // empty space of the flow
    host.Pump();
    EXPECT_TRUE(host.Ctrl().IsRubberBandTracking());
    EXPECT_TRUE(host.Ctrl().IsRubberBandVisible());
    EXPECT_TRUE(host.Saw(HN_RUBBERBAND_START)); // asked through the flow cell
    host.Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(90, 30));
    host.Pump();
    host.Post(WM_LBUTTONUP, 0, MAKELPARAM(90, 30));
    host.Pump();
    EXPECT_FALSE(host.Ctrl().IsRubberBandTracking());
    EXPECT_FALSE(host.Ctrl().IsRubberBandVisible());
    // The band (90..180, 5..30) meets items 1 and 3 only.
    std::vector<bool> sel;
    for (auto& item : items)
        sel.push_back(item->IsSelected());
    EXPECT_EQ(Only(6, {1, 3}), sel);
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST(HybridInput, BandOverACellThatAcceptsItGoesToThatCell)
{
    CTestHost host(200, 150);
    CIPtr<IHybridCell> area = host.AddContainer(nullptr, 3);
    CIPtr<IHybridCell> item = host.AddBox(area, 78, 20, RGB(100, 100, 100), HCB_ITEM);
    host.Pump(80);
    host.m_answer17 = 1; // the parent window accepts for the cell
    host.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 5));
    host.Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
    host.Pump();
    host.Post(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    host.Pump();
    EXPECT_TRUE(host.Saw(HN_RUBBERBAND_CHANGED));
    EXPECT_FALSE(item->IsSelected()); // the accepting cell handles the band
}

TEST(HybridInput, KeyboardNavigationAndTab)
{
    CTestHost host(200, 150);
    HWND before = ::CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 150, 50, 20,
                                    host.Parent(), nullptr, nullptr, nullptr);
    ::SetWindowPos(before, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); // z-order: before the control
    HWND after = ::CreateWindowExW(0, L"BUTTON", L"a", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 60, 150, 50, 20,
                                   host.Parent(), nullptr, nullptr, nullptr);
    ::SetWindowPos(after, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); // after the control
    SList list(host);
    CBoxContent* f1 = nullptr;
    CBoxContent* f2 = nullptr;
    CIPtr<IHybridCell> field1 = host.AddBox(nullptr, 10, 20, RGB(0, 0, 0), 0, 0, &f1);
    CIPtr<IHybridCell> field2 = host.AddBox(nullptr, 10, 20, RGB(0, 0, 0), 0, 0, &f2);
    f1->m_focusable = f2->m_focusable = true;
    host.Pump(60);
    CHybridCtrl& ctrl = host.Ctrl();

    host.Click(20, RowY(1)); // row 1 current
    Key(host, VK_DOWN);
    EXPECT_EQ(list.rows[2].Get(), ctrl.GetSelectedCell());
    EXPECT_EQ(Only(10, {2}), list.Selected());
    Key(host, VK_UP);
    Key(host, VK_UP);
    EXPECT_EQ(list.rows[0].Get(), ctrl.GetSelectedCell());
    Key(host, VK_RIGHT); // nothing to the right in one column
    EXPECT_EQ(list.rows[0].Get(), ctrl.GetSelectedCell());

    // Shift+Page Down selects the cells passed (less than a page away:
    // row 7 starts 154 below row 0, the page is 150).
    SetKey(VK_SHIFT, true);
    Key(host, VK_NEXT);
    SetKey(VK_SHIFT, false);
    EXPECT_EQ(Only(10, {0, 1, 2, 3, 4, 5, 6}), list.Selected());
    EXPECT_EQ(list.rows[6].Get(), ctrl.GetSelectedCell());
    EXPECT_GT(ctrl.GetScrollPos(), 0); // scrolled into view
    Key(host, VK_HOME);
    EXPECT_EQ(Only(10, {0}), list.Selected());
    Key(host, VK_END);
    EXPECT_EQ(list.rows[9].Get(), ctrl.GetSelectedCell());

    // A key consumed by the focus cell's content goes no further.
    ::SetFocus(ctrl.GetSafeHwnd());
    host.Pump();
    CIPtr<IHybridCell> focus;
    ASSERT_TRUE(ctrl.GetFocusCell(&focus));
    // Tab walks the focusable cells, then leaves the control.
    CIPtr<IHybridCell> start(focus);
    Key(host, VK_TAB);
    focus = nullptr;
    EXPECT_TRUE(ctrl.GetFocusCell(&focus));
    EXPECT_TRUE(IsSameObject(focus, IsSameObject(start, field1) ? field2.Get() : field1.Get()) ||
                ::GetFocus() == after);
    if (::GetFocus() == ctrl.GetSafeHwnd())
        Key(host, VK_TAB);
    EXPECT_EQ(after, ::GetFocus());
    focus = nullptr;
    EXPECT_FALSE(ctrl.GetFocusCell(&focus));

    // Back in: Shift+Tab from the first focusable cell leaves backwards.
    ::SetFocus(ctrl.GetSafeHwnd());
    host.Pump();
    focus = nullptr;
    ASSERT_TRUE(ctrl.GetFocusCell(&focus));
    EXPECT_TRUE(IsSameObject(focus, field1));
    f1->m_consumeKey = 'Q';
    f1->m_keys.clear();
    Key(host, 'Q');
    EXPECT_EQ(std::vector<UINT>{'Q'}, f1->m_keys);
    SetKey(VK_SHIFT, true);
    Key(host, VK_TAB);
    SetKey(VK_SHIFT, false);
    EXPECT_EQ(before, ::GetFocus());
    ::DestroyWindow(before);
    ::DestroyWindow(after);
}

TEST(HybridInput, DraggingASelectedCell)
{
    CTestHost host(200, 150);
    SList list(host);
    host.Ctrl().SetDragEnabled(true);
    host.TakeNotifications();
    host.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, RowY(1)));
    host.Pump();
    EXPECT_EQ(host.Ctrl().GetSafeHwnd(), ::GetCapture());
    host.Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(22, RowY(1) + 2)); // within 3 pixels
    host.Pump();
    EXPECT_FALSE(host.Ctrl().IsDragging());
    host.Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 60));
    host.Pump();
    EXPECT_TRUE(host.Ctrl().IsDragging());
    host.m_answer38 = 0;
    host.Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 80));
    host.Pump();
    host.Post(WM_LBUTTONUP, 0, MAKELPARAM(20, 80));
    host.Pump();
    EXPECT_FALSE(host.Ctrl().IsDragging());
    EXPECT_EQ(nullptr, ::GetCapture());
    std::vector<UINT> codes = host.Codes();
    auto at = [&](UINT code) { return std::find(codes.begin(), codes.end(), code) - codes.begin(); };
    ASSERT_LT(at(HN_DRAG_START), static_cast<long>(codes.size()));
    EXPECT_LT(at(HN_DRAG_START), at(HN_DRAG_MOVE));
    EXPECT_LT(at(HN_DRAG_MOVE), at(HN_DRAG_END));
    EXPECT_FALSE(host.Saw(HN_LBUTTONUP)); // a drag that ended raises no 13
    EXPECT_EQ(Only(10, {1}), list.Selected());
}

TEST(HybridInput, DragCursorFollowsTheDropAnswer)
{
    CTestHost host(200, 150);
    SList list(host);
    host.Ctrl().SetDragEnabled(true);
    host.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, RowY(1)));
    host.Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 60));
    host.Pump();
    ASSERT_TRUE(host.Ctrl().IsDragging());
    const HCURSOR drop = ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(6003));
    ASSERT_TRUE(drop) << "the program's own drop cursor";
    const HCURSOR no = ::LoadCursorW(nullptr, IDC_NO), arrow = ::LoadCursorW(nullptr, IDC_ARROW);
    ASSERT_NE(drop, arrow);
    // Each move asks the parent (notification 38); its answer picks the cursor.
    const std::pair<LRESULT, HCURSOR> answers[] = {{2, drop}, {0, no}, {1, arrow}, {2, drop}, {5, arrow}};
    int y = 62;
    for (const auto& [answer, cursor] : answers) {
        host.m_answer38 = answer;
        host.Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, y += 4));
        host.Pump();
        EXPECT_EQ(cursor, ::GetCursor()) << "answer " << answer;
    }
    host.Post(WM_LBUTTONUP, 0, MAKELPARAM(20, y));
    host.Pump();
}

TEST(HybridInput, ContentConsumesPressAndFocusFollows)
{
    CTestHost host(200, 120);
    CBoxContent* box = nullptr;
    CIPtr<IHybridCell> cell = host.AddBox(nullptr, 10, 30, RGB(0, 0, 0), 0, 0, &box);
    box->m_consumePress = true;
    box->m_focusable = true;
    host.Pump(60);
    host.TakeNotifications();
    host.Click(10, 10);
    EXPECT_EQ(1, box->m_presses);
    EXPECT_FALSE(host.Saw(HN_LBUTTONDOWN_EMPTY));
    EXPECT_TRUE(host.Saw(HN_LBUTTONDOWN));
    EXPECT_TRUE(box->IsFocusCell());
    EXPECT_TRUE(host.Ctrl().HasFocus());
    EXPECT_EQ(host.Ctrl().GetDefaultStyle()->GetSelBkColor(), box->GetSelBkColor());
    // Another window takes the focus: inactive selection colour.
    HWND other = ::CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE, 0, 150, 50, 20, host.Parent(), nullptr,
                                   nullptr, nullptr);
    ::SetFocus(other);
    host.Pump();
    EXPECT_FALSE(host.Ctrl().HasFocus());
    EXPECT_EQ(::GetSysColor(COLOR_INACTIVECAPTION), box->GetSelBkColor());
    EXPECT_FALSE(box->IsFocusCell()); // a sibling took it: the focus cell is cleared
    ::DestroyWindow(other);

    // A cell refusing the focus (bit 22) never becomes the focus cell.
    cell->SetStyleBits(static_cast<DWORD>(cell->GetStyleBits()) | HCB_NOFOCUS, 0);
    host.Ctrl().SetActiveCell(cell, true);
    EXPECT_FALSE(box->IsFocusCell());
}

TEST(HybridInput, HoverDoubleClickAndRightButton)
{
    CTestHost host(200, 150);
    SList list(host, 4);
    host.TakeNotifications();
    host.Post(WM_MOUSEMOVE, 0, MAKELPARAM(20, RowY(0)));
    host.Pump();
    host.Post(WM_MOUSEMOVE, 0, MAKELPARAM(20, RowY(1)));
    host.Pump();
    // Enter and leave as (code, row index).
    std::vector<std::pair<UINT, int>> hover;
    for (const SNotification& n : host.TakeNotifications())
        for (int i = 0; i < 4; ++i)
            if ((n.code == HN_MOUSE_ENTER || n.code == HN_MOUSE_LEAVE) && IsSameObject(n.sender, list.rows[i]))
                hover.push_back({n.code, i});
    EXPECT_EQ((std::vector<std::pair<UINT, int>>{{HN_MOUSE_ENTER, 0}, {HN_MOUSE_LEAVE, 0}, {HN_MOUSE_ENTER, 1}}),
              hover);
    EXPECT_TRUE(list.rows[1]->IsHot(true));

    // Hover select makes the cell under the mouse the only selected one.
    host.Ctrl().SetHoverSelect(true);
    host.Post(WM_MOUSEMOVE, 0, MAKELPARAM(20, RowY(2)));
    host.Pump();
    EXPECT_EQ(Only(4, {2}), list.Selected());
    EXPECT_TRUE(host.Saw(HN_HOVER_SELECT));
    host.Ctrl().SetHoverSelect(false);

    host.TakeNotifications();
    host.Post(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, RowY(3)));
    host.Pump();
    ASSERT_TRUE(host.Saw(HN_DBLCLK));
    host.TakeNotifications();
    host.Post(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 140)); // below the rows
    host.Post(WM_RBUTTONUP, 0, MAKELPARAM(20, 140));
    host.Pump();
    EXPECT_EQ((std::vector<UINT>{HN_RBUTTONDOWN_EMPTY, HN_RBUTTONDOWN, HN_RBUTTONUP_CELL, HN_RBUTTONUP}), host.Codes());
}
