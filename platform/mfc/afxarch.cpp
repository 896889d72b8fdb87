#include "platform/mfc/afxarch.h"

#include <vector>

IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {
const WORD kWideCountMark = 0xFFFF;
} // namespace

BOOL CArchiveException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0)
        return FALSE;
    CString text;
    switch (m_cause) {
    case endOfFile: text = L"The archive ended early or is damaged."; break;
    case readOnly: text = L"An archive opened for loading was written to."; break;
    case writeOnly: text = L"An archive opened for storing was read from."; break;
    default: text.Format(L"Archive error %d.", m_cause); break;
    }
    if (!m_strFileName.IsEmpty())
        text += L" (" + m_strFileName + L")";
    lstrcpynW(lpszError, text, static_cast<int>(nMaxError));
    return TRUE;
}

void AfxThrowArchiveException(int cause, LPCWSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}

CArchive::CArchive(CFile* pFile, UINT nMode) : m_pFile(pFile), m_nMode(nMode)
{
    if (!pFile)
        AfxThrowInvalidArgException();
}

void CArchive::Throw(int cause) const
{
    AfxThrowArchiveException(cause, m_pFile->GetFilePath());
}

ULONGLONG CArchive::BytesLeft() const
{
    const ULONGLONG length = m_pFile->GetLength();
    const ULONGLONG position = m_pFile->GetPosition();
    return position < length ? length - position : 0;
}

void CArchive::Write(const void* lpBuf, UINT nCount)
{
    if (IsLoading())
        Throw(CArchiveException::readOnly);
    m_pFile->Write(lpBuf, nCount);
}

void CArchive::Read(void* lpBuf, UINT nCount)
{
    if (IsStoring())
        Throw(CArchiveException::writeOnly);
    // A file may deliver less than asked per call: read until it ends.
    BYTE* to = static_cast<BYTE*>(lpBuf);
    while (nCount > 0) {
        const UINT got = m_pFile->Read(to, nCount);
        if (got == 0)
            Throw(CArchiveException::endOfFile);
        to += got;
        nCount -= got;
    }
}

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < kWideCountMark) {
        const WORD small = static_cast<WORD>(dwCount);
        Write(&small, sizeof small);
        return;
    }
    if (dwCount > 0xFFFFFFFFu)
        AfxThrowInvalidArgException(); // the encoding holds 32 bits
    const DWORD wide = static_cast<DWORD>(dwCount);
    Write(&kWideCountMark, sizeof kWideCountMark);
    Write(&wide, sizeof wide);
}

DWORD_PTR CArchive::ReadCount()
{
    WORD small = 0;
    Read(&small, sizeof small);
    if (small != kWideCountMark)
        return small;
    DWORD wide = 0;
    Read(&wide, sizeof wide);
    return wide;
}

CArchive& CArchive::operator<<(const CString& text)
{
    const int units = text.GetLength();
    WriteCount(static_cast<DWORD_PTR>(units));
    if (units > 0)
        Write(static_cast<LPCWSTR>(text), static_cast<UINT>(units * sizeof(wchar_t)));
    return *this;
}

CArchive& CArchive::operator<<(LPCWSTR text)
{
    return *this << CString(text ? text : L"");
}

CArchive& CArchive::operator>>(CString& text)
{
    const DWORD_PTR units = ReadCount();
    // A length beyond what the file still holds is damage, not a reason to
    // allocate gigabytes.
    if (units > BytesLeft() / sizeof(wchar_t))
        Throw(CArchiveException::endOfFile);
    std::vector<wchar_t> buffer(static_cast<size_t>(units) + 1, 0);
    if (units > 0)
        Read(buffer.data(), static_cast<UINT>(units * sizeof(wchar_t)));
    text = CString(buffer.data(), static_cast<int>(units));
    return *this;
}
