#pragma once
// What Play plays: the selection when there is one, else the active
// fragment, else the whole file once at 1.0x with no pre-delay. The active
// fragment gives the tempo, the loop flag and the pre-delay also when the
// selection gives the range. Chosen again on every play-position message,
// so that changes reach a running playback at once.
#include "audio/IAudioReader.h"
#include "app/ITimeContainer.h"
#include "app/ViewInterfaces.h"

SFragmentInfo ChoosePlayRange(IFragmentDisplay* fragments, ITimeContainer* time, IAudioReader* reader);
