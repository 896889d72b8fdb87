#pragma once
// The application's audio views, as far as the audio engine knows them: the
// peak container keeps its listeners as IDisplay and calls only the content
// operation Invalidate on them.
#include "audio/AudioIIDs.h"
#include "hybrid/IHybridContent.h"

struct IAudioReader;

struct IDisplay : public IHybridContent
{
    virtual void SetReader(IAudioReader* reader) = 0;
    virtual void OnPlayCursorChanged() = 0;
    virtual void OnPlayPositionChanged() = 0;
    virtual void OnSelectionChanged() = 0;
};
