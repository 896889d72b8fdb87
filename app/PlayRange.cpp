#include "app/PlayRange.h"

SFragmentInfo ChoosePlayRange(IFragmentDisplay* fragments, ITimeContainer* time, IAudioReader* reader)
{
    SFragmentInfo range;
    if (!fragments || !fragments->GetActive(range)) {
        range = SFragmentInfo();
        range.EndTime = reader ? reader->GetDuration() * 1000 : 0;
    }
    if (time && time->HasSelection()) {
        range.StartTime = time->GetSelMin();
        range.EndTime = time->GetSelMax();
    }
    return range;
}
