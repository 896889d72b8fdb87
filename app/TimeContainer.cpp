#include "app/TimeContainer.h"

#include <algorithm>
#include "common/CritSecLock.h"

namespace {

// A column this far off the view is off any screen, and drawing at it
// (the view's left edge added) stays within what the system draws at.
constexpr __int128 kFarColumn = 1 << 26;

} // namespace

CTimeContainer::CTimeContainer() = default;

// The displays and the reader go with their arrays' and pointers' own
// destructors; the lock goes last.
CTimeContainer::~CTimeContainer() = default;

STDMETHODIMP CTimeContainer::QueryInterface(REFIID riid, void** out)
{
    return AnswerQueryInterface(
        riid, out,
        {{IID_IUnknown, static_cast<ITimeContainer*>(this)}, {IID_ITimeContainer, static_cast<ITimeContainer*>(this)}});
}

void CTimeContainer::NotifyAll(ENotice notice)
{
    // The bound is read on every step: a view may clear the container
    // while it is being told.
    for (INT_PTR i = 0; i < m_displays.GetSize(); ++i) {
        CIPtr<IDisplay> display(m_displays[i]);
        if (!display)
            continue;
        switch (notice) {
        case ENotice::Invalidate: display->Invalidate(); break;
        case ENotice::Selection: display->OnSelectionChanged(); break;
        case ENotice::PlayCursor: display->OnPlayCursorChanged(); break;
        case ENotice::PlayPosition: display->OnPlayPositionChanged(); break;
        }
    }
}

void CTimeContainer::SetPosition(LONGLONG t)
{
    CCritSecLock lock(&m_lock);
    if (t == m_position)
        return;
    m_position = t;
    NotifyAll(ENotice::Invalidate);
}

LONGLONG CTimeContainer::GetSelMin()
{
    return std::min<LONGLONG>(m_selStart, m_selEnd);
}

LONGLONG CTimeContainer::GetSelMax()
{
    return std::max<LONGLONG>(m_selStart, m_selEnd);
}

void CTimeContainer::SetSelection(LONGLONG a, LONGLONG b)
{
    CCritSecLock lock(&m_lock);
    m_selStart = std::min(a, b);
    m_selEnd = std::max(a, b);
    NotifyAll(ENotice::Selection);
}

bool CTimeContainer::IsInSelection(LONGLONG t)
{
    CCritSecLock lock(&m_lock);
    return HasSelection() && GetSelMin() <= t && t <= GetSelMax();
}

bool CTimeContainer::HasSelection()
{
    CCritSecLock lock(&m_lock);
    return m_selStart != m_selEnd;
}

bool CTimeContainer::SetScale(LONGLONG scale)
{
    CCritSecLock lock(&m_lock);
    scale = std::clamp<LONGLONG>(scale, 10, kMaxScale);
    if (scale == m_scale)
        return false;
    m_scale = scale;
    NotifyAll(ENotice::Invalidate);
    return true;
}

LONGLONG CTimeContainer::PixelToTime(int x, bool absolute)
{
    const LONGLONG span = static_cast<LONGLONG>(x) * 10 * m_scale;
    return absolute ? span + m_position : span;
}

int CTimeContainer::TimeToPixel(LONGLONG t, bool relative)
{
    // The scale never drops below 10, so the divisor is never 0. Times far
    // outside the view (a damaged fragment's) give a column far outside it
    // too, never one wrapped into it.
    const __int128 d = relative ? static_cast<__int128>(t) - m_position : t;
    const __int128 column = d / (m_scale * 10);
    return static_cast<int>(std::clamp<__int128>(column, -kFarColumn, kFarColumn));
}

void CTimeContainer::SetReader(IAudioReader* reader)
{
    if (!reader)
        return;
    CCritSecLock lock(&m_lock);
    m_reader = reader;
    UpdateLength();
}

void CTimeContainer::UpdateLength()
{
    CCritSecLock lock(&m_lock);
    if (m_reader) {
        m_length = m_reader->GetDuration() * 1000;
    } else {
        m_length = 0;
        m_position = 0;
        m_selStart = 0;
        m_selEnd = 0;
        m_prevPlayCursor = -1;
        m_playCursor = -1;
    }
    NotifyAll(ENotice::Invalidate);
}

void CTimeContainer::AddDisplay(IDisplay* display)
{
    if (!display)
        return;
    CCritSecLock lock(&m_lock);
    m_displays.Add(display);
}

void CTimeContainer::SetPlayCursor(LONGLONG t)
{
    CCritSecLock lock(&m_lock);
    if (t > m_length)
        return;
    m_prevPlayCursor = m_playCursor.load();
    m_playCursor = t;
    NotifyAll(ENotice::PlayCursor);
}

void CTimeContainer::SetPlayPosition(LONGLONG t)
{
    CCritSecLock lock(&m_lock);
    // Negative first: with a length of 0 the request ends at -1 (none).
    t = std::max<LONGLONG>(t, 0);
    if (t >= m_length)
        t = m_length - 1;
    if (t == m_playPosition)
        return;
    m_playPosition = t;
    NotifyAll(ENotice::PlayPosition);
}

LONGLONG CTimeContainer::GetPlayPosition(bool clear)
{
    CCritSecLock lock(&m_lock);
    const LONGLONG t = m_playPosition;
    if (clear)
        m_playPosition = -1;
    return t;
}

void CTimeContainer::Clear()
{
    // A view released here may hold the last other reference to this object.
    CIPtr<ITimeContainer> self(this);
    CIArray<IDisplay> leaving;
    CIPtr<IAudioReader> reader;
    {
        CCritSecLock lock(&m_lock);
        leaving.Copy(m_displays);
        m_displays.RemoveAll();
        reader = m_reader;
        m_reader = nullptr;
    }
    // The views and the reader are let go outside the lock: their
    // destructors may wait for other threads.
}
