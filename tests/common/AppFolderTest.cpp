// The program's folder and its aux-files folder.
#include <gtest/gtest.h>

#include "common/AppFolder.h"

namespace {

TEST(AppFolder, IsTheRunningProgramsFolder)
{
    const CString folder = GetAppFolder();
    ASSERT_FALSE(folder.IsEmpty());
    EXPECT_EQ(L'\\', folder[folder.GetLength() - 1]);
    wchar_t self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    EXPECT_STREQ((folder + L"test_audio.exe").GetString(), self);
    EXPECT_STREQ((folder + L"AuxFiles").GetString(), static_cast<LPCWSTR>(GetAuxFolder()));
}

} // namespace
