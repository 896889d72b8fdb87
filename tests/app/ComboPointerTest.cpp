// The drop-down lists of the information pane's combos and the menus under
// the real pointer and keys (SendInput into real windows): one click on a
// row chooses it and the list is gone at once; the list still takes its
// keys; a click outside an open menu still closes it, at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>

#include "AppTestKit.h"
#include "PopupWatch.h"
#include "RealInput.h"
#include "app/AppIds.h"
#include "app/FragmentDisplay.h"
#include "app/MainFrame.h"
#include "app/ViririziruInfoPane.h"
#include "app/ViririziruPane.h"
#include "hybrid/ComboContent.h"
#include "hybrid/ComboList.h"
#include "hybrid/IHybridCombo.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestSupport.h"
#include "xf/xfFrame.h"
#include "xf/xfHorMenuElement.h"
#include "xf/xfPopupMenu.h"
#include "xf/xfToolBar.h"

using namespace apptest;

namespace {

constexpr LONGLONG kSecond = 1000000;
// A list or menu that closes is off the screen and the program answers
// again well within this; hidden as a window of the window manager, Wine
// waits two seconds for one that is not there.
const DWORD kAtOnce = 1000;
const DWORD kClosing = 8000;

using realinput::MoveTo;
using realinput::Press;
using realinput::ScreenCentre;

bool NoMenuOpen()
{
    return CxfPopupMenu::GetOpenCount() == 0 && !CxfPopupMenu::AnyExists();
}

// A visible popup (an owned top-level dialog window) of the given thread,
// or null.
HWND ShownPopupOf(DWORD thread)
{
    HWND found = nullptr;
    ::EnumThreadWindows(
        thread,
        [](HWND w, LPARAM out) -> BOOL {
            WCHAR cls[16] = {};
            ::GetClassNameW(w, cls, 15);
            if (::IsWindowVisible(w) && ::GetWindow(w, GW_OWNER) && wcscmp(cls, L"#32770") == 0 &&
                (::GetWindowLongPtrW(w, GWL_STYLE) & WS_POPUP)) {
                *reinterpret_cast<HWND*>(out) = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// While a menu runs modally inside the pump of this thread, another thread
// clicks at a point outside it once it shows (within xftest::kPopupUp).
class COutsideClicker
{
public:
    explicit COutsideClicker(CPoint outside) : m_ui(::GetCurrentThreadId()), m_outside(outside)
    {
        m_thread = std::thread([this] { Run(); });
    }
    ~COutsideClicker() { m_thread.join(); }
    COutsideClicker(const COutsideClicker&) = delete;
    COutsideClicker& operator=(const COutsideClicker&) = delete;

    // The tick of the click; 0 until it was given (no menu showed).
    DWORD ClickedAt() const { return m_clickedAt; }
    bool Done() const { return m_done; }

private:
    void Run()
    {
        HWND menu = nullptr;
        for (DWORD start = ::GetTickCount(); !menu && ::GetTickCount() - start < xftest::kPopupUp; ::Sleep(20))
            menu = ShownPopupOf(m_ui);
        if (menu) {
            ::Sleep(300); // as a hand does
            MoveTo(m_outside);
            ::Sleep(100);
            m_clickedAt = std::max<DWORD>(::GetTickCount(), 1);
            realinput::ClickHere();
        }
        m_done = true;
    }

    DWORD m_ui;
    CPoint m_outside;
    std::atomic<bool> m_done{false};
    std::atomic<DWORD> m_clickedAt{0};
    std::thread m_thread;
};

class ComboPointer : public OneProgramTest
{
protected:
    // A copy of the tone with one fragment (1 s to 3 s), whose fields the
    // information pane shows.
    void SetUp() override
    {
        OneProgramTest::SetUp();
        const std::wstring path = testsupport::ScratchDir(L"combopointer") + L"\\combo.wav";
        ASSERT_TRUE(::CopyFileW(Tone().c_str(), path.c_str(), FALSE));
        ::DeleteFileW(ProjectOf(path).c_str());
        ASSERT_TRUE(Open(path));
        Pane()->GetTimeContainer()->SetSelection(1 * kSecond, 3 * kSecond);
        Command(ID_CMD_NEW_FRAGMENT);
        PumpFor(300);
        m_info = dynamic_cast<CViririziruInfoPane*>(Documents().at(0)->FindPane(PANE_INFORMATION));
        ASSERT_TRUE(m_info);
        CCellArray cells;
        CCellCollector collect(cells);
        m_info->GetCtrl().EnumCells(collect, HCE_ALL);
        for (INT_PTR i = 0; i < cells.GetSize(); ++i) {
            CIPtr<IHybridCombo> combo;
            if (SUCCEEDED(combo.QueryFrom(cells.GetAt(i)->GetContentPtr(), IID_IHybridCombo)) && combo)
                (m_tempo ? m_preDelay : m_tempo) = combo;
        }
        ASSERT_TRUE(m_tempo && m_preDelay);
        MainFrame()->SetForegroundWindow();
        MainFrame()->SetActiveWindow();
        PumpFor(100);
    }
    void TearDown() override
    {
        for (int i = CxfPopupMenu::GetOpenCount() - 1; i >= 0; --i)
            CxfPopupMenu::GetOpen(i)->PostMessage(WM_COMMAND, IDCANCEL);
        PumpUntil(NoMenuOpen, kClosing);
        CloseAll();
        OneProgramTest::TearDown();
    }

    static CComboList* ShownList(IHybridCombo* combo)
    {
        auto* content = dynamic_cast<CComboContent*>(combo);
        CComboList* list = content ? content->GetOpenList() : nullptr;
        return list && list->IsWindowVisible() ? list : nullptr;
    }
    // Clicks the combo as a hand does and waits for its list.
    CComboList* ClickOpen(IHybridCombo* combo)
    {
        MoveTo(ScreenCentre(m_info->GetCtrl(), combo->GetRect()));
        PumpFor(150);
        realinput::ClickHere();
        PumpUntil([combo] { return ShownList(combo) != nullptr; });
        PumpFor(100);
        return ShownList(combo);
    }
    // The list's row of item `index`, in view.
    static IHybridCell* Row(CComboList* list, int index)
    {
        CCellArray cells;
        CCellCollector collect(cells);
        CHybridCtrl& rows = list->GetListCtrl();
        rows.EnumCells(collect, HCE_ITEMS);
        for (INT_PTR i = 0; i < cells.GetSize(); ++i) {
            if (static_cast<int>(cells.GetAt(i)->GetData()) != index)
                continue;
            rows.EnsureVisible(cells.GetAt(i));
            PumpFor(60);
            return cells.GetAt(i);
        }
        return nullptr;
    }
    // One click on item `index` of the combo's list: that click alone makes
    // it the combo's item, and the list is off the screen at once.
    ::testing::AssertionResult ChooseWithOneClick(IHybridCombo* combo, int index)
    {
        CComboList* list = ClickOpen(combo);
        if (!list)
            return ::testing::AssertionFailure() << "the list did not open";
        IHybridCell* row = Row(list, index);
        if (!row)
            return ::testing::AssertionFailure() << "no row " << index;
        CRect rect;
        row->GetRect(&rect);
        const HWND listWnd = list->GetSafeHwnd();
        MoveTo(ScreenCentre(list->GetListCtrl(), rect));
        PumpFor(150);
        const DWORD clicked = ::GetTickCount();
        realinput::ClickHere();
        const bool chosen = PumpUntil(
            [combo, index, listWnd] { return combo->GetCurSel() == index && !::IsWindowVisible(listWnd); }, kClosing);
        const DWORD took = ::GetTickCount() - clicked;
        if (!chosen) {
            const int item = combo->GetCurSel();
            combo->ShowDropDown(false, false);
            PumpFor(300);
            return ::testing::AssertionFailure() << "after one click on row " << index << " the item is " << item;
        }
        PumpUntil([combo] { return !ShownList(combo); }, kClosing);
        if (took > kAtOnce)
            return ::testing::AssertionFailure()
                   << "row " << index << " was chosen, but the list stayed " << took << " ms after the click";
        return ::testing::AssertionSuccess();
    }

    CxfToolBar* Band() { return dynamic_cast<CxfToolBar*>(Root()->GetBar(0)); }
    // Clicks the band's entry and waits for its drop-down.
    CxfPopupMenu* ClickEntry(const wchar_t* text)
    {
        const CCellArray& cells = Band()->GetItemCells();
        for (INT_PTR i = 0; i < cells.GetSize(); ++i) {
            CIPtr<IxfHorMenuElement> element;
            if (FAILED(element.QueryFrom(cells.GetAt(i)->GetContentPtr(), IID_IxfHorMenuElement)) || !element)
                continue;
            auto* entry = static_cast<CxfHorMenuElement*>(element.Get());
            if (entry->GetText() != CString(text))
                continue;
            CRect rect;
            cells.GetAt(i)->GetRect(&rect);
            MoveTo(ScreenCentre(Band()->GetCtrl(), rect));
            PumpFor(100);
            realinput::ClickHere();
            PumpUntil([entry] { return entry->GetPopup() && entry->GetPopup()->IsWindowVisible(); });
            return entry->GetPopup();
        }
        return nullptr;
    }
    // A point of the information pane below its groups: nothing there
    // takes a click.
    CPoint EmptyPaneRoom()
    {
        CRect client;
        m_info->GetCtrl().GetClientRect(&client);
        CPoint at(client.CenterPoint().x, client.bottom - 20);
        m_info->GetCtrl().ClientToScreen(&at);
        return at;
    }

    CViririziruInfoPane* m_info = nullptr;
    CIPtr<IHybridCombo> m_tempo, m_preDelay;
};

} // namespace

TEST_F(ComboPointer, OneClickOnARowOfTheListChoosesIt)
{
    // Pre-delay rows: "no delay", then 1, 2, ... seconds.
    for (int item : {1, 3, 0, 2})
        EXPECT_TRUE(ChooseWithOneClick(m_preDelay, item)) << "pre-delay";
    SFragmentInfo active;
    ASSERT_TRUE(Pane()->GetFragmentDisplay()->GetActive(active));
    EXPECT_EQ(2, active.PreDelaySec);
    // Tempo rows: 0.1 x ... 2.0 x.
    for (int item : {7, 4, 11})
        EXPECT_TRUE(ChooseWithOneClick(m_tempo, item)) << "tempo";
    EXPECT_FLOAT_EQ(1.2f, Pane()->GetFragmentDisplay()->GetActiveTempo());
}

TEST_F(ComboPointer, TheOpenListTakesTheKeys)
{
    // Down and Enter choose the next item; Escape closes without a change.
    m_preDelay->SetCurSel(1, true);
    ASSERT_TRUE(ClickOpen(m_preDelay));
    Press(VK_DOWN);
    PumpFor(100);
    Press(VK_RETURN);
    EXPECT_TRUE(PumpUntil([this] { return !ShownList(m_preDelay); }, kAtOnce));
    EXPECT_EQ(2, m_preDelay->GetCurSel());

    CComboList* list = ClickOpen(m_tempo);
    ASSERT_TRUE(list);
    const HWND listWnd = list->GetSafeHwnd();
    const int before = m_tempo->GetCurSel();
    Press(VK_DOWN);
    PumpFor(100);
    Press(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([listWnd] { return !::IsWindowVisible(listWnd); }, kAtOnce));
    EXPECT_EQ(before, m_tempo->GetCurSel());
}

TEST_F(ComboPointer, AClickOutsideAnOpenMenuClosesItAtOnce)
{
    // The menu band's drop-down: a click into the pane closes it.
    ASSERT_TRUE(ClickEntry(L"&View"));
    MoveTo(EmptyPaneRoom());
    PumpFor(150);
    DWORD clicked = ::GetTickCount();
    realinput::ClickHere();
    EXPECT_TRUE(PumpUntil(NoMenuOpen, kClosing)) << "the drop-down stayed after a click elsewhere";
    EXPECT_LE(::GetTickCount() - clicked, kAtOnce) << "the drop-down was slow to go";

    // One of its rows: the command runs and the menu is gone at once.
    CxfPopupMenu* view = ClickEntry(L"&View");
    ASSERT_TRUE(view);
    IHybridCell* zoomOut = nullptr;
    for (INT_PTR i = 0; i < view->GetRows().GetSize() && !zoomOut; ++i)
        if (view->GetRows()[i]->GetData() == ID_CMD_ZOOM_OUT)
            zoomOut = view->GetRows()[i];
    ASSERT_TRUE(zoomOut);
    const LONGLONG scale = Pane()->GetTimeContainer()->GetScale();
    CRect rect;
    zoomOut->GetRect(&rect);
    MoveTo(ScreenCentre(view->GetCtrl(), rect));
    PumpFor(200);
    clicked = ::GetTickCount();
    realinput::ClickHere();
    EXPECT_TRUE(
        PumpUntil([this, scale] { return NoMenuOpen() && Pane()->GetTimeContainer()->GetScale() != scale; }, kClosing));
    EXPECT_LE(::GetTickCount() - clicked, kAtOnce) << "the drop-down was slow to go after its command";

    // The fragment's context menu, which runs modally: a click into the
    // pane closes it.
    auto* display = static_cast<CFragmentDisplay*>(Pane()->GetFragmentDisplay());
    CRect box = display->GetRect();
    CPoint onFragment(box.left + Pane()->GetTimeContainer()->TimeToPixel(2 * kSecond, true), box.top + 14);
    display->GetCtrl()->ClientToScreen(&onFragment);
    MoveTo(onFragment);
    PumpFor(150);
    {
        COutsideClicker clicker(EmptyPaneRoom());
        // A menu that shows after the clicker stopped looking for it is
        // cancelled: its loop would wait for ever.
        const testsupport::CModalWatch late([] { return false; }, [] {}, xftest::CancelOpenPopups, xftest::kPopupUp);
        realinput::ClickHere(true);
        // The menu's run ends inside this pump: the program answers here
        // again once the menu is down.
        EXPECT_TRUE(PumpUntil([&clicker] { return clicker.Done() && NoMenuOpen(); }, xftest::kPopupUp + 2 * kClosing));
        ASSERT_NE(0u, clicker.ClickedAt()) << "no context menu showed";
        EXPECT_LE(::GetTickCount() - clicker.ClickedAt(), kAtOnce) << "the context menu was slow to go";
    }
    EXPECT_TRUE(PumpUntil(NoMenuOpen, kClosing));
}
