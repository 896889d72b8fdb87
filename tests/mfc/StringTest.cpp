#include <gtest/gtest.h>
#include <clocale>
#include "platform/mfc/afx.h"

namespace {

TEST(CStringFormat, WindowsMeaningOfConversions)
{
    CString s;
    s.Format(L"[%s|%c|%S]", L"wide", L'w', "narrow");
    EXPECT_STREQ(L"[wide|w|narrow]", s);

    const __int64 big = -1234567890123456789LL;
    s.Format(L"%I64d %I64u %I64X", big, 18446744073709551615ULL, 0xABCDEF0123LL);
    EXPECT_STREQ(L"-1234567890123456789 18446744073709551615 ABCDEF0123", s);

    s.Format(L"%.2f %5.1f %g", 3.14159, 2.34, 0.5);
    EXPECT_STREQ(L"3.14   2.3 0.5", s);
}

TEST(CStringFormat, CStringArgumentsAndAppending)
{
    CString name(L"Ravelin"), narrowSource;
    CStringA narrow("bytes");
    CString s;
    s.Format(L"%s-%S-%d", name, narrow, 7); // no casts needed
    EXPECT_STREQ(L"Ravelin-bytes-7", s);
    s.AppendFormat(L"+%04d", 42);
    EXPECT_STREQ(L"Ravelin-bytes-7+0042", s);

    // Long results are not cut at any fixed buffer size.
    CString longText(L'x', 5000);
    s.Format(L"<%s>", longText);
    EXPECT_EQ(5002, s.GetLength());
    EXPECT_EQ(L'>', s[5001]);

    // The string itself as an argument: formatted from its old text.
    CString self(L"abc");
    self.Format(L"%s-%s%%", self, self);
    EXPECT_STREQ(L"abc-abc%", self);
    CString grow(L'y', 3000);
    grow.AppendFormat(L"|%s", grow); // the text grows past its old room
    EXPECT_EQ(6001, grow.GetLength());
    EXPECT_EQ(CString(L'y', 3000) + L"|" + CString(L'y', 3000), grow);
}

TEST(CStringFormat, DecimalPointStaysDotUnderACommaLocale)
{
    const char* set = setlocale(LC_NUMERIC, "German_Germany.1252");
    if (!set)
        set = setlocale(LC_NUMERIC, "de-DE");
    if (!set)
        GTEST_SKIP() << "no comma locale available";
    wchar_t plain[32];
    swprintf(plain, 32, L"%.2f", 0.5);
    CString s;
    s.Format(L"%.2f", 0.5);
    setlocale(LC_NUMERIC, "C");
    EXPECT_STREQ(L"0,50", plain) << "the locale did not take effect";
    EXPECT_STREQ(L"0.50", s);
}

TEST(CStringConversion, AnsiRoundTripOfNonAsciiText)
{
    const wchar_t* text = L"Gr\u00fc\u00dfe, caf\u00e9 \u00c5";
    // Through the ANSI code page, whichever it is here.
    CStringA narrow(text);
    EXPECT_EQ(static_cast<int>(wcslen(text)), narrow.GetLength()) << "code page " << GetACP();
    CString back(narrow.GetString());
    EXPECT_STREQ(text, back);

    // The bytes of a known code page.
    CStringA western(text, 1252);
    EXPECT_STREQ("Gr\xfc\xdf"
                 "e, caf\xe9 \xc5",
                 western);
    EXPECT_STREQ(text, AfxWideFromBytes(western, western.GetLength(), 1252));

    // UTF-8 keeps what the ANSI page cannot hold.
    const wchar_t* wide = L"\u263a \u4e2d\u6587 \U0001F3B5";
    CStringA utf8(wide, CP_UTF8);
    EXPECT_STREQ("\xe2\x98\xba \xe4\xb8\xad\xe6\x96\x87 \xf0\x9f\x8e\xb5", utf8);
    EXPECT_STREQ(wide, AfxWideFromBytes(utf8, utf8.GetLength(), CP_UTF8));

    // Null sources give empty strings.
    EXPECT_TRUE(CString(static_cast<LPCSTR>(nullptr)).IsEmpty());
    EXPECT_TRUE(CString(static_cast<LPCWSTR>(nullptr)).IsEmpty());
}

TEST(CStringSearch, FindAtTheEnds)
{
    CString s(L"abcabc");
    EXPECT_EQ(0, s.Find(L'a'));
    EXPECT_EQ(5, s.Find(L'c', 3));
    EXPECT_EQ(5, s.Find(L'c', 5));
    EXPECT_EQ(-1, s.Find(L'c', 6));
    EXPECT_EQ(-1, s.Find(L'a', 100));
    EXPECT_EQ(3, s.Find(L"abc", 1));
    EXPECT_EQ(4, s.Find(L"bc", 4));
    EXPECT_EQ(-1, s.Find(L"bcd"));
    EXPECT_EQ(-1, s.Find(L"abc", 7));
    EXPECT_EQ(-1, s.Find(L"a", -1));
    EXPECT_EQ(-1, s.Find(L'a', -1));
    EXPECT_EQ(6, s.Find(L"", 6)); // the empty text is found where the search starts
    EXPECT_EQ(5, s.ReverseFind(L'c'));
    EXPECT_EQ(-1, s.ReverseFind(L'x'));
    EXPECT_EQ(2, s.FindOneOf(L"xyc"));
    EXPECT_EQ(-1, s.FindOneOf(L""));
    EXPECT_EQ(-1, CString().Find(L'a'));
}

TEST(CStringSearch, TokenizeAtTheEnds)
{
    CString s(L";;one;two;;three;");
    int pos = 0;
    EXPECT_STREQ(L"one", s.Tokenize(L";", pos));
    EXPECT_EQ(6, pos);
    EXPECT_STREQ(L"two", s.Tokenize(L";", pos));
    EXPECT_STREQ(L"three", s.Tokenize(L";", pos));
    EXPECT_EQ(s.GetLength(), pos);
    EXPECT_STREQ(L"", s.Tokenize(L";", pos));
    EXPECT_EQ(-1, pos);

    // Last token without a trailing delimiter.
    CString t(L"a b");
    pos = 0;
    EXPECT_STREQ(L"a", t.Tokenize(L" ", pos));
    EXPECT_STREQ(L"b", t.Tokenize(L" ", pos));
    EXPECT_EQ(4, pos); // one past the end: the next call ends
    EXPECT_STREQ(L"", t.Tokenize(L" ", pos));
    EXPECT_EQ(-1, pos);

    // Only delimiters, and an empty string.
    pos = 0;
    EXPECT_STREQ(L"", CString(L";;;").Tokenize(L";", pos));
    EXPECT_EQ(-1, pos);
    pos = 0;
    EXPECT_STREQ(L"", CString().Tokenize(L";", pos));
    EXPECT_EQ(-1, pos);
}

TEST(CStringEdit, ExtractionClampsLikeTheClassLibrary)
{
    CString s(L"Hello");
    EXPECT_STREQ(L"ell", s.Mid(1, 3));
    EXPECT_STREQ(L"llo", s.Mid(2));
    EXPECT_STREQ(L"lo", s.Mid(3, 100));
    EXPECT_STREQ(L"", s.Mid(9));
    EXPECT_STREQ(L"He", s.Mid(-3, 2));
    EXPECT_STREQ(L"Hello", s.Left(99));
    EXPECT_STREQ(L"", s.Left(-1));
    EXPECT_STREQ(L"llo", s.Right(3));
    EXPECT_STREQ(L"Hello", s.Right(9));
    EXPECT_STREQ(L"Hell", s.SpanIncluding(L"eHl"));
    EXPECT_STREQ(L"He", s.SpanExcluding(L"l"));
    EXPECT_EQ(L'o', s.GetAt(4));
    EXPECT_THROW(s.GetAt(5), CInvalidArgException*);
}

TEST(CStringEdit, ModifyingMembers)
{
    CString s(L"a-b-c");
    EXPECT_EQ(0, s.Replace(L'-', L'-')); // no change, nothing replaced
    EXPECT_EQ(2, s.Replace(L'-', L'+'));
    EXPECT_STREQ(L"a+b+c", s);
    EXPECT_EQ(2, s.Replace(L"+", L"<->"));
    EXPECT_STREQ(L"a<->b<->c", s);
    EXPECT_EQ(0, s.Replace(L"", L"x"));
    EXPECT_EQ(2, s.Replace(L"<->", L""));
    EXPECT_STREQ(L"abc", s);
    EXPECT_EQ(5, s.Insert(1, L"XY"));
    EXPECT_EQ(6, s.Insert(100, L'!')); // past the end appends
    EXPECT_STREQ(L"aXYbc!", s);
    EXPECT_EQ(4, s.Delete(1, 2));
    EXPECT_EQ(3, s.Delete(3, 10));
    EXPECT_EQ(3, s.Delete(7));
    EXPECT_STREQ(L"abc", s);
    EXPECT_EQ(1, s.Remove(L'b'));
    EXPECT_STREQ(L"ac", s);

    CString t(L" \t x y \r\n");
    EXPECT_STREQ(L"x y", t.Trim());
    CString u(L"xxAxx");
    EXPECT_STREQ(L"Axx", u.TrimLeft(L'x'));
    EXPECT_STREQ(L"A", u.TrimRight(L"xy"));
    CString v(L"Mixed \u00e4\u00d6");
    EXPECT_STREQ(L"MIXED \u00c4\u00d6", v.MakeUpper());
    EXPECT_STREQ(L"mixed \u00e4\u00f6", v.MakeLower());
}

TEST(CStringEdit, ComparisonAndConcatenation)
{
    CString a(L"abc"), b(L"ABC");
    EXPECT_GT(a.Compare(b), 0);
    EXPECT_EQ(0, a.CompareNoCase(b));
    EXPECT_TRUE(a == L"abc");
    EXPECT_TRUE(L"abc" == a);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(b < a);
    EXPECT_STREQ(L"abcABC!", a + b + L'!');
    EXPECT_STREQ(L"<abc", L"<" + a);
    a += L"d";
    a += 'e';
    EXPECT_STREQ(L"abcde", a);
    CString n("narrow");
    EXPECT_STREQ(L"narrow", n);
}

TEST(CStringBuffer, GetAndReleaseBuffer)
{
    CString s(L"abc");
    wchar_t* p = s.GetBuffer(10);
    wcscpy(p, L"0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ(10, s.GetLength());
    p = s.GetBuffer();
    p[4] = 0;
    s.ReleaseBuffer();
    EXPECT_STREQ(L"0123", s);
    p = s.GetBufferSetLength(2);
    EXPECT_EQ(2, s.GetLength());
    p[0] = L'Z';
    s.ReleaseBuffer(1);
    EXPECT_STREQ(L"Z", s);

    // The classic Win32 filling pattern.
    CString dir;
    DWORD n = GetWindowsDirectoryW(dir.GetBuffer(MAX_PATH), MAX_PATH);
    dir.ReleaseBuffer();
    EXPECT_EQ(static_cast<int>(n), dir.GetLength());
}

TEST(CStringResource, LoadStringAndFormatFromTheStringTable)
{
    CString s(L"unchanged");
    EXPECT_TRUE(s.LoadString(1001));
    EXPECT_STREQ(L"Loaded text", s);
    EXPECT_TRUE(s.LoadString(1003));
    EXPECT_STREQ(L"\u00dcn\u00efcode \u263a text", s);

    CString f;
    f.Format(1002u, 5, L"five");
    EXPECT_STREQ(L"Value 5, name five", f);

    CString missing(L"kept");
    EXPECT_FALSE(missing.LoadString(4242));
    EXPECT_STREQ(L"kept", missing);

    // Another module as resource handle: the executable's strings are gone.
    AfxSetResourceHandle(GetModuleHandleW(L"kernel32.dll"));
    EXPECT_FALSE(missing.LoadString(1001));
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(GetModuleHandleW(nullptr), AfxGetResourceHandle());
    EXPECT_TRUE(missing.LoadString(1001));
}

} // namespace
