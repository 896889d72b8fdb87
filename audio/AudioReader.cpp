#include "audio/AudioReader.h"

#include "audio/PeakContainer.h"
#include "common/CritSecLock.h"

CAudioReader::CAudioReader() = default;

CAudioReader::~CAudioReader() = default;

HRESULT STDMETHODCALLTYPE CAudioReader::QueryInterface(REFIID iid, void** out)
{
    return AnswerQueryInterface(iid, out,
                                {{IID_IUnknown, static_cast<IAudioReader*>(this)},
                                 {IID_IAudioReader, static_cast<IAudioReader*>(this)},
                                 {IID_IProcess, static_cast<IProcess*>(this)}});
}

ULONG STDMETHODCALLTYPE CAudioReader::AddRef()
{
    return m_refs.AddRef();
}

ULONG STDMETHODCALLTYPE CAudioReader::Release()
{
    return m_refs.Release(this);
}

bool CAudioReader::Open(LPCWSTR path)
{
    SetPath(path);
    return true;
}

LONGLONG CAudioReader::GetDuration()
{
    return m_duration;
}

LONGLONG CAudioReader::GetDataSize()
{
    return static_cast<LONGLONG>(m_dataSize);
}

LONGLONG CAudioReader::GetFrameCount()
{
    const LONGLONG align = m_format.GetBlockAlign();
    return align > 0 ? GetDataSize() / align : 0;
}

bool CAudioReader::GetPeakContainer(IPeakContainer** out, IAudioReader* source)
{
    CCritSecLock lock(&m_lock);
    if (!m_peaks) {
        CPeakContainer* made = new (std::nothrow) CPeakContainer(source ? source : this, BuildsPeaksOnThread());
        if (!made)
            return false;
        m_peaks = made;
        m_peaks->StartBuild();
    }
    return ReturnInterface(m_peaks, out);
}

void CAudioReader::Abort()
{
    CIPtr<IPeakContainer> dropped;
    {
        CCritSecLock lock(&m_lock);
        m_aborted = true;
        dropped = m_peaks;
        m_peaks = nullptr;
    }
    // Released outside the lock: the container's last release may wait for
    // its builder, which asks this reader whether it was aborted.
}

bool CAudioReader::IsAborted()
{
    return m_aborted;
}

SAudioFormat* CAudioReader::GetFormat()
{
    return &m_format;
}

LONGLONG CAudioReader::GetPosition()
{
    return m_position;
}

LPCWSTR CAudioReader::GetPath()
{
    return m_path;
}

bool CAudioReader::IsReady(DWORD*)
{
    return true;
}

bool CAudioReader::Start()
{
    return true;
}

bool CAudioReader::Stop()
{
    return true;
}

bool CAudioReader::IsRunning()
{
    return m_running;
}

bool CAudioReader::BuildsPeaksOnThread()
{
    return true;
}

void CAudioReader::SetPath(LPCWSTR path)
{
    if (path)
        m_path = path;
}
