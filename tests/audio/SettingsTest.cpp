// The audio settings under "VAF" in the real registry of the private prefix,
// and the peak-file trim on real files in the aux folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "audio/AudioSettings.h"
#include "audio/PeakFileCache.h"
#include "common/AppFolder.h"

namespace {

const wchar_t kScratchKey[] = L"Software\\Ravelin-test-audio";

TEST(AudioSettings, VafValuesRoundTripAndMissingOnesKeepDefaults)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const SAudioSettings saved = AudioSettings();
    AudioSettings() = SAudioSettings();
    EXPECT_TRUE(SerializeAudioSettings(key, true)); // no "VAF" key yet: loading changes nothing
    EXPECT_EQ(20, GetMaxPeakFileSize());

    SetMaxPeakFileSize(7);
    AudioSettings().dwWaveInputDeviceID = 2;
    AudioSettings().dwWaveOutputDeviceID = 3;
    EXPECT_TRUE(SerializeAudioSettings(key, false));
    const std::wstring vaf = std::wstring(kScratchKey) + L"\\VAF";
    for (const auto& [name, value] :
         {std::pair{L"iMaxPeakFileSize", 7u}, {L"dwWaveInputDeviceID", 2u}, {L"dwWaveOutputDeviceID", 3u}}) {
        DWORD got = 0, size = sizeof got;
        EXPECT_EQ(ERROR_SUCCESS,
                  RegGetValueW(HKEY_CURRENT_USER, vaf.c_str(), name, RRF_RT_REG_DWORD, nullptr, &got, &size));
        EXPECT_EQ(value, got) << name;
    }
    AudioSettings() = SAudioSettings();
    EXPECT_TRUE(SerializeAudioSettings(key, true));
    EXPECT_EQ(7, GetMaxPeakFileSize());
    EXPECT_EQ(2u, AudioSettings().dwWaveInputDeviceID);

    // A value missing from the registry keeps its default.
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyValueW(key, L"VAF", L"dwWaveInputDeviceID"));
    AudioSettings() = SAudioSettings();
    EXPECT_TRUE(SerializeAudioSettings(key, true));
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
        CPeakFileCache().DeleteAll();
        m_saved = GetMaxPeakFileSize();
    }
    void TearDown() override { SetMaxPeakFileSize(m_saved); }

    // A file of `mib` MiB last written at `hour` o'clock of a fixed day.
    void MakeFile(const wchar_t* name, LONGLONG mib, int hour)
    {
        HANDLE f = CreateFileW(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, f);
        LARGE_INTEGER size;
        size.QuadPart = mib * 1048576;
        const SYSTEMTIME st = {2024, 3, 0, 1, static_cast<WORD>(hour), 0, 0, 0};
        FILETIME ft;
        EXPECT_TRUE(SetFilePointerEx(f, size, nullptr, FILE_BEGIN) && SetEndOfFile(f) &&
                    SystemTimeToFileTime(&st, &ft) && SetFileTime(f, nullptr, nullptr, &ft));
        CloseHandle(f);
    }
    std::wstring Path(const wchar_t* name) const { return m_folder + L"\\" + name; }
    bool Exists(const wchar_t* name) const { return GetFileAttributesW(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::wstring m_folder;
    int m_saved = 20;
};

TEST_F(PeakFileTrim, DeletesOldestFirstUntilWithinLimitAndLeavesOtherFiles)
{
    MakeFile(L"a.mcp", 15, 3);
    MakeFile(L"b.mcp", 10, 1);
    MakeFile(L"c.MCP", 5, 2);
    // Older and larger than all of them, but not peak files.
    for (const wchar_t* other : {L"song.mcp.mcfi", L"x.mcpx", L"notes.txt"})
        MakeFile(other, 30, 0);

    SetMaxPeakFileSize(20);
    CPeakFileCache cache;
    EXPECT_EQ(3, cache.GetCount());
    EXPECT_EQ(30ULL * 1048576, cache.GetTotalSize());
    cache.Trim();
    EXPECT_FALSE(Exists(L"b.mcp"));
    EXPECT_TRUE(Exists(L"a.mcp") && Exists(L"c.MCP"));
    EXPECT_EQ(20ULL * 1048576, cache.GetTotalSize());

    SetMaxPeakFileSize(0);
    CPeakFileCache again;
    again.Trim();
    EXPECT_EQ(0, again.GetCount());
    EXPECT_FALSE(Exists(L"a.mcp") || Exists(L"c.MCP"));
    EXPECT_TRUE(Exists(L"song.mcp.mcfi") && Exists(L"x.mcpx") && Exists(L"notes.txt"));
}

TEST_F(PeakFileTrim, EquallyOldFilesGoInListOrder)
{
    MakeFile(L"p1.mcp", 1, 5);
    MakeFile(L"p2.mcp", 1, 5);
    SetMaxPeakFileSize(1);
    CPeakFileCache cache;
    ASSERT_EQ(2, cache.GetCount());
    const CString first = cache.GetName(0), second = cache.GetName(1);
    cache.Trim();
    EXPECT_FALSE(Exists(first));
    EXPECT_TRUE(Exists(second));
}

TEST_F(PeakFileTrim, LockedFileStaysAndStopsNothingElse)
{
    for (int hour : {1, 2, 3})
        MakeFile((L"l" + std::to_wstring(hour) + L".mcp").c_str(), 1, hour);
    CPeakFileCache cache;
    ASSERT_EQ(3, cache.GetCount());
    const CString locked = cache.GetName(1);
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
