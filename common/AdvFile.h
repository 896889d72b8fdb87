#pragma once
// Thin owner of a Windows file handle: opens with byte-order-mark detection,
// reads and writes raw bytes, reads lines in UTF-16 or the ANSI code page,
// writes UTF-16 text, and reads binary values that throw SException when the
// file ends early. Every other failure is a false result.
// Positions and sizes beyond 4 GB are not supported.
#include "platform/mfc/afx.h"

class CAdvFile
{
public:
    struct SException
    {
        DWORD error; // the Windows error code of the failed read
    };

    CAdvFile() = default;
    virtual ~CAdvFile();
    CAdvFile(const CAdvFile&) = delete;
    CAdvFile& operator=(const CAdvFile&) = delete;

    // Opens an existing file; notes a UTF-16LE mark (FF FE) and, when
    // skipBom is set, starts after it. A file shorter than 2 bytes keeps the
    // previous unicode flag.
    [[nodiscard]] bool Open(LPCWSTR path, DWORD access, DWORD shareMode, bool skipBom);
    [[nodiscard]] bool OpenRead(LPCWSTR path, bool skipBom = true);
    [[nodiscard]] bool OpenReadInProgramFolder(LPCWSTR name, bool skipBom = true);
    [[nodiscard]] bool OpenReadWrite(LPCWSTR path);
    // Creates (or empties) a file for writing, unshared. Fails when a file is
    // already open.
    [[nodiscard]] bool Create(LPCWSTR path);
    [[nodiscard]] bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    void Close();
    [[nodiscard]] bool IsUnicode() const { return m_unicode; }
    void SetSwapBytes(bool swap) { m_swapBytes = swap; }
    [[nodiscard]] bool GetSwapBytes() const { return m_swapBytes; }
    HANDLE GetHandle() const { return m_handle; }

    // 0 when not open or when the size cannot be read.
    ULONGLONG GetSize() const;
    // 0xFFFFFFFF when not open.
    ULONGLONG Tell() const;
    // 0xFFFFFFFF when refused (not open, offset from 0xFFFFFFFF on) or failed.
    ULONGLONG Seek(LONGLONG offset, DWORD method);
    ULONGLONG SeekBegin(LONGLONG offset) { return Seek(offset, FILE_BEGIN); }
    ULONGLONG SeekCurrent(LONGLONG offset) { return Seek(offset, FILE_CURRENT); }
    ULONGLONG SeekBack(LONGLONG n);
    // Cuts the file to length 0.
    [[nodiscard]] bool Truncate();

    // Without `got`: true only when all n bytes arrived. With it: the count
    // read is stored and the result is whether the read call succeeded.
    [[nodiscard]] bool Read(void* buffer, DWORD n, DWORD* got = nullptr);
    // True only when all n bytes were written.
    [[nodiscard]] bool Write(const void* buffer, DWORD n);
    // Up to n bytes as ANSI text.
    CString ReadString(DWORD n);
    // A length byte, then that many ANSI bytes; empty when they are not there.
    CString ReadPascalStringA();
    // Reads as many bytes as `text` has and compares; the position moves on.
    [[nodiscard]] bool Match(LPCWSTR text);
    [[nodiscard]] bool Match(LPCSTR text);

    // UTF-16LE code units without terminator; the result of the write (an
    // empty text writes nothing and succeeds).
    [[nodiscard]] bool WriteText(LPCWSTR text);
    // WriteText for chains: file << L"a" << L"b". A failed write (a null
    // text, a closed or read-only file, a full disk) puts the file in its
    // failed state, like a stream's fail bit: later insertions write
    // nothing, so a chain stops at its first failure and Failed() tells.
    // A successful Open or Create clears it, and so does ClearFailed.
    CAdvFile& operator<<(LPCWSTR text);
    [[nodiscard]] bool Failed() const { return m_failed; }
    void ClearFailed() { m_failed = false; }
    [[nodiscard]] bool WriteLine(LPCWSTR text);
    [[nodiscard]] bool WriteBOM();
    // One line in UTF-16 (unicode flag) or the ANSI code page. A line ends
    // at CR, LF or any pair of them; false at the end of the file.
    [[nodiscard]] bool ReadLine(CString& line);

    // Exactly 4 (1) bytes, reversed when swapBytes is set; throw SException.
    void ReadDWord(DWORD& value);
    void ReadByte(BYTE& value);
    // Four consecutive 32-bit values, each swapped on its own.
    void ReadRect(RECT& rect);

private:
    void ReadExactly(void* buffer, DWORD n);

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    bool m_unicode = false;
    bool m_swapBytes = false;
    bool m_failed = false;
};
