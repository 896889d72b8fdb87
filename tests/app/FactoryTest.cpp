// The factory: the one content it makes, the toolbar tables and their
// pictures, and the framework's own answers for the rest.
#include <gtest/gtest.h>
#include <vector>
#include "app/AppCentral.h"
#include "app/AppIds.h"
#include "app/AppObjects.h"
#include "common/Interfaces.h"
#include "hybrid/HybridIIDs.h"
#include "hybrid/IHybridSlider.h"
#include "xf/xfToolBarItem.h"

namespace {

std::vector<UINT> Commands(const SxfToolBarItem* table, UINT type)
{
    std::vector<UINT> out;
    for (; table && table->nType != XF_ITEM_END; ++table)
        if (table->nType == type || (type == XF_ITEM_BUTTON && table->nType == XF_ITEM_BUTTON2))
            out.push_back(table->nID);
    return out;
}

} // namespace

TEST(Factory, OnlyTheTempoSliderIsMadeHere)
{
    IHybridContent* content = reinterpret_cast<IHybridContent*>(0x1234);
    EXPECT_FALSE(TheCentral().CreateContent(ID_CMD_ZOOM_SELECTION, &content));
    EXPECT_EQ(reinterpret_cast<IHybridContent*>(0x1234), content); // left alone
    EXPECT_FALSE(TheCentral().CreateContent(ID_CMD_TEMPO_SLIDER, nullptr));

    ASSERT_TRUE(TheCentral().CreateContent(ID_CMD_TEMPO_SLIDER, &content));
    CIPtr<IHybridSlider> slider;
    ASSERT_TRUE(SUCCEEDED(content->QueryInterface(IID_IHybridSlider, reinterpret_cast<void**>(&slider))));
    slider = nullptr;
    EXPECT_EQ(0u, content->Release()); // the caller held the only reference
}

TEST(Factory, TablesOneToFourAndTheLayoutsAreTheProgramsTheRestTheFrameworks)
{
    CxfCentral& central = TheCentral();
    for (int number : {0, 5, 1000, 1001})
        EXPECT_EQ(central.CxfCentral::GetToolBarItems(number), central.GetToolBarItems(number)) << number;
    EXPECT_TRUE(central.GetToolBarItems(1000));
    EXPECT_TRUE(central.GetLayout(3).IsEmpty());

    EXPECT_EQ(std::vector<UINT>{IDR_MAINMENU}, Commands(central.GetToolBarItems(1), XF_ITEM_MENU));
    EXPECT_EQ(std::vector<UINT>{ID_CMD_CLOSE}, Commands(central.GetToolBarItems(4), XF_ITEM_BUTTON));

    // Every picture a table names is in the program's resources.
    for (int number = 2; number <= 4; ++number)
        for (const SxfToolBarItem* item = central.GetToolBarItems(number); item->nType != XF_ITEM_END; ++item) {
            const LPCWSTR kind = item->nType == XF_ITEM_BUTTON ? RT_BITMAP : L"PNG";
            if (item->nType == XF_ITEM_BUTTON || item->nType == XF_ITEM_BUTTON2) {
                EXPECT_TRUE(::FindResourceW(nullptr, MAKEINTRESOURCEW(item->nParam), kind)) << item->nParam;
            }
        }
}
