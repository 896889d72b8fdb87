#pragma once
// The pages of the install wizard.
#include <memory>
#include "common/BrowseEdit.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/IHybridCheckBox.h"
#include "installer/InstallPage.h"
#include "installer/InstallerIds.h"
#include "installer/SetupWorkers.h"
#include "platform/mfc/afxiface.h"
#include "platform/mfc/afxworker.h"

// A page whose whole area is one Hybrid text view.
class CTextViewPage : public CInstallPage
{
public:
    using CInstallPage::CInstallPage;
    CHybridCtrl& GetView() { return m_view; }

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Fills the view once it exists.
    virtual void FillView() {}
    CHybridCtrl m_view;
};

class CWelcomeInstallPage : public CTextViewPage
{
public:
    explicit CWelcomeInstallPage(CInstallDlg* wizard);
    CString GetTitle() override;
    UINT GetNextTextId() override;

protected:
    void FillView() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CInstPage_License : public CTextViewPage
{
public:
    explicit CInstPage_License(CInstallDlg* wizard);
    CString GetTitle() override;
    UINT GetNextTextId() override;

protected:
    void FillView() override;
};

class CFolderInstallPage : public CInstallPage
{
public:
    explicit CFolderInstallPage(CInstallDlg* wizard);
    CString GetTitle() override;
    UINT GetNextTextId() override;
    bool OnLeave() override;

    void FillDriveList();
    void UpdateSpaceTexts();
    // A click on the drive row with this letter.
    void OnDriveClicked(wchar_t letter);
    long long GetFreeBytes() const { return m_freeBytes; }
    CHybridCtrl& GetDriveList() { return m_drives; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ChooseDefaultFolder();

    long long m_freeBytes = 0;
    CHybridCtrl m_drives;
    CBrowseEdit m_folderEdit{BROWSE_FOLDER, static_cast<UINT>(IDS_BROWSE_INSTALL_FOLDER)};
    CString m_folder;
    CString m_freeText;
    CString m_requiredText;
    int m_localOnly = 1;
    // Writing the fields into the controls raises EN_CHANGE, which must not
    // read them back half-written.
    bool m_exchanging = true;
};

class CShortcutsInstallPage : public CInstallPage
{
public:
    explicit CShortcutsInstallPage(CInstallDlg* wizard);
    CString GetTitle() override;
    void OnFinish() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    int m_startMenu = 1;
    int m_desktop = 1;
};

class CInstPage_Process : public CInstallPage
{
public:
    explicit CInstPage_Process(CInstallDlg* wizard);
    ~CInstPage_Process() override;
    CString GetTitle() override;
    UINT GetNextTextId() override;
    bool OnActivate() override;
    // Abort question (Next reads "Abort", and Esc).
    bool OnLeave() override;
    [[nodiscard]] bool IsBusy() const override { return m_thread.IsStarted(); }

protected:
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void StartCopy();
    void OnCopyDone(bool ok);
    // Stops the worker (abort flag, gate open), waits for it and frees it.
    void StopWorker();

    std::unique_ptr<SInstallWork> m_context;
    // After the context: the worker is joined before its context goes.
    CWorkerThread m_thread;
    bool m_asking = false;
    int m_doneWhileAsking = -1; // the worker's result that came during the question
};

class CFinishedInstallPage : public CTextViewPage
{
public:
    explicit CFinishedInstallPage(CInstallDlg* wizard);
    CString GetTitle() override;
    UINT GetNextTextId() override;
    bool OnActivate() override;
    void OnFinish() override;
    IHybridCheckBox* GetRunBox() const { return m_runBox.Get(); }

protected:
    void FillView() override;

private:
    CIPtr<IHybridCheckBox> m_runBox;
};

// Private messages of the process page.
constexpr UINT WM_INSTALL_START = WM_APP + 8;
