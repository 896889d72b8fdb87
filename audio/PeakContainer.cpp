#include "audio/PeakContainer.h"

#include <algorithm>
#include <climits>
#include <emmintrin.h>
#include <new>

#include "audio/PeakFileCache.h"
#include "common/CritSecLock.h"

namespace {
constexpr DWORD kBuildBlock = 65536;

// Lowers *lo and raises *hi to the extremes of n samples, eight at a time
// (a peak spans a few dozen samples: too few for the compiler's own loop
// vectorising to pay, and the min/max pass is half of opening a file).
void MinMax(const int16_t* s, size_t n, int16_t* lo, int16_t* hi)
{
    size_t i = 0;
    if (n >= 8) {
        __m128i vlo = _mm_set1_epi16(*lo), vhi = _mm_set1_epi16(*hi);
        for (; i + 8 <= n; i += 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            vlo = _mm_min_epi16(vlo, v);
            vhi = _mm_max_epi16(vhi, v);
        }
        if (i < n) {
            // The last eight samples, some of them taken already: the
            // extremes stay the same, and no sample is left for a scalar
            // tail.
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + n - 8));
            vlo = _mm_min_epi16(vlo, v);
            vhi = _mm_max_epi16(vhi, v);
            i = n;
        }
        // Fold the eight lanes in the registers: halves, quarters, pairs.
        vlo = _mm_min_epi16(vlo, _mm_shuffle_epi32(vlo, _MM_SHUFFLE(1, 0, 3, 2)));
        vhi = _mm_max_epi16(vhi, _mm_shuffle_epi32(vhi, _MM_SHUFFLE(1, 0, 3, 2)));
        vlo = _mm_min_epi16(vlo, _mm_shuffle_epi32(vlo, _MM_SHUFFLE(2, 3, 0, 1)));
        vhi = _mm_max_epi16(vhi, _mm_shuffle_epi32(vhi, _MM_SHUFFLE(2, 3, 0, 1)));
        vlo = _mm_min_epi16(vlo, _mm_srli_epi32(vlo, 16));
        vhi = _mm_max_epi16(vhi, _mm_srli_epi32(vhi, 16));
        *lo = static_cast<int16_t>(_mm_extract_epi16(vlo, 0));
        *hi = static_cast<int16_t>(_mm_extract_epi16(vhi, 0));
    }
    for (; i < n; ++i) {
        *lo = s[i] < *lo ? s[i] : *lo;
        *hi = s[i] > *hi ? s[i] : *hi;
    }
}
} // namespace

CPeakContainer::CPeakContainer(IAudioReader* source, bool buildOnThread)
    : m_source(source), m_buildOnThread(buildOnThread)
{
    if (!source) {
        m_complete = true; // nothing to describe, nothing to wait for
        return;
    }
    if (const SAudioFormat* f = source->GetFormat())
        m_format = *f;
    m_duration = source->GetDuration();
    m_dataSize = source->GetDataSize();
    m_frameCount = source->GetFrameCount();

    // A container without peaks has nothing to build: it is complete at
    // once, so that nobody waits for peaks that never come.
    m_complete = !MakePeaks();
}

bool CPeakContainer::MakePeaks()
{
    // Peaks are made of 16-bit samples only.
    if (m_format.nBitsPerSample != 16)
        return false;
    // Two peaks per millisecond, then as many whole peaks of equal length as
    // the frames make, so that the peaks end at the file's end. Rates below
    // 2000 Hz give fewer frames than that: one frame per peak.
    const LONGLONG roughCount = m_duration * 2;
    if (m_duration <= 0 || m_frameCount <= 0 || roughCount <= 0 || roughCount > INT_MAX)
        return false;
    const LONGLONG framesPerPeak = std::max<LONGLONG>(1, m_frameCount / roughCount);
    if (framesPerPeak > INT_MAX)
        return false;
    const LONGLONG count = m_frameCount / framesPerPeak;
    if (count <= 0 || count > INT_MAX)
        return false;
    try {
        m_peaks.assign(static_cast<size_t>(count), SPeak());
    } catch (const std::bad_alloc&) {
        m_peaks.clear();
        return false;
    }
    m_framesPerPeak = static_cast<int>(framesPerPeak);
    m_peakCount = static_cast<int>(count);
    return true;
}

CPeakContainer::~CPeakContainer()
{
    StopAndWait();
}

HRESULT STDMETHODCALLTYPE CPeakContainer::QueryInterface(REFIID iid, void** out)
{
    return AnswerQueryInterface(
        iid, out,
        {{IID_IUnknown, static_cast<IPeakContainer*>(this)}, {IID_IPeakContainer, static_cast<IPeakContainer*>(this)}});
}

ULONG STDMETHODCALLTYPE CPeakContainer::AddRef()
{
    return m_refs.AddRef();
}

ULONG STDMETHODCALLTYPE CPeakContainer::Release()
{
    return m_refs.Release(this);
}

bool CPeakContainer::StartBuild()
{
    if (!m_buildOnThread)
        return true;
    CCritSecLock lock(&m_lock);
    if (m_builder.IsStarted())
        return true;
    // The builder holds its own reference to the container while it runs;
    // when it cannot start, the reference goes again (never the last: the
    // caller holds one).
    auto held = std::make_unique<CIPtr<CPeakContainer>>(this);
    if (!m_builder.Start(&CPeakContainer::BuilderProc, held.get(), THREAD_PRIORITY_BELOW_NORMAL))
        return false;
    held.release(); // the builder's now
    return true;
}

UINT CPeakContainer::BuilderProc(LPVOID param)
{
    std::unique_ptr<CIPtr<CPeakContainer>> held(static_cast<CIPtr<CPeakContainer>*>(param));
    if (!held || !*held)
        return static_cast<UINT>(-1);
    CPeakContainer* self = held->Get();
    self->Build();
    {
        // A destructor run by the release below must not wait for this thread.
        CCritSecLock lock(&self->m_lock);
        self->m_builder.Forget();
    }
    held.reset();
    return 0;
}

void CPeakContainer::StopAndWait()
{
    m_stop = true;
    CWorkerThread builder;
    {
        CCritSecLock lock(&m_lock);
        builder = std::move(m_builder);
    }
    builder.Join(); // outside the lock: the builder takes it on its way out
}

void CPeakContainer::Build()
{
    if (!m_source)
        return;
    CIPtr<IProcess> process;
    if (FAILED(m_source->QueryInterface(IID_IProcess, reinterpret_cast<void**>(&process))) || !process)
        return;
    while (!m_source->IsReady()) {
        if (m_source->IsAborted() || m_stop)
            return;
        Sleep(10);
    }
    if (m_peakCount > 0 && !ReadSource(process))
        return; // stopped or aborted: the owner is going
    CutToSource();
    // Read to the source's end, or as far as it could be read: the peaks
    // end there, and the build never leaves them "still building".
    m_complete = true;
    // Old peak files of the aux folder are kept within the configured size.
    CPeakFileCache().Trim();
    NotifyListeners();
}

bool CPeakContainer::ReadSource(IProcess* process)
{
    // A buffer per build: two containers may build at the same time.
    std::vector<int16_t> buffer;
    try {
        buffer.resize(kBuildBlock / sizeof(int16_t));
    } catch (const std::bad_alloc&) {
        return true; // nothing can be read: the peaks stay as they are
    }
    if (!process->Start())
        return true; // the source cannot be read: its peaks stay empty
    LONGLONG done = 0;
    while (done < m_dataSize && !m_stop && !m_source->IsAborted()) {
        DWORD got = 0;
        if (!m_source->Read(buffer.data(), kBuildBlock, &got) || got == 0)
            break; // the source ended, early or not
        AddSamples(buffer.data(), static_cast<int>(got));
        done += got;
    }
    if (!process->Stop()) {
        // A source that cannot stop its background work would go on
        // decoding for nobody: end it.
        m_source->Abort();
    }
    return !m_stop && !m_source->IsAborted();
}

void CPeakContainer::NotifyListeners()
{
    // Walk a copy taken under the lock, so that the user-interface thread can
    // add or remove listeners meanwhile and a redraw that waits for that
    // thread cannot deadlock with it.
    CIArray<IDisplay> listeners;
    {
        CCritSecLock lock(&m_lock);
        for (int i = 0; i < m_listeners.GetSize(); ++i)
            listeners.Add(m_listeners.GetAt(i));
    }
    for (int i = 0; i < listeners.GetSize() && !m_stop; ++i)
        if (IDisplay* d = listeners.GetAt(i))
            d->Invalidate();
}

void CPeakContainer::AddSamples(const int16_t* samples, int bytes)
{
    const int align = m_format.GetBlockAlign();
    if (samples && bytes > 0 && align > 0 && m_format.nBitsPerSample == 16 && m_peakCount > 0) {
        const int channels = static_cast<int>(m_format.nChannels);
        LONGLONG frames = bytes / align;
        const int16_t* s = samples;
        // One division per call: the peaks then follow one another.
        LONGLONG index = m_framesDone / m_framesPerPeak;
        LONGLONG into = m_framesDone - index * m_framesPerPeak; // frames of this peak already done
        const int count = m_peakCount;
        int current = m_currentIndex;
        while (frames > 0) {
            if (index > current) {
                current = static_cast<int>(index < INT_MAX ? index : INT_MAX);
                m_currentIndex = current;
            }
            // Frames that still belong to this peak.
            LONGLONG run = m_framesPerPeak - into;
            if (run > frames)
                run = frames;
            if (index < count) {
                // Extremes of the 16-bit samples first; the shift to 8 bits
                // keeps their order.
                int16_t lo = 0, hi = 0;
                MinMax(s, static_cast<size_t>(run * channels), &lo, &hi);
                SPeak& p = m_peaks[static_cast<size_t>(index)];
                const auto lo8 = static_cast<int8_t>(lo >> 8);
                const auto hi8 = static_cast<int8_t>(hi >> 8);
                if (lo8 < p.min)
                    p.min = lo8;
                if (hi8 > p.max)
                    p.max = hi8;
            }
            s += run * channels;
            m_framesDone += run;
            frames -= run;
            into += run;
            if (into == m_framesPerPeak) {
                ++index;
                into = 0;
            }
        }
    }
    // A source that ended early cuts its frame count to what it delivered
    // (the whole-file cache does): the peaks are complete at that end.
    if (m_source && m_framesDone < m_frameCount) {
        const LONGLONG now = m_source->GetFrameCount();
        if (now >= 0 && now < m_frameCount && m_framesDone >= now) {
            CutToSource();
            m_complete = true;
        }
    }
    if (m_frameCount > 0 && m_framesDone >= m_frameCount)
        m_complete = true;
}

void CPeakContainer::CutToSource()
{
    if (!m_source || m_framesPerPeak <= 0)
        return;
    const LONGLONG now = m_source->GetFrameCount();
    if (now < 0 || now >= m_frameCount)
        return;
    // Every delivered frame keeps its peak: a last, partly filled one too.
    const LONGLONG count = (now + m_framesPerPeak - 1) / m_framesPerPeak;
    m_frameCount = now;
    m_dataSize = now * m_format.GetBlockAlign();
    m_duration = m_source->GetDuration();
    if (count < m_peakCount)
        m_peakCount = static_cast<int>(count);
}

bool CPeakContainer::GetPeak(LONGLONG from, LONGLONG to, SPeak* out)
{
    // One reading of each: the filling thread may cut them meanwhile.
    const int count = m_peakCount;
    const LONGLONG duration = m_duration;
    if (!m_source || count <= 0 || duration <= 0 || !out)
        return false;
    const __int128 d = static_cast<__int128>(duration) * 1000;
    const __int128 n = count;
    if (from < 0 || from >= d)
        return false;
    const int first = static_cast<int>(from * n / d);
    if (first < 0 || first >= count)
        return false;
    const __int128 lastWide = to <= 0 ? 0 : (to >= d ? n : to * n / d);
    const int last = static_cast<int>(lastWide > n ? n : lastWide);
    SPeak r;
    for (int i = first; i < last; ++i) {
        const SPeak p = m_peaks[static_cast<size_t>(i)];
        if (p.min < r.min)
            r.min = p.min;
        if (p.max > r.max)
            r.max = p.max;
    }
    *out = r;
    return true;
}

int CPeakContainer::AddListener(IDisplay* display)
{
    if (!display)
        return -1;
    CCritSecLock lock(&m_lock);
    const int at = m_listeners.Find(display);
    return at >= 0 ? at : static_cast<int>(m_listeners.Add(display));
}

bool CPeakContainer::RemoveListener(IDisplay* display)
{
    if (!display)
        return false;
    CCritSecLock lock(&m_lock);
    const int at = m_listeners.Find(display);
    if (at < 0)
        return false;
    m_listeners.RemoveAt(at, 1);
    return true;
}

IAudioReader* CPeakContainer::GetReader()
{
    return m_source;
}

bool CPeakContainer::IsComplete()
{
    return m_complete;
}

int CPeakContainer::GetPeakCount()
{
    return m_peakCount;
}

int CPeakContainer::GetCurrentIndex()
{
    return m_currentIndex;
}
