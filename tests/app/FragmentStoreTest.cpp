// Fragments from a damaged project text tree (the round trip is in
// ProjectFileTest).
#include <gtest/gtest.h>

#include "common/TextTree.h"
#include "app/FragmentDisplay.h"
#include "tests/app/ViewTestKit.h"

using namespace viewtest;

namespace {

struct FragmentStoreTest : ::testing::Test
{
    CIPtr<ITimeContainer> model = MakeModel(10000, 1000);
    CIPtr<CFragmentDisplay> view{new CFragmentDisplay(model)};
    void TearDown() override { model->Clear(); }

    // Loads the fragments from a project text whose "Selections" group
    // holds `body`; `loaded` receives what the load answered.
    void LoadText(const CString& body)
    {
        CString text = L"Viririziru_Root\r\n{\r\nSelections\r\n{\r\n";
        text += body;
        text += L"}\r\n}\r\n";
        CTextTree tree(L"Viririziru_Root");
        ASSERT_TRUE(tree.Parse(text));
        ASSERT_TRUE(tree.EnterGroup(L"Selections"));
        loaded = view->Load(&tree);
    }
    bool loaded = false;
    SFragmentInfo At(int i)
    {
        SFragmentInfo f;
        EXPECT_TRUE(view->GetAt(i, f));
        return f;
    }
};

TEST_F(FragmentStoreTest, AHandDamagedTreeKeepsTheGoodFragments)
{
    view->AddFragment(0, 5000000, nullptr); // replaced by the load
    LoadText(L"SelCount:|7|\r\n"
             L"Sel0\r\n{\r\nStartTime:|1000000|\r\nEndTime:|3000000|\r\nTempo:|0.500000|\r\nLooped:|1|\r\n"
             L"Comment:|good|\r\nPreDelaySec:|2|\r\n}\r\n"
             L"Sel1\r\n{\r\nStartTime:|-5000000|\r\nEndTime:|3000000|\r\nTempo:|1.000000|\r\n}\r\n"
             L"Sel2\r\n{\r\nStartTime:|9000000|\r\nEndTime:|7000000|\r\nTempo:|1.000000|\r\n}\r\n"
             L"Sel3\r\n{\r\nStartTime:|1|\r\nEndTime:|2000000|\r\n}\r\n"
             L"Sel4\r\n{\r\nStartTime:|4000000|\r\nEndTime:|6000000|\r\nTempo:|99.0|\r\n"
             L"PreDelaySec:|-4|\r\nLooped:|x|\r\n}\r\n"
             L"Sel5\r\n{\r\nStartTime:|abc|\r\nEndTime:|6000000|\r\nTempo:|1.0|\r\n}\r\n"
             L"Sel6\r\n{\r\nStartTime:|5000000|\r\nEndTime:|8000000|\r\nTempo:|-2.0|\r\n}\r\n");
    ASSERT_EQ(view->GetCount(), 4);
    EXPECT_EQ(At(0).StartTime, 1000000);
    EXPECT_EQ(At(0).Comment, L"good");
    EXPECT_EQ(At(0).PreDelaySec, 2);
    EXPECT_FLOAT_EQ(At(0).Tempo, 0.5f);
    EXPECT_EQ(At(1).StartTime, 4000000);
    EXPECT_FLOAT_EQ(At(1).Tempo, 8.0f) << "a stored tempo is kept within the limits";
    EXPECT_EQ(At(1).PreDelaySec, 0);
    EXPECT_EQ(At(1).Looped, 0);
    EXPECT_EQ(At(2).StartTime, 5000000) << "good times, tempo out of range: kept";
    EXPECT_FLOAT_EQ(At(2).Tempo, 0.05f);
    EXPECT_EQ(At(3).StartTime, 7000000) << "start after end: exchanged";
    EXPECT_EQ(At(3).EndTime, 9000000);
    EXPECT_FALSE(view->HasActive());
    EXPECT_FALSE(loaded) << "three fragments were left out";
}

TEST_F(FragmentStoreTest, ValuesNoFileHoldsAreBoundedOrLeftOut)
{
    // The file is 10 s long.
    LoadText(L"SelCount:|5|\r\n"
             L"Sel0\r\n{\r\nStartTime:|0|\r\nEndTime:|1000000|\r\nTempo:|1.0|\r\nPreDelaySec:|2147483647|\r\n}\r\n"
             L"Sel1\r\n{\r\nStartTime:|0|\r\nEndTime:|1000000|\r\nTempo:|1.0|\r\nPreDelaySec:|99999999999|\r\n}\r\n"
             L"Sel2\r\n{\r\nStartTime:|10500000|\r\nEndTime:|10600000|\r\nTempo:|1.0|\r\n}\r\n"
             L"Sel3\r\n{\r\nStartTime:|5000000|\r\nEndTime:|9223372036854775807|\r\nTempo:|1.0|\r\n}\r\n"
             L"Sel4\r\n{\r\nStartTime:|9223372036854775807|\r\nEndTime:|9223372036854775807|\r\nTempo:|1.0|\r\n}\r\n");
    ASSERT_EQ(view->GetCount(), 4) << "a start long after the end of the file is left out";
    EXPECT_EQ(At(0).PreDelaySec, kMaxPreDelaySec) << "a pre-delay is at most what can be chosen";
    EXPECT_EQ(At(1).PreDelaySec, kMaxPreDelaySec);
    EXPECT_EQ(At(2).StartTime, 5000000) << "an end beyond the file: kept, it plays to the end";
    EXPECT_EQ(At(3).StartTime, 10500000) << "just past the length: the length may be rounded";
    EXPECT_FALSE(loaded);

    LoadText(L"SelCount:|1|\r\nSel0\r\n{\r\nStartTime:|0|\r\nEndTime:|1000000|\r\nTempo:|1.0|\r\n}\r\n");
    EXPECT_TRUE(loaded) << "everything taken";
    EXPECT_EQ(view->GetCount(), 1);

    // A huge count beside a group that is no fragment's: one pass, not one
    // look-up per counted index.
    LoadText(L"SelCount:|2000000000|\r\nOther\r\n{\r\n}\r\n"
             L"Sel0\r\n{\r\nStartTime:|0|\r\nEndTime:|1000000|\r\nTempo:|1.0|\r\n}\r\n");
    EXPECT_EQ(view->GetCount(), 1);
    EXPECT_FALSE(loaded) << "the other group is not kept";
}

TEST_F(FragmentStoreTest, ThousandsOfOverlappingFragmentsLoadInRowsOfTheirOwn)
{
    const int n = 5000;
    CString body;
    body.Format(L"SelCount:|%d|\r\n", n);
    for (int i = 0; i < n; ++i)
        body.AppendFormat(L"Sel%d\r\n{\r\nStartTime:|1000000|\r\nEndTime:|2000000|\r\nTempo:|1.0|\r\n}\r\n", i);
    LoadText(body);
    ASSERT_EQ(view->GetCount(), n);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(At(n - 1).Row, n - 1);
}

TEST_F(FragmentStoreTest, CountsAndGroupsThatDoNotMatch)
{
    LoadText(L"SelCount:|3|\r\n"
             L"Sel0\r\n{\r\nStartTime:|0|\r\nEndTime:|1000000|\r\nTempo:|1.0|\r\n}\r\n"
             L"Sel2\r\n{\r\nStartTime:|2000000|\r\nEndTime:|3000000|\r\nTempo:|1.0|\r\n}\r\n"
             L"Sel3\r\n{\r\nStartTime:|5000000|\r\nEndTime:|6000000|\r\nTempo:|1.0|\r\n}\r\n");
    EXPECT_EQ(view->GetCount(), 2) << "a missing group is skipped; groups past the count are not read";

    LoadText(L"Sel0\r\n{\r\nStartTime:|0|\r\nEndTime:|1000000|\r\nTempo:|1.0|\r\n}\r\n");
    EXPECT_EQ(view->GetCount(), 0) << "no count, no fragments";
}

} // namespace
