// The system-information dialog: the report's sections and lines as the
// collector fills them, the saved file (UTF-16LE, "Report.txt" offered),
// the clipboard copy, failed save and mail reported, closing the dialog
// while the collector runs, and the operating-system line.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/OSVersionText.h"
#include "app/SysInfoCollector.h"
#include "app/SysInfoDlg.h"
#include "common/ByteSize.h"
#include "common/Clipboard.h"
#include "common/FolderWalk.h"
#include "tests/app/DialogTestKit.h"
#include "DialogAnswerer.h"
#include "tests/support/TestSupport.h"

namespace {

const wchar_t kInternet[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::wstring kHyphens(35, L'-');

void SetProxy(const wchar_t* server, DWORD enable)
{
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kInternet, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (server)
        RegSetValueExW(key, L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server),
                       static_cast<DWORD>((wcslen(server) + 1) * 2));
    else
        RegDeleteValueW(key, L"ProxyServer");
    RegSetValueExW(key, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable), 4);
    RegDeleteValueW(key, L"AutoConfigURL");
    RegCloseKey(key);
}

// Names another default mail program while it lives.
class CMailClientScope
{
public:
    explicit CMailClientScope(const wchar_t* client)
    {
        DWORD bytes = sizeof(m_old);
        RegGetValueW(HKEY_LOCAL_MACHINE, kMail, nullptr, RRF_RT_REG_SZ, nullptr, m_old, &bytes);
        Set(client);
    }
    ~CMailClientScope() { Set(m_old); }

private:
    static void Set(const wchar_t* client)
    {
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kMail, nullptr, REG_SZ, client,
                        static_cast<DWORD>((wcslen(client) + 1) * 2));
    }
    static constexpr const wchar_t* kMail = L"Software\\Clients\\Mail";
    wchar_t m_old[260] = {};
};

std::vector<std::wstring> Lines(const CSysInfoDlg& dlg)
{
    std::vector<std::wstring> out;
    for (int i = 0; i < dlg.GetReportLines().GetSize(); ++i)
        out.push_back(static_cast<LPCWSTR>(dlg.GetReportLines().GetAt(i)));
    return out;
}

int IndexOf(const std::vector<std::wstring>& lines, const std::wstring& line)
{
    const auto at = std::find(lines.begin(), lines.end(), line);
    return at == lines.end() ? -1 : static_cast<int>(at - lines.begin());
}

int ThreadCount()
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    int n = 0;
    for (BOOL ok = Thread32First(snap, &entry); ok; ok = Thread32Next(snap, &entry))
        n += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snap);
    return n;
}

std::vector<std::wstring> TempInfoFiles()
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    std::vector<std::wstring> out;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((std::wstring(folder) + L"info*.tmp").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do
            out.push_back(data.cFileName);
        while (FindNextFileW(find, &data));
        FindClose(find);
    }
    return out;
}

class SysInfo : public ::testing::Test
{
protected:
    void SetUp() override { dlgtest::SetUpProductInfo(); }
    void TearDown() override { SetProxy(nullptr, 0); }

    // A modeless dialog whose collection has ended.
    void Collect(CSysInfoDlg& dlg)
    {
        ASSERT_TRUE(dlg.Create(10012, nullptr));
        ASSERT_TRUE(dlgtest::PumpUntil(
            [&] { return !dlg.IsCollecting() && IsWindowEnabled(dlg.GetDlgItem(10065)->GetSafeHwnd()); }, 20000));
        testsupport::PumpMessages(50);
    }
};

TEST_F(SysInfo, ReportListsEverySectionInOrder)
{
    struct SCase
    {
        const wchar_t* server;
        DWORD enable;
        const wchar_t* line;
    } cases[] = {
        {L"proxy:8080", 1, L"IE proxy: proxy:8080 (Enable)"},
        {nullptr, 0, L"IE proxy: Disable"},
    };
    for (const SCase& c : cases) {
        SetProxy(c.server, c.enable);
        CSysInfoDlg dlg;
        Collect(dlg);
        const std::vector<std::wstring> lines = Lines(dlg);
        ASSERT_GT(lines.size(), 10u);
        EXPECT_EQ(L"General", lines[0]);
        EXPECT_EQ(L"Application: Velmora Ravelin 1.0.0.5", lines[1]);
        EXPECT_EQ(0u, lines[2].find(L"Processor 0: "));
        const int os = IndexOf(lines, L"Operating system: " + std::wstring(GetOSVersionText()));
        ASSERT_GT(os, 2);
        EXPECT_EQ(0u, lines[os].find(L"Operating system: Microsoft Windows ")) << "names the system";

        MEMORYSTATUSEX memory{};
        memory.dwLength = sizeof(memory);
        GlobalMemoryStatusEx(&memory);
        EXPECT_EQ(L"Total physical memory: " + std::wstring(FormatByteSize(static_cast<__int64>(memory.ullTotalPhys))),
                  lines[os + 1]);
        EXPECT_EQ(0u, lines[os + 2].find(L"Available physical memory: "));
        EXPECT_EQ(kHyphens, lines[os + 3]);
        EXPECT_EQ(L"Network", lines[os + 4]);
        EXPECT_GT(IndexOf(lines, c.line), os + 4);
        const int drives = IndexOf(lines, L"Drives");
        ASSERT_GT(drives, os + 4);
        EXPECT_EQ(kHyphens, lines[drives - 1]);
        EXPECT_EQ(0u, lines.at(drives + 1).find(L"C:\\: ")) << "the system drive with its sizes";

        EXPECT_EQ(L"System Information", dlgtest::TextOf(dlg.GetSafeHwnd())) << "the scanning mark is gone";
        dlg.DestroyWindow();
    }
}

TEST_F(SysInfo, SaveCopyAndMail)
{
    CSysInfoDlg dlg;
    Collect(dlg);
    const CString report = dlg.GetReportText();
    ASSERT_EQ(L"\r\n", std::wstring(static_cast<LPCWSTR>(report.Right(2))));

    // Save...: the file dialog offers "Report.txt"; the chosen file holds the
    // report as UTF-16LE and nothing else, from its heading line on.
    const std::wstring path = testsupport::ScratchDir(L"sysinfo") + L"\\Saved.txt";
    DeleteFileW(path.c_str());
    {
        xftest::CDialogAnswerer answerer({{IDOK, path}}, dlg.GetSafeHwnd());
        SendMessageW(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(10065, BN_CLICKED), 0);
        ASSERT_EQ(1u, answerer.Seen().size());
        EXPECT_NE(std::wstring::npos, answerer.Seen()[0].find(L"|Report.txt")) << answerer.Seen()[0];
    }
    const std::vector<uint8_t> bytes = testsupport::ReadFileBytes(path);
    std::vector<uint8_t> expected;
    for (int i = 0; i < report.GetLength(); ++i) {
        expected.push_back(static_cast<uint8_t>(report[i] & 0xFF));
        expected.push_back(static_cast<uint8_t>(report[i] >> 8));
    }
    EXPECT_EQ(expected, bytes);
    ASSERT_GE(bytes.size(), 16u);
    EXPECT_EQ(0, memcmp(bytes.data(), "G\0e\0n\0e\0r\0a\0l\0\r\0", 16)) << "the heading line first";

    // A save that fails says so and leaves no file.
    const std::wstring bad = testsupport::ScratchDir(L"sysinfo") + L"\\missing folder\\Report.txt";
    {
        dlgtest::CBoxAnswerer answerer;
        EXPECT_FALSE(dlg.SaveReportTo(bad.c_str()));
        ASSERT_EQ(1u, answerer.Texts().size());
        EXPECT_NE(std::wstring::npos, answerer.Texts()[0].find(L"could not be saved"));
    }

    // Copy: the whole report as Unicode text.
    SetClipboardText(L"before");
    SendMessageW(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(10064, BN_CLICKED), 0);
    EXPECT_STREQ(report, GetClipboardText());

    // Send...: with no mail program registered the user is told (the mail
    // library's own notice is answered too), and no temporary file stays.
    const std::vector<std::wstring> tempBefore = TempInfoFiles();
    {
        CMailClientScope noClient(L"No Such Mail Program");
        xftest::CDialogAnswerer answerer({{IDOK, L""}, {IDOK, L""}}, dlg.GetSafeHwnd());
        EXPECT_FALSE(dlg.SendReport());
        int told = 0;
        for (const std::wstring& seen : answerer.Seen())
            told += seen.find(L"could not be sent") != std::wstring::npos;
        EXPECT_EQ(1, told);
    }
    EXPECT_EQ(tempBefore, TempInfoFiles());

    // With the system's own mail bridge, and no mail program behind it, the
    // user is still told where the report went and what to do without one.
    {
        xftest::CDialogAnswerer answerer({{IDOK, L""}, {IDOK, L""}}, dlg.GetSafeHwnd());
        EXPECT_TRUE(dlg.SendReport());
        int told = 0;
        for (const std::wstring& seen : answerer.Seen())
            told += seen.find(L"send it with your own mail program") != std::wstring::npos;
        EXPECT_EQ(1, told);
    }
    dlg.DestroyWindow();
}

// A window that counts the collector's messages and raises the stop flag
// after the second entry, as a closing dialog does; like the dialog it takes
// nothing more once the flag is up.
struct SCountingWindow
{
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
    {
        auto* self = reinterpret_cast<SCountingWindow*>(GetWindowLongPtrW(w, GWLP_USERDATA));
        if (m == WM_SYSINFO_ENTRY) {
            const std::unique_ptr<SSysInfoEntry> entry = TakeSysInfoEntry(lp);
            if (self && entry && !self->stop->load() && ++self->entries == 2)
                self->stop->store(true);
            return 0;
        }
        if (self && m == WM_SYSINFO_DONE && !self->stop->load())
            ++self->done;
        return DefWindowProcW(w, m, wp, lp);
    }
    int entries = 0, done = 0;
    SysInfoStopFlag stop = std::make_shared<std::atomic<bool>>(false);
};

TEST_F(SysInfo, ClosingWhileCollectingEndsTheCollector)
{
    // The stop flag ends the collection at once: nothing more is sent.
    WNDCLASSW wc{};
    wc.lpfnWndProc = &SCountingWindow::Proc;
    wc.lpszClassName = L"SysInfoCounter";
    RegisterClassW(&wc);
    SCountingWindow counter;
    HWND window =
        CreateWindowW(L"SysInfoCounter", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&counter));
    SysInfoThreadProc(window, counter.stop);
    testsupport::PumpMessages(50);
    EXPECT_EQ(2, counter.entries);
    EXPECT_EQ(0, counter.done);
    // A flag up before the start: the collector posts nothing at all.
    SysInfoThreadProc(window, counter.stop);
    MSG queued;
    EXPECT_FALSE(PeekMessageW(&queued, window, WM_SYSINFO_ENTRY, WM_SYSINFO_DONE, PM_NOREMOVE));
    DestroyWindow(window);
    counter.entries = 0;
    SysInfoThreadProc(window, nullptr);
    testsupport::PumpMessages(50);
    EXPECT_EQ(0, counter.entries) << "a window gone before the start gets nothing";

    // The dialog closed right after it opened: its collector has ended when
    // the window is gone, no entry arrives afterwards, no thread is left.
    const int threadsBefore = ThreadCount();
    for (int round = 0; round < 3; ++round) {
        CSysInfoDlg dlg;
        ASSERT_TRUE(dlg.Create(10012, nullptr));
        testsupport::PumpMessages(round * 20);
        dlg.DestroyWindow();
        EXPECT_FALSE(dlg.IsCollecting());
        const INT_PTR lines = dlg.GetReportLines().GetSize();
        testsupport::PumpMessages(100);
        EXPECT_EQ(lines, dlg.GetReportLines().GetSize());
    }
    testsupport::PumpMessages(100);
    EXPECT_LE(ThreadCount(), threadsBefore);
}

TEST(OSVersionLine, NamesTheSystemFound)
{
    auto nt = [](DWORD major, DWORD minor, BYTE type, WORD suite, const wchar_t* sp, DWORD build) {
        SOSVersion v;
        v.platform = VER_PLATFORM_WIN32_NT;
        v.major = major;
        v.minor = minor;
        v.build = build;
        v.servicePack = sp;
        v.hasExtended = true;
        v.productType = type;
        v.suiteMask = suite;
        return v;
    };
    SOSVersion basic = nt(4, 0, 0, 0, L"Service Pack 6", 1381);
    basic.hasExtended = false;
    basic.registryProductType = L"lanmannt";
    const struct
    {
        SOSVersion version;
        const wchar_t* line;
    } cases[] = {
        {nt(5, 1, VER_NT_WORKSTATION, VER_SUITE_PERSONAL, L"Service Pack 3", 2600),
         L"Microsoft Windows XP Personal Service Pack 3 (Build 2600)"},
        {nt(10, 0, VER_NT_WORKSTATION, 0, L"", 19045), L"Microsoft Windows 10 Professional  (Build 19045)"},
        {nt(12, 3, VER_NT_SERVER, 0, L"", 1), L"Microsoft Windows NT 12.3 Server  (Build 1)"},
        {basic, L"Microsoft Windows NT Server version 4.0 Service Pack 6 (Build 1381)"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.line, FormatOSVersion(c.version));
}

} // namespace

namespace {

// Where the system-information dialog stood while it was open.
RECT g_dialogRect{};

HWND g_owner = nullptr;

BOOL CALLBACK FindOwned(HWND window, LPARAM found)
{
    if (GetWindow(window, GW_OWNER) != g_owner || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK WatchSysInfo(HWND, UINT, UINT_PTR timer, DWORD)
{
    // The dialog this case opened: the one its owner window owns.
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindOwned, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    GetWindowRect(dialog, &g_dialogRect);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

} // namespace

TEST_F(SysInfo, OpensCentredOverTheWindowItWasOpenedFrom)
{
    // A main window off the screen's middle, towards its bottom right.
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP | WS_VISIBLE, CRect(500, 300, 1200, 900), nullptr, 0));
    g_dialogRect = RECT{};
    g_owner = owner.GetSafeHwnd();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, WatchSysInfo);
    ShowSysInfoDialog(&owner);
    KillTimer(nullptr, timer);
    const CRect shown(g_dialogRect);
    ASSERT_GT(shown.Width(), 0);
    EXPECT_NEAR(850, shown.CenterPoint().x, 2);
    EXPECT_NEAR(600, shown.CenterPoint().y, 2);
    owner.DestroyWindow();
}
