#pragma once
// Files for the tests: UTF-16LE bytes, the plain files of a folder, and a
// fixture with a fresh scratch folder named after the test suite.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/PathUtils.h"
#include "common/ScopedHandle.h"
#include "tests/support/TestSupport.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testfiles {

// UTF-16LE bytes of `text`, after the mark FF FE when asked.
inline std::vector<uint8_t> Utf16(const std::wstring& text, bool mark = true)
{
    std::vector<uint8_t> bytes;
    if (mark)
        bytes = {0xFF, 0xFE};
    for (wchar_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

// Names of the plain files in `folder`.
inline std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    CFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (find)
        do
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(data.cFileName);
        while (FindNextFileW(find.Get(), &data));
    return names;
}

class CScratchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* suite = ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
        m_dir = testsupport::ScratchDir((L"common-" + std::wstring(suite, suite + strlen(suite))).c_str()).c_str();
    }
    CString Path(LPCWSTR name) const { return JoinPath(m_dir, name); }
    // `bytes` as the file `name` of the scratch folder; its path.
    CString Make(LPCWSTR name, const std::vector<uint8_t>& bytes) const
    {
        const CString path = Path(name);
        EXPECT_TRUE(testsupport::WriteFileBytes(path.GetString(), bytes.data(), bytes.size()));
        return path;
    }
    std::vector<uint8_t> Bytes(const CString& path) const { return testsupport::ReadFileBytes(path.GetString()); }

    CString m_dir;
};

} // namespace testfiles
