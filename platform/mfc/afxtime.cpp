#include "platform/mfc/afxtime.h"
#include "platform/mfc/afxobj.h"
#include <cwchar>

namespace {

// Seconds between 1601-01-01 (FILETIME) and 1970-01-01, in 100-ns units.
const ULONGLONG kEpochDiff100ns = 116444736000000000ULL;

__time64_t MakeLocal(int y, int mo, int d, int h, int mi, int s, int dst)
{
    struct tm t = {};
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    t.tm_sec = s;
    t.tm_isdst = dst;
    __time64_t r = _mktime64(&t);
    if (r == -1)
        AfxThrowInvalidArgException();
    return r;
}

} // namespace

CTime CTime::GetCurrentTime()
{
    return CTime(_time64(nullptr));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
    : m_time(MakeLocal(nYear, nMonth, nDay, nHour, nMin, nSec, nDST))
{
}

CTime::CTime(const SYSTEMTIME& st, int nDST)
    : m_time(MakeLocal(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST))
{
}

CTime::CTime(const FILETIME& ft, int nDST)
{
    (void)nDST;
    ULARGE_INTEGER u;
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    if (u.QuadPart < kEpochDiff100ns)
        AfxThrowInvalidArgException();
    m_time = static_cast<__time64_t>((u.QuadPart - kEpochDiff100ns) / 10000000ULL);
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    if (!ptm || _localtime64_s(ptm, &m_time) != 0)
        return nullptr;
    return ptm;
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const
{
    if (!ptm || _gmtime64_s(ptm, &m_time) != 0)
        return nullptr;
    return ptm;
}

struct tm CTime::Local() const
{
    struct tm t = {};
    if (!GetLocalTm(&t))
        t = tm();
    return t;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    struct tm t;
    if (!GetLocalTm(&t))
        return FALSE;
    st.wYear = static_cast<WORD>(t.tm_year + 1900);
    st.wMonth = static_cast<WORD>(t.tm_mon + 1);
    st.wDayOfWeek = static_cast<WORD>(t.tm_wday);
    st.wDay = static_cast<WORD>(t.tm_mday);
    st.wHour = static_cast<WORD>(t.tm_hour);
    st.wMinute = static_cast<WORD>(t.tm_min);
    st.wSecond = static_cast<WORD>(t.tm_sec);
    st.wMilliseconds = 0;
    return TRUE;
}

int CTime::GetYear() const
{
    return Local().tm_year + 1900;
}
int CTime::GetMonth() const
{
    return Local().tm_mon + 1;
}
int CTime::GetDay() const
{
    return Local().tm_mday;
}
int CTime::GetHour() const
{
    return Local().tm_hour;
}
int CTime::GetMinute() const
{
    return Local().tm_min;
}
int CTime::GetSecond() const
{
    return Local().tm_sec;
}
int CTime::GetDayOfWeek() const
{
    return Local().tm_wday + 1;
}

CString CTime::FormatTm(LPCWSTR pszFormat, const struct tm* ptm) const
{
    if (!pszFormat || !ptm)
        AfxThrowInvalidArgException();
    if (!*pszFormat)
        return CString();
    // Grow until the text fits (wcsftime gives 0 when it doesn't).
    for (size_t size = 128; size <= 64 * 1024; size *= 4) {
        CString out;
        wchar_t* buf = out.GetBuffer(static_cast<int>(size));
        size_t n = std::wcsftime(buf, size, pszFormat, ptm);
        if (n > 0 || size >= 64 * 1024) {
            out.ReleaseBuffer(static_cast<int>(n));
            return out;
        }
    }
    return CString();
}

CString CTime::Format(LPCWSTR pszFormat) const
{
    struct tm t;
    return FormatTm(pszFormat, GetLocalTm(&t));
}

CString CTime::FormatGmt(LPCWSTR pszFormat) const
{
    struct tm t;
    return FormatTm(pszFormat, GetGmtTm(&t));
}
