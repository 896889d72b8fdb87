#pragma once
// The uninstaller's dialog: asks, runs the uninstall on a worker that logs
// each step, removes the program's shortcuts and, on Finish, leaves the
// batch that deletes the program after it has ended.
#include <memory>
#include "common/LocalizedDlg.h"
#include "installer/SetupWorkers.h"
#include "platform/mfc/afxworker.h"

class CUninstallDlg : public CLocalizedDlg
{
public:
    CUninstallDlg();
    ~CUninstallDlg() override;

    // For a run on another folder than the program's own (no self-delete).
    void SetFolder(LPCWSTR folder) { m_context->folder = folder; }
    const CString& GetLog() const { return m_log; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnLogLine(LPCWSTR line);
    void OnDone();

    std::shared_ptr<SUninstallContext> m_context;
    // After the context: the worker is joined before the dialog goes.
    CWorkerThread m_worker;
    CString m_log;
    bool m_comStarted = false;
};
