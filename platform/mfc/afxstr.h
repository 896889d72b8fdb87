#pragma once
// CString: the wide string of the class library layer, and CStringA, its
// narrow (ANSI code page) counterpart used only at the edges (APIs that want
// bytes). Indexes are int; out-of-range positions are clamped the way the
// class library does (Mid, Left, Right, Find, Insert, Delete).
#include <windows.h>
#include <cstdarg>
#include <string>
#include <type_traits>

// The module whose string table LoadString reads. Defaults to the
// executable (GetModuleHandle(NULL)); a program may switch it, e.g. to a
// resource library.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);

class CStringA;

class CString
{
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCWSTR psz);              // null gives an empty string
    CString(LPCWSTR pch, int nLength); // nLength characters, embedded NULs kept
    CString(LPCSTR psz);               // converted from the ANSI code page
    CString(LPCSTR pch, int nLength);
    explicit CString(wchar_t ch, int nRepeat = 1);
    ~CString() = default;

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCWSTR psz);
    CString& operator=(LPCSTR psz);
    CString& operator=(wchar_t ch);

    CString& operator+=(const CString& s)
    {
        m_s += s.m_s;
        return *this;
    }
    CString& operator+=(LPCWSTR psz)
    {
        if (psz)
            m_s += psz;
        return *this;
    }
    CString& operator+=(LPCSTR psz) { return *this += CString(psz); }
    CString& operator+=(wchar_t ch)
    {
        m_s += ch;
        return *this;
    }

    // Size and access.
    int GetLength() const { return static_cast<int>(m_s.size()); }
    [[nodiscard]] bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    LPCWSTR GetString() const { return m_s.c_str(); }
    operator LPCWSTR() const { return m_s.c_str(); }
    // Bounds-checked: an index outside 0..length-1 throws CInvalidArgException.
    wchar_t GetAt(int i) const;
    void SetAt(int i, wchar_t ch);
    wchar_t operator[](int i) const { return GetAt(i); }

    // Comparison (ordinal, and case-insensitive through _wcsicmp).
    int Compare(LPCWSTR psz) const;
    int CompareNoCase(LPCWSTR psz) const;

    // Extraction.
    CString Mid(int iFirst) const;
    CString Mid(int iFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCWSTR pszCharSet) const;
    CString SpanExcluding(LPCWSTR pszCharSet) const;
    // Next token after iStart, skipping leading delimiters; iStart moves past
    // the token's delimiter, or becomes -1 (with an empty result) at the end.
    CString Tokenize(LPCWSTR pszTokens, int& iStart) const;

    // Searching: -1 when absent, when iStart is negative or past the end.
    int Find(wchar_t ch, int iStart = 0) const;
    int Find(LPCWSTR pszSub, int iStart = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(LPCWSTR pszCharSet) const;

    // Editing; each returns what the class library returns (count or new length).
    int Replace(wchar_t chOld, wchar_t chNew);
    int Replace(LPCWSTR pszOld, LPCWSTR pszNew);
    int Remove(wchar_t ch);
    int Insert(int iIndex, wchar_t ch);
    int Insert(int iIndex, LPCWSTR psz);
    int Delete(int iIndex, int nCount = 1);
    CString& Trim();
    CString& Trim(wchar_t chTarget);
    CString& Trim(LPCWSTR pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(wchar_t chTarget);
    CString& TrimLeft(LPCWSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(wchar_t chTarget);
    CString& TrimRight(LPCWSTR pszTargets);
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    // printf-style formatting with the Windows meaning of the conversions:
    // %s / %c take wide arguments, %S / %C narrow ones, %I64d is 64-bit, and
    // the decimal point is always '.'. CString and CStringA arguments are
    // handed on as their text pointers; other class-type arguments are
    // refused at compile time.
    template <class... A>
    void Format(LPCWSTR pszFormat, const A&... args)
    {
        FormatArgs(pszFormat, Vararg(args)...);
    }
    // Format string nFormatID of the string table (CInvalidArgException
    // when there is no such string).
    template <class... A>
    void Format(UINT nFormatID, const A&... args)
    {
        FormatIdArgs(nFormatID, Vararg(args)...);
    }
    template <class... A>
    void AppendFormat(LPCWSTR pszFormat, const A&... args)
    {
        AppendFormatArgs(pszFormat, Vararg(args)...);
    }
    void FormatV(LPCWSTR pszFormat, va_list args);
    void AppendFormatV(LPCWSTR pszFormat, va_list args);

    // Direct buffer access. GetBuffer(n) gives room for at least n characters
    // plus the terminator; ReleaseBuffer(-1) takes the length up to the first
    // NUL, ReleaseBuffer(n) sets it to n.
    LPWSTR GetBuffer();
    LPWSTR GetBuffer(int nMinBufLength);
    LPWSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);

    // Loads string nID from AfxGetResourceHandle()'s string table. FALSE
    // (string unchanged) when there is no such string.
    BOOL LoadString(UINT nID);

    // How Format hands an argument on to the C variable argument list:
    // strings as their text pointers, trivially copyable values as they
    // are, anything else refused at compile time. For wrappers of our own
    // with a Format template of their own.
    template <class T,
              class = std::enable_if_t<!std::is_base_of<CString, T>::value && !std::is_base_of<CStringA, T>::value>>
    static const T& Vararg(const T& v)
    {
        static_assert(std::is_trivially_copyable<std::decay_t<T>>::value, "pass text to Format as a pointer (LPCTSTR)");
        return v;
    }
    static LPCWSTR Vararg(const CString& s) { return s.GetString(); }
    static LPCSTR Vararg(const CStringA& s);

    // The underlying standard string, for code that works with the library.
    const std::wstring& str() const { return m_s; }

private:
    void FormatArgs(LPCWSTR pszFormat, ...);
    void FormatIdArgs(UINT nFormatID, ...);
    void AppendFormatArgs(LPCWSTR pszFormat, ...);

    std::wstring m_s;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCWSTR b);
CString operator+(LPCWSTR a, const CString& b);
CString operator+(const CString& a, wchar_t b);
CString operator+(wchar_t a, const CString& b);

inline bool operator==(const CString& a, const CString& b)
{
    return a.str() == b.str();
}
inline bool operator==(const CString& a, LPCWSTR b)
{
    return a.Compare(b) == 0;
}
inline bool operator==(LPCWSTR a, const CString& b)
{
    return b.Compare(a) == 0;
}
inline bool operator!=(const CString& a, const CString& b)
{
    return !(a == b);
}
inline bool operator!=(const CString& a, LPCWSTR b)
{
    return !(a == b);
}
inline bool operator!=(LPCWSTR a, const CString& b)
{
    return !(a == b);
}
inline bool operator<(const CString& a, const CString& b)
{
    return a.Compare(b) < 0;
}
inline bool operator<(const CString& a, LPCWSTR b)
{
    return a.Compare(b) < 0;
}
inline bool operator<(LPCWSTR a, const CString& b)
{
    return b.Compare(a) > 0;
}
inline bool operator>(const CString& a, const CString& b)
{
    return a.Compare(b) > 0;
}
inline bool operator>(const CString& a, LPCWSTR b)
{
    return a.Compare(b) > 0;
}
inline bool operator>(LPCWSTR a, const CString& b)
{
    return b.Compare(a) < 0;
}
inline bool operator<=(const CString& a, const CString& b)
{
    return a.Compare(b) <= 0;
}
inline bool operator<=(const CString& a, LPCWSTR b)
{
    return a.Compare(b) <= 0;
}
inline bool operator<=(LPCWSTR a, const CString& b)
{
    return b.Compare(a) >= 0;
}
inline bool operator>=(const CString& a, const CString& b)
{
    return a.Compare(b) >= 0;
}
inline bool operator>=(const CString& a, LPCWSTR b)
{
    return a.Compare(b) >= 0;
}
inline bool operator>=(LPCWSTR a, const CString& b)
{
    return b.Compare(a) <= 0;
}

typedef CString CStringW;

// Narrow text in the ANSI code page (or UTF-8 with the codePage argument).
class CStringA
{
public:
    CStringA() = default;
    CStringA(LPCSTR psz) : m_s(psz ? psz : "") {}
    CStringA(LPCSTR pch, int nLength) : m_s(pch, nLength > 0 ? nLength : 0) {}
    explicit CStringA(LPCWSTR psz, UINT codePage = CP_ACP);
    explicit CStringA(const CString& s, UINT codePage = CP_ACP);

    int GetLength() const { return static_cast<int>(m_s.size()); }
    [[nodiscard]] bool IsEmpty() const { return m_s.empty(); }
    LPCSTR GetString() const { return m_s.c_str(); }
    operator LPCSTR() const { return m_s.c_str(); }
    bool operator==(const CStringA& o) const { return m_s == o.m_s; }
    bool operator!=(const CStringA& o) const { return m_s != o.m_s; }
    const std::string& str() const { return m_s; }

private:
    std::string m_s;
};

inline LPCSTR CString::Vararg(const CStringA& s)
{
    return s.GetString();
}

// Wide text from bytes in the given code page (MultiByteToWideChar).
CString AfxWideFromBytes(const char* pch, int nLength, UINT codePage = CP_ACP);
