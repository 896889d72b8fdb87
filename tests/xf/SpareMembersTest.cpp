// Framework members that nothing in the program calls, each checked once
// against what it promises, on one built tree.
#include <gtest/gtest.h>
#include <functional>
#include "XfTestKit.h"
#include "common/DrawRoutines.h"
#include "xf/xfCmdUI.h"
#include "xf/xfMDIClient.h"
#include "xf/xfMessages.h"
#include "xf/xfTabContent.h"
#include "xf/xfToolBar.h"

using namespace xftest;

namespace {

const SxfToolBarItem kItems[] = {{XF_ITEM_BUTTON, 41026, 0, 122, 0, 0xFFFFFF, 0, nullptr, 0},
                                 {XF_ITEM_BUTTON, 41027, 0, 122, 0, 0xFFFFFF, 0, nullptr, 0},
                                 {XF_ITEM_TABS, 41028, 0, 0, 0, 0, 0, nullptr, 0},
                                 {XF_ITEM_END, 0, 0, 0, 0, 0, 0, nullptr, 0}};

// The pixel at `at` after paint ran over a 20 x 20 bitmap filled with 0x030201.
COLORREF PixelAfter(void (*paint)(CDC*, const RECT&, int), int state, CPoint at)
{
    CClientDC screen(nullptr);
    CDC dc;
    CBitmap bitmap;
    EXPECT_TRUE(dc.CreateCompatibleDC(&screen));
    EXPECT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 20, 20));
    CGdiObjectSelector selected(dc, bitmap);
    const CRect all(0, 0, 20, 20);
    dc.FillSolidRect(&all, RGB(1, 2, 3));
    paint(&dc, all, state);
    return dc.GetPixel(at.x, at.y);
}

void StateRect(CDC* dc, const RECT& r, int state)
{
    CxfMDIClient::PaintStateRect(dc, r, state, RGB(0, 200, 0));
}
void Gradient(CDC* dc, const RECT& r, int)
{
    CxfMDIClient::PaintFaceGradient(dc, r);
}

} // namespace

TEST(SpareMembers, EachDoesWhatItPromises)
{
    DrainQuits();
    Log().Clear();
    Central().tables[66] = kItems;
    Central().layouts[48] = L"F(ver,controller=3){T(tb=66)C(left){P(id=41)}F(width=50p,controller=4){P(id=1,active)}"
                            L"M(mdiID=5){F(controller=6){P(id=2)}}ST(tb=1000)}";
    Central().layouts[49] = L"F(controller=8){P(id=3)}";
    CTestHost host(CxfAgent::FlagBuildLayout, 48);
    host.m_agent.SetRegisterHost(true);
    ASSERT_TRUE(host.Open(500, 300, true));
    PumpLayout();
    CxfFrame* root = host.Root();
    CxfPane* one = root->FindPane(1);
    CxfPane* two = root->FindPane(2);
    CxfToolBar* bar = static_cast<CxfToolBar*>(root->GetBar(0));
    CxfStatusBar* status = static_cast<CxfStatusBar*>(root->GetBar(2));
    CxfMDIClient* area = root->FindMDIClient(5);
    ASSERT_TRUE(one && two && area && status->IsKindOf(RUNTIME_CLASS(CxfStatusBar)));
    CxfController* c3 = root->GetController();
    CxfController* c6 = two->GetFrame()->GetController();
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);

    const std::pair<const char*, std::function<bool()>> cases[] = {
        {"FindActivePane", [&] { return root->FindActivePane() == one; }},
        {"GetNearestController",
         [&] {
             return two->GetFrame()->GetNearestController() == c6 && root->GetBar(1)->GetNearestController() == c3;
         }},
        {"GetActivator: empty, then the last clicked button",
         [&] {
             IHybridContent* a = nullptr;
             const bool empty = !root->GetActivator(&a) && !a;
             ClickCell(bar, bar->GetItemCells()[1]);
             const bool posted = TakeCommand(root->m_hWnd) == 41027;
             CIPtr<IHybridContent> clicked;
             return empty && posted && root->GetActivator(&clicked) && clicked &&
                    clicked.Get() == bar->GetItemCells()[1]->GetContentPtr();
         }},
        {"InsertChildBefore, InsertChildAfter, ReplaceChild",
         [&] {
             CxfFrame* first = root->GetChild(0);
             CxfFrame* last = root->GetChild(1);
             root->RemoveChildFrame(last);
             root->InsertChildBefore(last, first);
             const bool before = root->GetChild(0) == last;
             root->RemoveChildFrame(last);
             root->InsertChildAfter(last, first);
             root->ReplaceChild(first, two->GetFrame());
             const bool replaced = root->GetChild(0) == two->GetFrame();
             root->ReplaceChild(two->GetFrame(), first);
             return before && replaced && root->GetChild(0) == first && root->GetChild(1) == last;
         }},
        {"RemoveFromRegistry",
         [&] {
             CovPtrArray<CxfMDIClient> registry;
             CxfMDIClient other;
             for (CxfMDIClient* m : {area, &other, area})
                 registry.Add(m);
             CxfFrame::RemoveFromRegistry(registry, area);
             return registry.GetSize() == 2 && registry[0] == &other && registry[1] == area;
         }},
        {"OpenChildFrameForPath",
         [&] { return area->OpenChildFrameForPath(49, L"a.wav") && Log().Has("open c8 a.wav"); }},
        {"MDI painting",
         [&] {
             return PixelAfter(StateRect, 1, {5, 5}) == RGB(0, 200, 0) &&
                    PixelAfter(StateRect, 2, {5, 5}) == 0xFFF0F0 && PixelAfter(StateRect, 3, {0, 0}) == 0x800000 &&
                    PixelAfter(StateRect, 4, {5, 5}) == RGB(1, 2, 3) &&
                    PixelAfter(Gradient, 0, {5, 0}) == LightenColour(face, 20) &&
                    PixelAfter(Gradient, 0, {5, 19}) != LightenColour(face, 20) &&
                    CxfMDIClient::GetLightFace() == LightenColour(face, 5);
         }},
        {"Controller finders",
         [&] {
             return c6->FindControllerById(3) == c3 && c6->GetTopFrame() == root && c3->FindPane(2) == two &&
                    !c6->FindPane(1);
         }},
        {"Pane forwarding",
         [&] {
             return one->GetController()->GetId() == 4 && two->GetTopController() == c3 &&
                    one->FindMDIClient(5) == area && one->MessageBox(99999u, MB_OK) == -1 &&
                    two->GetMDIChildFrame() == two->GetFrame() && !one->GetMDIChildFrame();
         }},
        {"AddBarExtents",
         [&] {
             const SIZE s = one->AddBarExtents({1, 2});
             return s.cx == 1 + 28 && s.cy == 2 + bar->GetDockExtent() + status->GetDockExtent() +
                                                  static_cast<CxfControlBar*>(root->GetBar(3))->GetDockExtent();
         }},
        {"FindToolBarLabel, SetLabelText",
         [&] {
             CIPtr<IxfToolBarLabel> label;
             return one->SetLabelText(37004, L"Caption") && one->FindToolBarLabel(37004, &label) &&
                    CString(label->GetText()) == L"Caption" && !one->SetLabelText(41099, L"x");
         }},
        {"SetId",
         [&] {
             one->SetId(77);
             const bool ok = root->FindPane(77) == one;
             one->SetId(1);
             return ok;
         }},
        {"SetVisibilityCallback",
         [&] {
             one->SetVisibilityCallback(nullptr);
             const bool hidden = !one->GetFrame()->IsShown();
             one->GetFrame()->SetVisible(true);
             return hidden;
         }},
        {"PostToAllHosts",
         [&] {
             PostToAllHosts();
             MSG msg;
             return ::PeekMessageW(&msg, host.m_hWnd, XFM_HOSTNOTIFY, XFM_HOSTNOTIFY, PM_REMOVE) && !msg.wParam &&
                    !msg.lParam;
         }},
        {"GetLength, RemoveItemCell",
         [&] {
             const CCellArray& cells = bar->GetItemCells();
             CRect r[3];
             for (int i = 0; i < 3; ++i)
                 cells[i]->GetRect(&r[i]);
             const int length = bar->GetLength();
             CIPtr<IHybridCell> removed(cells[0]);
             bar->RemoveItemCell(removed);
             return length == r[0].Width() + r[1].Width() + r[2].Width() && cells.GetSize() == 2 &&
                    bar->GetLength() == length - r[0].Width() && removed->GetCtrl() == &bar->GetCtrl();
         }},
        {"SendCommandTo",
         [&] {
             static_cast<CTestController*>(c3)->rec.handles.insert(41050);
             return !SendCommandTo(nullptr, 41050) && SendCommandTo(root, 41050) && Log().Has("c3 ran 41050");
         }},
        {"IsHostZoomed",
         [&] {
             host.ShowWindow(SW_MAXIMIZE); // the host, not the bar's own window
             const bool zoomed = status->IsHostZoomed();
             host.ShowWindow(SW_RESTORE);
             return !zoomed;
         }},
        {"GetCellColour",
         [&] {
             CIPtr<IHybridContent> strip;
             EXPECT_TRUE(root->FindContent(41028, &strip));
             CxfTabContent* tabs = dynamic_cast<CxfTabContent*>(strip.Get());
             return CxfTabContent(&kItems[2]).GetCellColour() == 0 && tabs &&
                    tabs->GetCellColour() == tabs->GetCell()->GetBkColor();
         }},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(c.second()) << c.first;

    host.Close();
    DrainQuits();
    Central().tables.erase(66);
    Central().layouts.erase(48);
    Central().layouts.erase(49);
}
