// Bars on a routed tree: the idle command-UI pass reaches the handlers of
// controllers and panes, the frame list mirrors the documents of its MDI
// area, and edit and combo items give their commands to the handlers.
#include <gtest/gtest.h>
#include "XfTestKit.h"
#include "hybrid/HybridHandler.h"
#include "hybrid/IHybridCombo.h"
#include "hybrid/IHybridEdit.h"
#include "tests/support/TestSupport.h"
#include "xf/xfCommands.h"
#include "xf/xfMDIClient.h"
#include "xf/xfMessages.h"
#include "xf/xfDocController.h"
#include "xf/xfFrameListContent.h"
#include "xf/xfToolBar.h"

using namespace xftest;

namespace {

const int kDoc = 48;
const UINT kHandled = kRecFirst + 1; // the main controller runs it
const UINT kUnhandled = 43000;       // nobody handles it
// Counts the current-cell notifications that reach the top of a control
// unhandled.
struct SCountingHandler : public CHybridHandler
{
    LRESULT OnNotify(UINT code, IHybridCell*, bool*) override
    {
        if (code == HN_CURRENT || code == HN_CURRENT_BY_USER)
            ++reachedTop;
        return 0;
    }
    int reachedTop = 0;
};

class RoutedBars : public HostTest
{
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        dir = testsupport::ScratchDir(L"xf-routed-bars");
        for (const wchar_t* name : {L"\\a.wav", L"\\b.wav", L"\\c.wav"}) {
            paths.push_back(dir + name);
            ASSERT_TRUE(testsupport::WriteFileBytes(paths.back(), "data", 4));
        }
        barItems = {Item(XF_ITEM_LABEL, kHandled, 0, 3),
                    Item(XF_ITEM_LABEL, kUnhandled, 0, 3),
                    Item(XF_ITEM_LABEL, kPaneCommand, 0, 3),
                    Item(XF_ITEM_EDIT, kRecFirst + 3),
                    Item(XF_ITEM_COMBO, kRecFirst + 4, XF_ITEMF_ALT, 6),
                    Item(XF_ITEM_COMBO, kRecFirst + 5),
                    kEnd};
        listItems = {Item(XF_ITEM_FRAMELIST, 0, XF_ITEMF_STRETCH), kEnd};
        Central().tables[64] = barItems.data();
        Central().tables[65] = listItems.data();
        Central().layouts[kDoc] = L"F(controller=20){P(id=5)}";
        ASSERT_NE(nullptr, Build(L"R(controller=1){T(tb=64)F(ver){F{P(id=1)}M(mdiID=1){T(tb=65)}}}", 600, 400));
        area = host.Root()->FindMDIClient(1);
        ASSERT_NE(nullptr, area);
        bar = dynamic_cast<CxfToolBar*>(host.Root()->GetBar(0));
        ASSERT_NE(nullptr, bar);
        static_cast<CTestController*>(host.Root()->GetController())->rec.handles = {kHandled, kRecFirst + 3,
                                                                                    kRecFirst + 4, kRecFirst + 5};
    }
    CxfFrame* Document(int i) { return area->GetChild(i); }
    IHybridCell* Tab(CxfToolBar* listBar, int i) { return CellOf(listBar, Document(i)->GetController()); }
    std::vector<SxfToolBarItem> barItems, listItems;
    CxfMDIClient* area = nullptr;
    CxfToolBar* bar = nullptr;
    std::wstring dir;
    std::vector<std::wstring> paths;
};

} // namespace

TEST_F(RoutedBars, IdleUpdateEnablesItemsFromHandlersAnywhereOnTheRoute)
{
    CTestPane* pane = static_cast<CTestPane*>(host.Root()->FindPane(1));
    ASSERT_NE(nullptr, pane);
    pane->m_enable42000 = false;
    TestApp().BroadcastToFrames(XFM_IDLEUPDATE, 0, 0); // the application's idle pass
    const CCellArray& cells = bar->GetItemCells();
    EXPECT_TRUE(cells[0]->IsEnabled());  // a command handler of the main controller
    EXPECT_FALSE(cells[1]->IsEnabled()); // no handler anywhere
    EXPECT_FALSE(cells[2]->IsEnabled()); // the pane's update handler says no
    pane->m_enable42000 = true;
    TestApp().BroadcastToFrames(XFM_IDLEUPDATE, 0, 0);
    EXPECT_TRUE(cells[2]->IsEnabled());
    // The probe for a handler ran nothing.
    EXPECT_FALSE(Log().Has("c1 ran " + std::to_string(kHandled)));
}

TEST_F(RoutedBars, EditEnterAndComboChoicesReachTheirHandlers)
{
    PumpFor(100);
    const CCellArray& cells = bar->GetItemCells();
    // Widths from the records: 40 pixels for an edit box without nParam;
    // six "M" letters for the drop-list combo.
    EXPECT_EQ(40, cells[3]->GetContentPtr()->GetPreferredWidth());
    CIPtr<IHybridCombo> list, editable;
    ASSERT_TRUE(SUCCEEDED(list.QueryFrom(cells[4]->GetContentPtr(), IID_IHybridCombo)));
    ASSERT_TRUE(SUCCEEDED(editable.QueryFrom(cells[5]->GetContentPtr(), IID_IHybridCombo)));
    EXPECT_NE(cells[4]->GetContentPtr(), cells[5]->GetContentPtr());

    EXPECT_TRUE(cells[3]->GetContentPtr()->OnKeyDown(VK_RETURN, 0));
    PumpFor(100);
    EXPECT_TRUE(Log().Has("c1 ran " + std::to_string(kRecFirst + 3)));

    list->AddString(L"one");
    list->AddString(L"two");
    list->SetCurSel(1, true);
    PumpFor(100);
    EXPECT_TRUE(Log().Has("c1 ran " + std::to_string(kRecFirst + 4)));
    // Choosing the item already chosen gives no command.
    Log().events.clear();
    list->SetCurSel(1, true);
    PumpFor(100);
    EXPECT_FALSE(Log().Has("c1 ran " + std::to_string(kRecFirst + 4)));

    // Enter in the editable combo commits its text as a choice.
    EXPECT_TRUE(cells[5]->GetContentPtr()->OnKeyDown(VK_RETURN, 0));
    PumpFor(100);
    EXPECT_TRUE(Log().Has("c1 ran " + std::to_string(kRecFirst + 5)));
}

TEST_F(RoutedBars, FrameListMirrorsTheAreaDocuments)
{
    CIPtr<IxfFrameListContent> list;
    ASSERT_TRUE(area->GetFrameList(&list));
    CxfToolBar* listBar = dynamic_cast<CxfToolBar*>(area->GetBar(0));
    ASSERT_NE(nullptr, listBar);
    UINT error = 0;
    for (const std::wstring& p : paths)
        ASSERT_NE(nullptr, area->OpenDocumentFrame(kDoc, p.c_str(), &error));
    PumpLayout();
    ASSERT_EQ(3, area->GetChildCount());
    // One tab per document, the newest active and alone shown.
    EXPECT_EQ(2, list->GetActiveIndex());
    EXPECT_TRUE(Document(2)->IsShown());
    EXPECT_FALSE(Document(0)->IsShown());
    EXPECT_FALSE(Document(1)->IsShown());

    // By click.
    ASSERT_NE(nullptr, Tab(listBar, 0));
    ClickCell(listBar, Tab(listBar, 0));
    EXPECT_EQ(Document(0)->GetController(), list->GetActiveController());
    EXPECT_TRUE(Document(0)->IsShown());
    EXPECT_TRUE(Document(0)->IsActive());
    EXPECT_FALSE(Document(2)->IsShown());

    // Tabs are unframed bottom-aligned items, and picking one raises only
    // the control's current-cell notification (which the list takes).
    EXPECT_EQ(0x840001u, static_cast<DWORD>(Tab(listBar, 1)->GetStyleBits()));
    EXPECT_EQ(0u, static_cast<DWORD>(Tab(listBar, 1)->GetStyleBits() >> 32));
    CIPtr<SCountingHandler> counter(new SCountingHandler);
    counter->Release(); // born with one reference
    listBar->GetCtrl().SetHandler(counter);
    list->SetActiveIndex(1);
    listBar->GetCtrl().SetHandler(nullptr);
    EXPECT_EQ(1, list->GetActiveIndex());
    EXPECT_EQ(0, counter->reachedTop);
    list->SetActiveIndex(0);

    // By keyboard: the next-frame and previous-frame commands.
    host.Root()->PostMessage(WM_COMMAND, ID_XF_NEXT_FRAME);
    PumpFor(100);
    EXPECT_EQ(1, list->GetActiveIndex());
    EXPECT_TRUE(Document(1)->IsShown());
    host.Root()->PostMessage(WM_COMMAND, ID_XF_PREV_FRAME);
    host.Root()->PostMessage(WM_COMMAND, ID_XF_PREV_FRAME);
    PumpFor(100);
    EXPECT_EQ(2, list->GetActiveIndex());
    list->ActivateNext(); // from the last to the first
    EXPECT_EQ(0, list->GetActiveIndex());
    EXPECT_TRUE(Document(0)->IsShown());
    list->ActivatePrevious();
    EXPECT_EQ(2, list->GetActiveIndex());

    // A modified document shows a star after its title.
    static_cast<CxfDocController*>(Document(2)->GetController())->SetModified(true);
    CIPtr<IxfFrameListEntry> entry;
    ASSERT_TRUE(SUCCEEDED(entry.QueryFrom(Tab(listBar, 2)->GetContentPtr(), IID_IxfFrameListEntry)));
    EXPECT_STREQ(L"c.wav *", static_cast<CxfFrameListEntry*>(entry.Get())->GetTitle());
    static_cast<CxfDocController*>(Document(2)->GetController())->SetModified(false);

    // Closing from the tab: the active tab's frame goes, its tab with it,
    // and the new last tab's frame becomes active.
    ClickCell(listBar, Tab(listBar, 2));
    CxfFrame* closing = Document(2);
    area->CloseActiveFrame();
    PumpUntil([&] { return area->GetChildCount() == 2; });
    ASSERT_EQ(2, area->GetChildCount());
    EXPECT_NE(closing, Document(1));
    EXPECT_EQ(1, list->GetActiveIndex());
    EXPECT_EQ(Document(1)->GetController(), list->GetActiveController());
    EXPECT_TRUE(Document(1)->IsShown());
    EXPECT_TRUE(Document(1)->IsActive());
    list->RemoveAll();
    EXPECT_EQ(-1, list->GetActiveIndex());
}
