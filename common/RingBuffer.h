#pragma once
// A fixed-capacity byte FIFO shared by one writing and one reading thread.
// A write is all or nothing; a read takes what is there, up to the amount
// asked for. Every operation takes the buffer's own critical section.
#include "platform/mfc/afxmt.h"

// <winbase.h> defines GetFreeSpace as a constant of 16-bit Windows.
#ifdef GetFreeSpace
#undef GetFreeSpace
#endif

class CRingBuffer
{
public:
    explicit CRingBuffer(int capacity);
    virtual ~CRingBuffer();

    CRingBuffer(const CRingBuffer&) = delete;
    CRingBuffer& operator=(const CRingBuffer&) = delete;

    // Appends n bytes, all or nothing. False for a null source, n <= 0, or
    // when n bytes do not fit.
    [[nodiscard]] bool Write(const void* src, int n);
    // Appends n zero bytes, all or nothing.
    [[nodiscard]] bool WriteSilence(int n);
    // Removes up to n bytes into dst; answers how many. 0 for a null dst.
    int Read(void* dst, int n);
    // With got: reads what is there (up to n), stores the count and answers
    // whether it was more than 0. Without: exactly n bytes or nothing.
    [[nodiscard]] bool ReadExact(void* dst, int n, int* got = nullptr);
    int GetDataSize();
    int GetFreeSpace();
    void Reset();

private:
    // dst null drops the bytes. Caller holds the lock; n > 0.
    int ReadLocked(unsigned char* dst, int n);
    int DataSizeLocked() const;

    int m_capacity;
    unsigned char* m_base;
    unsigned char* m_write;
    unsigned char* m_read;
    bool m_wrapped;
    CCriticalSection m_lock;
};
