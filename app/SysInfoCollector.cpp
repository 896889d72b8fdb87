#include "app/SysInfoCollector.h"

#include <vector>

#include "app/OSVersionText.h"
#include "common/ByteSize.h"
#include "common/FileUtils.h"
#include "common/LocalizedString.h"
#include "common/ScopedHandle.h"
#include "common/VersionInfo.h"

namespace {

enum EKind { kHeading, kProgram, kProcessors, kOS, kTotalMemory, kFreeMemory, kModule, kRegistry, kProxy, kDrives };

struct SEntry
{
    UINT nameId; // 0: the kind sends its own entries
    EKind kind;
    LPCWSTR argument;
};

const SEntry kEntries[] = {
    {10103, kHeading, nullptr},  {10112, kProgram, nullptr},       {0, kProcessors, nullptr},
    {10104, kOS, nullptr},       {10105, kTotalMemory, nullptr},   {10106, kFreeMemory, nullptr},
    {10107, kHeading, nullptr},  {10108, kModule, L"wsock32.dll"}, {10109, kModule, L"wininet.dll"},
    {10110, kRegistry, nullptr}, {10111, kProxy, nullptr},         {0, kDrives, nullptr},
};

const UINT IDS_NOT_AVAILABLE = 10098, IDS_ENABLE = 10101, IDS_DISABLE = 10102, IDS_PROXY_AUTOCONFIG = 10113;

class CSender
{
public:
    CSender(HWND dialog, const SysInfoStopFlag& stop) : m_dialog(dialog), m_stop(stop) {}
    // False once the dialog asked to stop, its window is gone, or the entry
    // could not be posted.
    bool Send(LPCWSTR name, LPCWSTR value) const
    {
        if (!Alive())
            return false;
        auto entry = std::make_unique<SSysInfoEntry>(SSysInfoEntry{name, value});
        if (!PostMessageW(m_dialog, WM_SYSINFO_ENTRY, 0, reinterpret_cast<LPARAM>(entry.get())))
            return false;
        entry.release(); // the dialog owns it now
        return true;
    }
    bool Alive() const { return !(m_stop && m_stop->load()) && IsWindow(m_dialog); }
    void Done() const
    {
        if (Alive())
            PostMessageW(m_dialog, WM_SYSINFO_DONE, 0, 0);
    }

private:
    HWND m_dialog;
    SysInfoStopFlag m_stop;
};

bool ReadRegString(HKEY root, LPCWSTR path, LPCWSTR name, CString& out)
{
    HKEY raw = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return false;
    CRegKeyHandle key(raw);
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(raw, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, 0);
    if (RegQueryValueExW(raw, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes) != ERROR_SUCCESS)
        return false;
    out = text.data();
    return true;
}

bool ReadRegDword(HKEY root, LPCWSTR path, LPCWSTR name, DWORD& out)
{
    DWORD type = 0, value = 0, bytes = sizeof(value);
    if (RegGetValueW(root, path, name, RRF_RT_REG_DWORD, &type, &value, &bytes) != ERROR_SUCCESS)
        return false;
    out = value;
    return true;
}

CString NotAvailable()
{
    return CLocalizedString(IDS_NOT_AVAILABLE);
}

bool SendProcessors(const CSender& sender)
{
    const wchar_t* const base = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\";
    for (int n = 0; n < 32; ++n) {
        CString path;
        path.Format(L"%s%d", base, n);
        CRegKeyHandle key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
            break;
        key.Reset();
        CString value;
        if (!ReadRegString(HKEY_LOCAL_MACHINE, path, L"ProcessorNameString", value) &&
            !ReadRegString(HKEY_LOCAL_MACHINE, path, L"Identifier", value))
            value = NotAvailable();
        value.TrimLeft(L' ');
        CString name;
        name.Format(L"Processor %d", n);
        if (!sender.Send(name, value))
            return false;
    }
    return true;
}

CString ProxyValue(const CSender& sender)
{
    const wchar_t* const path = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    CString server, autoConfig;
    DWORD enabled = 0;
    ReadRegString(HKEY_CURRENT_USER, path, L"ProxyServer", server);
    ReadRegDword(HKEY_CURRENT_USER, path, L"ProxyEnable", enabled);
    if (ReadRegString(HKEY_CURRENT_USER, path, L"AutoConfigURL", autoConfig))
        sender.Send(CLocalizedString(IDS_PROXY_AUTOCONFIG), autoConfig);
    CString value = server;
    if (!server.IsEmpty())
        value += L" (";
    value += CLocalizedString(enabled ? IDS_ENABLE : IDS_DISABLE);
    if (!server.IsEmpty())
        value += L")";
    return value;
}

bool SendDrives(const CSender& sender)
{
    if (!sender.Send(L"Drives", L""))
        return false;
    const DWORD mask = GetLogicalDrives();
    wchar_t letter = L'A';
    for (DWORD bit = 1; bit != 0; bit <<= 1, ++letter) {
        if (!(mask & bit))
            continue;
        CString root;
        root.Format(L"%c:\\", letter);
        wchar_t volume[261] = {}, fileSystem[261] = {};
        if (!GetVolumeInformationW(root, volume, 260, nullptr, nullptr, nullptr, fileSystem, 260))
            continue;
        CString freeText = NotAvailable(), totalText = NotAvailable();
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
        if (GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) {
            const __int64 cluster = static_cast<__int64>(sectorsPerCluster) * bytesPerSector;
            freeText = FormatByteSize(cluster * freeClusters);
            totalText = FormatByteSize(cluster * totalClusters);
        }
        CString value;
        value.Format(L"%s (%s) - %s free of %s", volume, fileSystem, static_cast<LPCWSTR>(freeText),
                     static_cast<LPCWSTR>(totalText));
        if (!sender.Send(root, value))
            return false;
    }
    return true;
}

// Fills the value of an entry that has a name; false when the kind sent its
// own entries and the dialog stopped listening.
bool Fill(const SEntry& entry, const CSender& sender, CString& value)
{
    switch (entry.kind) {
    case kHeading: break;
    case kProgram: {
        CVersionInfo info;
        value = info.GetProductName() + L" " + info.GetProductVersion();
        break;
    }
    case kProcessors: return SendProcessors(sender);
    case kOS: value = GetOSVersionText(); break;
    case kTotalMemory:
    case kFreeMemory: {
        // The 64-bit figures: the old 32-bit record tops out at 4 GB.
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof(status);
        if (GlobalMemoryStatusEx(&status))
            value = FormatByteSize(
                static_cast<__int64>(entry.kind == kTotalMemory ? status.ullTotalPhys : status.ullAvailPhys));
        break;
    }
    case kModule:
        if (CanLoadLibrary(entry.argument)) {
            CVersionInfo info(entry.argument);
            if (!info.GetProductVersion().IsEmpty())
                value = info.GetProductVersion();
        }
        break;
    case kRegistry:
        ReadRegString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Internet Explorer", L"Version", value);
        break;
    case kProxy: value = ProxyValue(sender); break;
    case kDrives: return SendDrives(sender);
    }
    return true;
}

struct SThreadArgs
{
    HWND dialog;
    SysInfoStopFlag stop;
};

UINT CollectorMain(LPVOID param)
{
    std::unique_ptr<SThreadArgs> args(static_cast<SThreadArgs*>(param));
    SysInfoThreadProc(args->dialog, args->stop);
    return 0;
}

} // namespace

void SysInfoThreadProc(HWND dialog, const SysInfoStopFlag& stop)
{
    const CSender sender(dialog, stop);
    if (!sender.Alive())
        return;
    for (const SEntry& entry : kEntries) {
        CString value = entry.kind == kHeading ? CString() : NotAvailable();
        if (!Fill(entry, sender, value))
            return;
        if (entry.nameId && !sender.Send(CLocalizedString(entry.nameId), value))
            return;
    }
    sender.Done();
}

bool StartSysInfoCollector(CWorkerThread& worker, HWND dialog, const SysInfoStopFlag& stop)
{
    auto args = std::make_unique<SThreadArgs>(SThreadArgs{dialog, stop});
    if (!worker.Start(&CollectorMain, args.get()))
        return false;
    args.release(); // the worker owns it now
    return true;
}

void DiscardSysInfoEntries(HWND window)
{
    MSG msg;
    while (PeekMessageW(&msg, window, WM_SYSINFO_ENTRY, WM_SYSINFO_ENTRY, PM_REMOVE))
        TakeSysInfoEntry(msg.lParam);
}
