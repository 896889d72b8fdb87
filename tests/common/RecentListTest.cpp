// The recent-file list: order, letter case, the limit of ten, and its
// registry round trip under "RecentFiles".
#include <gtest/gtest.h>

#include "common/RecentList.h"

namespace {

const wchar_t kScratchKey[] = L"Software\\Velmora\\Ravelin\\CommonUiRecentTest";

CString PathNo(int i)
{
    CString path;
    path.Format(L"C:\\Music\\song%02d.mp3", i);
    return path;
}

TEST(RecentList, AddKeepsPlaceOfListedPathsAndCase)
{
    CRecentList list;
    list.Add(nullptr);
    EXPECT_EQ(0, list.GetCount());
    list.Add(L"C:\\Music\\a.mp3");
    list.Add(L"C:\\Music\\b.wav");
    EXPECT_EQ(2, list.GetCount());
    EXPECT_STREQ(L"C:\\Music\\b.wav", list.GetAt(0));
    // A listed path (in any letter case) keeps its place and its spelling.
    list.Add(L"c:\\MUSIC\\A.MP3");
    EXPECT_EQ(2, list.GetCount());
    EXPECT_STREQ(L"C:\\Music\\b.wav", list.GetAt(0));
    EXPECT_STREQ(L"C:\\Music\\a.mp3", list.GetAt(1));
    EXPECT_EQ(nullptr, list.GetAt(-1));
    EXPECT_EQ(nullptr, list.GetAt(2));

    // The application's "move to front": Remove, then Add.
    list.Remove(L"C:\\MUSIC\\A.mp3");
    list.Add(L"C:\\Music\\a.mp3");
    EXPECT_STREQ(L"C:\\Music\\a.mp3", list.GetAt(0));
    list.Remove(nullptr);
    list.Remove(L"C:\\absent.mp3");
    EXPECT_EQ(2, list.GetCount());
}

TEST(RecentList, EleventhPathDropsTheOldest)
{
    CRecentList list;
    for (int i = 0; i < 10; ++i)
        list.Add(PathNo(i));
    EXPECT_EQ(10, list.GetCount());
    list.Add(PathNo(10));
    EXPECT_EQ(10, list.GetCount());
    EXPECT_STREQ(PathNo(10), list.GetAt(0));
    EXPECT_STREQ(PathNo(1), list.GetAt(9));
}

class RecentListRegistry : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyW(HKEY_CURRENT_USER, kScratchKey, &m_key)); }
    void TearDown() override
    {
        RegDeleteKeyW(m_key, L"RecentFiles");
        RegCloseKey(m_key);
        RegDeleteKeyW(HKEY_CURRENT_USER, kScratchKey);
    }
    int ValueCount()
    {
        HKEY sub = nullptr;
        if (RegOpenKeyExW(m_key, L"RecentFiles", 0, KEY_READ, &sub) != ERROR_SUCCESS)
            return -1;
        DWORD values = 0;
        RegQueryInfoKeyW(sub, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                         nullptr);
        RegCloseKey(sub);
        return static_cast<int>(values);
    }
    HKEY m_key = nullptr;
};

TEST_F(RecentListRegistry, RoundTripLongListsTrimmedOnNextAddAndFailedSaveReported)
{
    CRecentList list;
    for (int i = 0; i < 5; ++i)
        list.Add(PathNo(i));
    ASSERT_TRUE(list.Exchange(m_key, L"RecentFiles", false));
    EXPECT_EQ(5, ValueCount());

    CRecentList loaded;
    ASSERT_TRUE(loaded.Exchange(m_key, L"RecentFiles", true));
    ASSERT_EQ(5, loaded.GetCount());
    for (int i = 0; i < 5; ++i)
        EXPECT_STREQ(list.GetAt(i), loaded.GetAt(i));

    // A shorter list replaces the stored one completely.
    CRecentList shorter;
    shorter.Add(L"D:\\x.ogg");
    ASSERT_TRUE(shorter.Exchange(m_key, L"RecentFiles", false));
    EXPECT_EQ(1, ValueCount());

    // More than ten stored values load whole; the next new path trims.
    HKEY sub = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyW(m_key, L"RecentFiles", &sub));
    for (int i = 0; i < 12; ++i) {
        CString name;
        name.Format(L"%d", i);
        CString value = PathNo(i);
        RegSetValueExW(sub, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(static_cast<LPCWSTR>(value)),
                       (value.GetLength() + 1) * sizeof(wchar_t));
    }
    RegCloseKey(sub);
    CRecentList many;
    ASSERT_TRUE(many.Exchange(m_key, L"RecentFiles", true));
    EXPECT_EQ(12, many.GetCount());
    many.Add(L"E:\\new.wav");
    EXPECT_EQ(10, many.GetCount());
    EXPECT_STREQ(L"E:\\new.wav", many.GetAt(0));
    EXPECT_STREQ(PathNo(8), many.GetAt(9));

    // An empty list leaves an empty subkey.
    CRecentList empty;
    ASSERT_TRUE(empty.Exchange(m_key, L"RecentFiles", false));
    EXPECT_EQ(0, ValueCount());

    // No key to save under: the list is not on disk, and the caller hears so.
    EXPECT_FALSE(list.Exchange(nullptr, L"RecentFiles", false));
}

} // namespace
