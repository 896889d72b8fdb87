// Toolbars: building from item tables, the framework's caption tables,
// stretch shares, item notifications turned into posted commands, the
// command-UI pass over the item cells, the keyboard menu mode, and the
// contents on real bars: labels, sliders, tab strips and a painted bar.
#include <gtest/gtest.h>
#include <cwctype>
#include "XfTestKit.h"
#include "hybrid/ContentDrawing.h"
#include "hybrid/IHybridSlider.h"
#include "xf/xfFrameListContent.h"
#include "hybrid/SliderContent.h"
#include "xf/xfCmdUI.h"
#include "xf/xfMessages.h"
#include "xf/xfToolBar.h"
#include "xf/xfToolBarLabel.h"

using namespace xftest;

namespace {

// A menu-band element as the keyboard menu mode sees it.
class CTestElement : public CContentBase<IxfHorMenuElement>
{
public:
    explicit CTestElement(WCHAR mnemonic) : m_mnemonic(mnemonic) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override
    {
        return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IxfHorMenuElement)});
    }
    int GetPreferredWidth() override { return 30; }
    int GetPreferredHeight(int) override { return 18; }
    void SetHot(bool hot) override { m_hot = hot; }
    void OpenMenu(bool open, bool) override { m_open = open; }
    bool IsMenuOpen() override { return m_open; }
    bool MatchesMnemonic(WCHAR ch) override { return towupper(ch) == m_mnemonic; }
    bool m_hot = false;
    bool m_open = false;
    WCHAR m_mnemonic;
};

// Custom items: a menu element whose mnemonic is the record's id.
bool MakeElement(IHybridContent** out, const SxfToolBarItem* item)
{
    *out = new CTestElement(static_cast<WCHAR>(item->nID));
    (*out)->AddRef();
    return true;
}
bool Decline(IHybridContent**, const SxfToolBarItem*)
{
    return false;
}

class ToolBars : public HostTest
{
protected:
    static IHybridContent* Content(CxfToolBar* bar, int i) { return bar->GetItemCells()[i]->GetContentPtr(); }
    template <class I>
    static CIPtr<I> ContentAt(CxfToolBar* bar, int i, REFIID iid)
    {
        CIPtr<I> out;
        out.QueryFrom(Content(bar, i), iid);
        return out;
    }
};

MSG KeyMsg(UINT message, UINT key, bool alt = false)
{
    MSG msg{};
    msg.message = message;
    msg.wParam = key;
    msg.lParam = alt ? (1 << 29) : 0;
    return msg;
}

// Update handlers for the command-UI pass: 500 checked, 501 disabled,
// 502 only a command handler, 503 nothing.
class CTestTarget : public CCmdTarget
{
public:
    void OnUpdate500(CCmdUI* ui) { ui->SetCheck(1); }
    void OnUpdate501(CCmdUI* ui) { ui->Enable(FALSE); }
    void On502() {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestTarget, CCmdTarget)
    ON_UPDATE_COMMAND_UI(500, &CTestTarget::OnUpdate500)
    ON_UPDATE_COMMAND_UI(501, &CTestTarget::OnUpdate501)
    ON_COMMAND(502, &CTestTarget::On502)
END_MESSAGE_MAP()

} // namespace

TEST_F(ToolBars, CaptionTablesHoldTheTitleLabelAndTheCloseButton)
{
    EXPECT_EQ(nullptr, CxfCentral::Get().GetToolBarItems(999));

    // A caption band built from table 1000 finds its title label by id.
    CxfFrame* root = Build(L"F{T(top,tb=1000,nogripper,menuBk)P(id=1)}", 300, 200);
    CxfToolBar* bar = dynamic_cast<CxfToolBar*>(root->GetBar(0));
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(CxfToolBar::BkMenu, bar->GetBkKind());
    CIPtr<IHybridContent> found;
    ASSERT_TRUE(bar->FindContent(37004, &found));
    CIPtr<IxfToolBarLabel> label;
    EXPECT_TRUE(SUCCEEDED(label.QueryFrom(found, IID_IxfToolBarLabel)));
    EXPECT_FALSE(bar->FindContent(0, &found));
    EXPECT_FALSE(bar->FindContent(37005, &found));
}

TEST_F(ToolBars, ItemsAreMadeByTypeAndUnknownOrDecliningOnesMakeNothing)
{
    CxfToolBar* bar = BuildBar(L"F{T(tb=60)P(id=1)}",
                               {Item(XF_ITEM_LABEL, 300, 0, 3), Item(55, 301),
                                Item(XF_ITEM_CUSTOM, 302, 0, reinterpret_cast<INT_PTR>(&Decline)),
                                Item(XF_ITEM_CUSTOM, 303, 0, 0), Item(XF_ITEM_MENU, 9999, 0, -1),
                                Item(XF_ITEM_SLIDER, 304), Item(XF_ITEM_SEPARATOR, 0), Item(XF_ITEM_BRAND, 305)});
    ASSERT_NE(nullptr, bar);
    const CCellArray& cells = bar->GetItemCells();
    // A menu that does not load makes no element at all.
    ASSERT_EQ(4, cells.GetSize());
    EXPECT_EQ(300u, cells[0]->GetData());
    EXPECT_EQ(304u, cells[1]->GetData());

    // Rebuilding from a table the factory lacks leaves the bar empty; an
    // empty table too.
    bar->BuildItems(61);
    EXPECT_EQ(0, bar->GetItemCells().GetSize());
    table.assign(1, kEnd);
    Central().tables[kHostTable] = table.data();
    bar->BuildItems(60);
    EXPECT_EQ(0, bar->GetItemCells().GetSize());
}

TEST_F(ToolBars, SpareLengthIsSharedWithTheRemainderToTheLaterItems)
{
    // A 100-pixel brand block and three stretched labels on a 107-pixel bar.
    CxfToolBar* bar = BuildBar(L"F{T(nogripper,tb=60)P(id=1)}",
                               {Item(XF_ITEM_BRAND, 1), Item(XF_ITEM_LABEL, 2, XF_ITEMF_STRETCH),
                                Item(XF_ITEM_LABEL, 3, XF_ITEMF_STRETCH), Item(XF_ITEM_LABEL, 4, XF_ITEMF_STRETCH)},
                               107);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(107, bar->GetInnerRect().Width());
    EXPECT_EQ(2, bar->GetItemCells()[1]->GetContentPtr()->GetPreferredWidth());
    EXPECT_EQ(2, bar->GetItemCells()[2]->GetContentPtr()->GetPreferredWidth());
    EXPECT_EQ(3, bar->GetItemCells()[3]->GetContentPtr()->GetPreferredWidth());

    // Narrower than the fixed items: the shares stay as they were.
    host.MoveWindow(0, 0, 90, 200, TRUE);
    PumpLayout();
    EXPECT_EQ(3, bar->GetItemCells()[3]->GetContentPtr()->GetPreferredWidth());
}

TEST_F(ToolBars, ItemNotificationsBecomePostedCommandsOfTheTopFrame)
{
    CxfToolBar* bar = BuildBar(L"F{T(tb=60)P(id=1)}", {Item(XF_ITEM_LABEL, 310, 0, 4), Item(XF_ITEM_SLIDER, 311)});
    ASSERT_NE(nullptr, bar);
    HWND top = host.Root()->m_hWnd;
    while (TakeCommand(top)) {
    }
    IHybridCell* sliderCell = bar->GetItemCells()[1];
    for (UINT code : {HN_COMBO_CHANGED, HN_EDIT_ENTER, HN_SLIDER_POSITION}) {
        EXPECT_EQ(0, bar->SendMessage(WM_HYBRID_NOTIFY, code, reinterpret_cast<LPARAM>(sliderCell)));
        EXPECT_EQ(311u, TakeCommand(top)) << code;
    }
    // Other codes are no commands; the control's pressed-item message is swallowed.
    bar->SendMessage(WM_HYBRID_NOTIFY, HN_SLIDER_TRACKING, reinterpret_cast<LPARAM>(sliderCell));
    bar->SendMessage(WM_HYBRID_ITEMPRESSED, 311, 0);
    EXPECT_EQ(0u, TakeCommand(top));

    // A real click on the label posts its command.
    ClickCell(bar, bar->GetItemCells()[0]);
    EXPECT_EQ(310u, TakeCommand(top));

    // Dragging the slider's thumb to the far end commits a position: the
    // slider's command, whose handler reads the position.
    CRect slider;
    sliderCell->GetRect(&slider);
    bar->GetCtrl().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(slider.left + 2, slider.CenterPoint().y));
    bar->GetCtrl().SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(slider.right + 20, slider.CenterPoint().y));
    bar->GetCtrl().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(slider.right + 20, slider.CenterPoint().y));
    EXPECT_EQ(311u, TakeCommand(top));
    CIPtr<IHybridContent> found;
    ASSERT_TRUE(host.Root()->FindContent(311, &found));
    CIPtr<IHybridSlider> position;
    ASSERT_TRUE(SUCCEEDED(position.QueryFrom(found, IID_IHybridSlider)));
    EXPECT_EQ(100, position->GetPos());
}

TEST_F(ToolBars, CommandUiEnablesChecksAndUnderlinesFromTheHandlers)
{
    CxfToolBar* bar = BuildBar(L"F{T(tb=60)P(id=1)}", {Item(XF_ITEM_LABEL, 500), Item(XF_ITEM_LABEL, 501),
                                                       Item(XF_ITEM_LABEL, 502), Item(XF_ITEM_LABEL, 503)});
    ASSERT_NE(nullptr, bar);
    CTestTarget target;
    CxfCmdUI::UpdateCellsCmdUI(&target, bar->GetItemCells());
    const CCellArray& cells = bar->GetItemCells();
    // Only SetCheck: enabled, and a label shows the check as an underline.
    EXPECT_TRUE(cells[0]->IsEnabled());
    EXPECT_TRUE(
        static_cast<CxfToolBarLabel*>(ContentAt<IxfToolBarLabel>(bar, 0, IID_IxfToolBarLabel).Get())->IsUnderlined());
    EXPECT_FALSE(cells[1]->IsEnabled());
    // No update handler: enabled exactly when a command handler exists.
    EXPECT_TRUE(cells[2]->IsEnabled());
    EXPECT_FALSE(cells[3]->IsEnabled());
    EXPECT_FALSE(CxfCmdUI::IsCmdUIProbe());

    // Indeterminate checks as any nonzero value; a cleared check removes it.
    CxfCmdUI ui(cells[0]);
    ui.SetCheck(2);
    auto label = ContentAt<IxfToolBarLabel>(bar, 0, IID_IxfToolBarLabel);
    EXPECT_TRUE(static_cast<CxfToolBarLabel*>(label.Get())->IsUnderlined());
    ui.SetCheck(0);
    EXPECT_FALSE(static_cast<CxfToolBarLabel*>(label.Get())->IsUnderlined());
}

TEST_F(ToolBars, KeyboardMenuModeMovesOpensAndLeaves)
{
    const INT_PTR make = reinterpret_cast<INT_PTR>(&MakeElement);
    CxfToolBar* bar =
        BuildBar(L"F{T(tb=60)P(id=1)}", {Item(XF_ITEM_CUSTOM, 'F', 0, make), Item(XF_ITEM_CUSTOM, 'E', 0, make),
                                         Item(XF_ITEM_CUSTOM, 'H', 0, make)});
    ASSERT_NE(nullptr, bar);
    std::vector<CTestElement*> e;
    for (int i = 0; i < 3; ++i)
        e.push_back(static_cast<CTestElement*>(ContentAt<IxfHorMenuElement>(bar, i, IID_IxfHorMenuElement).Get()));

    MSG altUp = KeyMsg(WM_SYSKEYUP, VK_MENU);
    EXPECT_TRUE(bar->HandleMenuKey(&altUp));
    EXPECT_TRUE(bar->IsInMenuMode());
    EXPECT_TRUE(e[0]->m_hot);

    MSG down = KeyMsg(WM_KEYDOWN, VK_DOWN);
    EXPECT_TRUE(bar->HandleMenuKey(&down));
    EXPECT_TRUE(e[0]->m_open);
    // Left from the first with its popup open: the last, whose popup opens
    // through the posted message.
    MSG left = KeyMsg(WM_KEYDOWN, VK_LEFT);
    EXPECT_TRUE(bar->HandleMenuKey(&left));
    EXPECT_FALSE(e[0]->m_open);
    EXPECT_FALSE(e[0]->m_hot);
    EXPECT_TRUE(e[2]->m_hot);
    EXPECT_FALSE(e[2]->m_open);
    PumpUntil([&] { return e[2]->m_open; }, 500);
    EXPECT_TRUE(e[2]->m_open);

    // Escape acts on its key going down only: the press closes the popup,
    // the release leaves menu mode on; the next press ends it.
    MSG escDown = KeyMsg(WM_KEYDOWN, VK_ESCAPE), escUp = KeyMsg(WM_KEYUP, VK_ESCAPE);
    EXPECT_TRUE(bar->HandleMenuKey(&escDown));
    EXPECT_FALSE(e[2]->m_open);
    EXPECT_FALSE(bar->HandleMenuKey(&escUp));
    EXPECT_TRUE(bar->IsInMenuMode());
    EXPECT_TRUE(bar->HandleMenuKey(&escDown));
    EXPECT_FALSE(bar->IsInMenuMode());
    EXPECT_FALSE(e[2]->m_hot);
    EXPECT_FALSE(bar->HandleMenuKey(&escDown)); // no menu mode: not used

    // Alt+letter picks and opens the matching element; no match is not used.
    MSG altE = KeyMsg(WM_SYSKEYDOWN, 'E', true), altQ = KeyMsg(WM_SYSKEYDOWN, 'Q', true);
    EXPECT_FALSE(bar->HandleMenuKey(&altQ));
    EXPECT_TRUE(bar->HandleMenuKey(&altE));
    EXPECT_TRUE(e[1]->m_hot);
    EXPECT_TRUE(e[1]->m_open);
    // Alt going down closes the popup; Alt released ends menu mode.
    MSG altDown = KeyMsg(WM_SYSKEYDOWN, VK_MENU, true);
    EXPECT_TRUE(bar->HandleMenuKey(&altDown));
    EXPECT_FALSE(e[1]->m_open);
    EXPECT_TRUE(bar->HandleMenuKey(&altUp));
    EXPECT_FALSE(bar->IsInMenuMode());
    MSG right = KeyMsg(WM_KEYDOWN, VK_RIGHT);
    EXPECT_FALSE(bar->HandleMenuKey(&right));
}

TEST_F(ToolBars, LabelsMeasureOnceFromTextOrLetterCountAndPostTheirCommand)
{
    CxfToolBar* bar = BuildBar(L"F{T(tb=60)P(id=1)}", {Item(XF_ITEM_LABEL, 0, 0, 5), Item(XF_ITEM_LABEL, 71, 0, 0),
                                                       Item(XF_ITEM_LABEL, 72, 0, 0, 10247)});
    ASSERT_NE(nullptr, bar);
    IHybridStyle* style = bar->GetItemCells()[0]->GetStyle();
    const CSize five = MeasureStyleText(&bar->GetCtrl(), style, L"MMMMM");
    const CSize one = MeasureStyleText(&bar->GetCtrl(), style, L"M");
    EXPECT_EQ(five.cx + 6, Content(bar, 0)->GetPreferredWidth());
    EXPECT_EQ(five.cy + 6, Content(bar, 0)->GetPreferredHeight(0));
    EXPECT_EQ(one.cx + 6, Content(bar, 1)->GetPreferredWidth());

    // The text of string nParam2; a longer text later keeps the first size.
    CIPtr<IxfToolBarLabel> titled;
    ASSERT_TRUE(SUCCEEDED(titled.QueryFrom(Content(bar, 2), IID_IxfToolBarLabel)));
    EXPECT_STREQ(L"Untitled", titled->GetText());
    const int width = Content(bar, 2)->GetPreferredWidth();
    titled->SetText(L"A much longer title than before");
    EXPECT_EQ(width, Content(bar, 2)->GetPreferredWidth());

    // A press posts the command, also the command 0.
    HWND top = host.Root()->m_hWnd;
    while (TakeCommand(top)) {
    }
    EXPECT_TRUE(Content(bar, 1)->OnLButtonDown(CPoint(0, 0)));
    EXPECT_EQ(71u, TakeCommand(top));
    MSG msg;
    EXPECT_TRUE(Content(bar, 0)->OnLButtonDown(CPoint(0, 0)));
    ASSERT_TRUE(::PeekMessageW(&msg, top, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(0u, msg.wParam);
}

TEST_F(ToolBars, SliderTurnsVerticalOnASideBarAndTakesItsLengthFromTheRecord)
{
    CxfToolBar* bar = BuildBar(L"F{T(left,tb=60)P(id=1)}", {Item(XF_ITEM_SLIDER, 81, 0, 80), Item(XF_ITEM_SLIDER, 82)});
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(80, Content(bar, 0)->GetPreferredHeight(0));
    EXPECT_EQ(200, Content(bar, 1)->GetPreferredHeight(0)); // the slider's own length
    EXPECT_GT(Content(bar, 0)->GetPreferredHeight(0), Content(bar, 0)->GetPreferredWidth());
    // The bar is as thick as its widest item.
    EXPECT_EQ(Content(bar, 0)->GetPreferredWidth(), bar->GetDockExtent());
}

TEST_F(ToolBars, TabStripHoldsDataActivatesAndPostsItsCommand)
{
    CxfToolBar* bar = BuildBar(L"F{T(tb=60)P(id=1)}", {Item(XF_ITEM_TABS, 90)});
    ASSERT_NE(nullptr, bar);
    CIPtr<IxfTab> tabs;
    ASSERT_TRUE(SUCCEEDED(tabs.QueryFrom(Content(bar, 0), IID_IxfTab)));
    tabs->AddTab(L"One", 11);
    tabs->AddTab(L"Two", 22);
    EXPECT_EQ(22u, tabs->GetTabData(1));
    EXPECT_EQ(0u, tabs->GetTabData(-1));
    EXPECT_EQ(0u, tabs->GetTabData(2));

    PumpLayout();
    HWND top = host.Root()->m_hWnd;
    while (TakeCommand(top)) {
    }
    CCellArray tabCells;
    CCellCollector collect(tabCells);
    bar->GetCtrl().EnumCells(collect, HCE_ALL);
    // The last cell made is the second tab.
    IHybridCell* second = tabCells[tabCells.GetSize() - 1];
    ASSERT_NE(nullptr, second);
    bar->GetCtrl().SetActiveCell(second, false, true);
    EXPECT_EQ(90u, TakeCommand(top));
    tabs->RemoveAllTabs();
    EXPECT_EQ(0, tabs->GetTabCount());
}

TEST_F(ToolBars, AFrameListTakesTheFramesItsAreaStartsWith)
{
    BuildBar(L"F{M{T(tb=60)F(controller=31){P(id=1)}F(controller=32){P(id=2)}}}",
             {Item(XF_ITEM_FRAMELIST, 0, XF_ITEMF_STRETCH)}, 500, 300);
    CxfFrame* area = host.Root()->GetChild(0);
    CIPtr<IxfFrameListContent> list;
    ASSERT_TRUE(area->GetFrameList(&list));
    // The first tab added activated its frame, later ones changed nothing.
    EXPECT_EQ(area->GetChild(0)->GetController(), list->GetActiveController());
    EXPECT_TRUE(area->GetChild(0)->IsActive());
    EXPECT_FALSE(area->GetChild(1)->IsActive());
    EXPECT_NE(nullptr, CellOf(dynamic_cast<CxfToolBar*>(area->GetBar(0)), area->GetChild(1)->GetController()));
}

TEST_F(ToolBars, ABarPaintsItsGradientSeparatorAndSlider)
{
    // A label, a skinned separator, a slider and a plain separator on a
    // bar without gripper; the gradient covers only the items' area.
    CxfToolBar* bar = BuildBar(L"F{T(nogripper,tb=60)P(id=1)}",
                               {Item(XF_ITEM_LABEL, 1, 0, 4), Item(XF_ITEM_SEPARATOR, 0, XF_ITEMF_ALT),
                                Item(XF_ITEM_SLIDER, 2, 0, 100), Item(XF_ITEM_SEPARATOR, 0)});
    ASSERT_NE(nullptr, bar);
    bar->GetCtrl().RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFor(100);
    CRect sep, slider;
    bar->GetItemCells()[1]->GetRect(&sep);
    bar->GetItemCells()[2]->GetRect(&slider);
    EXPECT_EQ(10, sep.Width()); // the skin's size
    EXPECT_EQ(100, slider.Width());
    CClientDC dc(&bar->GetCtrl());
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    // Etched line: grey then white in the middle of the separator.
    const int x = sep.left + (sep.Width() - 10) / 2 + 4;
    EXPECT_EQ(RGB(0xA3, 0xA3, 0xA3), dc.GetPixel(x, sep.CenterPoint().y));
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), dc.GetPixel(x + 1, sep.CenterPoint().y));
    // The gradient: lighter than the face at the top, darker at the bottom.
    CRect client;
    bar->GetCtrl().GetClientRect(&client);
    EXPECT_EQ(face, dc.GetPixel(0, 0)); // a cut corner
    const COLORREF topColour = dc.GetPixel(1, 1), bottomColour = dc.GetPixel(1, client.bottom - 2);
    EXPECT_GT(GetGValue(topColour), GetGValue(face));
    EXPECT_LT(GetGValue(bottomColour), GetGValue(face));
    // Beyond the items the background is flat.
    EXPECT_EQ(face, dc.GetPixel(client.right - 3, client.CenterPoint().y));
    // The slider's groove is drawn in the middle of its cell.
    const COLORREF groove = dc.GetPixel(slider.left + 30, slider.CenterPoint().y);
    EXPECT_NE(dc.GetPixel(slider.left + 30, slider.top + 1), groove);
}
