#include "platform/mfc/afxstr.h"
#include "platform/mfc/afxobj.h"
#include <atomic>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <cstdio>
#include <algorithm>

namespace {

std::atomic<HINSTANCE> g_resourceHandle{nullptr};

std::wstring Widen(const char* pch, int nLength, UINT codePage)
{
    if (!pch || nLength <= 0)
        return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, pch, nLength, nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, pch, nLength, &w[0], n);
    return w;
}

std::string Narrow(const wchar_t* pch, int nLength, UINT codePage)
{
    if (!pch || nLength <= 0)
        return std::string();
    int n = WideCharToMultiByte(codePage, 0, pch, nLength, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::string();
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, pch, nLength, &s[0], n, nullptr, nullptr);
    return s;
}

// The "C" locale, so that %f gives '.' even if somebody changed the
// process locale.
_locale_t CLocale()
{
    static _locale_t loc = _create_locale(LC_ALL, "C");
    return loc;
}

bool InSet(wchar_t ch, LPCWSTR set)
{
    return set && ch != 0 && std::wcschr(set, ch) != nullptr;
}

} // namespace

HINSTANCE AfxGetResourceHandle()
{
    HINSTANCE h = g_resourceHandle.load();
    return h ? h : GetModuleHandleW(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hResource)
{
    g_resourceHandle.store(hResource);
}

CString AfxWideFromBytes(const char* pch, int nLength, UINT codePage)
{
    std::wstring w = Widen(pch, nLength, codePage);
    return CString(w.data(), static_cast<int>(w.size()));
}

// ---- construction -------------------------------------------------------

CString::CString(LPCWSTR psz) : m_s(psz ? psz : L"")
{
}

CString::CString(LPCWSTR pch, int nLength)
{
    if (pch && nLength > 0)
        m_s.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(LPCSTR psz) : m_s(psz ? Widen(psz, static_cast<int>(std::strlen(psz)), CP_ACP) : std::wstring())
{
}

CString::CString(LPCSTR pch, int nLength) : m_s(Widen(pch, nLength, CP_ACP))
{
}

CString::CString(wchar_t ch, int nRepeat)
{
    if (nRepeat > 0)
        m_s.assign(static_cast<size_t>(nRepeat), ch);
}

CString& CString::operator=(LPCWSTR psz)
{
    if (psz)
        m_s = psz; // psz may point into m_s: std::wstring handles that
    else
        m_s.clear();
    return *this;
}

CString& CString::operator=(LPCSTR psz)
{
    return *this = CString(psz);
}

CString& CString::operator=(wchar_t ch)
{
    m_s.assign(1, ch);
    return *this;
}

// ---- access -------------------------------------------------------------

wchar_t CString::GetAt(int i) const
{
    if (i < 0 || i >= GetLength())
        AfxThrowInvalidArgException();
    return m_s[static_cast<size_t>(i)];
}

void CString::SetAt(int i, wchar_t ch)
{
    if (i < 0 || i >= GetLength())
        AfxThrowInvalidArgException();
    m_s[static_cast<size_t>(i)] = ch;
}

int CString::Compare(LPCWSTR psz) const
{
    return std::wcscmp(m_s.c_str(), psz ? psz : L"");
}

int CString::CompareNoCase(LPCWSTR psz) const
{
    return _wcsicmp(m_s.c_str(), psz ? psz : L"");
}

// ---- extraction ---------------------------------------------------------

CString CString::Mid(int iFirst) const
{
    return Mid(iFirst, GetLength() - (iFirst < 0 ? 0 : iFirst));
}

CString CString::Mid(int iFirst, int nCount) const
{
    const int len = GetLength();
    if (iFirst < 0)
        iFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (iFirst > len)
        iFirst = len;
    if (nCount > len - iFirst)
        nCount = len - iFirst;
    return CString(m_s.data() + iFirst, nCount);
}

CString CString::Left(int nCount) const
{
    return Mid(0, nCount);
}

CString CString::Right(int nCount) const
{
    const int len = GetLength();
    if (nCount < 0)
        nCount = 0;
    if (nCount > len)
        nCount = len;
    return CString(m_s.data() + (len - nCount), nCount);
}

CString CString::SpanIncluding(LPCWSTR pszCharSet) const
{
    return Left(static_cast<int>(std::wcsspn(m_s.c_str(), pszCharSet ? pszCharSet : L"")));
}

CString CString::SpanExcluding(LPCWSTR pszCharSet) const
{
    return Left(static_cast<int>(std::wcscspn(m_s.c_str(), pszCharSet ? pszCharSet : L"")));
}

CString CString::Tokenize(LPCWSTR pszTokens, int& iStart) const
{
    if (iStart < 0)
        AfxThrowInvalidArgException();
    const int len = GetLength();
    if (!pszTokens || !*pszTokens) {
        if (iStart < len)
            return Mid(iStart);
    } else if (iStart < len) {
        const wchar_t* place = m_s.c_str() + iStart;
        const int including = static_cast<int>(std::wcsspn(place, pszTokens));
        if (iStart + including < len) {
            const int from = iStart + including;
            const int until = static_cast<int>(std::wcscspn(place + including, pszTokens));
            iStart = from + until + 1;
            return Mid(from, until);
        }
    }
    iStart = -1;
    return CString();
}

// ---- searching ----------------------------------------------------------

int CString::Find(wchar_t ch, int iStart) const
{
    if (iStart < 0 || iStart >= GetLength())
        return -1;
    size_t pos = m_s.find(ch, static_cast<size_t>(iStart));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCWSTR pszSub, int iStart) const
{
    if (!pszSub || iStart < 0 || iStart > GetLength())
        return -1;
    size_t pos = m_s.find(pszSub, static_cast<size_t>(iStart));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(wchar_t ch) const
{
    size_t pos = m_s.rfind(ch);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(LPCWSTR pszCharSet) const
{
    if (!pszCharSet)
        return -1;
    size_t pos = m_s.find_first_of(pszCharSet);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

// ---- editing ------------------------------------------------------------

int CString::Replace(wchar_t chOld, wchar_t chNew)
{
    if (chOld == chNew)
        return 0; // nothing changes
    int n = 0;
    for (wchar_t& c : m_s)
        if (c == chOld) {
            c = chNew;
            ++n;
        }
    return n;
}

int CString::Replace(LPCWSTR pszOld, LPCWSTR pszNew)
{
    if (!pszOld || !*pszOld)
        return 0;
    const std::wstring from(pszOld), to(pszNew ? pszNew : L"");
    std::wstring out;
    int n = 0;
    size_t pos = 0;
    for (;;) {
        size_t hit = m_s.find(from, pos);
        if (hit == std::wstring::npos)
            break;
        out.append(m_s, pos, hit - pos);
        out += to;
        pos = hit + from.size();
        ++n;
    }
    if (n) {
        out.append(m_s, pos, std::wstring::npos);
        m_s.swap(out);
    }
    return n;
}

int CString::Remove(wchar_t ch)
{
    const size_t before = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
    return static_cast<int>(before - m_s.size());
}

int CString::Insert(int iIndex, wchar_t ch)
{
    wchar_t s[2] = {ch, 0};
    return Insert(iIndex, s);
}

int CString::Insert(int iIndex, LPCWSTR psz)
{
    if (iIndex < 0)
        iIndex = 0;
    if (iIndex > GetLength())
        iIndex = GetLength();
    if (psz)
        m_s.insert(static_cast<size_t>(iIndex), std::wstring(psz));
    return GetLength();
}

int CString::Delete(int iIndex, int nCount)
{
    if (iIndex < 0)
        iIndex = 0;
    if (nCount > 0 && iIndex < GetLength())
        m_s.erase(static_cast<size_t>(iIndex), static_cast<size_t>(nCount));
    return GetLength();
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_s.size() && std::iswspace(m_s[i]))
        ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(wchar_t chTarget)
{
    size_t i = 0;
    while (i < m_s.size() && m_s[i] == chTarget)
        ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(LPCWSTR pszTargets)
{
    size_t i = 0;
    while (i < m_s.size() && InSet(m_s[i], pszTargets))
        ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    size_t n = m_s.size();
    while (n > 0 && std::iswspace(m_s[n - 1]))
        --n;
    m_s.resize(n);
    return *this;
}

CString& CString::TrimRight(wchar_t chTarget)
{
    size_t n = m_s.size();
    while (n > 0 && m_s[n - 1] == chTarget)
        --n;
    m_s.resize(n);
    return *this;
}

CString& CString::TrimRight(LPCWSTR pszTargets)
{
    size_t n = m_s.size();
    while (n > 0 && InSet(m_s[n - 1], pszTargets))
        --n;
    m_s.resize(n);
    return *this;
}

CString& CString::Trim()
{
    TrimRight();
    return TrimLeft();
}
CString& CString::Trim(wchar_t chTarget)
{
    TrimRight(chTarget);
    return TrimLeft(chTarget);
}
CString& CString::Trim(LPCWSTR pszTargets)
{
    TrimRight(pszTargets);
    return TrimLeft(pszTargets);
}

CString& CString::MakeUpper()
{
    if (!m_s.empty())
        CharUpperBuffW(&m_s[0], static_cast<DWORD>(m_s.size()));
    return *this;
}

CString& CString::MakeLower()
{
    if (!m_s.empty())
        CharLowerBuffW(&m_s[0], static_cast<DWORD>(m_s.size()));
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

// ---- formatting ---------------------------------------------------------

namespace {

// The formatted text on its own, so that an argument may be (or point into)
// the string being formatted into.
std::wstring Formatted(LPCWSTR pszFormat, va_list args)
{
    if (!pszFormat)
        AfxThrowInvalidArgException();
    va_list count;
    va_copy(count, args);
    const int n = _vscwprintf_l(pszFormat, CLocale(), count);
    va_end(count);
    if (n < 0)
        AfxThrowInvalidArgException();
    std::wstring out(static_cast<size_t>(n) + 1, L'\0');
    _vsnwprintf_l(&out[0], static_cast<size_t>(n) + 1, pszFormat, CLocale(), args);
    out.resize(static_cast<size_t>(n));
    return out;
}

} // namespace

void CString::FormatV(LPCWSTR pszFormat, va_list args)
{
    m_s = Formatted(pszFormat, args);
}

void CString::AppendFormatV(LPCWSTR pszFormat, va_list args)
{
    m_s += Formatted(pszFormat, args);
}

void CString::FormatArgs(LPCWSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatIdArgs(UINT nFormatID, ...)
{
    CString format;
    if (!format.LoadString(nFormatID))
        AfxThrowInvalidArgException();
    va_list args;
    va_start(args, nFormatID);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormatArgs(LPCWSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

// ---- buffer -------------------------------------------------------------

LPWSTR CString::GetBuffer()
{
    return &m_s[0];
}

LPWSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength < 0)
        AfxThrowInvalidArgException();
    if (static_cast<size_t>(nMinBufLength) > m_s.size())
        m_s.resize(static_cast<size_t>(nMinBufLength));
    return &m_s[0];
}

LPWSTR CString::GetBufferSetLength(int nNewLength)
{
    if (nNewLength < 0)
        AfxThrowInvalidArgException();
    m_s.resize(static_cast<size_t>(nNewLength));
    return &m_s[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(wcsnlen(m_s.c_str(), m_s.size()));
    if (static_cast<size_t>(nNewLength) > m_s.size())
        AfxThrowInvalidArgException();
    m_s.resize(static_cast<size_t>(nNewLength));
}

// ---- resources ----------------------------------------------------------

BOOL CString::LoadString(UINT nID)
{
    // With a zero buffer size LoadStringW hands out a read-only pointer into
    // the loaded resource and the length, which may exceed any fixed buffer.
    const wchar_t* p = nullptr;
    int n = ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&p), 0);
    if (n <= 0 || !p)
        return FALSE;
    m_s.assign(p, static_cast<size_t>(n));
    return TRUE;
}

// ---- operators ----------------------------------------------------------

CString operator+(const CString& a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(const CString& a, LPCWSTR b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(LPCWSTR a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(const CString& a, wchar_t b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(wchar_t a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

// ---- narrow -------------------------------------------------------------

CStringA::CStringA(LPCWSTR psz, UINT codePage)
    : m_s(psz ? Narrow(psz, static_cast<int>(std::wcslen(psz)), codePage) : std::string())
{
}

CStringA::CStringA(const CString& s, UINT codePage) : m_s(Narrow(s.GetString(), s.GetLength(), codePage))
{
}
