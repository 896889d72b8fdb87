#include "SetupTestSupport.h"
#include "tests/support/TestSupport.h"
#include "common/FolderWalk.h"
#include "common/ProductInfo.h"

namespace setuptest {

const wchar_t* const kSourceFiles[3] = {L"prog.exe", L"big data.bin", L"nls\\lang.txt"};

STree FreshFolder(const wchar_t* name)
{
    wchar_t tmp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, tmp);
    STree tree{std::wstring(tmp) + L"ravelin-setup\\" + name};
    ::CreateDirectoryW((std::wstring(tmp) + L"ravelin-setup").c_str(), nullptr);
    (void)DeleteFolderTree(tree.root.c_str()); // not there yet on the first run
    ::CreateDirectoryW(tree.root.c_str(), nullptr);
    return tree;
}

void MakeSourceSet(const std::wstring& folder)
{
    ::CreateDirectoryW((folder + L"\\nls").c_str(), nullptr);
    ::CreateDirectoryW((folder + L"\\empty").c_str(), nullptr);
    std::vector<uint8_t> bytes(250000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
    testsupport::WriteFileBytes(folder + L"\\big data.bin", bytes.data(), bytes.size());
    testsupport::WriteFileBytes(folder + L"\\prog.exe", "MZ-test", 7);
    testsupport::WriteFileBytes(folder + L"\\nls\\lang.txt", "lang", 4);
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SameBytes(const std::wstring& a, const std::wstring& b)
{
    const auto x = testsupport::ReadFileBytes(a);
    return !x.empty() && x == testsupport::ReadFileBytes(b);
}

int CountEntries(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        ++count;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            count += CountEntries(folder + L"\\" + name);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return count;
}

void UseTestProduct()
{
    g_productInfo.name = L"Setup Test";
    g_productInfo.folderName = L"Setup Test";
    g_productInfo.registryKey = L"Software\\Velmora\\SetupTest";
    g_productInfo.uninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                                 L"SetupTest{3213E4B6-4F4D-450c-B806-7C90A04CE88A}";
}

} // namespace setuptest
