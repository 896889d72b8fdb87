#pragma once
// The application base: keeps the list of top-level frames (not owned),
// pre-translates every message of the user-interface thread, sends the
// idle update once per idle period and ends the thread after the last
// top-level frame.
#include "platform/mfc/afxwin.h"
#include "common/PtrArrays.h"
#include "xf/xfCommands.h"

class CxfFrame;

class CxfApp : public CWinApp
{
    DECLARE_DYNCREATE(CxfApp)
public:
    explicit CxfApp(LPCWSTR appName = nullptr);

    [[nodiscard]] BOOL InitInstance() override;
    int Run() override;
    int ExitInstance() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // On the first idle pass after a message, with a top-level frame
    // registered: the idle update to every descendant window of every
    // top-level frame (not to the frames themselves, nor to the hosts).
    BOOL OnIdle(LONG count) override;

    // Appends a non-null frame.
    void RegisterFrame(CxfFrame* frame);
    // Removes the first entry equal to frame; posts WM_QUIT to the
    // application's thread when that empties the list.
    void UnregisterFrame(CxfFrame* frame);
    int GetFrameCount() const { return static_cast<int>(m_frames.GetSize()); }
    CxfFrame* GetFrameAt(int i) const { return m_frames.IsValidIndex(i) ? m_frames.GetAt(i) : nullptr; }
    // For each top-level frame: to its host window, then to every
    // descendant window of the frame.
    void BroadcastToFrames(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_CLOSE posted to the host window of every top-level frame.
    void CloseAllFrames();

    // The process's application object when it is a CxfApp, else null.
    static CxfApp* Get();

protected:
    void OnSiteLabel();
    void OnAppExit();
    DECLARE_MESSAGE_MAP()

private:
    // Sends to every descendant window of each top-level frame (and first
    // to its host when toHost).
    void SendToTrees(UINT message, WPARAM wParam, LPARAM lParam, bool toHost);
    CovPtrArray<CxfFrame> m_frames;
};
