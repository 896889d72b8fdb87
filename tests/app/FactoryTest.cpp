// The factory: the one content it makes, and the pictures its toolbar
// tables name.
#include <typeinfo>
#include <gtest/gtest.h>
#include "app/AppCentral.h"
#include "app/AppIds.h"
#include "app/AppObjects.h"
#include "app/Tempo.h"
#include "common/Interfaces.h"
#include "hybrid/HybridIIDs.h"
#include "hybrid/IHybridSlider.h"
#include "hybrid/SliderContent.h"
#include "xf/xfToolBarItem.h"

TEST(Factory, OnlyTheTempoSliderIsMadeHere)
{
    IHybridContent* content = reinterpret_cast<IHybridContent*>(0x1234);
    EXPECT_FALSE(TheCentral().CreateContent(ID_CMD_ZOOM_SELECTION, &content));
    EXPECT_EQ(reinterpret_cast<IHybridContent*>(0x1234), content); // left alone
    EXPECT_FALSE(TheCentral().CreateContent(ID_CMD_TEMPO_SLIDER, nullptr));

    ASSERT_TRUE(TheCentral().CreateContent(ID_CMD_TEMPO_SLIDER, &content));
    CIPtr<IHybridSlider> slider;
    ASSERT_TRUE(SUCCEEDED(content->QueryInterface(IID_IHybridSlider, reinterpret_cast<void**>(&slider))));
    // A plain slider: no text of its own beside a shorter track.
    EXPECT_TRUE(typeid(*content) == typeid(CHybridSlider)) << typeid(*content).name();
    slider->SetRange(kTempoSliderMin, kTempoSliderMax);
    // The pane's update puts it on the nearest step: 0.7 is 0.69999999 in
    // single precision, step 14, not 13.
    slider->SetPos(SliderValueFromTempo(0.7f));
    EXPECT_EQ(14, slider->GetPos());
    slider->SetPos(SliderValueFromTempo(0.8f));
    EXPECT_EQ(16, slider->GetPos());
    slider = nullptr;
    EXPECT_EQ(0u, content->Release()); // the caller held the only reference
}

TEST(Factory, EveryPictureAToolBarTableNamesIsInTheResources)
{
    CxfCentral& central = TheCentral();
    for (int number = 2; number <= 4; ++number)
        for (const SxfToolBarItem* item = central.GetToolBarItems(number); item->nType != XF_ITEM_END; ++item) {
            const LPCWSTR kind = item->nType == XF_ITEM_BUTTON ? RT_BITMAP : L"PNG";
            if (item->nType == XF_ITEM_BUTTON || item->nType == XF_ITEM_BUTTON2) {
                EXPECT_TRUE(::FindResourceW(nullptr, MAKEINTRESOURCEW(item->nParam), kind)) << item->nParam;
            }
        }
}
