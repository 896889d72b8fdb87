#include "app/PlayContext.h"

#include "common/CritSecLock.h"
#include "app/Tempo.h"

void SPlayContext::SetRange(const SFragmentInfo& fragment)
{
    CCritSecLock lock(&m_lock);
    m_fragment = fragment;
}

void SPlayContext::SetAtOriginalTempo(bool on)
{
    CCritSecLock lock(&m_lock);
    m_atOriginalTempo = on;
}

SPlaySnapshot SPlayContext::Snapshot() const
{
    CCritSecLock lock(&m_lock);
    SPlaySnapshot s;
    s.fragment = m_fragment;
    s.tempo = m_atOriginalTempo ? 1.0f : ClampTempo(m_fragment.Tempo);
    return s;
}
