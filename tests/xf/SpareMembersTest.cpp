// Framework members that nothing in the program calls, each checked once
// against what it promises, on one built tree.
#include <gtest/gtest.h>
#include <functional>
#include "XfTestKit.h"
#include "common/DrawRoutines.h"
#include "xf/xfCmdUI.h"
#include "xf/xfContentInterfaces.h"
#include "xf/xfMDIClient.h"
#include "xf/xfMessages.h"
#include "xf/xfTabContent.h"
#include "xf/xfToolBar.h"

using namespace xftest;

namespace {

const int kKind = 48;
const int kChildKind = 49;
const SxfToolBarItem kEnd = {XF_ITEM_END, 0, 0, 0, 0, 0, 0, nullptr, 0};
const SxfToolBarItem kItems[] = {{XF_ITEM_BUTTON, 41026, 0, 122, 0, 0xFFFFFF, 0, nullptr, 0},
                                 {XF_ITEM_BUTTON, 41027, 0, 122, 0, 0xFFFFFF, 0, nullptr, 0},
                                 {XF_ITEM_TABS, 41028, 0, 0, 0, 0, 0, nullptr, 0},
                                 kEnd};

COLORREF PixelAfter(const std::function<void(CDC*, const RECT&)>& paint, CPoint at)
{
    CClientDC screen(nullptr);
    CDC dc;
    CBitmap bitmap;
    dc.CreateCompatibleDC(&screen);
    bitmap.CreateCompatibleBitmap(&screen, 20, 20);
    CGdiObjectSelector selected(dc, bitmap);
    const CRect all(0, 0, 20, 20);
    dc.FillSolidRect(&all, RGB(1, 2, 3));
    paint(&dc, all);
    return dc.GetPixel(at.x, at.y);
}

} // namespace

TEST(SpareMembers, EachDoesWhatItPromises)
{
    DrainQuits();
    Log().Clear();
    Central().tables[66] = kItems;
    Central().layouts[kKind] = L"F(ver,controller=3){T(tb=66)C(left){P(id=41)}F(width=50p,controller=4){P(id=1,active)}"
                               L"M(mdiID=5){F(controller=6){P(id=2)}}ST(tb=1000)}";
    Central().layouts[kChildKind] = L"F(controller=8){P(id=3)}";
    CTestHost host(CxfAgent::FlagBuildLayout, kKind);
    host.m_agent.SetRegisterHost(true);
    ASSERT_TRUE(host.Open(500, 300, true));
    PumpLayout();
    CxfFrame* root = host.Root();
    CxfPane* one = root->FindPane(1);
    CxfPane* two = root->FindPane(2);
    CxfPane* bar41 = root->GetBar(1)->GetPane();
    ASSERT_TRUE(one && two && bar41);
    CxfToolBar* toolbar = static_cast<CxfToolBar*>(root->GetBar(0));
    CxfStatusBar* status = static_cast<CxfStatusBar*>(root->GetBar(2));
    CxfMDIClient* area = root->FindMDIClient(5);
    ASSERT_TRUE(area && toolbar->IsKindOf(RUNTIME_CLASS(CxfToolBar)) && status->IsKindOf(RUNTIME_CLASS(CxfStatusBar)));
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);

    struct SCase
    {
        const char* member;
        std::function<bool()> holds;
    };
    const SCase cases[] = {
        // Frames.
        {"FindActivePane", [&] { return root->FindActivePane() == one; }},
        {"GetNearestController",
         [&] { return two->GetFrame()->GetNearestController()->GetId() == 6 && bar41->GetFrame()->GetNearestController()->GetId() == 3; }},
        {"GetActivator", [&] { IHybridContent* a = nullptr; return !root->GetActivator(&a) && !a; }},
        {"Insert and replace children",
         [&] {
             CxfFrame* first = root->GetChild(0);
             CxfFrame* last = root->GetChild(1);
             root->RemoveChildFrame(last);
             root->InsertChildBefore(last, first);
             const bool before = root->GetChild(0) == last;
             root->RemoveChildFrame(last);
             root->InsertChildAfter(last, first);
             root->ReplaceChild(first, last);
             const bool replaced = root->GetChild(0) == last && root->GetChild(1) == last;
             root->ReplaceChild(root->GetChild(0), first);
             return before && replaced && root->GetChild(0) == first && root->GetChild(1) == last;
         }},
        {"RemoveFromRegistry",
         [&] {
             CovPtrArray<CxfMDIClient> registry;
             CxfMDIClient other;
             registry.Add(area);
             registry.Add(&other);
             registry.Add(area);
             CxfFrame::RemoveFromRegistry(registry, area);
             return registry.GetSize() == 2 && registry[0] == &other && registry[1] == area;
         }},
        {"SetKind", [&] { CxfFrame f; f.SetKind(CxfFrame::KindToolBar); return f.GetKind() == CxfFrame::KindToolBar; }},
        {"OpenChildFrameForPath",
         [&] { return area->OpenChildFrameForPath(kChildKind, L"song.wav") && Log().Has("open c8 song.wav"); }},
        {"MDI painting",
         [&] {
             auto state = [&](int s, CPoint at) {
                 return PixelAfter([s](CDC* dc, const RECT& r) { CxfMDIClient::PaintStateRect(dc, r, s, RGB(0, 200, 0)); }, at);
             };
             auto gradient = [&](int y) { return PixelAfter([](CDC* dc, const RECT& r) { CxfMDIClient::PaintFaceGradient(dc, r); }, {5, y}); };
             return state(1, {5, 5}) == RGB(0, 200, 0) && state(2, {5, 5}) == 0xFFF0F0 && state(3, {0, 0}) == 0x800000 &&
                    state(4, {5, 5}) == RGB(1, 2, 3) && gradient(0) == LightenColour(face, 20) &&
                    gradient(19) != gradient(0) && CxfMDIClient::GetLightFace() == LightenColour(face, 5);
         }},
        // Controllers.
        {"Controller finders",
         [&] {
             CxfController* c6 = two->GetFrame()->GetController();
             return c6->FindControllerById(3) == root->GetController() && c6->GetTopFrame() == root &&
                    root->GetController()->FindPane(2) == two && !c6->FindPane(1);
         }},
        // Panes.
        {"Pane forwarding",
         [&] {
             return one->GetController()->GetId() == 4 && two->GetTopController() == root->GetController() &&
                    one->FindMDIClient(5) == area && one->IsActive() == one->GetFrame()->IsActive() &&
                    one->MessageBox(99999u, MB_OK) == -1;
         }},
        {"GetMDIChildFrame", [&] { return two->GetMDIChildFrame() == two->GetFrame() && !one->GetMDIChildFrame(); }},
        {"AddBarExtents",
         [&] {
             const SIZE s = one->AddBarExtents({1, 2});
             const int tops = toolbar->GetDockExtent() + status->GetDockExtent() +
                              static_cast<CxfControlBar*>(root->GetBar(3))->GetDockExtent();
             return s.cx == 1 + 28 && s.cy == 2 + tops;
         }},
        {"Toolbar label by command",
         [&] {
             CIPtr<IxfToolBarLabel> label;
             return one->SetLabelText(37004, L"Caption") && one->FindToolBarLabel(37004, &label) && label &&
                    CString(label->GetText()) == L"Caption" && !one->SetLabelText(41099, L"x");
         }},
        {"SetId", [&] { one->SetId(77); const bool ok = one->GetId() == 77; one->SetId(1); return ok; }},
        {"SetVisibilityCallback",
         [&] {
             one->SetVisibilityCallback(nullptr);
             const bool hidden = !one->GetFrame()->IsShown();
             one->GetFrame()->SetVisible(true);
             return hidden;
         }},
        // Hosts.
        {"PostToAllHosts",
         [&] {
             PostToAllHosts();
             MSG msg;
             return ::PeekMessageW(&msg, host.m_hWnd, XFM_HOSTNOTIFY, XFM_HOSTNOTIFY, PM_REMOVE) && msg.wParam == 0 &&
                    msg.lParam == 0;
         }},
        // Bars and commands.
        {"Toolbar length and item removal",
         [&] {
             const CCellArray& cells = toolbar->GetItemCells();
             if (cells.GetSize() != 3)
                 return false;
             CRect a, b, c;
             cells[0]->GetRect(&a);
             cells[1]->GetRect(&b);
             cells[2]->GetRect(&c);
             const int length = toolbar->GetLength();
             CIPtr<IHybridCell> removed(cells[0]);
             toolbar->RemoveItemCell(removed);
             return length == a.Width() + b.Width() + c.Width() && toolbar->GetItemCells().GetSize() == 2 &&
                    toolbar->GetLength() == length - a.Width() && removed->GetCtrl() == &toolbar->GetCtrl();
         }},
        {"IsEnableSet", [] { CxfCmdUI ui(nullptr); const bool before = ui.IsEnableSet(); ui.Enable(FALSE); return !before && ui.IsEnableSet(); }},
        {"SendCommandTo",
         [&] {
             Log().events.clear();
             static_cast<CTestController*>(root->GetController())->rec.handles.insert(41050);
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
             CxfTabContent loose(&kItems[2]);
             CIPtr<IHybridContent> strip;
             root->FindContent(41028, &strip);
             CxfTabContent* tabs = dynamic_cast<CxfTabContent*>(strip.Get());
             return loose.GetCellColour() == 0 && tabs && tabs->GetCellColour() == tabs->GetCell()->GetBkColor();
         }},
    };
    for (const SCase& c : cases)
        EXPECT_TRUE(c.holds()) << c.member;

    host.Close();
    DrainQuits();
    Central().tables.erase(66);
    Central().layouts.erase(kKind);
    Central().layouts.erase(kChildKind);
}
