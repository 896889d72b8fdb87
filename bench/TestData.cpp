#include "bench/TestData.h"

#include <cstdlib>

std::string TestDataFolder(int argc, wchar_t** argv)
{
    std::string folder;
    if (argc > 1)
        for (const wchar_t* p = argv[1]; *p; ++p)
            folder += static_cast<char>(*p);
    else if (const char* env = std::getenv("RAVELIN_TESTDATA"))
        folder = env;
    return folder;
}

std::wstring WindowsPath(const std::string& unixPath)
{
    std::wstring w = L"Z:";
    for (char c : unixPath)
        w += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return w;
}
