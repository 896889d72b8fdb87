// Proxy records (values, validity, registry round trip, hostile stored
// values) and the request builders (escaping, Base64, queries, headers).
#include <winsock2.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "app/ProxyInfo.h"
#include "app/RequestBuilders.h"
#include "common/OVRegKey.h"

namespace {

const wchar_t kKey[] = L"Software\\Velmora\\RavelinProxyTest";

class ProxyRegistry : public ::testing::Test
{
protected:
    void TearDown() override { DeleteRegKeyTree(HKEY_CURRENT_USER, kKey); }
};

TEST(ProxyRecords, SetAndValidity)
{
    SProxyInfo plain;
    EXPECT_FALSE(plain.Set(nullptr, 80));
    EXPECT_FALSE(plain.Set(L"proxy", 65536));
    EXPECT_FALSE(plain.Set(L"proxy", -1));
    EXPECT_FALSE(plain.IsValid()) << "a refused Set changes nothing";
    EXPECT_TRUE(plain.Set(L"proxy", 0));
    EXPECT_TRUE(plain.IsValid());

    SHTTPProxyInfo http;
    EXPECT_FALSE(http.Set(1, L"", 8080)) << "HTTP needs an address";
    EXPECT_TRUE(http.Set(0, L"proxy", 8080));
    EXPECT_FALSE(http.IsValid()) << "not in use";

    SFTPProxyInfo ftp;
    EXPECT_FALSE(ftp.Set(nullptr, 21, 2, 1, L"u", L"p")) << "mode 2 needs a proxy";
    EXPECT_TRUE(ftp.Set(nullptr, 21, 1, 1, nullptr, nullptr)) << "no proxy needed: the rest is kept";
    EXPECT_EQ(1, ftp.eMode);
    EXPECT_FALSE(ftp.IsValid());

    SProxyInfo a, b;
    EXPECT_TRUE(a.Set(L"Proxy.Example", 3128));
    EXPECT_TRUE(b.Set(L"proxy.example", 3128));
    EXPECT_TRUE(a == b) << "addresses compare without case";
    EXPECT_TRUE(b.Set(L"proxy.example", 3129));
    EXPECT_TRUE(a != b);
}

TEST_F(ProxyRegistry, RecordsRoundTripThroughTheRegistry)
{
    SFTPProxyInfo saved;
    ASSERT_TRUE(saved.Set(L"ftp.example", 2121, 2, 1, L"anna", L"p\u00e4ss"));
    ASSERT_TRUE(saved.Exchange(kKey, HKEY_CURRENT_USER, false));
    SFTPProxyInfo loaded;
    ASSERT_TRUE(loaded.Exchange(kKey, HKEY_CURRENT_USER, true));
    EXPECT_TRUE(loaded == saved);
    EXPECT_EQ(2, loaded.eMode);
    EXPECT_EQ(1, loaded.bPasv);
    EXPECT_STREQ(L"anna", loaded.csUserName);
    EXPECT_STREQ(L"p\u00e4ss", loaded.csPassword);

    SProxyInfo missing;
    EXPECT_FALSE(missing.Exchange(L"Software\\Velmora\\NoSuchProxyKey", HKEY_CURRENT_USER, true));
}

TEST_F(ProxyRegistry, HostileStoredValuesLeaveTheRecordSafe)
{
    struct SCase
    {
        const wchar_t* what;
        DWORD portType;
        DWORD port;
        std::wstring address;
        int expectedPort;
    };
    const SCase cases[] = {
        {L"port above 65535", REG_DWORD, 99999, L"proxy", -1},
        {L"negative port", REG_DWORD, 0xFFFFFFF6u, L"proxy", -1},
        {L"port stored as text", REG_SZ, 0, L"proxy", -1},
        {L"address far too long", REG_DWORD, 8080, std::wstring(20000, L'x'), 8080},
        {L"address with line breaks", REG_DWORD, 8080, L"evil\r\nHost: other", 8080},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.what, c.what + wcslen(c.what)));
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
        if (c.portType == REG_DWORD)
            RegSetValueExW(key, L"iPort", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&c.port), sizeof(DWORD));
        else
            RegSetValueExW(key, L"iPort", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"80"), 6);
        RegSetValueExW(key, L"csAddr", 0, REG_SZ, reinterpret_cast<const BYTE*>(c.address.c_str()),
                       static_cast<DWORD>((c.address.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);

        SHTTPProxyInfo loaded;
        (void)loaded.Exchange(kKey, HKEY_CURRENT_USER, true); // what it took shows in the port below
        EXPECT_EQ(c.expectedPort, loaded.iPort);
        EXPECT_LE(loaded.csAddr.GetLength(), 4095);
        DeleteRegKeyTree(HKEY_CURRENT_USER, kKey);
    }
}

TEST(RequestBuilders, EscapeUrlKeepsSafeCharactersAndUsesTwoDigitEscapes)
{
    const struct
    {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {L"http://host.example/a-b_c\\D9", L"http://host.example/a-b_c\\D9"},
        {L"a b", L"a%20b"},
        {L"\n\t", L"%0a%09"},
        {L"100%", L"100%25"},
        {L"?x=1&y", L"%3fx%3d1%26y"},
        {L"\u00e4", L"%c3%a4"},
        {L"\u20ac", L"%e2%82%ac"},
        {L"\U0001F3B5", L"%f0%9f%8e%b5"},
        {L"", L""},
    };
    for (const auto& c : cases) {
        CString text = c.in;
        EscapeUrl(text);
        EXPECT_STREQ(c.out, text);
    }
}

TEST(RequestBuilders, Base64)
{
    const struct
    {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""}, {"f", "Zg==\r\n"}, {"fo", "Zm8=\r\n"}, {"foo", "Zm9v\r\n"}, {"foobar", "Zm9vYmFy\r\n"},
    };
    for (const auto& c : cases) {
        const int n = static_cast<int>(strlen(c.in));
        std::string target(GetBase64Length(n), '?');
        int length = -1;
        ASSERT_TRUE(EncodeBase64(reinterpret_cast<const BYTE*>(c.in), n, &target[0], GetBase64Length(n), &length));
        EXPECT_STREQ(c.out, target.c_str());
        EXPECT_EQ(static_cast<int>(strlen(c.out)), length);
    }
    // 57 bytes fill one 76-character line exactly: one CR LF; 58 bytes start a
    // second line. The length formula leaves room in both.
    for (int n : {57, 58, 300}) {
        std::string source(n, '\xA5'), target(GetBase64Length(n), '\0');
        int length = 0;
        ASSERT_TRUE(
            EncodeBase64(reinterpret_cast<const BYTE*>(source.data()), n, &target[0], GetBase64Length(n), &length));
        const std::string out(target.c_str());
        EXPECT_EQ(static_cast<size_t>(length), out.size());
        size_t lineStart = 0;
        for (size_t at = out.find("\r\n"); at != std::string::npos; at = out.find("\r\n", lineStart)) {
            EXPECT_LE(at - lineStart, 76u);
            EXPECT_GT(at - lineStart, 0u) << "no empty line";
            lineStart = at + 2;
        }
        EXPECT_EQ(out.size(), lineStart) << "ends with CR LF";
    }
    char small[8];
    int length = 0;
    EXPECT_FALSE(EncodeBase64(reinterpret_cast<const BYTE*>("foobar"), 6, small, sizeof(small), &length))
        << "a target too small is refused, not overrun";
}

TEST(RequestBuilders, QueryAndHeader)
{
    char host[261] = {};
    WSADATA data;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    ASSERT_EQ(0, gethostname(host, 260));
    WSACleanup();
    CString expectedHost(host);
    for (int i = 0; i < expectedHost.GetLength(); ++i)
        if (!iswalnum(expectedHost[i]) || expectedHost[i] > 127)
            expectedHost.SetAt(i, L'_');
    EXPECT_STREQ(expectedHost, GetCleanHostName()) << "read with the socket library started";

    const std::wstring query = static_cast<LPCWSTR>(BuildHelloQuery());
    EXPECT_TRUE(std::regex_match(
        query, std::wregex(L"hello=[A-Za-z0-9_]+\\+[A-Za-z0-9_]+\\+Fetchling\\+1\\.0\\.0\\.0&proto=3")))
        << std::string(query.begin(), query.end());

    EXPECT_STREQ(L"Host: example.com", BuildHostHeader(L"example.com", false));
    EXPECT_STREQ(L"", BuildHostHeader(L"example.com", true));
}

} // namespace
