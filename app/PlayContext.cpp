#include "app/PlayContext.h"

#include "common/CritSecLock.h"
#include "app/Tempo.h"

void SPlayContext::SetRange(const SFragmentInfo& fragment)
{
    bool changed = false;
    {
        CCritSecLock lock(&m_lock);
        changed = fragment.StartTime != m_fragment.StartTime || fragment.EndTime != m_fragment.EndTime ||
                  fragment.Tempo != m_fragment.Tempo || fragment.Looped != m_fragment.Looped;
        m_fragment = fragment;
    }
    if (changed)
        Wake();
}

void SPlayContext::SetAtOriginalTempo(bool on)
{
    bool changed = false;
    {
        CCritSecLock lock(&m_lock);
        changed = on != m_atOriginalTempo;
        m_atOriginalTempo = on;
    }
    if (changed)
        Wake();
}

SPlaySnapshot SPlayContext::Snapshot() const
{
    CCritSecLock lock(&m_lock);
    SPlaySnapshot s;
    s.fragment = m_fragment;
    s.tempo = m_atOriginalTempo ? 1.0f : ClampTempo(m_fragment.Tempo);
    return s;
}
