// The settings: what the registry gives back after a save, the values that
// are checked on loading, the window placement and the volume commands.
#include <shlobj.h>
#include "AppTestKit.h"
#include "app/AppIds.h"
#include "app/AppSettings.h"
#include "app/MainFrame.h"
#include "common/FileUtils.h"
#include "common/RecentList.h"
#include "common/WndPos.h"
#include "tests/support/TestSupport.h"

using namespace apptest;

namespace {

using Settings = AppTest;

CString MusicFolder()
{
    CString music;
    EXPECT_HRESULT_SUCCEEDED(SHGetFolderPathDynamic(nullptr, CSIDL_MYMUSIC, nullptr, 0, music));
    return music;
}

} // namespace

TEST_F(Settings, SavedValuesComeBackAndLandUnderTheirNames)
{
    SetVolume(37);
    SetAutoscrollPlayback(false);
    SetAutoLoopNewSel(true);
    SetToFragmentBeginAfterStop(false);
    GetRecentList().Add(L"C:\\music\\first.wav");
    GetRecentList().Add(L"C:\\music\\second.mp3");
    ASSERT_TRUE(SaveAppSettings());

    EXPECT_EQ((std::vector<DWORD>{37, 0, 1, 0}),
              (std::vector<DWORD>{StoredDword(L"iVolume"), StoredDword(L"bAutoscrollPlayback"),
                                  StoredDword(L"bAutoLoopNewSel"), StoredDword(L"bToFragmentBeginAfterStop")}));

    SetVolume(90);
    SetAutoscrollPlayback(true);
    SetAutoLoopNewSel(false);
    SetToFragmentBeginAfterStop(true);
    while (GetRecentList().GetCount() > 0)
        GetRecentList().Remove(GetRecentList().GetAt(0));
    LoadAppSettings();
    EXPECT_EQ((std::vector<int>{37, 0, 1, 0}), (std::vector<int>{GetVolume(), GetAutoscrollPlayback(),
                                                                 GetAutoLoopNewSel(), GetToFragmentBeginAfterStop()}));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\music\\second.mp3", L"C:\\music\\first.wav"}), Recent());
}

TEST_F(Settings, StoredValuesAreCheckedOnLoading)
{
    for (int stored : {250, -5}) {
        WriteDword(L"iVolume", static_cast<DWORD>(stored));
        LoadAppSettings();
        EXPECT_EQ(stored > 0 ? 100 : 0, GetVolume());
    }

    // A deleted export folder becomes the music folder; an existing one stays.
    const CString music = MusicFolder();
    ASSERT_FALSE(music.IsEmpty());
    WriteString(L"csLastExportDestination", L"C:\\no such folder\\gone");
    LoadAppSettings();
    EXPECT_STREQ(music, GetLastExportDestination());
    const std::wstring kept = testsupport::ScratchDir(L"export-kept");
    WriteString(L"csLastExportDestination", kept.c_str());
    LoadAppSettings();
    EXPECT_STREQ(kept.c_str(), GetLastExportDestination());
}

TEST_F(Settings, StoredPlacementIsRestoredAndAZeroWidthOneIgnored)
{
    SWndPos stored;
    stored.rect = {60, 50, 660, 470};
    WriteBinary(L"rMainWndPos", &stored, sizeof stored);
    ASSERT_TRUE(Start());
    CRect rect;
    MainFrame()->GetWindowRect(&rect);
    EXPECT_EQ(CRect(60, 50, 660, 470), rect);
    // Moved by the user: the new place is what the exit stores.
    MainFrame()->MoveWindow(80, 70, 500, 400);
    Stop();
    SWndPos saved;
    DWORD size = sizeof saved, type = 0;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, L"rMainWndPos", RRF_RT_REG_BINARY, &type, &saved, &size));
    EXPECT_EQ(CRect(80, 70, 580, 470), CRect(saved.rect));

    stored.rect = {300, 50, 300, 470};
    WriteBinary(L"rMainWndPos", &stored, sizeof stored);
    ASSERT_TRUE(Start());
    CRect work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    MainFrame()->GetWindowRect(&rect);
    EXPECT_EQ(work.Width() - 40, rect.Width());
    EXPECT_EQ(work.Height() - 40, rect.Height());
}

TEST_F(Settings, VolumeKeysStayInRangeAndAreSavedOnlyAtExit)
{
    WriteDword(L"iVolume", 99);
    ASSERT_TRUE(Start());
    Command(ID_CMD_VOLUME_UP);
    Command(ID_CMD_VOLUME_UP);
    EXPECT_EQ(100, GetVolume());
    EXPECT_EQ(99u, StoredDword(L"iVolume"));
    SetVolume(1);
    Command(ID_CMD_VOLUME_DOWN);
    Command(ID_CMD_VOLUME_DOWN);
    EXPECT_EQ(0, GetVolume());

    Command(ID_CMD_AUTOSCROLL);
    EXPECT_FALSE(GetAutoscrollPlayback());
    Stop();
    EXPECT_EQ(0u, StoredDword(L"iVolume"));
    EXPECT_EQ(0u, StoredDword(L"bAutoscrollPlayback"));
}
