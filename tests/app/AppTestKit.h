#pragma once
// Shared pieces of the application tests: the real application object
// started and stopped as the program does, the registry key of the settings,
// the main window's frame tree and message pumps.
#include <functional>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "app/RVApp.h"

class CMainFrame;
class CMainController;
class CStartPagePane;
class CxfFrame;
class CxfMDIClient;
class CViririziruPane;

namespace apptest {

const wchar_t kSettingsKey[] = L"Software\\Velmora\\Ravelin";

CRVApp& App();

// Pumps through the class library's pump and the application's idle pass.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
void PumpFor(DWORD ms);
// Pumps until the frames and Hybrid controls have laid themselves out and
// `also`, when given, holds (tests/support/LayoutWait.h); false, with the
// case failed, when that has not come within the wait's bound.
bool PumpLayout(const std::function<bool()>& also = nullptr);
// Removes the quit messages waiting in this thread's queue; their count.
int DrainQuits();

// Every test starts from no settings key, the default settings, an empty
// recent list and no language list; it stops a main window it left open.
class AppTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // InitInstance as the class library calls it; true when it answered
    // TRUE. The main window is then shown and laid out.
    bool Start();
    // Closes the main window as the user does (when it exists), then
    // ExitInstance.
    void Stop();

    CMainFrame* MainFrame();
    CxfFrame* Root();
    CMainController* Controller();
    CxfMDIClient* Area();
    CStartPagePane* StartPage();
    // Document frames of the main area (the start page's frame is not one).
    std::vector<CxfFrame*> Documents();
    // Paths of the recent list, most recent first.
    std::vector<std::wstring> Recent();
    // Sends a command to the main window's root frame.
    void Command(UINT id);
    // The transcription pane of the first document frame that has one.
    CViririziruPane* Pane();
    // Opens an audio file and waits until it can be played and its first
    // view settled: a file without a project is emptied and shown whole
    // shortly after it opened, which would undo what a case made before.
    CViririziruPane* Open(const std::wstring& path);

    bool m_started = false;
};

// Cases that share one started program, which the sound cases need (each
// start and close of the main window costs seconds under Wine): the first
// case starts it, each case closes the documents it left open, the suite's
// end closes the main window.
class OneProgramTest : public AppTest
{
protected:
    void SetUp() override;
    void TearDown() override;
    static void TearDownTestSuite();
    // After the main window went away: the program ends as its loop would.
    static void Ended();
    // Closes every document frame; the message boxes shown meanwhile.
    std::vector<std::wstring> CloseAll();

    static bool s_running;
};

// Registry values under the settings key.
// A stored DWORD; kNoDword when there is none.
const DWORD kNoDword = 0xFFFFFFFF;
DWORD StoredDword(LPCWSTR name);
void WriteDword(LPCWSTR name, DWORD value);
void WriteBinary(LPCWSTR name, const void* data, DWORD size);
void WriteString(LPCWSTR name, LPCWSTR text);
bool KeyExists(LPCWSTR subkey);

// WAV files with the given bits per sample (one second of silence).
std::wstring MakeWav(const std::wstring& folder, const wchar_t* name, int bits);
// A generated 16-bit test file of the build.
std::wstring Tone();
// The project file kept for an audio file.
std::wstring ProjectOf(const std::wstring& audio);

} // namespace apptest
