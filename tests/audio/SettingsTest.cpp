// The audio settings under "VAF" in the real registry of the private prefix,
// and the peak-file trim on real files in the aux folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "audio/AudioSettings.h"
#include "audio/PeakFileCache.h"
#include "common/AppFolder.h"

namespace {

const wchar_t kScratchKey[] = L"Software\\Ravelin-test-dshow";

DWORD ReadDword(HKEY root, const wchar_t* subkey, const wchar_t* name, bool* found)
{
    DWORD value = 0, size = sizeof(value);
    *found = RegGetValueW(root, subkey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS;
    return value;
}

TEST(AudioSettings, VafValuesRoundTripAndMissingOnesKeepDefaults)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
    SAudioSettings saved = AudioSettings();
    EXPECT_EQ(20, GetMaxPeakFileSize());
    EXPECT_EQ(0xFFFFFFFFu, AudioSettings().dwWaveOutputDeviceID);

    // No "VAF" key yet: loading changes nothing.
    SerializeAudioSettings(key, true);
    EXPECT_EQ(20, GetMaxPeakFileSize());

    SetMaxPeakFileSize(7);
    AudioSettings().dwWaveInputDeviceID = 2;
    AudioSettings().dwWaveOutputDeviceID = 3;
    SerializeAudioSettings(key, false);
    std::wstring vaf = std::wstring(kScratchKey) + L"\\VAF";
    bool found = false;
    EXPECT_EQ(7u, ReadDword(HKEY_CURRENT_USER, vaf.c_str(), L"iMaxPeakFileSize", &found));
    EXPECT_TRUE(found);
    EXPECT_EQ(2u, ReadDword(HKEY_CURRENT_USER, vaf.c_str(), L"dwWaveInputDeviceID", &found));
    EXPECT_EQ(3u, ReadDword(HKEY_CURRENT_USER, vaf.c_str(), L"dwWaveOutputDeviceID", &found));

    AudioSettings() = SAudioSettings();
    SerializeAudioSettings(key, true);
    EXPECT_EQ(7, GetMaxPeakFileSize());
    EXPECT_EQ(2u, AudioSettings().dwWaveInputDeviceID);
    EXPECT_EQ(3u, AudioSettings().dwWaveOutputDeviceID);

    // A value missing from the registry keeps its default.
    HKEY vafKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(key, L"VAF", 0, KEY_ALL_ACCESS, &vafKey));
    RegDeleteValueW(vafKey, L"dwWaveInputDeviceID");
    RegCloseKey(vafKey);
    AudioSettings() = SAudioSettings();
    SerializeAudioSettings(key, true);
    EXPECT_EQ(0xFFFFFFFFu, AudioSettings().dwWaveInputDeviceID);
    EXPECT_EQ(3u, AudioSettings().dwWaveOutputDeviceID);

    RegCloseKey(key);
    RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
    AudioSettings() = saved;
}

class PeakFileTrim : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = std::wstring(static_cast<LPCWSTR>(GetAuxFolder()));
        CreateDirectoryW(m_folder.c_str(), nullptr);
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((m_folder + L"\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileW((m_folder + L"\\" + fd.cFileName).c_str());
            } while (FindNextFileW(h, &fd));
            FindClose(h);
        }
        m_saved = GetMaxPeakFileSize();
    }
    void TearDown() override { SetMaxPeakFileSize(m_saved); }

    // A file of `bytes` bytes last written at `hour` o'clock of a fixed day.
    void MakeFile(const wchar_t* name, LONGLONG bytes, int hour)
    {
        HANDLE f = CreateFileW(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, f);
        LARGE_INTEGER size;
        size.QuadPart = bytes;
        SetFilePointerEx(f, size, nullptr, FILE_BEGIN);
        SetEndOfFile(f);
        SYSTEMTIME st = {2024, 3, 0, 1, static_cast<WORD>(hour), 0, 0, 0};
        FILETIME ft;
        SystemTimeToFileTime(&st, &ft);
        SetFileTime(f, nullptr, nullptr, &ft);
        CloseHandle(f);
    }
    std::wstring Path(const wchar_t* name) const { return m_folder + L"\\" + name; }
    bool Exists(const wchar_t* name) const { return GetFileAttributesW(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::wstring m_folder;
    int m_saved = 20;
};

const LONGLONG kMiB = 1048576;

TEST_F(PeakFileTrim, DeletesOldestFirstUntilWithinLimitAndLeavesOtherFiles)
{
    MakeFile(L"a.mcp", 15 * kMiB, 3);
    MakeFile(L"b.mcp", 10 * kMiB, 1);
    MakeFile(L"c.MCP", 5 * kMiB, 2);
    // Older and larger than all of them, but not peak files.
    MakeFile(L"song.mcp.mcfi", 30 * kMiB, 0);
    MakeFile(L"x.mcpx", 30 * kMiB, 0);
    MakeFile(L"notes.txt", 30 * kMiB, 0);

    SetMaxPeakFileSize(20);
    CPeakFileCache cache;
    EXPECT_EQ(3, cache.GetCount());
    EXPECT_EQ(30ULL * kMiB, cache.GetTotalSize());
    cache.Trim();
    EXPECT_FALSE(Exists(L"b.mcp"));
    EXPECT_TRUE(Exists(L"a.mcp"));
    EXPECT_TRUE(Exists(L"c.MCP"));
    EXPECT_EQ(20ULL * kMiB, cache.GetTotalSize());

    SetMaxPeakFileSize(0);
    CPeakFileCache again;
    again.Trim();
    EXPECT_EQ(0, again.GetCount());
    EXPECT_FALSE(Exists(L"a.mcp"));
    EXPECT_FALSE(Exists(L"c.MCP"));
    EXPECT_TRUE(Exists(L"song.mcp.mcfi"));
    EXPECT_TRUE(Exists(L"x.mcpx"));
    EXPECT_TRUE(Exists(L"notes.txt"));
}

TEST_F(PeakFileTrim, EquallyOldFilesGoInListOrder)
{
    MakeFile(L"p1.mcp", kMiB, 5);
    MakeFile(L"p2.mcp", kMiB, 5);
    SetMaxPeakFileSize(1);
    CPeakFileCache cache;
    ASSERT_EQ(2, cache.GetCount());
    CString first = cache.GetName(0), second = cache.GetName(1);
    cache.Trim();
    EXPECT_FALSE(Exists(first));
    EXPECT_TRUE(Exists(second));
}

TEST_F(PeakFileTrim, LockedFileStaysAndStopsNothingElse)
{
    MakeFile(L"l1.mcp", kMiB, 1);
    MakeFile(L"l2.mcp", kMiB, 2);
    MakeFile(L"l3.mcp", kMiB, 3);
    CPeakFileCache cache;
    ASSERT_EQ(3, cache.GetCount());
    CString locked = cache.GetName(1);
    HANDLE hold = CreateFileW(Path(locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hold);
    EXPECT_FALSE(cache.DeleteEntry(3));
    EXPECT_FALSE(cache.DeleteEntry(-1));
    EXPECT_EQ(1, cache.DeleteAll());
    EXPECT_EQ(locked, cache.GetName(0));
    EXPECT_TRUE(Exists(locked));
    CloseHandle(hold);
    EXPECT_EQ(0, cache.DeleteAll());
}

} // namespace
