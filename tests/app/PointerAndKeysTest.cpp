// The program under real pointer and key input, as a user meets it: the
// menu band's drop-downs (their rows, closing on a click elsewhere, a
// command that asks first), the tool tips and status prompts under the
// pointer, and the keyboard after a document was closed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppTestKit.h"
#include "DialogAnswerer.h"
#include "RealInput.h"
#include "app/AppIds.h"
#include "app/FragmentDisplay.h"
#include "app/MainFrame.h"
#include "app/TimeScrollerContent.h"
#include "app/ViririziruPane.h"
#include "common/ProductInfo.h"
#include "hybrid/IHybridSubContent.h"
#include "hybrid/IHybridText.h"
#include "tests/support/TestSupport.h"
#include "xf/xfCommands.h"
#include "xf/xfContentInterfaces.h"
#include "xf/xfFrame.h"
#include "xf/xfHorMenuElement.h"
#include "xf/xfPopupMenu.h"
#include "xf/xfToolBar.h"

using namespace apptest;
using xftest::CDialogAnswerer;

namespace {

constexpr LONGLONG kSecond = 1000000;
// Wine takes up to two seconds to take a popup window down.
const DWORD kClosing = 8000;

using realinput::MoveTo;
using realinput::Press;
using realinput::ScreenCentre;

std::wstring CellText(IHybridCell* row, int column)
{
    CIPtr<IHybridSubContent> sub;
    CCellArray cells;
    if (row->GetSubContent(&sub) && sub)
        sub->GetChildren(&cells);
    CIPtr<IHybridText> text;
    if (column < cells.GetSize())
        text.QueryFrom(cells[column]->GetContentPtr(), IID_IHybridText);
    return text ? std::wstring(text->GetText()) : std::wstring();
}

bool NoMenuOpen()
{
    return CxfPopupMenu::GetOpenCount() == 0 && !CxfPopupMenu::AnyExists();
}

// The text of the tool tip window of this thread that shows now; empty
// when none does.
std::wstring ShownToolTip()
{
    std::wstring shown;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND w, LPARAM out) -> BOOL {
            WCHAR cls[64] = {};
            ::GetClassNameW(w, cls, 63);
            if (_wcsicmp(cls, TOOLTIPS_CLASSW) == 0 && ::IsWindowVisible(w)) {
                WCHAR text[256] = {};
                ::SendMessageW(w, WM_GETTEXT, 255, reinterpret_cast<LPARAM>(text));
                *reinterpret_cast<std::wstring*>(out) = text;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&shown));
    return shown;
}

class PointerAndKeys : public OneProgramTest
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
        for (int i = CxfPopupMenu::GetOpenCount() - 1; i >= 0; --i)
            CxfPopupMenu::GetOpen(i)->PostMessage(WM_COMMAND, IDCANCEL);
        PumpUntil(NoMenuOpen, kClosing);
        OneProgramTest::TearDown();
    }

    CViririziruPane* OpenCopy(const wchar_t* name)
    {
        const std::wstring path = testsupport::ScratchDir(name) + L"\\" + name;
        ::CopyFileW(Tone().c_str(), path.c_str(), FALSE);
        ::DeleteFileW(ProjectOf(path).c_str());
        return Open(path);
    }
    void Mark(double from, double to)
    {
        Pane()->GetTimeContainer()->SetSelection(LONGLONG(from * kSecond), LONGLONG(to * kSecond));
        Command(ID_CMD_NEW_FRAGMENT);
        PumpFor(60);
    }

    CxfToolBar* Band() { return dynamic_cast<CxfToolBar*>(Root()->GetBar(0)); }
    // The band's entry whose text is `text`, with its cell.
    CxfHorMenuElement* Entry(const wchar_t* text, IHybridCell** cell = nullptr)
    {
        const CCellArray& cells = Band()->GetItemCells();
        for (INT_PTR i = 0; i < cells.GetSize(); ++i) {
            CIPtr<IxfHorMenuElement> element;
            if (SUCCEEDED(element.QueryFrom(cells.GetAt(i)->GetContentPtr(), IID_IxfHorMenuElement)) && element) {
                auto* entry = static_cast<CxfHorMenuElement*>(element.Get());
                if (entry->GetText() == CString(text)) {
                    if (cell)
                        *cell = cells.GetAt(i);
                    return entry;
                }
            }
        }
        return nullptr;
    }
    // Clicks the band's entry and waits for its drop-down.
    CxfPopupMenu* ClickEntry(const wchar_t* text)
    {
        IHybridCell* cell = nullptr;
        CxfHorMenuElement* entry = Entry(text, &cell);
        if (!entry)
            return nullptr;
        CRect rect;
        cell->GetRect(&rect);
        realinput::Click(ScreenCentre(Band()->GetCtrl(), rect));
        PumpUntil([entry] { return entry->GetPopup() && entry->GetPopup()->IsWindowVisible(); });
        return entry->GetPopup();
    }
    static IHybridCell* Row(CxfPopupMenu* popup, const wchar_t* text)
    {
        for (INT_PTR i = 0; i < popup->GetRows().GetSize(); ++i)
            if (CellText(popup->GetRows()[i], 1) == text)
                return popup->GetRows()[i];
        return nullptr;
    }
    std::wstring StatusText()
    {
        CIPtr<IHybridContent> content;
        CIPtr<IxfToolBarLabel> label;
        if (!Root()->FindContent(ID_XF_STATUS_INFO, &content) || !content ||
            FAILED(label.QueryFrom(content, IID_IxfToolBarLabel)) || !label)
            return L"(no status label)";
        return label->GetText() ? label->GetText() : L"";
    }
    CPoint FragmentDisplayPoint(double seconds)
    {
        auto* display = static_cast<CFragmentDisplay*>(Pane()->GetFragmentDisplay());
        CRect rect = display->GetRect();
        CPoint at(rect.left + Pane()->GetTimeContainer()->TimeToPixel(LONGLONG(seconds * kSecond), true),
                  rect.top + 14);
        display->GetCtrl()->ClientToScreen(&at);
        return at;
    }
    std::wstring Title()
    {
        WCHAR text[256] = {};
        ::GetWindowTextW(MainFrame()->GetSafeHwnd(), text, 255);
        return text;
    }
};

} // namespace

TEST_F(PointerAndKeys, MenuRowsShowTheirTextOnceAndOneShortcut)
{
    const wchar_t* entries[] = {L"&File", L"&View", L"&Play", L"F&ragment"};
    for (const wchar_t* name : entries) {
        CxfPopupMenu* popup = ClickEntry(name);
        ASSERT_NE(nullptr, popup) << name;
        int shortcuts = 0;
        for (INT_PTR i = 0; i < popup->GetRows().GetSize(); ++i) {
            const std::wstring text = CellText(popup->GetRows()[i], 1), keys = CellText(popup->GetRows()[i], 2);
            EXPECT_EQ(std::wstring::npos, text.find(L'\t')) << text.c_str();
            if (!keys.empty()) {
                ++shortcuts;
                EXPECT_EQ(std::wstring::npos, text.find(keys)) << text.c_str();
            }
        }
        EXPECT_GT(shortcuts, 0) << name;
        Press(VK_ESCAPE);
        EXPECT_TRUE(PumpUntil(NoMenuOpen, kClosing)) << name;
    }
    // The open menu's row shows the accelerator of the main window's table.
    CxfPopupMenu* file = ClickEntry(L"&File");
    ASSERT_NE(nullptr, file);
    IHybridCell* open = Row(file, L"&Open...");
    ASSERT_NE(nullptr, open);
    EXPECT_EQ(L"Ctrl+O", CellText(open, 2));
}

TEST_F(PointerAndKeys, AMenuClosesOnAClickElsewhereAndKeysThenReachTheProgram)
{
    ASSERT_TRUE(OpenCopy(L"menuclose.wav"));
    Mark(1, 3);
    Mark(5, 7);
    ASSERT_EQ(2, Pane()->GetFragmentDisplay()->GetCount());

    // A click in the fragment display closes the open drop-down, and F5
    // then plays.
    ASSERT_NE(nullptr, ClickEntry(L"&View"));
    realinput::Click(FragmentDisplayPoint(2));
    EXPECT_TRUE(PumpUntil(NoMenuOpen, kClosing)) << "the drop-down stayed after a click elsewhere";
    PumpFor(200);
    Press(VK_F5);
    EXPECT_TRUE(PumpUntil([this] { return Pane()->IsPlaying(); })) << "F5 did not reach the program";
    Command(ID_CMD_STOP);
    PumpUntil([this] { return !Pane()->IsPlaying(); });

    // A click on the entry of the open drop-down closes it, and it stays
    // closed.
    IHybridCell* viewCell = nullptr;
    ASSERT_NE(nullptr, Entry(L"&View", &viewCell));
    ASSERT_NE(nullptr, ClickEntry(L"&View"));
    CRect viewRect;
    viewCell->GetRect(&viewRect);
    realinput::Click(ScreenCentre(Band()->GetCtrl(), viewRect));
    EXPECT_TRUE(PumpUntil(NoMenuOpen, kClosing)) << "a second click on the entry closes its drop-down";
    PumpFor(300);
    EXPECT_TRUE(NoMenuOpen());

    // "Remove All..." answered No keeps every fragment, and no menu comes
    // back afterwards, neither by itself nor by the next keys.
    CxfPopupMenu* fragment = ClickEntry(L"F&ragment");
    ASSERT_NE(nullptr, fragment);
    IHybridCell* removeAll = Row(fragment, L"Remove &All...");
    ASSERT_NE(nullptr, removeAll);
    CRect rowRect;
    removeAll->GetRect(&rowRect);
    {
        CDialogAnswerer answerer({{IDNO, L""}}, MainFrame()->GetSafeHwnd());
        MoveTo(ScreenCentre(fragment->GetCtrl(), rowRect));
        PumpFor(200);
        realinput::Click(ScreenCentre(fragment->GetCtrl(), rowRect));
        EXPECT_TRUE(PumpUntil([&answerer] { return !answerer.Seen().empty(); }, 5000));
        PumpFor(300);
        ASSERT_EQ(1u, answerer.Seen().size());
        EXPECT_NE(std::wstring::npos, answerer.Seen()[0].find(L"remove all fragments"));
    }
    EXPECT_EQ(2, Pane()->GetFragmentDisplay()->GetCount());
    EXPECT_TRUE(PumpUntil(NoMenuOpen, kClosing));
    Press(VK_DOWN);
    Press(VK_RETURN);
    PumpFor(800);
    EXPECT_TRUE(NoMenuOpen()) << "a menu came back after its command";
    EXPECT_EQ(2, Pane()->GetFragmentDisplay()->GetCount());

    // The same command reached by the keys alone: Alt, over to "Fragment",
    // down into it, its mnemonic. Once it ran, the keys are the program's.
    {
        CDialogAnswerer answerer({{IDNO, L""}}, MainFrame()->GetSafeHwnd());
        Press(VK_MENU);
        for (int i = 0; i < 3; ++i)
            Press(VK_RIGHT);
        Press(VK_DOWN);
        EXPECT_TRUE(PumpUntil([] { return CxfPopupMenu::GetOpenCount() == 1; }));
        PumpFor(200);
        Press('A');
        EXPECT_TRUE(PumpUntil([&answerer] { return !answerer.Seen().empty(); }, 5000));
        PumpFor(300);
    }
    EXPECT_TRUE(PumpUntil(NoMenuOpen, kClosing));
    Press(VK_DOWN);
    PumpFor(800);
    EXPECT_TRUE(NoMenuOpen()) << "the keys after the command opened the menu again";
    EXPECT_EQ(2, Pane()->GetFragmentDisplay()->GetCount());
}

TEST_F(PointerAndKeys, ToolTipsAndPromptsShowUnderThePointer)
{
    ASSERT_TRUE(OpenCopy(L"tips.wav"));
    Command(ID_CMD_ZOOM_WHOLE);
    Pane()->GetTimeContainer()->SetSelection(0, 0);
    PumpFor(200);

    // An icon-only toolbar button: its tool tip, and its prompt in the
    // status bar while the pointer is over it.
    auto* bar = dynamic_cast<CxfToolBar*>(Root()->GetBar(1));
    ASSERT_NE(nullptr, bar);
    CIPtr<IHybridContent> open;
    ASSERT_TRUE(Root()->FindContent(ID_CMD_OPEN, &open));
    const CPoint openAt = ScreenCentre(bar->GetCtrl(), open->GetRect());
    MoveTo(openAt + CPoint(-2, 0));
    PumpFor(50);
    MoveTo(openAt);
    EXPECT_TRUE(PumpUntil([] { return !ShownToolTip().empty(); }, 4000)) << "no tool tip over the Open button";
    EXPECT_EQ(L"Open", ShownToolTip());
    EXPECT_EQ(L"Open an audio file", StatusText());

    // The scroller's thumb: "Scroll" in its middle, "Change zoom" at its
    // ends.
    Pane()->GetTimeContainer()->SetScale(Pane()->GetTimeContainer()->GetScale() / 4);
    PumpFor(200);
    auto* scroller = static_cast<CTimeScrollerContent*>(Pane()->GetScroller());
    ASSERT_NE(nullptr, scroller);
    CRect thumb = scroller->GetThumbRect(scroller->GetRect());
    CHybridCtrl* control = scroller->GetCtrl();
    ASSERT_NE(nullptr, control);
    MoveTo(ScreenCentre(*control, thumb) + CPoint(-2, 0));
    PumpFor(50);
    MoveTo(ScreenCentre(*control, thumb));
    EXPECT_TRUE(PumpUntil([] { return ShownToolTip() == L"Scroll"; }, 4000)) << ShownToolTip().c_str();
    CPoint end(thumb.right - 2, thumb.CenterPoint().y);
    control->ClientToScreen(&end);
    MoveTo(end);
    PumpFor(100);
    MoveTo(end + CPoint(-1, 0)); // the tip hidden for its new text shows at the next move
    EXPECT_TRUE(PumpUntil([] { return ShownToolTip() == L"Change zoom"; }, 4000)) << ShownToolTip().c_str();

    // A menu row under the pointer shows its prompt; the prompt goes with
    // the menu.
    CxfPopupMenu* view = ClickEntry(L"&View");
    ASSERT_NE(nullptr, view);
    IHybridCell* whole = Row(view, L"Zoom &Whole File");
    ASSERT_NE(nullptr, whole);
    CRect wholeRect;
    whole->GetRect(&wholeRect);
    MoveTo(ScreenCentre(view->GetCtrl(), wholeRect));
    EXPECT_TRUE(PumpUntil([this] { return StatusText() == L"Show the whole file"; })) << StatusText().c_str();
    Press(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil(NoMenuOpen, kClosing));
    EXPECT_EQ(L"", StatusText());
}

TEST_F(PointerAndKeys, AfterClosingADocumentTheKeysStillReachTheProgram)
{
    const std::wstring before = Title();
    ASSERT_TRUE(OpenCopy(L"closing.wav"));
    EXPECT_NE(std::wstring::npos, Title().find(L"closing.wav"));
    realinput::Click(FragmentDisplayPoint(4));
    PumpFor(200);
    Press(VK_F4, true);
    EXPECT_TRUE(PumpUntil([this] { return Documents().empty(); }, 5000)) << "Ctrl+F4 did not close the file";
    EXPECT_EQ(before, Title()) << "the title still names the closed file";
    PumpFor(200);
    {
        CDialogAnswerer answerer({{IDCANCEL, L""}}, MainFrame()->GetSafeHwnd());
        Press('O', true);
        EXPECT_TRUE(PumpUntil([&answerer] { return !answerer.Seen().empty(); }, 5000))
            << "Ctrl+O after closing opened nothing";
    }
    PumpFor(200);
}
