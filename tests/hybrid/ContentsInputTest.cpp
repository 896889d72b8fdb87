// The push and choice contents driven by posted mouse and key messages in a
// real control: the notification codes the parent window receives
// (WM_APP+0xCA), in order, and the state the contents end in.
#include <gtest/gtest.h>
#include "HybridTestKit.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/IHybridButton.h"
#include "hybrid/IHybridCheckBox.h"
#include "hybrid/IHybridRadioButton.h"
#include "hybrid/IHybridSlider.h"
#include "hybrid/IHybridText.h"
#include "hybrid/SliderContent.h"

using namespace hybridtest;

namespace {

using Codes = std::vector<UINT>;

void Press(CTestHost& host, CPoint p)
{
    host.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
}
void Move(CTestHost& host, CPoint p)
{
    host.Post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
}
void Release(CTestHost& host, CPoint p)
{
    host.Post(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    host.Pump();
}
void KeyDown(CTestHost& host, UINT key)
{
    host.Post(WM_KEYDOWN, key, 1);
    host.Pump();
}
void KeyUp(CTestHost& host, UINT key)
{
    host.Post(WM_KEYUP, key, 0xC0000001);
    host.Pump();
}
CPoint Outside()
{
    return CPoint(280, 190);
}

} // namespace

TEST(HybridContents, ButtonPressReleaseClickInOrder)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridCell> cell, pressOnly;
    CIPtr<IHybridButton> button;
    builder.SetText(L"Go").ReturnCell(&cell).ReturnButton(&button).AddButton();
    builder.SetText(L"Down").SetStyleBits(0, 0x4).ReturnCell(&pressOnly).AddButton();
    host.Pump();
    ASSERT_TRUE(cell && button && pressOnly);

    host.Click(Centre(cell).x, Centre(cell).y);
    EXPECT_EQ((Codes{HN_BUTTON_PRESSED, HN_BUTTON_CLICKED, HN_BUTTON_RELEASED}), host.ContentCodes());
    EXPECT_EQ(cell.Get(), host.m_notifications[1].sender);
    host.TakeNotifications();

    // Out and back in while held, then released inside: one click.
    Press(host, Centre(cell));
    Move(host, Outside());
    Move(host, Centre(cell));
    Release(host, Centre(cell));
    EXPECT_EQ((Codes{25, 26, 25, 24, 26}), host.ContentCodes());
    host.TakeNotifications();

    // Released outside: no click.
    Press(host, Centre(cell));
    Move(host, Outside());
    Release(host, Outside());
    EXPECT_EQ((Codes{25, 26}), host.ContentCodes());
    host.TakeNotifications();

    // A press-only button sends 25 on each press and never clicks.
    host.Click(Centre(pressOnly).x, Centre(pressOnly).y);
    host.Click(Centre(pressOnly).x, Centre(pressOnly).y);
    EXPECT_EQ((Codes{25, 25}), host.ContentCodes());
}

TEST(HybridContents, ButtonSpaceClicksOnReleaseOnlyAfterItsOwnPress)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridCell> cell;
    builder.SetText(L"Go").ReturnCell(&cell).AddButton();
    host.Pump();
    ::SetFocus(host.Ctrl().GetSafeHwnd());
    host.Ctrl().SetActiveCell(cell, true);
    host.Pump();
    host.TakeNotifications();

    KeyDown(host, VK_SPACE);
    KeyDown(host, VK_SPACE); // auto-repeat
    KeyUp(host, VK_SPACE);
    EXPECT_EQ((Codes{25, 24, 26}), host.ContentCodes());
    host.TakeNotifications();

    // A Space release without its press (it went down elsewhere) does nothing.
    KeyUp(host, VK_SPACE);
    EXPECT_TRUE(host.ContentCodes().empty());

    // Disabled while Space holds it: released, never clicked.
    KeyDown(host, VK_SPACE);
    cell->Enable(false);
    KeyUp(host, VK_SPACE);
    EXPECT_EQ((Codes{25, 26}), host.ContentCodes());
}

TEST(HybridContents, CheckBoxTogglesThroughItsStates)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridCell> cell;
    CIPtr<IHybridCheckBox> box;
    builder.SetText(L"Loop").ReturnCell(&cell).ReturnCheckBox(&box).AddCheckBox();
    host.Pump();
    ASSERT_TRUE(box);
    host.Click(Centre(cell).x, Centre(cell).y);
    EXPECT_EQ(1, box->GetCheck());
    host.Click(Centre(cell).x, Centre(cell).y);
    EXPECT_EQ(0, box->GetCheck());
    EXPECT_EQ((Codes{29, 29}), host.ContentCodes());
    host.TakeNotifications();

    // The indeterminate state comes only from the program; a click leaves it for 0.
    box->SetCheck(2, false);
    box->SetCheck(2, true);
    EXPECT_TRUE(host.ContentCodes().empty());
    host.Click(Centre(cell).x, Centre(cell).y);
    EXPECT_EQ(0, box->GetCheck());
    EXPECT_EQ((Codes{29}), host.ContentCodes());
    host.TakeNotifications();

    // Pressed, moved out and released: nothing.
    Press(host, Centre(cell));
    Move(host, Outside());
    Release(host, Outside());
    EXPECT_EQ(0, box->GetCheck());
    EXPECT_TRUE(host.ContentCodes().empty());

    // Space toggles the focused box; Enter is not its key.
    ::SetFocus(host.Ctrl().GetSafeHwnd());
    host.Ctrl().SetActiveCell(cell, true);
    KeyDown(host, VK_SPACE);
    EXPECT_EQ(1, box->GetCheck());
    KeyDown(host, VK_RETURN);
    EXPECT_EQ(1, box->GetCheck());
}

TEST(HybridContents, RadioButtonsExcludeEachOtherUnderTheNearestGroupMark)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridRadioButton> a, b, inner1, inner2, loose;
    CIPtr<IHybridCell> cellB, cellInner2;
    builder.SetStyleBits(HCB_RADIOGROUP).AddCell().BeginChildren();
    builder.SetText(L"a").SetChecked(1).ReturnRadioButton(&a).AddRadioButton();
    builder.SetText(L"b").ReturnRadioButton(&b).ReturnCell(&cellB).AddRadioButton();
    builder.SetStyleBits(HCB_RADIOGROUP).AddCell().BeginChildren();
    builder.SetText(L"i1").SetChecked(1).ReturnRadioButton(&inner1).AddRadioButton();
    builder.SetText(L"i2").ReturnRadioButton(&inner2).ReturnCell(&cellInner2).AddRadioButton();
    builder.EndChildren().EndChildren();
    builder.SetText(L"loose").SetChecked(1).ReturnRadioButton(&loose).AddRadioButton();
    host.Pump();
    host.TakeNotifications();
    ASSERT_TRUE(a && b && inner1 && inner2 && loose);
    // The checks of a, b, i1, i2 and loose.
    auto checks = [&] {
        return std::vector<bool>{!!a->GetCheck(), !!b->GetCheck(), !!inner1->GetCheck(), !!inner2->GetCheck(),
                                 !!loose->GetCheck()};
    };
    EXPECT_EQ((std::vector<bool>{true, false, true, false, true}), checks());

    // The nearest mark decides: the inner group only.
    host.Click(Centre(cellInner2).x, Centre(cellInner2).y);
    EXPECT_EQ((std::vector<bool>{true, false, false, true, true}), checks());
    EXPECT_EQ((Codes{30, 30}), host.ContentCodes());
    host.TakeNotifications();

    // The outer group holds every cell below it, the inner ones included;
    // the loose one has no group above it.
    host.Click(Centre(cellB).x, Centre(cellB).y);
    EXPECT_EQ((std::vector<bool>{false, true, false, false, true}), checks());
    EXPECT_EQ((Codes{30, 30, 30}), host.ContentCodes());
    host.TakeNotifications();

    // Checking again sends nothing; unchecking touches nobody else.
    host.Click(Centre(cellB).x, Centre(cellB).y);
    EXPECT_TRUE(host.ContentCodes().empty());
    b->SetCheck(false, true);
    EXPECT_EQ((std::vector<bool>{false, false, false, false, true}), checks());
}

TEST(HybridContents, SliderTracksThenCommitsAndClampsAtTheEnds)
{
    CTestHost host(300, 200);
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridSlider> slider, immediate;
    CIPtr<IHybridCell> cell, cellImmediate;
    builder.ReturnSlider(&slider).ReturnCell(&cell).SetSliderRange(0, 100).AddSlider();
    builder.SetStyleBits(0, HSL_IMMEDIATE)
        .ReturnSlider(&immediate)
        .ReturnCell(&cellImmediate)
        .SetSliderRange(0, 100)
        .AddSlider();
    host.Pump();
    ASSERT_TRUE(slider && immediate);
    auto* content = static_cast<CHybridSlider*>(slider.Get());
    const CRect rect = CTestHost::RectOf(cell);
    const CRect track = content->TrackRect(rect);
    EXPECT_EQ(0, content->PixelToValue(track, track.left));
    EXPECT_EQ(100, content->PixelToValue(track, track.right));
    EXPECT_EQ(track.left + track.Width() / 2, content->ValueToPixel(track, 50));

    const int y = rect.CenterPoint().y;
    Press(host, CPoint(track.left + track.Width() / 2, y));
    host.Pump();
    EXPECT_TRUE(slider->IsTracking());
    EXPECT_EQ(50, slider->GetTrackPos());
    EXPECT_EQ(0, slider->GetPos());         // tracking mode: not committed yet
    Move(host, CPoint(rect.right + 40, y)); // past the end
    Move(host, CPoint(rect.right + 60, y));
    Release(host, CPoint(rect.right + 60, y));
    EXPECT_EQ(100, slider->GetTrackPos());
    EXPECT_EQ(100, slider->GetPos());
    // 31 for each update whose raw value differs from the stored one, 32 at the end.
    EXPECT_EQ((Codes{31, 31, 31, 32}), host.ContentCodes());
    host.TakeNotifications();

    // Escape during a drag goes back to the committed position.
    Press(host, CPoint(track.left, y));
    host.Pump();
    EXPECT_EQ(0, slider->GetTrackPos());
    KeyDown(host, VK_ESCAPE);
    EXPECT_FALSE(slider->IsTracking());
    EXPECT_EQ(100, slider->GetTrackPos());
    Release(host, CPoint(track.left, y));
    EXPECT_EQ(100, slider->GetPos());
    EXPECT_EQ((Codes{31}), host.ContentCodes());
    host.TakeNotifications();

    // Immediate mode: every update sets the position and sends 32.
    const CRect rect2 = CTestHost::RectOf(cellImmediate);
    const int y2 = rect2.CenterPoint().y;
    Press(host, CPoint(rect2.left + 27, y2));
    Move(host, CPoint(rect2.left - 50, y2));
    Release(host, CPoint(rect2.left - 50, y2));
    EXPECT_EQ(0, immediate->GetPos());
    EXPECT_EQ((Codes{32, 32, 32}), host.ContentCodes());

    // Setters clamp; the range alone moves nothing.
    slider->SetRange(0, 10);
    EXPECT_EQ(100, slider->GetPos());
    slider->SetPos(150);
    EXPECT_EQ(10, slider->GetPos());
    slider->SetRange(20, 5); // minimum above maximum: the maximum wins
    slider->SetPos(7);
    EXPECT_EQ(5, slider->GetPos());
}

TEST(HybridContents, LinksNotifyClickAndRightClick)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridCell> link, colours;
    builder.SetText(L"a link").SetStyleBits(0, 0x1).ReturnCell(&link).AddText();
    builder.SetText(L"coloured").SetStyleBits(0, 0x2).ReturnCell(&colours).AddText();
    host.Pump();
    ASSERT_TRUE(link && colours);
    // The pointer moved to p, then a left and a right click there.
    auto clickBoth = [&](CPoint p) {
        host.MoveTo(p);
        host.TakeNotifications();
        host.Click(p.x, p.y);
        host.Post(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
        host.Post(WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        host.Pump();
    };
    const CPoint onLink = CTestHost::RectOf(link).TopLeft() + CPoint(6, 4);
    clickBoth(onLink);
    EXPECT_TRUE(host.Saw(HN_LINK_CLICKED));
    EXPECT_TRUE(host.Saw(HN_LINK_RBUTTONUP));
    host.TakeNotifications();

    // Past the end of the text the link is not hit.
    const CPoint pastText(CTestHost::RectOf(link).right - 3, onLink.y);
    host.MoveTo(pastText);
    host.TakeNotifications();
    host.Click(pastText.x, pastText.y);
    EXPECT_FALSE(host.Saw(HN_LINK_CLICKED));

    // Link colours only: a click notifies, a right click does not, no focus.
    clickBoth(CTestHost::RectOf(colours).TopLeft() + CPoint(6, 4));
    EXPECT_TRUE(host.Saw(HN_LINK_CLICKED));
    EXPECT_FALSE(host.Saw(HN_LINK_RBUTTONUP));
    EXPECT_FALSE(colours->GetContentPtr()->CanFocus());
    EXPECT_TRUE(link->GetContentPtr()->CanFocus());
    host.TakeNotifications();

    // Space on the focused link.
    ::SetFocus(host.Ctrl().GetSafeHwnd());
    host.Ctrl().SetActiveCell(link, true);
    KeyDown(host, VK_SPACE);
    EXPECT_TRUE(host.Saw(HN_LINK_CLICKED));
}
