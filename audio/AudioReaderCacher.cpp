#include "audio/AudioReaderCacher.h"

#include <cstdlib>
#include <cstring>

#include "audio/CreateAudioReader.h"
#include "common/CritSecLock.h"

CAudioReaderCacher::CAudioReaderCacher(IAudioReader* inner) : m_inner(inner)
{
    if (inner)
        inner->QueryInterface(IID_IProcess, reinterpret_cast<void**>(&m_innerProcess));
}

CAudioReaderCacher::~CAudioReaderCacher()
{
    CAudioReader::Abort();
    if (m_inner)
        m_inner->Abort();
    m_loader.Join(); // from the loader itself (its release was the last) this does not wait
    std::free(m_cache);
}

bool CAudioReaderCacher::Open(LPCWSTR path)
{
    if (!m_inner || m_cache || m_loader.IsStarted() || !m_inner->Open(path))
        return false;
    m_format = *m_inner->GetFormat();
    m_blockAlign = m_format.GetBlockAlign();
    if (m_blockAlign <= 0)
        return false;
    // Whole frames only: a trailing partial frame is never asked for.
    const LONGLONG size = m_inner->GetDataSize() / m_blockAlign * m_blockAlign;
    m_cDataSize = size;
    m_cFrameCount = size / m_blockAlign;
    m_cDuration = m_inner->GetDuration();
    if (size <= 0)
        return false; // not one whole frame
    if (size >= kCacheLimit)
        return true;
    m_cache = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(size)));
    if (!m_cache)
        return true; // served like a file too large to cache
    GetOwnPeakContainer(&m_loaderPeaks);
    if (!m_loader.Start(&CAudioReaderCacher::LoaderProc, this)) {
        m_loaderPeaks = nullptr;
        std::free(m_cache);
        m_cache = nullptr;
    }
    return true;
}

UINT CAudioReaderCacher::LoaderProc(LPVOID param)
{
    auto* self = static_cast<CAudioReaderCacher*>(param);
    if (!self)
        return static_cast<UINT>(-1);
    self->Load();
    return 0;
}

void CAudioReaderCacher::Load()
{
    CIPtr<IPeakContainer> peaks;
    peaks.Attach(m_loaderPeaks.Detach());
    // A source that cannot start ends at its first frame.
    const bool started = m_innerProcess && m_innerProcess->Start();

    const LONGLONG size = m_cDataSize;
    LONGLONG loaded = 0; // every byte read, a partial frame included
    LONGLONG filled = 0; // whole frames of it
    bool ended = !started;
    while (!ended && filled < size && !IsAborted()) {
        // Ask for whole frames, counting a partial frame that is already in.
        LONGLONG upTo = loaded + kLoadBlock;
        if (upTo > size)
            upTo = size;
        upTo = upTo / m_blockAlign * m_blockAlign;
        DWORD got = 0;
        if (!m_inner->Read(m_cache + loaded, static_cast<DWORD>(upTo - loaded), &got) || got == 0) {
            ended = true;
            break;
        }
        loaded += got;
        const LONGLONG whole = loaded / m_blockAlign * m_blockAlign;
        if (whole > filled) {
            if (peaks)
                peaks->AddSamples(reinterpret_cast<const int16_t*>(m_cache + filled), static_cast<int>(whole - filled));
            filled = whole;
            m_filled = filled;
        }
    }
    if (started && !m_innerProcess->Stop()) {
        // It would go on decoding for nobody: end its work.
        m_inner->Abort();
    }
    bool ready = filled >= size;
    if (ended && !IsAborted()) {
        FinishEarly(filled);
        // The container compares what it got with the cut frame count: its
        // peaks are complete before the wrapper reports ready.
        if (peaks)
            peaks->AddSamples(nullptr, 0);
        ready = true;
    }
    if (ready)
        m_ready = true;
    // Last: this release may be the wrapper's last reference.
    peaks = nullptr;
}

void CAudioReaderCacher::FinishEarly(LONGLONG filled)
{
    const LONGLONG frames = filled / m_blockAlign;
    m_cFrameCount = frames;
    m_cDataSize = filled;
    if (m_format.nSamplesPerSec > 0)
        m_cDuration = frames * 1000 / static_cast<LONGLONG>(m_format.nSamplesPerSec);
}

LONGLONG CAudioReaderCacher::GetDuration()
{
    return m_inner ? m_cDuration.load() : 0;
}

LONGLONG CAudioReaderCacher::GetDataSize()
{
    return m_inner ? m_cDataSize.load() : 0;
}

LONGLONG CAudioReaderCacher::GetFrameCount()
{
    return m_inner ? m_cFrameCount.load() : 0;
}

bool CAudioReaderCacher::GetPeakContainer(IPeakContainer** out, IAudioReader* source)
{
    if (!source && !m_cache && m_inner) {
        // Uncached: build from a reader of our own, so the peak builder never
        // moves the position that playback reads from.
        CCritSecLock lock(&m_lock);
        if (!m_peakSource && !IsAborted()) {
            IAudioReader* second = nullptr;
            if (CreateAudioReader(m_inner->GetPath(), &second, false))
                m_peakSource.Attach(second);
        }
        if (m_peakSource)
            source = m_peakSource;
        return CAudioReader::GetPeakContainer(out, source);
    }
    return CAudioReader::GetPeakContainer(out, source);
}

bool CAudioReaderCacher::GetOwnPeakContainer(IPeakContainer** out)
{
    return CAudioReader::GetPeakContainer(out, this);
}

void CAudioReaderCacher::Abort()
{
    CAudioReader::Abort();
    if (m_inner)
        m_inner->Abort();
    CIPtr<IAudioReader> second;
    {
        CCritSecLock lock(&m_lock);
        second = m_peakSource;
    }
    if (second)
        second->Abort();
}

bool CAudioReaderCacher::Read(void* buffer, DWORD bytes, DWORD* got)
{
    if (!m_inner)
        return false;
    if (!m_cache)
        return m_inner->Read(buffer, bytes, got);
    const LONGLONG frames = m_cFrameCount;
    if (!buffer || !got || bytes == 0 || m_cPosition >= frames)
        return false;
    LONGLONG n = (frames - m_cPosition) * m_blockAlign;
    if (n > bytes)
        n = bytes;
    n = n / m_blockAlign * m_blockAlign;
    if (n == 0)
        return false; // the buffer cannot take one frame
    std::memcpy(buffer, m_cache + m_cPosition * m_blockAlign, static_cast<size_t>(n));
    *got = static_cast<DWORD>(n);
    m_cPosition += n / m_blockAlign;
    return true;
}

bool CAudioReaderCacher::Seek(LONGLONG frame, DWORD* reserved)
{
    if (!m_inner)
        return false;
    if (!m_cache)
        return m_inner->Seek(frame, reserved);
    if (frame < 0 || frame >= m_cFrameCount)
        return false; // a frame the cache holds, or nothing
    m_cPosition = frame;
    return true;
}

LONGLONG CAudioReaderCacher::GetPosition()
{
    if (!m_inner)
        return 0;
    return m_cache ? m_cPosition : m_inner->GetPosition();
}

bool CAudioReaderCacher::IsReady(DWORD* percent)
{
    if (!m_inner)
        return false;
    if (!m_cache || m_ready)
        return true;
    if (percent) {
        const LONGLONG size = m_cDataSize;
        *percent = size > 0 ? static_cast<DWORD>(m_filled * 100 / size) : 0;
    }
    return false;
}

bool CAudioReaderCacher::BuildsPeaksOnThread()
{
    // A cached file's container is filled by the loader.
    return m_cache == nullptr;
}

bool CAudioReaderCacher::Start()
{
    if (!m_innerProcess || !IsReady())
        return false;
    if (!m_cache)
        return m_innerProcess->Start();
    if (m_cacheRunning)
        return false;
    m_cacheRunning = true;
    m_cPosition = 0;
    return true;
}

bool CAudioReaderCacher::Stop()
{
    if (!m_innerProcess)
        return false;
    if (!m_cache)
        return m_innerProcess->Stop();
    if (!m_cacheRunning)
        return false;
    m_cacheRunning = false;
    return true;
}

bool CAudioReaderCacher::IsRunning()
{
    if (!m_innerProcess)
        return false;
    return m_cache ? m_cacheRunning : m_innerProcess->IsRunning();
}
