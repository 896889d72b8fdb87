#pragma once
// The tempo slider of the fragment menu: a plain slider over the tempo
// steps that writes the tempo it stands on (or, while dragged, the tempo
// under the mouse) after its track, as every other place names it.
#include "hybrid/SliderContent.h"

class CTempoSliderContent : public CHybridSlider
{
public:
    void Draw(CDC* dc, CRect rect) override;
    // The tempo written after the track: the one under the mouse while the
    // slider is dragged, else the one it stands on.
    CString GetShownText();
};
