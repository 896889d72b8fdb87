// Popup menus, the menu band and toolbar buttons under real input: clicks
// and pointer moves through the system, keys posted to the focused window.
#include <gtest/gtest.h>
#include "PopupWatch.h"
#include "XfTestKit.h"
#include "tests/support/DibCanvas.h"
#include "tests/support/MessagePump.h"
#include "common/ProductInfo.h"
#include "hybrid/IHybridSubContent.h"
#include "hybrid/IHybridText.h"
#include "hybrid/SliderContent.h"
#include "xf/xfHorMenuElement.h"
#include "xf/xfPopupMenu.h"
#include "xf/xfToolBar.h"
#include "xf/xfToolBarButton.h"

using namespace xftest;

namespace {

const UINT kMenu = 120;
// -1: every top-level entry of the menu; 1: that entry alone.
const SxfToolBarItem kBand[] = {{XF_ITEM_MENU, kMenu, 0, -1, 0, 0, 0, nullptr, 0}, kEnd};
const SxfToolBarItem kEditOnly[] = {{XF_ITEM_MENU, kMenu, 0, 1, 0, 0, 0, nullptr, 0}, kEnd};
const SxfToolBarItem kPastTheEnd[] = {{XF_ITEM_MENU, kMenu, 0, 2, 0, 0, 0, nullptr, 0}, kEnd};
// A plain button and a split button with the red/green/blue strip.
const SxfToolBarItem kButtons[] = {{XF_ITEM_BUTTON, 41026, 0, 122, 0, 0xFFFFFF, 0, nullptr, 0},
                                   {XF_ITEM_BUTTON, 41027, 0x100000, 122, 0, 0xFFFFFF, 0, nullptr, 0},
                                   kEnd};
// Wine takes about two seconds to destroy each popup window.
const DWORD kClosing = 8000;
// File menu rows.
enum { kOpen, kSave, kSeparator, kDisabled, kRecent, kExit };

CPoint ScreenCentre(CWnd& control, const CRect& rect)
{
    CPoint p = rect.CenterPoint();
    control.ClientToScreen(&p);
    return p;
}

void ClickAt(CPoint screen)
{
    ::SetCursorPos(screen.x, screen.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, input, sizeof(INPUT));
}

// A key as the system queues it for the focused window.
void PostKey(UINT key, bool alt = false)
{
    HWND focus = ::GetFocus() ? ::GetFocus() : ::GetActiveWindow();
    ::PostMessageW(focus, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, alt ? (1 << 29) : 0);
    ::PostMessageW(focus, alt ? WM_SYSKEYUP : WM_KEYUP, key, (alt ? (1 << 29) : 0) | 0xC0000000);
}

CString CellText(IHybridCell* row, int column)
{
    CIPtr<IHybridSubContent> sub;
    CCellArray cells;
    if (row->GetSubContent(&sub) && sub)
        sub->GetChildren(&cells);
    CIPtr<IHybridText> text;
    if (column < cells.GetSize())
        text.QueryFrom(cells[column]->GetContentPtr(), IID_IHybridText);
    return text ? CString(text->GetText()) : CString(L"?");
}

CRect RowRect(CxfPopupMenu* popup, int row)
{
    CRect r;
    popup->GetRows()[row]->GetRect(&r);
    return r;
}

int SelectedRow(CxfPopupMenu* popup)
{
    for (INT_PTR i = 0; i < popup->GetRows().GetSize(); ++i)
        if (popup->GetRows()[i]->IsSelected())
            return static_cast<int>(i);
    return -1;
}

bool Ran(UINT id)
{
    return Log().Has("app ran " + std::to_string(id));
}

// The screen as shown in `area`, read at screen coordinates.
struct SScreenShot
{
    explicit SScreenShot(const CRect& area) : rect(area), canvas(area.Width(), area.Height())
    {
        HDC screen = ::GetDC(nullptr);
        ::BitBlt(canvas.Hdc(), 0, 0, area.Width(), area.Height(), screen, area.left, area.top, SRCCOPY);
        ::ReleaseDC(nullptr, screen);
    }
    COLORREF At(int screenX, int screenY) const { return canvas.At(screenX - rect.left, screenY - rect.top); }
    CRect rect;
    testsupport::CDibCanvas canvas;
};

class Menus : public HostTest
{
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        TestApp().rec.handles = {41020, 41021, 41022, 41023, 41024, 41025, 41026, 41027, 41030};
        Central().tables[60] = kBand;
        Central().tables[61] = kButtons;
        Central().makeContent = [](UINT id, IHybridContent** out) {
            if (id != 41030)
                return false;
            CHybridSlider* slider = new CHybridSlider;
            slider->SetRange(0, 100);
            *out = slider;
            slider->AddRef();
            return true;
        };
        g_productInfo.popupMenuId = static_cast<int>(kMenu);
        ASSERT_NE(nullptr,
                  Build(L"F{T(top,tb=60,nogripper,menuBk)T(top,tb=61,nogripper)F(AccelTable=121){P(id=1)}}", 500, 300));
        band = dynamic_cast<CxfToolBar*>(host.Root()->GetBar(0));
        buttons = dynamic_cast<CxfToolBar*>(host.Root()->GetBar(1));
        ASSERT_NE(nullptr, band) << Describe(host.Root()).c_str();
        ASSERT_NE(nullptr, buttons);
    }
    CxfHorMenuElement* Element(int i)
    {
        return static_cast<CxfHorMenuElement*>(
            static_cast<IxfHorMenuElement*>(band->GetItemCells()[i]->GetContentPtr()));
    }
    CxfToolBarButton* Button(int i)
    {
        return static_cast<CxfToolBarButton*>(static_cast<IHybridButton*>(buttons->GetItemCells()[i]->GetContentPtr()));
    }
    // The element's popup once it is shown.
    CxfPopupMenu* Shown(CxfHorMenuElement* element)
    {
        PumpUntil([&] { return element->GetPopup() && element->GetPopup()->IsWindowVisible(); }, kPopupUp);
        return element->GetPopup();
    }
    static bool AllClosed()
    {
        return CxfPopupMenu::GetOpenCount() == 0 && !CxfPopupMenu::AnyExists() && !CxfHorMenuElement::GetCurrent();
    }
    CxfToolBar* band = nullptr;
    CxfToolBar* buttons = nullptr;
};

} // namespace

TEST(MenuTexts, AcceleratorsAreWrittenShiftCtrlAltThenTheKey)
{
    struct SCase
    {
        BYTE flags;
        WORD key;
        const wchar_t* text;
    };
    const SCase cases[] = {
        {FVIRTKEY | FCONTROL | FSHIFT, 'S', L"Shift+Ctrl+S"},
        {FVIRTKEY | FALT | FCONTROL, VK_F5, L"Ctrl+Alt+F5"},
        {FVIRTKEY, VK_DELETE, L"Del"},
        {FVIRTKEY, VK_NUMPAD3, L"Numpad 3"},
        {FVIRTKEY, VK_SPACE, L"<space>"},
        {0, 'q', L"Q"},
    };
    for (const SCase& c : cases)
        EXPECT_STREQ(c.text, FormatAccelerator(c.flags, c.key)) << c.text;
}

TEST_F(Menus, BandMenusOpenByMouseAndKeysAndRunTheirCommands)
{
    ASSERT_EQ(2, band->GetItemCells().GetSize());
    CxfHorMenuElement* file = Element(0);
    CxfHorMenuElement* edit = Element(1);
    EXPECT_STREQ(L"&File", file->GetText());
    EXPECT_TRUE(file->MatchesMnemonic(L'f'));

    // A click opens the entry's popup under it with no row selected; the
    // rows carry their accelerator texts.
    ClickAt(ScreenCentre(band->GetCtrl(), file->GetRect()));
    CxfPopupMenu* popup = Shown(file);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(-1, SelectedRow(popup));
    ASSERT_EQ(6, popup->GetRows().GetSize());
    EXPECT_STREQ(L"F5", CellText(popup->GetRows()[kOpen], 2));
    EXPECT_STREQ(L"&Open", CellText(popup->GetRows()[kOpen], 1)) << "a shortcut after a tab is not shown twice";
    EXPECT_STREQ(L"Shift+Ctrl+S", CellText(popup->GetRows()[kSave], 2));
    EXPECT_STREQ(L"", CellText(popup->GetRows()[kExit], 2));
    EXPECT_FALSE(popup->GetRows()[kDisabled]->IsEnabled());
    // The text column is measured as drawn: the '&' takes no room.
    CRect windowRect;
    popup->GetWindowRect(&windowRect);
    CRect bandRect = file->GetRect();
    band->GetCtrl().ClientToScreen(&bandRect);
    EXPECT_EQ(bandRect.left, windowRect.left);
    EXPECT_EQ(bandRect.bottom, windowRect.top);

    // With a menu open, the pointer moving onto the next entry moves it.
    const CPoint editCentre = ScreenCentre(band->GetCtrl(), edit->GetRect());
    ::SetCursorPos(editCentre.x, editCentre.y);
    popup = Shown(edit);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(nullptr, file->GetPopup());
    EXPECT_EQ(edit, CxfHorMenuElement::GetCurrent());

    // The factory's slider row gives its command and the popup stays.
    CIPtr<IHybridContent> slider;
    ASSERT_TRUE(host.Root()->FindContent(41030, &slider));
    CRect sliderRect = slider->GetRect();
    ClickAt(ScreenCentre(popup->GetCtrl(),
                         CRect(sliderRect.right - 8, sliderRect.top, sliderRect.right - 2, sliderRect.bottom)));
    EXPECT_TRUE(PumpUntil([] { return Ran(41030); }));
    EXPECT_EQ(popup, edit->GetPopup());
    EXPECT_FALSE(Ran(41025));

    // Escape closes it.
    PostKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil(AllClosed, kClosing));

    // Alt+F opens File with its first row selected; arrows skip the
    // separator and the disabled row and wrap.
    ::SetCursorPos(0, 0);
    PostKey('F', true);
    popup = Shown(file);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(kOpen, SelectedRow(popup));
    const int walk[][2] = {{VK_DOWN, kSave}, {VK_DOWN, kRecent}, {VK_UP, kSave}, {VK_UP, kOpen}, {VK_UP, kExit}};
    for (const auto& step : walk) {
        PostKey(static_cast<UINT>(step[0]));
        EXPECT_TRUE(PumpUntil([&] { return SelectedRow(popup) == step[1]; })) << step[1];
    }
    // The disabled row's mnemonic uses the key and runs nothing.
    PostKey('D');
    PumpFor(150);
    EXPECT_FALSE(Ran(43000));
    EXPECT_EQ(popup, file->GetPopup());

    // Hovering the submenu row opens its popup after the delay, beside it.
    const DWORD start = ::GetTickCount();
    const CPoint recent = ScreenCentre(popup->GetCtrl(), RowRect(popup, kRecent));
    ::SetCursorPos(recent.x, recent.y);
    EXPECT_TRUE(PumpUntil([&] { return popup->m_pSubMenu && popup->m_pSubMenu->IsWindowVisible(); }));
    EXPECT_GE(::GetTickCount() - start, 450u);
    CxfPopupMenu* sub = popup->m_pSubMenu;
    ASSERT_NE(nullptr, sub);
    PumpFor(100);

    // The submenu takes the keys; the screen shows both frames, the
    // highlighted submenu row (without a white square where its empty
    // check mark sits) and plain rows.
    PostKey(VK_DOWN);
    EXPECT_TRUE(PumpUntil([&] { return SelectedRow(sub) == 0; }));
    PumpFor(100);
    CRect parentRect, subRect;
    popup->GetWindowRect(&parentRect);
    sub->GetWindowRect(&subRect);
    EXPECT_EQ(RowRect(popup, kRecent).right + parentRect.left + 1, subRect.left);
    SScreenShot shot(
        CRect(parentRect.left, parentRect.top, subRect.right, std::max(parentRect.bottom, subRect.bottom)));
    EXPECT_EQ(0x666666u, shot.At(parentRect.left, parentRect.top + 3));
    EXPECT_EQ(0x666666u, shot.At(subRect.left, subRect.top + 3));
    EXPECT_EQ(0x666666u, shot.At(subRect.right - 1, subRect.bottom - 2));
    auto checkColumn = [](CxfPopupMenu* menu, int row) {
        const CRect r = RowRect(menu, row);
        return ScreenCentre(menu->GetCtrl(), CRect(r.left + 2, r.top, r.left + 16, r.bottom));
    };
    const CPoint lit = checkColumn(sub, 0), plain = checkColumn(popup, kExit);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), shot.At(lit.x, lit.y));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), shot.At(plain.x, plain.y));

    // Enter on the submenu's first row runs it and closes the whole chain.
    PostKey(VK_RETURN);
    EXPECT_TRUE(PumpUntil([] { return Ran(41022) && AllClosed(); }, kClosing));

    // A mnemonic runs its command and closes the menu.
    PostKey('F', true);
    ASSERT_NE(nullptr, Shown(file));
    PostKey('S');
    EXPECT_TRUE(PumpUntil([] { return Ran(41021) && AllClosed(); }, kClosing));
    EXPECT_EQ(1, std::count(Log().events.begin(), Log().events.end(), "app ran 41021"));
}

namespace {

const COLORREF kUnder = RGB(1, 2, 3);

// The colour at the middle of the button's image box, drawn alone.
struct SLook
{
    COLORREF image;
    COLORREF inside;
};

SLook DrawLook(CxfToolBarButton* button)
{
    CClientDC screen(nullptr);
    CDC dc;
    CBitmap bitmap;
    EXPECT_TRUE(dc.CreateCompatibleDC(&screen));
    EXPECT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 60, 30));
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 60, 30, kUnder);
    const int w = button->GetPreferredWidth(), h = button->GetPreferredHeight(0);
    button->Draw(&dc, CRect(0, 0, w, h));
    // Image box: 1 pixel in, 16/3+2 wide; its centre is shifted when down.
    SLook look{dc.GetPixel(1 + 9, h / 2), dc.GetPixel(2, 2)};
    dc.SelectObject(old);
    return look;
}

} // namespace

TEST_F(Menus, ABandRecordWithAnEntryIndexMakesThatEntryAlone)
{
    Central().tables[62] = kEditOnly;
    band->BuildItems(62);
    PumpLayout();
    ASSERT_EQ(1, band->GetItemCells().GetSize());
    CxfHorMenuElement* edit = Element(0);
    EXPECT_STREQ(L"&Edit", edit->GetText());
    ClickAt(ScreenCentre(band->GetCtrl(), edit->GetRect()));
    CxfPopupMenu* popup = Shown(edit);
    ASSERT_NE(nullptr, popup);
    ASSERT_EQ(2, popup->GetRows().GetSize());
    EXPECT_STREQ(L"&Undo", CellText(popup->GetRows()[0], 1));
    PostKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil(AllClosed, kClosing));

    // An index past the menu's last entry makes nothing.
    Central().tables[62] = kPastTheEnd;
    band->BuildItems(62);
    EXPECT_EQ(0, band->GetItemCells().GetSize());
    Central().tables.erase(62);
}

TEST_F(Menus, ToolBarButtonsShowTheirStripAndOpenTheirDropDown)
{
    ASSERT_EQ(2, buttons->GetItemCells().GetSize());
    CxfToolBarButton* plain = Button(0);
    CxfToolBarButton* split = Button(1);

    // Four looks: normal, hot, latched (as pressed), disabled.
    SLook normal = DrawLook(plain);
    EXPECT_EQ(RGB(255, 0, 0), normal.image);
    EXPECT_EQ(kUnder, normal.inside); // on a bar the button leaves the bar's own background
    plain->OnMouseEnter();
    SLook hot = DrawLook(plain);
    EXPECT_EQ(RGB(0, 255, 0), hot.image);
    EXPECT_EQ(0xFFF0F0u, hot.inside);
    plain->OnMouseLeave();
    plain->SetLatched(true);
    SLook down = DrawLook(plain);
    EXPECT_EQ(RGB(255, 0, 0), down.image);
    EXPECT_EQ(0xFFF0F0u, down.inside);
    plain->SetLatched(false);
    plain->GetCell()->Enable(false);
    plain->OnMouseEnter();
    SLook disabled = DrawLook(plain);
    EXPECT_EQ(RGB(0, 0, 255), disabled.image);
    EXPECT_EQ(kUnder, disabled.inside);
    plain->GetCell()->Enable(true);
    plain->OnMouseLeave();

    // A click gives the command; the split button's left part does too.
    ClickAt(ScreenCentre(buttons->GetCtrl(), plain->GetRect()));
    EXPECT_TRUE(PumpUntil([] { return Ran(41026); }));
    const CRect splitRect = split->GetRect();
    ClickAt(
        ScreenCentre(buttons->GetCtrl(), CRect(splitRect.left, splitRect.top, splitRect.left + 10, splitRect.bottom)));
    EXPECT_TRUE(PumpUntil([] { return Ran(41027); }));

    // Its right part opens the drop-down (the product's popup menu) under
    // it; a command chosen there arrives after the popup has gone. The keys
    // that choose it are posted from inside the popup's loop once the popup
    // shows and has the keys.
    int openSeen = 0;
    testsupport::CModalWatch chooser([split] { return split->IsDropDownOpen() && PopupHasTheKeys(); },
                                     [&openSeen] {
                                         openSeen = CxfPopupMenu::GetOpenCount();
                                         PostKey(VK_DOWN);
                                         PostKey(VK_RETURN);
                                     },
                                     CancelOpenPopups, kPopupUp);
    ClickAt(ScreenCentre(buttons->GetCtrl(),
                         CRect(splitRect.right - 10, splitRect.top, splitRect.right - 2, splitRect.bottom)));
    EXPECT_TRUE(PumpUntil([] { return Ran(41020); }, kPopupUp + kClosing));
    EXPECT_TRUE(chooser.Acted()) << "the drop-down did not show with the keys within " << kPopupUp / 1000 << " s";
    EXPECT_FALSE(chooser.GaveUp()) << "the drop-down was still up " << kPopupUp / 1000 << " s after the click";
    EXPECT_EQ(1, openSeen);
    EXPECT_FALSE(split->IsDropDownOpen());
    EXPECT_TRUE(AllClosed());
}
