// The pass being written: from the file through the time-stretch stage into
// the output, with the fades at a pass's ends and the mirrored tail that
// plays the stage's held-back input out.
#include "app/Player.h"

#include <algorithm>
#include <cmath>

#include "common/CritSecLock.h"

namespace playback {

constexpr int kCycleBytes = 8192; // output bytes per cycle at any tempo

LONGLONG CPlayer::FrameOfTime(LONGLONG t) const
{
    const LONGLONG frame = t * static_cast<LONGLONG>(m_format.nSamplesPerSec) / 1000000;
    return std::clamp<LONGLONG>(frame, 0, m_frameCount);
}

LONGLONG CPlayer::TimeOfFrame(LONGLONG frame) const
{
    const LONGLONG rate = m_format.nSamplesPerSec;
    return (frame * 1000000 + rate - 1) / rate;
}

LONGLONG CPlayer::EndFrame(const SPlaySnapshot& s) const
{
    // A range that reaches the file's (millisecond-rounded) length ends with
    // the file's last frame.
    if (s.RangeMax() >= m_reader->GetDuration() * 1000)
        return m_frameCount;
    return FrameOfTime(s.RangeMax());
}

bool CPlayer::BeginAt(LONGLONG t, const SPlaySnapshot& s)
{
    LONGLONG frame = FrameOfTime(t);
    if (frame >= m_frameCount)
        frame = m_frameCount > 0 ? m_frameCount - 1 : 0;
    if (!m_reader->Seek(frame))
        return false;
    m_currentFrame = frame;
    m_inPos = m_inEnd = 0;
    m_readTime = t;
    m_stretch->clear();
    m_passOut = m_written;
    m_expectedOut = 0;
    m_producedOut = 0;
    m_inputDone = false;
    m_fadeOut = false;
    // After the pre-delay's silence, or cut out of the file's sound.
    m_fadeIn = frame > 0 || m_written > 0;
    m_tail.clear();
    AddMark(t, s.tempo, s);
    return true;
}

void CPlayer::AddMark(LONGLONG time, float tempo, const SPlaySnapshot& s)
{
    CCritSecLock lock(&m_markLock);
    m_marks.Add({m_passOut + std::llround(m_expectedOut), time, tempo, s.RangeMin(), s.RangeMax(), m_passesBegun});
    m_markTempo = tempo;
}

bool CPlayer::BeginAfter(LONGLONG silence, LONGLONG t, const SPlaySnapshot& s)
{
    m_writing = true;
    if (silence <= 0)
        return BeginAt(t, s);
    m_passOut = m_written;
    m_expectedOut = 0;
    AddMark(-1, 1.0f, s);
    // The first pass is to be played at the tempo of the moment: another
    // one while the silence is heard starts it afresh.
    m_markTempo = s.tempo;
    m_silenceLeft = silence;
    m_firstPass = t;
    return true;
}

bool CPlayer::WriteSilencePart(const SPlaySnapshot& s)
{
    const LONGLONG n = std::min<LONGLONG>(m_silenceLeft, kBufferBytes / m_frameSize);
    WriteOut(m_silence.data(), static_cast<int>(n * m_frameSize));
    m_silenceLeft -= n;
    return m_silenceLeft > 0 || BeginAt(m_firstPass, s);
}

void CPlayer::WriteOut(const void* data, int bytes)
{
    while (bytes > 0 && !m_ctx->stop) {
        {
            // The count and the output change together for the feeder.
            CCritSecLock lock(&m_markLock);
            if (m_out->Write(data, bytes)) {
                m_written += bytes / m_frameSize;
                return;
            }
        }
        Nap(1);
    }
}

void CPlayer::Ramp(short* samples, int frames) const
{
    const LONGLONG total = std::llround(m_expectedOut);
    for (int i = 0; i < frames; ++i) {
        const LONGLONG at = m_producedOut + i;
        double gain = 1.0;
        if (m_fadeIn && at < m_rampFrames)
            gain = static_cast<double>(at) / m_rampFrames;
        if (m_fadeOut && total - at <= m_rampFrames)
            gain = std::min(gain, static_cast<double>(total - at - 1) / m_rampFrames);
        if (gain < 1.0)
            for (int c = 0; c < m_channels; ++c)
                samples[i * m_channels + c] = static_cast<short>(std::lround(samples[i * m_channels + c] * gain));
    }
}

void CPlayer::TakeStretched()
{
    const int maxFrames = kBufferBytes / m_frameSize;
    // Until the pass's length is known, the frames a fade-out may still
    // need stay with the stage.
    const LONGLONG allowed = std::llround(m_expectedOut) - (m_inputDone ? 0 : m_rampFrames);
    for (;;) {
        const LONGLONG want = allowed - m_producedOut;
        const int have = static_cast<int>(m_stretch->numSamples());
        const int n = static_cast<int>(std::min<LONGLONG>({want, have, maxFrames}));
        if (n <= 0)
            return;
        // Straight from the stage's own output into the ring: one copy, not
        // two through a buffer of ours.
        soundtouch::FIFOSamplePipe* output = m_stretch->getOutput();
        short* samples = output->ptrBegin();
        if ((m_fadeIn && m_producedOut < m_rampFrames) || (m_fadeOut && m_producedOut + n > allowed - m_rampFrames))
            Ramp(samples, n);
        WriteOut(samples, n * m_frameSize);
        const int k = static_cast<int>(output->receiveSamples(static_cast<unsigned>(n)));
        if (k <= 0)
            return;
        m_producedOut += k;
    }
}

void CPlayer::KeepTail(const char* data, int frames, LONGLONG endFrame)
{
    const size_t keep = static_cast<size_t>(m_format.nSamplesPerSec) * kTailMs / 1000 * m_channels;
    if (m_currentFrame + frames + static_cast<LONGLONG>(keep / m_channels) < endFrame)
        return;
    const short* samples = reinterpret_cast<const short*>(data);
    m_tail.insert(m_tail.end(), samples, samples + static_cast<size_t>(frames) * m_channels);
    if (m_tail.size() > keep)
        m_tail.erase(m_tail.begin(), m_tail.end() - static_cast<std::ptrdiff_t>(keep));
}

void CPlayer::PlayOut(float tempo)
{
    const LONGLONG total = std::llround(m_expectedOut);
    const int tailFrames = static_cast<int>(m_tail.size()) / m_channels;
    const int chunk = static_cast<int>(m_pad.size()) / m_channels;
    // Back from the last frame, then forward again, as long as needed.
    LONGLONG step = 0;
    for (int i = 0; i < 256 && !m_ctx->stop && m_producedOut < total; ++i) {
        for (int f = 0; f < chunk; ++f, ++step) {
            if (tailFrames == 0) {
                std::fill(m_pad.begin() + f * m_channels, m_pad.begin() + (f + 1) * m_channels, short(0));
                continue;
            }
            const LONGLONG cycle = tailFrames > 1 ? 2LL * (tailFrames - 1) : 1;
            const LONGLONG k = (step + 1) % cycle;
            const LONGLONG back = k < tailFrames ? k : cycle - k;
            const short* from = &m_tail[static_cast<size_t>(tailFrames - 1 - back) * m_channels];
            std::copy(from, from + m_channels, m_pad.begin() + f * m_channels);
        }
        m_stretch->setTempo(tempo);
        m_stretch->putSamples(m_pad.data(), static_cast<unsigned>(chunk));
        TakeStretched();
    }
}

int CPlayer::TakeInput(int bytes, LONGLONG left)
{
    if (m_inEnd - m_inPos < bytes) {
        // Read ahead as much as the buffer takes (up to the range's end):
        // one call to the reader per many cycles.
        std::copy(m_in.begin() + m_inPos, m_in.begin() + m_inEnd, m_in.begin());
        m_inEnd -= m_inPos;
        m_inPos = 0;
        const LONGLONG room = std::min<LONGLONG>(kBufferBytes - m_inEnd, left - m_inEnd) / m_frameSize * m_frameSize;
        DWORD got = 0;
        if (room > 0 && m_reader->Read(m_in.data() + m_inEnd, static_cast<DWORD>(room), &got))
            m_inEnd += static_cast<int>(got) / m_frameSize * m_frameSize;
    }
    const int n = std::min(bytes, m_inEnd - m_inPos);
    m_inPos += n;
    return n;
}

bool CPlayer::Cycle(const SPlaySnapshot& s)
{
    const float tempo = s.tempo;
    if (tempo != m_markTempo)
        AddMark(m_readTime, tempo, s);
    const LONGLONG endFrame = EndFrame(s);
    if (m_currentFrame > endFrame)
        return EndShort(s, endFrame);
    const LONGLONG left = std::max<LONGLONG>(0, endFrame - m_currentFrame) * m_frameSize;
    const LONGLONG request =
        std::min<LONGLONG>(static_cast<LONGLONG>(tempo * kCycleBytes), left) / m_frameSize * m_frameSize;
    if (request > 0) {
        const int got = TakeInput(static_cast<int>(request), left);
        if (got == 0) {
            // Nothing more comes from the file: what was read is played out.
            m_currentFrame = endFrame;
        }
        const char* data = m_in.data() + m_inPos - got;
        const int frames = got / m_frameSize;
        KeepTail(data, frames, endFrame);
        m_currentFrame += frames;
        m_readTime += static_cast<LONGLONG>(got) * 1000000LL / m_bytesPerSecond;
        m_stretch->setTempo(tempo);
        m_stretch->putSamples(reinterpret_cast<const short*>(data), static_cast<unsigned>(frames));
        m_expectedOut += frames / static_cast<double>(tempo);
        if (m_currentFrame < endFrame) {
            TakeStretched();
            return false;
        }
    }
    // The range's end: the pass fades out when the file goes on after it.
    m_inputDone = true;
    m_fadeOut = endFrame < m_frameCount;
    TakeStretched();
    {
        // What the stage gives from now on comes with the mirrored tail
        // behind it: a cut cannot tell there where its old sound stands.
        const LONGLONG total = std::llround(m_expectedOut);
        const LONGLONG real = std::min<LONGLONG>(total, m_producedOut + m_stretch->numSamples());
        // The end as a time that maps back to the frame after the last.
        const LONGLONG end = endFrame < m_frameCount ? s.RangeMax() : TimeOfFrame(endFrame);
        CCritSecLock lock(&m_markLock);
        m_marks.SetPlayOut(m_passOut, m_passOut + real, end);
    }
    PlayOut(tempo);
    m_stretch->clear();
    return true;
}

bool CPlayer::EndShort(const SPlaySnapshot& s, LONGLONG endFrame)
{
    // Where the marks pace the new end: the pass is as long as an untouched
    // pass of the new range.
    {
        CCritSecLock lock(&m_markLock);
        if (const SPlayMark* m = m_marks.Last()) {
            const LONGLONG own = FrameOfTime(m->time);
            m_expectedOut = static_cast<double>(m->frame - m_passOut) + static_cast<double>(endFrame - own) / m->tempo;
        }
        // What was written already can no longer fade: a pass written to
        // within a fade of the new end ends that much later, with a whole
        // fade.
        m_expectedOut = std::max(m_expectedOut, static_cast<double>(m_producedOut + m_rampFrames));
        const LONGLONG total = std::llround(m_expectedOut);
        m_marks.SetPlayOut(m_passOut, m_passOut + total, s.RangeMax());
    }
    m_inputDone = true;
    m_fadeOut = true; // the file goes on after the new end
    TakeStretched();
    // The stage gives its frames only with input behind them: it is fed on
    // from the file, past the new end, as a play that reads on would be (its
    // last frames may hold up to one of its rounds from just past the end).
    const LONGLONG total = std::llround(m_expectedOut);
    const int bytes = static_cast<int>(m_markTempo * kCycleBytes) / m_frameSize * m_frameSize;
    while (m_producedOut < total && !m_ctx->stop) {
        const int got = TakeInput(bytes, (m_frameCount - m_currentFrame) * m_frameSize);
        if (got == 0) {
            // The file's end: silence plays the stage out.
            m_tail.clear();
            PlayOut(m_markTempo);
            break;
        }
        m_currentFrame += got / m_frameSize;
        m_stretch->setTempo(m_markTempo);
        m_stretch->putSamples(reinterpret_cast<const short*>(m_in.data() + m_inPos - got),
                              static_cast<unsigned>(got / m_frameSize));
        TakeStretched();
    }
    m_stretch->clear();
    return true;
}

} // namespace playback
