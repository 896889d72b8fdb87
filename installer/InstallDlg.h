#pragma once
// The install wizard: a header with the product picture and the page title,
// a page area, and Back, Next and Cancel. Pages are made on first show and
// kept until the wizard goes.
#include "common/LocalizedDlg.h"
#include "common/PtrArrays.h"
#include "common/StaticHyperLink.h"
#include "platform/mfc/afxiface.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/IHybridText.h"
#include "installer/InstallPage.h"

class CInstallDlg : public CLocalizedDlg
{
public:
    CInstallDlg();
    ~CInstallDlg() override;

    // Page order: welcome, licence, folder, shortcuts, the application's own
    // pages, the copy, the finished page.
    enum { kWelcome = 0, kLicense = 1, kFolder = 2, kShortcuts = 3, kFirstAppPage = 4 };
    int GetProcessIndex() const { return m_appPages + 4; }
    int GetFinishedIndex() const { return m_appPages + 5; }

    [[nodiscard]] bool ShowPage(int index);
    int FindPageIndex(CInstallPage* page) const;
    int GetCurrentIndex() const { return m_current; }
    CInstallPage* GetPage(int index) const;
    CInstallPage* GetAppPage(int i) const { return GetPage(i + kFirstAppPage); }
    DWORD GetRequiredBytes() const { return m_requiredBytes; }
    void SetInstallFolder(LPCWSTR folder) { m_installFolder = folder; }
    const CString& GetInstallFolder() const { return m_installFolder; }
    // The install folder and the running program's file name.
    CString GetInstalledExePath() const;
    // Writes the uninstall entry for the installed program.
    [[nodiscard]] bool WriteUninstallEntry();
    void ShowCancelButton(bool show);
    void ShowBackButton(bool show);
    void SetAborted() { m_aborted = true; }
    // The folder page made the install folder: it goes again (when still
    // empty) if the wizard ends without an installation.
    void SetCreatedFolder(LPCWSTR folder) { m_createdFolder = folder; }
    [[nodiscard]] bool IsAborted() const { return m_aborted; }
    void Retranslate();
    // The folder whose contents are installed: the running program's unless set
    // before the wizard runs.
    void SetSourceFolder(LPCWSTR folder) { m_sourceFolder = folder; }
    const CString& GetSourceFolder() const { return m_sourceFolder; }
    // Cancel, Esc and the close box: asks, and ends the wizard on Yes. While
    // a page is busy (the copy), the page's own question is asked instead.
    void OnCancel() override;
    void OnNext();
    void OnBack();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateHeader();
    void UpdateNextText();
    void UpdateTitle();
    void EndWizard(int result, bool installed);

    CGCPtrArray<CInstallPage> m_pages;
    int m_current = -1;
    DWORD m_requiredBytes = 0;
    CString m_installFolder;
    CHybridCtrl m_header;
    CIPtr<IHybridText> m_title;
    CStaticHyperLink m_link;
    bool m_aborted = false;
    int m_appPages = 0;
    CString m_sourceFolder;
    CString m_createdFolder;
    bool m_comStarted = false;
};
