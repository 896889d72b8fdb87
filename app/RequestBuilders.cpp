// The socket header must come before the system header that the class
// library pulls in.
#include <winsock2.h>

#include "app/RequestBuilders.h"

#include <string>

namespace {

bool IsAsciiAlnum(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
}

CString Clean(const CString& name)
{
    if (name.IsEmpty())
        return L"Unknown";
    CString out = name;
    for (int i = 0; i < out.GetLength(); ++i)
        if (!IsAsciiAlnum(out[i]))
            out.SetAt(i, L'_');
    return out;
}

// Keeps the socket library started while the host name is read.
class CWinsockSession
{
public:
    CWinsockSession() { m_ok = WSAStartup(MAKEWORD(2, 2), &m_data) == 0; }
    ~CWinsockSession()
    {
        if (m_ok)
            WSACleanup();
    }
    CWinsockSession(const CWinsockSession&) = delete;
    CWinsockSession& operator=(const CWinsockSession&) = delete;
    bool IsStarted() const { return m_ok; }

private:
    WSADATA m_data{};
    bool m_ok = false;
};

} // namespace

void EscapeUrl(CString& text)
{
    static const wchar_t kKept[] = L"\\/:.-_";
    static const char kHex[] = "0123456789abcdef";
    CString out;
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t c = text[i];
        if (IsAsciiAlnum(c) || (c != 0 && wcschr(kKept, c))) {
            out += c;
            continue;
        }
        // One code point (a surrogate pair counts as one) as its UTF-8 bytes.
        const int units = (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.GetLength()) ? 2 : 1;
        const std::wstring cp(static_cast<LPCWSTR>(text) + i, units);
        char bytes[8] = {};
        const int n = WideCharToMultiByte(CP_UTF8, 0, cp.c_str(), units, bytes, sizeof(bytes), nullptr, nullptr);
        for (int b = 0; b < n; ++b) {
            const unsigned char v = static_cast<unsigned char>(bytes[b]);
            out += L'%';
            out += static_cast<wchar_t>(kHex[v >> 4]);
            out += static_cast<wchar_t>(kHex[v & 15]);
        }
        i += units - 1;
    }
    text = out;
}

CString GetCleanUserName()
{
    wchar_t name[261] = {};
    DWORD size = 261;
    if (!GetUserNameW(name, &size))
        name[0] = 0;
    return Clean(name);
}

CString GetCleanHostName()
{
    CWinsockSession session;
    char name[261] = {};
    if (!session.IsStarted() || gethostname(name, 260) != 0)
        return Clean(L"");
    return Clean(CString(name));
}

CString BuildHelloQuery()
{
    CString query;
    query.Format(L"hello=%s+%s+%s+%s&proto=%d", static_cast<LPCWSTR>(GetCleanUserName()),
                 static_cast<LPCWSTR>(GetCleanHostName()), L"Fetchling", L"1.0.0.0", 3);
    return query;
}

int GetBase64Length(int n)
{
    const int chars = (n + 2) / 3 * 4;
    return chars + 2 * (chars / 76) + 3;
}

bool EncodeBase64(const BYTE* source, int length, char* target, int targetSize, int* outLength)
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    if (!target || !outLength || length < 0 || (!source && length > 0) || targetSize < GetBase64Length(length))
        return false;
    int out = 0, line = 0;
    for (int i = 0; i < length; i += 3) {
        const int rest = length - i;
        const unsigned v = source[i] << 16 | (rest > 1 ? source[i + 1] << 8 : 0) | (rest > 2 ? source[i + 2] : 0);
        target[out++] = kAlphabet[v >> 18 & 63];
        target[out++] = kAlphabet[v >> 12 & 63];
        target[out++] = rest > 1 ? kAlphabet[v >> 6 & 63] : '=';
        target[out++] = rest > 2 ? kAlphabet[v & 63] : '=';
        line += 4;
        // A line that ends exactly with the last group gets one CR LF.
        if (line == 76 || i + 3 >= length) {
            target[out++] = '\r';
            target[out++] = '\n';
            line = 0;
        }
    }
    target[out] = 0;
    *outLength = out;
    return true;
}

CString BuildHostHeader(LPCWSTR host, bool omit)
{
    CString header;
    if (!omit)
        header.Format(L"Host: %s", host ? host : L"");
    return header;
}
