// The program's folder and its aux-files folder.
#include <gtest/gtest.h>

#include <string>

#include "common/AppFolder.h"

namespace {

TEST(AppFolder, IsTheRunningProgramsFolder)
{
    const CString folder = GetAppFolder();
    ASSERT_FALSE(folder.IsEmpty());
    EXPECT_EQ(L'\\', folder[folder.GetLength() - 1]);
    wchar_t self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    const std::wstring path(self);
    EXPECT_EQ(path.substr(0, path.rfind(L'\\') + 1), folder.GetString());
    EXPECT_STREQ((folder + L"AuxFiles").GetString(), static_cast<LPCWSTR>(GetAuxFolder()));
}

} // namespace
