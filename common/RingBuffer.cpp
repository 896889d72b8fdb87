#include "common/RingBuffer.h"

#include <cstdlib>
#include <cstring>

#include "common/CritSecLock.h"

CRingBuffer::CRingBuffer(int capacity)
    : m_capacity(capacity > 0 ? capacity : 0),
      m_base(capacity > 0 ? static_cast<unsigned char*>(std::malloc(capacity)) : nullptr), m_write(m_base),
      m_read(m_base), m_wrapped(false)
{
    if (!m_base)
        m_capacity = 0;
}

CRingBuffer::~CRingBuffer()
{
    std::free(m_base);
}

int CRingBuffer::DataSizeLocked() const
{
    if (!m_base)
        return 0;
    if (!m_wrapped)
        return static_cast<int>(m_write - m_read);
    return m_capacity - static_cast<int>(m_read - m_base) + static_cast<int>(m_write - m_base);
}

int CRingBuffer::GetDataSize()
{
    CCritSecLock lock(&m_lock);
    return DataSizeLocked();
}

int CRingBuffer::GetFreeSpace()
{
    CCritSecLock lock(&m_lock);
    return m_capacity - DataSizeLocked();
}

bool CRingBuffer::Write(const void* src, int n)
{
    CCritSecLock lock(&m_lock);
    // A negative or oversize count never reaches a copy.
    if (!src || n <= 0 || !m_base || n > m_capacity - DataSizeLocked())
        return false;
    const auto* from = static_cast<const unsigned char*>(src);
    if (m_wrapped) {
        std::memcpy(m_write, from, n); // the gap up to m_read is large enough
        m_write += n;
        return true;
    }
    const int toEnd = static_cast<int>(m_base + m_capacity - m_write);
    const int first = n < toEnd ? n : toEnd;
    std::memcpy(m_write, from, first);
    m_write += first;
    if (first < n) {
        m_write = m_base;
        std::memcpy(m_write, from + first, n - first);
        m_write += n - first;
        m_wrapped = true;
    }
    return true;
}

bool CRingBuffer::WriteSilence(int n)
{
    CCritSecLock lock(&m_lock);
    if (n <= 0 || !m_base || n > m_capacity - DataSizeLocked())
        return false;
    void* zeros = std::calloc(n, 1);
    if (!zeros)
        return false;
    const bool ok = Write(zeros, n);
    std::free(zeros);
    return ok;
}

int CRingBuffer::ReadLocked(unsigned char* dst, int n)
{
    if (!m_wrapped) {
        const int avail = static_cast<int>(m_write - m_read);
        const int piece = n < avail ? n : avail;
        if (dst && piece > 0)
            std::memcpy(dst, m_read, piece);
        m_read += piece;
        return piece;
    }
    const int tail = static_cast<int>(m_base + m_capacity - m_read);
    const int piece = n < tail ? n : tail;
    if (dst && piece > 0) {
        std::memcpy(dst, m_read, piece);
        dst += piece;
    }
    m_read += piece;
    if (piece == tail) {
        m_read = m_base;
        m_wrapped = false;
    }
    if (piece < n)
        return piece + ReadLocked(dst, n - piece);
    return piece;
}

int CRingBuffer::Read(void* dst, int n)
{
    if (!dst)
        return 0;
    CCritSecLock lock(&m_lock);
    if (n <= 0 || !m_base || DataSizeLocked() == 0)
        return 0;
    return ReadLocked(static_cast<unsigned char*>(dst), n);
}

bool CRingBuffer::ReadExact(void* dst, int n, int* got)
{
    CCritSecLock lock(&m_lock);
    if (got) {
        *got = Read(dst, n);
        return *got > 0;
    }
    if (!dst || n <= 0 || DataSizeLocked() < n)
        return false;
    return Read(dst, n) == n;
}

void CRingBuffer::Reset()
{
    CCritSecLock lock(&m_lock);
    m_read = m_write = m_base;
    m_wrapped = false;
}
