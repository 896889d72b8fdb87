#pragma once
// A listener of the peak container that counts the redraw requests it gets:
// a real content of the toolkit with only Invalidate counted.
#include <atomic>

#include "audio/IDisplay.h"
#include "hybrid/ContentBase.h"

class CTestDisplay : public CContentBase<IDisplay>
{
public:
    std::atomic<int> invalidated{0};

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        return AnswerQuery(iid, out, {Primary(IID_IHybridContent), Primary(IID_IDisplay)});
    }
    LONG Refs() const { return m_refs.Get(); }

    void Invalidate() override { ++invalidated; }
    void SetReader(IAudioReader*) override {}
    void OnPlayCursorChanged() override {}
    void OnPlayPositionChanged() override {}
    void OnSelectionChanged() override { Invalidate(); }
};
