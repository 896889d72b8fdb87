#include "app/PlayContext.h"

#include "common/CritSecLock.h"
#include "app/Tempo.h"

void SPlayContext::SetRange(const SFragmentInfo& fragment)
{
    bool wake = false;
    {
        CCritSecLock lock(&m_lock);
        wake = fragment.StartTime != m_fragment.StartTime || fragment.EndTime != m_fragment.EndTime ||
               fragment.Tempo != m_fragment.Tempo || fragment.Looped != m_fragment.Looped || m_handOverAsked;
        m_fragment = fragment;
        ++m_handOvers;
        m_handOverAsked = false;
    }
    if (wake)
        Wake();
}

unsigned SPlayContext::AskHandOver()
{
    CCritSecLock lock(&m_lock);
    m_handOverAsked = true;
    return m_handOvers;
}

unsigned SPlayContext::HandOvers() const
{
    CCritSecLock lock(&m_lock);
    return m_handOvers;
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
