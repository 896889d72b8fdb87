#include "app/PlayMarks.h"

#include <algorithm>
#include <cmath>

void CPlayMarks::ForgetBefore(LONGLONG frame)
{
    while (m_marks.size() > 1 && m_marks[1].frame <= frame)
        m_marks.pop_front();
}

void CPlayMarks::DropFrom(LONGLONG frame)
{
    while (!m_marks.empty() && m_marks.back().frame >= frame)
        m_marks.pop_back();
}

const SPlayMark* CPlayMarks::At(LONGLONG frame) const
{
    const SPlayMark* found = nullptr;
    for (const SPlayMark& m : m_marks) {
        if (m.frame > frame)
            break;
        found = &m;
    }
    return found;
}

const SPlayMark* CPlayMarks::After(LONGLONG frame) const
{
    for (const SPlayMark& m : m_marks)
        if (m.frame > frame)
            return &m;
    return nullptr;
}

LONGLONG CPlayMarks::TimeAt(LONGLONG frame) const
{
    const SPlayMark* m = At(frame);
    if (!m || m->time < 0)
        return -1;
    const double source = static_cast<double>(frame - m->frame) * m->tempo * 1e6 / m_rate;
    return std::min(m->time + static_cast<LONGLONG>(source), m->last);
}

LONGLONG CPlayMarks::SourceFrameAt(LONGLONG frame) const
{
    const SPlayMark* m = At(frame);
    if (!m || m->time < 0)
        return -1;
    return m->time * static_cast<LONGLONG>(m_rate) / 1000000 +
           std::llround(static_cast<double>(frame - m->frame) * m->tempo);
}

LONGLONG CPlayMarks::NextPassFrame(int pass) const
{
    for (const SPlayMark& m : m_marks)
        if (m.pass > pass)
            return m.frame;
    return -1;
}

LONGLONG CPlayMarks::FrameReaching(LONGLONG from, LONGLONG to, LONGLONG time) const
{
    const SPlayMark* first = At(from);
    if (!first || first->time < 0)
        return -1;
    const LONGLONG next = NextPassFrame(first->pass);
    LONGLONG lo = from, hi = next >= 0 ? std::min(to, next) : to;
    if (lo >= hi || TimeAt(hi - 1) < time)
        return -1;
    // Within a pass the source time grows, but where a cut's new sound
    // begins: the old sound strays from its marks by up to a stretch of the
    // stage, so the new sound may step the marks' time back or on by as
    // much. The frame is found by halving all the same; where the time
    // steps back, it may be found that step early or late.
    while (lo < hi) {
        const LONGLONG mid = lo + (hi - lo) / 2;
        if (TimeAt(mid) >= time)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

LONGLONG CPlayMarks::FrameOfSource(LONGLONG from, LONGLONG to, LONGLONG source) const
{
    const SPlayMark* first = At(from);
    if (!first || first->time < 0)
        return -1;
    if (SourceFrameAt(from) >= source)
        return from;
    for (auto m = m_marks.begin(); m != m_marks.end() && m->frame < to; ++m) {
        if (m->frame < first->frame)
            continue;
        if (m->pass != first->pass)
            break;
        const auto next = m + 1;
        const LONGLONG end = next != m_marks.end() && next->frame < to ? next->frame : to;
        const LONGLONG own = m->time * static_cast<LONGLONG>(m_rate) / 1000000;
        const LONGLONG at = m->frame + std::llround(static_cast<double>(source - own) / m->tempo);
        if (at >= std::max(from, m->frame) && at < end)
            return at;
    }
    return -1;
}

bool CPlayMarks::WrittenFor(LONGLONG frame, LONGLONG first, LONGLONG last) const
{
    const SPlayMark* from = At(frame);
    for (auto m = m_marks.rbegin(); m != m_marks.rend(); ++m) {
        if (m->first != first || m->last != last)
            return false;
        if (&*m == from)
            break;
    }
    return true;
}

void CPlayMarks::TakeRange(LONGLONG frame, LONGLONG first, LONGLONG last)
{
    const SPlayMark* from = At(frame);
    for (auto m = m_marks.rbegin(); m != m_marks.rend(); ++m) {
        m->first = first;
        m->last = last;
        if (&*m == from)
            break;
    }
}

void CPlayMarks::SetPlayOut(LONGLONG passFrame, LONGLONG frame, LONGLONG end)
{
    for (auto m = m_marks.rbegin(); m != m_marks.rend() && m->frame >= passFrame; ++m) {
        m->playOut = frame;
        m->end = end;
    }
}

bool CPlayMarks::PlaysOut(LONGLONG frame) const
{
    const SPlayMark* m = At(frame);
    return m && m->playOut >= 0 && frame >= m->playOut;
}
