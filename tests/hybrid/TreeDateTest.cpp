// Tree nodes and date fields in a real control: the cells a node builds,
// its expander picture at every layout, toggling by press and double click
// with the codes raised before the change, and the date's conversions to
// and from the runtime's 64-bit time.
#include <gtest/gtest.h>
#include <ctime>
#include "HybridTestKit.h"
#include "hybrid/ButtonContent.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/DateContent.h"
#include "hybrid/HybridResources.h"
#include "hybrid/TreeItemContent.h"

using namespace hybridtest;

namespace {

// Records each 33/34 with the node's state at that moment.
class CTreeWatcher : public CHybridHandler
{
public:
    LRESULT OnNotify(UINT code, IHybridCell*, bool*) override
    {
        if (code == HN_TREE_EXPANDING || code == HN_TREE_COLLAPSING)
            seen.push_back({code, item && item->IsExpanded()});
        return 0;
    }
    IHybridTreeItem* item = nullptr;
    std::vector<std::pair<UINT, bool>> seen;
};

struct SNode
{
    CIPtr<IHybridCell> cell;
    CIPtr<IHybridTreeItem> item;
    CIPtr<IHybridButton> expander;
};

SNode AddNode(CTestHost& host, IUnknown* parentItem, DWORD high = HTI_EXPANDER)
{
    SNode node;
    CCellBuilder builder(&host.Ctrl());
    builder.SetParentTreeItem(parentItem)
        .SetStyleBits(0, high)
        .ReturnCell(&node.cell)
        .ReturnTreeItem(&node.item)
        .AddTreeItem();
    CIPtr<IHybridCell> itemCell;
    if (node.item && node.item->GetItemCell(&itemCell))
        builder.SetParent(itemCell).SetText(L"label").AddText();
    // The expander is the first cell of the node's row.
    if (node.cell) {
        CIPtr<IHybridSubContent> sub;
        CCellArray rows;
        if (node.cell->GetSubContent(&sub) && sub)
            sub->GetChildren(&rows);
        CIPtr<IHybridSubContent> rowSub;
        CIPtr<IHybridCell> first;
        if (rows.GetSize() > 0 && rows.GetAt(0)->GetSubContent(&rowSub) && rowSub && rowSub->GetColumnCell(0, &first))
            node.expander.QueryFrom(first->GetContentPtr(), IID_IHybridButton);
    }
    host.Pump();
    return node;
}

int PictureOf(IHybridButton* expander)
{
    return static_cast<CButtonContent*>(expander)->GetImageId();
}

} // namespace

TEST(HybridTree, NodeBuildsItsCellsAndTheExpanderFollowsTheState)
{
    CTestHost host(300, 300);
    SNode root = AddNode(host, nullptr);
    ASSERT_TRUE(root.item && root.expander);
    CIPtr<IHybridCell> itemCell, children;
    EXPECT_TRUE(root.item->GetItemCell(&itemCell));
    EXPECT_TRUE(root.item->GetChildrenCell(&children));
    EXPECT_FALSE(root.item->IsExpanded());
    EXPECT_FALSE(root.item->HasChildren());
    EXPECT_EQ(IDB_HYBRID_TREE_LEAF, PictureOf(root.expander));
    root.item->Expand(); // without children the picture stays
    host.Pump();
    EXPECT_EQ(IDB_HYBRID_TREE_LEAF, PictureOf(root.expander));
    root.item->Collapse();

    SNode child = AddNode(host, root.item);
    ASSERT_TRUE(child.item);
    EXPECT_TRUE(root.item->HasChildren());
    host.Ctrl().UpdateLayout(true);
    host.Pump();
    EXPECT_EQ(IDB_HYBRID_TREE_COLLAPSED, PictureOf(root.expander));
    const int collapsedHeight = host.Ctrl().GetContentHeight();
    root.item->Expand();
    host.Pump();
    EXPECT_EQ(IDB_HYBRID_TREE_EXPANDED, PictureOf(root.expander));
    EXPECT_GT(host.Ctrl().GetContentHeight(), collapsedHeight); // the child's row shows

    CIPtr<IHybridTreeItem> parent;
    EXPECT_FALSE(root.item->GetParentItem(&parent));
    ASSERT_TRUE(child.item->GetParentItem(&parent));
    EXPECT_TRUE(IsSameObject(parent, root.item));
    EXPECT_FALSE(child.item->GetParentItem(nullptr));
}

TEST(HybridTree, PressAndDoubleClickToggleRaisingTheCodeBeforeTheChange)
{
    CTestHost host(300, 300);
    SNode root = AddNode(host, nullptr);
    ASSERT_TRUE(root.item && root.expander);
    AddNode(host, root.item);
    CIPtr<CTreeWatcher> watcher;
    watcher.Attach(new CTreeWatcher);
    watcher->item = root.item;
    root.cell->SetHandler(watcher);
    host.Pump();

    const CPoint centre = CTestHost::RectOf(root.expander->GetCell()).CenterPoint();
    host.Click(centre.x, centre.y);
    EXPECT_TRUE(root.item->IsExpanded());
    host.Click(centre.x, centre.y);
    EXPECT_FALSE(root.item->IsExpanded());
    host.Post(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    host.Pump();
    EXPECT_TRUE(root.item->IsExpanded());

    const std::vector<std::pair<UINT, bool>> expected = {
        {HN_TREE_EXPANDING, false}, {HN_TREE_COLLAPSING, true}, {HN_TREE_EXPANDING, false}};
    EXPECT_EQ(expected, watcher->seen);
    EXPECT_TRUE(host.Saw(HN_TREE_EXPANDING));
    EXPECT_TRUE(host.Saw(HN_TREE_COLLAPSING));
    root.cell->SetHandler(nullptr);
}

TEST(HybridTree, WithoutTheExpanderBitTheColumnIsEmptyAndExpandStillWorks)
{
    CTestHost host(300, 300);
    SNode root = AddNode(host, nullptr, 0);
    ASSERT_TRUE(root.item && root.expander);
    AddNode(host, root.item, 0);
    EXPECT_FALSE(root.expander->GetCell()->IsShown());
    CIPtr<IHybridCell> itemCell;
    ASSERT_TRUE(root.item->GetItemCell(&itemCell));
    EXPECT_EQ(CTestHost::RectOf(root.cell).left, CTestHost::RectOf(itemCell).left);
    const int collapsedHeight = host.Ctrl().GetContentHeight();
    root.item->Expand();
    host.Pump();
    EXPECT_TRUE(root.item->IsExpanded());
    EXPECT_GT(host.Ctrl().GetContentHeight(), collapsedHeight);
}

TEST(HybridTree, DetachingANodeTakesItsChildrenAlong)
{
    CTestHost host(300, 300);
    SNode root = AddNode(host, nullptr);
    SNode child = AddNode(host, root.item);
    ASSERT_TRUE(child.cell);
    host.Ctrl().DetachCell(root.cell);
    host.Pump();
    CIPtr<IHybridCell> children;
    EXPECT_FALSE(root.item->GetChildrenCell(&children));
    EXPECT_FALSE(child.cell->HasParent());
}

namespace {

struct SDate
{
    CIPtr<IHybridCell> cell;
    CIPtr<IHybridDate> date;
    CIPtr<IHybridEdit> day, year;
    CIPtr<IHybridCombo> month;
};

SDate AddDate(CTestHost& host)
{
    SDate d;
    CCellBuilder builder(&host.Ctrl());
    builder.ReturnCell(&d.cell).AddCell();
    d.cell->CreateContent(L'd', 0);
    d.date.QueryFrom(d.cell->GetContentPtr(), IID_IHybridDate);
    if (d.date) {
        CDateContent* content = static_cast<CDateContent*>(d.date.Get());
        EXPECT_TRUE(content->GetDayField(&d.day));
        EXPECT_TRUE(content->GetMonthList(&d.month));
        EXPECT_TRUE(content->GetYearField(&d.year));
    }
    host.Pump();
    return d;
}

int64_t LocalTime(int year, int month, int day, int hour = 0)
{
    std::tm date{};
    date.tm_year = year - 1900;
    date.tm_mon = month - 1;
    date.tm_mday = day;
    date.tm_hour = hour;
    date.tm_isdst = -1;
    return _mktime64(&date);
}

void Show(SDate& d, LPCWSTR day, int month, LPCWSTR year)
{
    d.day->SetText(day);
    d.month->SetCurSel(month - 1, false);
    d.year->SetText(year);
}

} // namespace

TEST(HybridDate, ARoundTripThroughTheFields)
{
    CTestHost host(300, 200);
    SDate d = AddDate(host);
    ASSERT_TRUE(d.date && d.day && d.month && d.year);
    ASSERT_EQ(12, d.month->GetCount());
    EXPECT_EQ(0, d.month->GetCurSel());
    EXPECT_EQ(0, d.date->GetTime());

    d.date->SetTime(LocalTime(2024, 2, 29, 13));
    EXPECT_STREQ(L"29", d.day->GetText());
    EXPECT_EQ(1, d.month->GetCurSel());
    EXPECT_STREQ(L"2024", d.year->GetText());
    EXPECT_EQ(LocalTime(2024, 2, 29), d.date->GetTime()); // read back: that day's midnight

    Show(d, L"31", 4, L"2003"); // April has 30 days: rolls into May
    EXPECT_EQ(LocalTime(2003, 5, 1), d.date->GetTime());
    Show(d, L"1", 1, L"1970");
    EXPECT_EQ(LocalTime(1970, 1, 1), d.date->GetTime());
}

TEST(HybridDate, OutOfRangeFieldsLeaveTheTimeAndBadTimesShowNothing)
{
    CTestHost host(300, 200);
    SDate d = AddDate(host);
    ASSERT_TRUE(d.date && d.day && d.month && d.year);
    const int64_t kept = LocalTime(2010, 6, 15);
    d.date->SetTime(kept);
    const struct
    {
        LPCWSTR day;
        LPCWSTR year;
    } cases[] = {{L"0", L"2010"}, {L"32", L"2010"}, {L"5", L"1969"}, {L"5", L"2039"}, {L"x", L"2010"}, {L"5", L""}};
    for (const auto& c : cases) {
        Show(d, c.day, 6, c.year);
        EXPECT_EQ(kept, d.date->GetTime()) << c.day << " " << c.year;
    }

    // Beyond 2038 the 64-bit time still shows its date.
    d.date->SetTime(LocalTime(2040, 7, 4));
    EXPECT_STREQ(L"2040", d.year->GetText());
    EXPECT_EQ(6, d.month->GetCurSel());

    const int64_t invalid = -5000000000000LL;
    d.date->SetTime(invalid);
    EXPECT_STREQ(L"", d.day->GetText());
    EXPECT_EQ(-1, d.month->GetCurSel());
    EXPECT_STREQ(L"", d.year->GetText());
    EXPECT_EQ(invalid, d.date->GetTime()); // empty fields convert to nothing
}
