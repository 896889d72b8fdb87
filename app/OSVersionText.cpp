#include "app/OSVersionText.h"

#include <windows.h>

#include "common/LocalizedString.h"
#include "common/ScopedHandle.h"
#include "common/TimeUtils.h"

namespace {

const UINT IDS_NOT_AVAILABLE = 10098;

struct SNtName
{
    DWORD major, minor;
    bool server; // the name for server editions
    LPCWSTR name;
};

// Names of the NT family from 5.0 on; a version not listed gets the generic
// "Microsoft Windows NT major.minor" so the line always names the system.
const SNtName kNtNames[] = {
    {5, 0, false, L"Microsoft Windows 2000"},   {5, 0, true, L"Microsoft Windows 2000"},
    {5, 1, false, L"Microsoft Windows XP"},     {5, 1, true, L"Microsoft Windows XP"},
    {5, 2, false, L"Microsoft Windows XP x64"}, {5, 2, true, L"Microsoft Windows Server 2003"},
    {6, 0, false, L"Microsoft Windows Vista"},  {6, 0, true, L"Microsoft Windows Server 2008"},
    {6, 1, false, L"Microsoft Windows 7"},      {6, 1, true, L"Microsoft Windows Server 2008 R2"},
    {6, 2, false, L"Microsoft Windows 8"},      {6, 2, true, L"Microsoft Windows Server 2012"},
    {6, 3, false, L"Microsoft Windows 8.1"},    {6, 3, true, L"Microsoft Windows Server 2012 R2"},
    {10, 0, false, L"Microsoft Windows 10"},    {10, 0, true, L"Microsoft Windows Server 2016"},
};

CString ReadProductTypeValue()
{
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions", 0, KEY_READ, &raw) !=
        ERROR_SUCCESS)
        return CString();
    CRegKeyHandle key(raw);
    wchar_t text[80] = {};
    DWORD bytes = sizeof(text) - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(raw, L"ProductType", nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        return CString();
    return text;
}

CString NtName(const SOSVersion& v, bool server)
{
    if (v.major < 5)
        return L"Microsoft Windows NT";
    for (const SNtName& n : kNtNames)
        if (n.major == v.major && n.minor == v.minor && n.server == server)
            return n.name;
    CString name;
    name.Format(L"Microsoft Windows NT %u.%u", static_cast<unsigned>(v.major), static_cast<unsigned>(v.minor));
    return name;
}

CString Edition(const SOSVersion& v)
{
    if (v.hasExtended) {
        if (v.productType == VER_NT_WORKSTATION)
            return (v.suiteMask & VER_SUITE_PERSONAL) ? L" Personal" : L" Professional";
        if (v.productType == VER_NT_SERVER) {
            if (v.suiteMask & VER_SUITE_DATACENTER)
                return L" DataCenter Server";
            return (v.suiteMask & VER_SUITE_ENTERPRISE) ? L" Advanced Server" : L" Server";
        }
        return CString();
    }
    if (CompareText(v.registryProductType, L"WINNT") == 0)
        return L" Professional";
    if (CompareText(v.registryProductType, L"LANMANNT") == 0)
        return L" Server";
    if (CompareText(v.registryProductType, L"SERVERNT") == 0)
        return L" Advanced Server";
    return CString();
}

wchar_t SecondChar(const CString& text)
{
    return text.GetLength() > 1 ? text[1] : 0;
}

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);

} // namespace

bool ReadOSVersion(SOSVersion& out)
{
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    bool extended = false;
    // GetVersionExW reports the version the program was marked for, not the
    // system's; the kernel's RtlGetVersion answers the truth.
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        auto fn = reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
        extended = fn && fn(&info) == 0;
    }
    if (!extended)
        extended = GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)) != FALSE;
    if (!extended) {
        info = OSVERSIONINFOEXW{};
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)))
            return false;
    }
    out = SOSVersion{};
    out.platform = info.dwPlatformId;
    out.major = info.dwMajorVersion;
    out.minor = info.dwMinorVersion;
    out.build = info.dwBuildNumber;
    out.servicePack = info.szCSDVersion;
    out.hasExtended = extended;
    out.suiteMask = info.wSuiteMask;
    out.productType = info.wProductType;
    if (!extended && out.platform == VER_PLATFORM_WIN32_NT)
        out.registryProductType = ReadProductTypeValue();
    return true;
}

CString FormatOSVersion(const SOSVersion& v)
{
    CString text;
    switch (v.platform) {
    case VER_PLATFORM_WIN32s: text = L"Microsoft Win32s"; break;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (v.major == 4 && v.minor == 0) {
            text = L"Microsoft Windows 95";
            if (SecondChar(v.servicePack) == L'B' || SecondChar(v.servicePack) == L'C')
                text += L" OSR2";
        } else if (v.major == 4 && v.minor == 10) {
            text = L"Microsoft Windows 98";
            if (SecondChar(v.servicePack) == L'A')
                text += L" SE";
        } else {
            text = L"Microsoft Windows Me";
        }
        break;
    case VER_PLATFORM_WIN32_NT: {
        const bool server = v.hasExtended
                                ? v.productType != VER_NT_WORKSTATION
                                : CompareText(v.registryProductType, L"WINNT") != 0 && !v.registryProductType.IsEmpty();
        text = NtName(v, server) + Edition(v);
        CString rest;
        if (v.major <= 4)
            rest.Format(L" version %u.%u %s (Build %u)", static_cast<unsigned>(v.major), static_cast<unsigned>(v.minor),
                        static_cast<LPCWSTR>(v.servicePack), static_cast<unsigned>(v.build));
        else
            rest.Format(L" %s (Build %u)", static_cast<LPCWSTR>(v.servicePack),
                        static_cast<unsigned>(v.build & 0xFFFF));
        text += rest;
        break;
    }
    default: {
        text.Format(L"Unknown system %u.%u (Build %u)", static_cast<unsigned>(v.major), static_cast<unsigned>(v.minor),
                    static_cast<unsigned>(v.build));
        break;
    }
    }
    return text;
}

CString GetOSVersionText()
{
    SOSVersion version;
    if (!ReadOSVersion(version)) {
        CLocalizedString na;
        na.LoadString(IDS_NOT_AVAILABLE);
        return na;
    }
    return FormatOSVersion(version);
}
