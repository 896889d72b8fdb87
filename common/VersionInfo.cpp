#include "common/VersionInfo.h"
#include "common/PathUtils.h"

CVersionInfo::CVersionInfo() : m_modulePath(GetModuleFilePath())
{
    Read();
}

CVersionInfo::CVersionInfo(LPCWSTR modulePath) : m_modulePath(modulePath ? modulePath : L"")
{
    Read();
}

CVersionInfo::~CVersionInfo() = default;

void CVersionInfo::Read()
{
    if (m_modulePath.IsEmpty())
        return;
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(m_modulePath, &handle);
    if (size == 0)
        return;
    m_block.resize(size);
    if (!GetFileVersionInfoW(m_modulePath, 0, size, m_block.data()))
        m_block.clear();
}

CString CVersionInfo::GetValue(LPCWSTR key) const
{
    CString value;
    if (m_block.empty() || key == nullptr)
        return value;
    CString path = L"\\StringFileInfo\\040904B0\\";
    path += key;
    void* data = nullptr;
    UINT length = 0;
    if (VerQueryValueW(m_block.data(), path, &data, &length) && data != nullptr && length > 0) {
        // length counts characters, the terminator included; stop at a zero
        // so that a value without one is still read safely.
        const WCHAR* text = static_cast<const WCHAR*>(data);
        UINT n = 0;
        while (n < length && text[n] != 0)
            ++n;
        value = CString(text, static_cast<int>(n));
    }
    return value;
}

CString CVersionInfo::GetProductName() const
{
    return GetValue(L"ProductName");
}

CString CVersionInfo::GetProductVersion() const
{
    CString version = GetValue(L"ProductVersion");
    version.Remove(L' ');
    version.Replace(L',', L'.');
    return version;
}

CString CVersionInfo::GetCompanyName() const
{
    return GetValue(L"CompanyName");
}
CString CVersionInfo::GetLegalCopyright() const
{
    return GetValue(L"LegalCopyright");
}
CString CVersionInfo::GetComments() const
{
    return GetValue(L"Comments");
}
CString CVersionInfo::GetFileDescription() const
{
    return GetValue(L"FileDescription");
}
CString CVersionInfo::GetInternalName() const
{
    return GetValue(L"InternalName");
}
CString CVersionInfo::GetLegalTrademarks() const
{
    return GetValue(L"LegalTrademarks");
}
CString CVersionInfo::GetPrivateBuild() const
{
    return GetValue(L"PrivateBuild");
}
CString CVersionInfo::GetSpecialBuild() const
{
    return GetValue(L"SpecialBuild");
}
