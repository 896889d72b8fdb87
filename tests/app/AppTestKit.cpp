#include "AppTestKit.h"
#include "app/AppIds.h"
#include "app/AppObjects.h"
#include "app/AppSettings.h"
#include "app/AuxFiles.h"
#include "app/MainController.h"
#include "app/MainFrame.h"
#include "app/StartPagePane.h"
#include "app/ViririziruController.h"
#include "app/ViririziruPane.h"
#include "audio/AudioOut.h"
#include "audio/AudioSettings.h"
#include "common/Languages.h"
#include "common/OVRegKey.h"
#include "common/RecentList.h"
#include "common/WndPos.h"
#include "tests/audio/ReaderKit.h"
#include "tests/support/LayoutWait.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Starvation.h"
#include "tests/support/TestSupport.h"
#include "xf/xfFrame.h"
#include "xf/xfMDIClient.h"
#include "xf/xfMessages.h"
#include "DialogAnswerer.h"

namespace apptest {

namespace {

// A failed case says whether the sound device ran dry while it ran (the
// test main), beside its failure.
[[maybe_unused]] const bool g_dryCounted =
    (testsupport::CountDevicesRunDry(&CAudioOut::RanDryCount, &CAudioOut::LateRestartCount), true);

} // namespace

CRVApp& App()
{
    return TheApp();
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    return testsupport::PumpUntil(done, timeoutMs, [](LONG idle) { return App().OnIdle(idle) != FALSE; });
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

bool PumpLayout(const std::function<bool()>& also)
{
    return testsupport::PumpUntilLaidOut(PumpUntil, also);
}

int DrainQuits()
{
    return testsupport::DrainQuits();
}

namespace {
// Shared values the other cases of this test program rely on (the playback
// cases need the full volume).
void ResetSharedSettings()
{
    SetVolume(100);
    SetAutoscrollPlayback(true);
    SetAutoLoopNewSel(false);
    SetToFragmentBeginAfterStop(true);
}
} // namespace

void AppTest::SetUp()
{
    FillProductInfo();
    // The stored window placement is forgotten by loading an empty one.
    DeleteRegKeyTree(HKEY_CURRENT_USER, kSettingsKey);
    const SWndPos none;
    WriteBinary(L"rMainWndPos", &none, sizeof none);
    LoadAppSettings();
    DeleteRegKeyTree(HKEY_CURRENT_USER, kSettingsKey);
    while (g_recentList.GetCount() > 0)
        g_recentList.Remove(g_recentList.GetAt(0));
    ClearLanguages();
    ResetSharedSettings();
    AudioSettings() = SAudioSettings();
    DrainQuits();
}

void AppTest::TearDown()
{
    Stop();
    DrainQuits();
    ResetSharedSettings();
}

bool AppTest::Start()
{
    m_started = true;
    if (!App().InitInstance())
        return false;
    return PumpUntil([this] { return MainFrame() && MainFrame()->IsWindowVisible() && StartPage(); });
}

void AppTest::Stop()
{
    if (!m_started)
        return;
    m_started = false;
    if (CMainFrame* frame = MainFrame()) {
        HWND window = frame->GetSafeHwnd();
        frame->PostMessage(WM_CLOSE);
        PumpUntil([window] { return !::IsWindow(window); });
    }
    // The message loop would have ended on the quit that closing posts.
    DrainQuits();
    App().ExitInstance();
}

CMainFrame* AppTest::MainFrame()
{
    CWnd* wnd = App().m_pMainWnd;
    return wnd && wnd->GetSafeHwnd() ? static_cast<CMainFrame*>(wnd) : nullptr;
}

CxfFrame* AppTest::Root()
{
    return MainFrame() ? MainFrame()->GetAgent().GetRootFrame() : nullptr;
}

CMainController* AppTest::Controller()
{
    CxfFrame* root = Root();
    CxfController* c = root ? root->GetController() : nullptr;
    return c && c->IsKindOf(RUNTIME_CLASS(CMainController)) ? static_cast<CMainController*>(c) : nullptr;
}

CxfMDIClient* AppTest::Area()
{
    return Root() ? Root()->FindMDIClient(MDI_MAIN) : nullptr;
}

CStartPagePane* AppTest::StartPage()
{
    CxfPane* pane = Root() ? Root()->FindPane(PANE_START_PAGE) : nullptr;
    return pane && pane->IsKindOf(RUNTIME_CLASS(CStartPagePane)) ? static_cast<CStartPagePane*>(pane) : nullptr;
}

std::vector<CxfFrame*> AppTest::Documents()
{
    std::vector<CxfFrame*> out;
    CxfMDIClient* area = Area();
    for (int i = 0; area && i < area->GetChildCount(); ++i) {
        CxfController* c = area->GetChild(i)->GetController();
        if (c && c->IsKindOf(RUNTIME_CLASS(CViririziruController)))
            out.push_back(area->GetChild(i));
    }
    return out;
}

std::vector<std::wstring> AppTest::Recent()
{
    std::vector<std::wstring> out;
    for (int i = 0; i < GetRecentList().GetCount(); ++i)
        out.push_back(GetRecentList().GetAt(i));
    return out;
}

void AppTest::Command(UINT id)
{
    ASSERT_TRUE(Root());
    Root()->SendMessage(WM_COMMAND, id, 0);
}

CViririziruPane* AppTest::Pane()
{
    for (CxfFrame* doc : Documents())
        if (CxfPane* pane = doc->FindPane(PANE_TRANSCRIPTION))
            if (pane->IsKindOf(RUNTIME_CLASS(CViririziruPane)))
                return static_cast<CViririziruPane*>(pane);
    return nullptr;
}

CViririziruPane* AppTest::Open(const std::wstring& path)
{
    Controller()->OpenAudioFile(path.c_str());
    EXPECT_TRUE(PumpUntil(
        [this] {
            return Pane() && Pane()->GetReader() && Pane()->GetReader()->IsReady() && !Pane()->IsFirstViewPending();
        },
        10000));
    PumpFor(100); // the first view's zoom is posted
    return Pane();
}

bool OneProgramTest::s_running = false;

void OneProgramTest::SetUp()
{
    ASSERT_EQ(1u, waveOutGetNumDevs()) << "the captured sound device is missing";
    if (!s_running) {
        AppTest::SetUp();
        ASSERT_TRUE(Start());
        s_running = true;
    }
    m_started = false; // the program stays for the next case
}

void OneProgramTest::TearDown()
{
    if (s_running)
        (void)CloseAll();
}

void OneProgramTest::TearDownTestSuite()
{
    if (!s_running)
        return;
    if (CWnd* main = App().m_pMainWnd) {
        HWND window = main->GetSafeHwnd();
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        PumpUntil([window] { return !::IsWindow(window); });
    }
    Ended();
}

void OneProgramTest::Ended()
{
    DrainQuits();
    App().ExitInstance();
    s_running = false;
}

std::vector<std::wstring> OneProgramTest::CloseAll()
{
    std::vector<std::wstring> seen;
    while (!Documents().empty()) {
        const size_t before = Documents().size();
        xftest::CDialogAnswerer answerer({}, MainFrame()->GetSafeHwnd());
        Documents()[0]->PostMessage(XFM_CLOSEFRAME);
        PumpUntil([&] { return Documents().size() < before; }, 5000);
        PumpFor(100);
        for (const std::wstring& text : answerer.Seen())
            seen.push_back(text);
    }
    return seen;
}

DWORD StoredDword(LPCWSTR name)
{
    DWORD out = 0, size = sizeof(out), type = 0;
    const bool ok =
        ::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_ANY, &type, &out, &size) == ERROR_SUCCESS;
    return ok && type == REG_DWORD ? out : kNoDword;
}

namespace {
void WriteValue(LPCWSTR name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size));
    ::RegCloseKey(key);
}
} // namespace

void WriteDword(LPCWSTR name, DWORD value)
{
    WriteValue(name, REG_DWORD, &value, sizeof(value));
}

void WriteBinary(LPCWSTR name, const void* data, DWORD size)
{
    WriteValue(name, REG_BINARY, data, size);
}

void WriteString(LPCWSTR name, LPCWSTR text)
{
    WriteValue(name, REG_SZ, text, static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
}

bool KeyExists(LPCWSTR subkey)
{
    std::wstring path = kSettingsKey;
    if (subkey)
        path += std::wstring(L"\\") + subkey;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

std::wstring MakeWav(const std::wstring& folder, const wchar_t* name, int bits)
{
    readerkit::Format format;
    format.channels = 1;
    format.rate = 8000;
    format.bits = static_cast<uint16_t>(bits);
    return readerkit::Save(folder, name,
                           readerkit::Canonical(format, readerkit::Bytes(8000 * bits / 8, bits == 8 ? 0x80 : 0)));
}

std::wstring Tone()
{
    return testsupport::TestData(L"tone440_10s.wav");
}

std::wstring ProjectOf(const std::wstring& audio)
{
    return static_cast<LPCWSTR>(MakeAuxFilePath(audio.c_str(), L"mcfi"));
}

} // namespace apptest
