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
    for (size_t i = 0; i < m_marks.size(); ++i) {
        const SPlayMark& m = m_marks[i];
        const LONGLONG end = i + 1 < m_marks.size() ? std::min(to, m_marks[i + 1].frame) : to;
        if (end <= from)
            continue;
        if (m.frame >= to || m.pass != first->pass || m.time < 0)
            break;
        if (m.last < time)
            continue; // this stretch never gets there
        // TimeAt truncates, so the first frame at or after `time` is this
        // one, give or take the rounding checked below.
        const double frames = static_cast<double>(time - m.time) * m_rate / (m.tempo * 1e6);
        LONGLONG f = std::max(from, m.frame + std::max<LONGLONG>(0, static_cast<LONGLONG>(std::ceil(frames))));
        while (f > std::max(from, m.frame) && TimeAt(f - 1) >= time)
            --f;
        while (f < end && TimeAt(f) < time)
            ++f;
        if (f < end)
            return f;
    }
    return -1;
}
