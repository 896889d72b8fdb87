#include "common/ResLoader.h"
#include <vector>

namespace {

HRSRC FindNumbered(LPCWSTR type, UINT id)
{
    CString name;
    name.Format(L"#%d", static_cast<int>(id));
    return FindResourceW(AfxGetResourceHandle(), name, type);
}

} // namespace

bool CResHMemLoader::Load(LPCWSTR type, UINT id)
{
    // A loader used again answers for this resource only.
    m_handle = nullptr;
    m_size = 0;
    HRSRC res = FindNumbered(type, id);
    if (res != nullptr) {
        m_size = SizeofResource(AfxGetResourceHandle(), res);
        m_handle = LoadResource(AfxGetResourceHandle(), res);
    }
    return m_handle != nullptr;
}

bool CResLoader::Load(LPCWSTR type, UINT id)
{
    m_data = nullptr;
    if (CResHMemLoader::Load(type, id))
        m_data = LockResource(m_handle);
    return m_data != nullptr;
}

CString LoadTextResource(UINT id)
{
    CString text;
    CResLoader loader;
    if (!loader.Load(L"TEXT", id))
        return text;
    DWORD size = loader.GetSize();
    // Two zero bytes after the data end the text in either form.
    std::vector<BYTE> bytes(size_t(size) + 2, 0);
    memcpy(bytes.data(), loader.GetData(), size);
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        const WCHAR* wide = reinterpret_cast<const WCHAR*>(bytes.data()) + 1;
        // An odd last byte is not part of any character.
        text = CString(wide, static_cast<int>(wcsnlen(wide, (size - 2) / 2)));
    } else {
        const char* ansi = reinterpret_cast<const char*>(bytes.data());
        int length = static_cast<int>(strnlen(ansi, size));
        if (length > 0) {
            int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi, length, nullptr, 0);
            std::vector<WCHAR> wide(size_t(wideLength) + 1, 0);
            MultiByteToWideChar(CP_ACP, 0, ansi, length, wide.data(), wideLength);
            text = CString(wide.data(), wideLength);
        }
    }
    return text;
}
