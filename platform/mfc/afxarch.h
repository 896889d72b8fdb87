#pragma once
// CArchive: counts and strings stored in a CFile and loaded back, for the
// objects that serialise themselves (CObject::Serialize).
//
// The encoding is this library's own (little-endian):
//   count:  16 bits when below 0xFFFF; else 0xFFFF, then 32 bits.
//   string: its length in UTF-16 code units as a count, then those units.
// Loading checks what it reads: an archive that ends early, or a length
// larger than the bytes left, throws CArchiveException* (endOfFile), so a
// damaged archive never makes a huge allocation or reads garbage. Writing
// into a loading archive throws readOnly, reading from a storing one
// writeOnly; failures of the file itself are its CFileException*.
#include <windows.h>
#include "platform/mfc/afxfile.h"
#include "platform/mfc/afxobj.h"
#include "platform/mfc/afxstr.h"

class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

    explicit CArchiveException(int cause = none, LPCWSTR lpszArchiveName = nullptr)
        : m_cause(cause), m_strFileName(lpszArchiveName)
    {
    }

    [[nodiscard]] BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowArchiveException(int cause, LPCWSTR lpszArchiveName = nullptr);

class CArchive
{
public:
    enum Mode { store = 0, load = 1 };

    // The file stays the caller's: the archive neither opens nor closes it.
    CArchive(CFile* pFile, UINT nMode);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    [[nodiscard]] BOOL IsLoading() const { return (m_nMode & load) != 0; }
    [[nodiscard]] BOOL IsStoring() const { return !IsLoading(); }
    CFile* GetFile() const { return m_pFile; }

    // Raw bytes. Read throws endOfFile unless all nCount bytes arrive.
    void Write(const void* lpBuf, UINT nCount);
    void Read(void* lpBuf, UINT nCount);

    void WriteCount(DWORD_PTR dwCount);
    DWORD_PTR ReadCount();

    CArchive& operator<<(const CString& text);
    CArchive& operator<<(LPCWSTR text);
    CArchive& operator>>(CString& text);

private:
    [[noreturn]] void Throw(int cause) const;
    ULONGLONG BytesLeft() const;

    CFile* m_pFile;
    UINT m_nMode;
};
