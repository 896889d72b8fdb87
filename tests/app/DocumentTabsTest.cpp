// The document tabs above the open files as the main window is resized:
// they wrap onto as many rows as the width needs, the strip takes just those
// rows, and the real pointer reaches every tab.
#include <windows.h>
#include <algorithm>
#include <set>
#include <string>
#include "AppTestKit.h"
#include "RealInput.h"
#include "app/MainController.h"
#include "app/MainFrame.h"
#include "hybrid/HybridCtrl.h"
#include "tests/support/TestSupport.h"
#include "xf/xfContentInterfaces.h"
#include "xf/xfFrame.h"
#include "xf/xfMDIClient.h"
#include "xf/xfToolBar.h"

using namespace apptest;

namespace {

const int kFiles = 10;
const SIZE kWide{1240, 984};
const SIZE kNarrow{800, 600};

std::string Text(const CRect& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

class DocumentTabs : public AppTest
{
protected:
    // The main window at `size` with ten files open: their tabs and the
    // start page's fill most of one row 1240 pixels wide and wrap at 800.
    void OpenTen(SIZE size)
    {
        ASSERT_TRUE(Start());
        Resize(size);
        const std::wstring folder = testsupport::ScratchDir(L"app-tabs");
        for (int i = 0; i < kFiles; ++i) {
            const std::wstring name = L"take-" + std::to_wstring(10 + i) + L".wav";
            const std::wstring path = MakeWav(folder, name.c_str(), 16);
            ::DeleteFileW(ProjectOf(path).c_str());
            Controller()->OpenAudioFile(path.c_str());
            ASSERT_TRUE(PumpUntil([this, i] { return static_cast<int>(Documents().size()) == i + 1; }, 10000));
        }
        ASSERT_TRUE(PumpLayout());
        ASSERT_TRUE(Bar());
        ASSERT_EQ(static_cast<size_t>(kFiles + 1), Tabs().size());
    }

    // The main window made that size, and the layout passes run.
    void Resize(SIZE size)
    {
        MainFrame()->MoveWindow(0, 0, size.cx, size.cy);
        EXPECT_TRUE(PumpLayout());
    }

    // The bar above the documents that holds their tabs.
    CxfToolBar* Bar()
    {
        CxfMDIClient* area = Area();
        return area && area->GetBarCount() > 0 ? dynamic_cast<CxfToolBar*>(area->GetBar(0)) : nullptr;
    }

    // The tab cells, the start page's first.
    std::vector<IHybridCell*> Tabs()
    {
        std::vector<IHybridCell*> out;
        CCellArray cells;
        CCellCollector collect(cells);
        Bar()->GetCtrl().EnumCells(collect, HCE_ALL);
        for (INT_PTR i = 0; i < cells.GetSize(); ++i) {
            CIPtr<IxfFrameListEntry> entry;
            if (IHybridContent* content = cells.GetAt(i)->GetContentPtr())
                if (SUCCEEDED(entry.QueryFrom(content, IID_IxfFrameListEntry)) && entry)
                    out.push_back(cells.GetAt(i));
        }
        return out;
    }

    // Every tab inside the strip, on `rows` rows, the strip no higher than
    // they need; then tab `picked` is picked with the real pointer.
    void CheckAtSize(SIZE size, size_t rows, int picked)
    {
        SCOPED_TRACE(std::to_string(size.cx) + " pixels wide");
        Resize(size);
        CHybridCtrl& strip = Bar()->GetCtrl();
        CRect client;
        strip.GetClientRect(&client);
        std::set<LONG> rowTops;
        LONG rowsTop = LONG_MAX, rowsBottom = 0;
        for (IHybridCell* tab : Tabs()) {
            CRect rect, inside;
            tab->GetRect(&rect);
            inside.IntersectRect(&rect, &client);
            EXPECT_TRUE(inside == rect) << "tab " << Text(rect) << " strip " << Text(client);
            rowTops.insert(rect.top);
            rowsTop = std::min(rowsTop, rect.top);
            rowsBottom = std::max(rowsBottom, rect.bottom);
        }
        EXPECT_EQ(rows, rowTops.size());
        // As high as the rows, or as the close button beside them when that
        // is higher: no band left empty below them.
        CRect button;
        Bar()->GetItemCells()[1]->GetRect(&button);
        EXPECT_EQ(std::max<LONG>(rowsBottom - rowsTop, button.Height()), client.Height());

        CIPtr<IxfFrameListContent> list;
        ASSERT_TRUE(Area()->GetFrameList(&list));
        CRect target;
        Tabs()[static_cast<size_t>(picked)]->GetRect(&target);
        const CPoint at = realinput::ScreenCentre(strip, target);
        EXPECT_EQ(strip.GetSafeHwnd(), ::WindowFromPoint(at))
            << "the pointer meets " << testsupport::DescribeWindow(::WindowFromPoint(at));
        realinput::Click(at);
        PumpUntil([&list, picked] { return list->GetActiveIndex() == picked; });
        EXPECT_EQ(picked, list->GetActiveIndex());
    }
};

} // namespace

// Each time one of the last tabs is picked; 800 pixels wide, the last tab
// lies on the second row.
TEST_F(DocumentTabs, OpenedWideTheyWrapWhenNarrowedAndUnwrapWhenWidenedAgain)
{
    OpenTen(kWide);
    CheckAtSize(kWide, 1, kFiles - 1);
    CheckAtSize(kNarrow, 2, kFiles);
    CheckAtSize(kWide, 1, kFiles - 1);
}

TEST_F(DocumentTabs, OpenedNarrowTheStripLosesItsSecondRowWhenWidened)
{
    OpenTen(kNarrow);
    CheckAtSize(kNarrow, 2, kFiles);
    CheckAtSize(kWide, 1, kFiles - 1);
    CheckAtSize(kNarrow, 2, kFiles);
}
