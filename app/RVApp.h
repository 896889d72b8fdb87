#pragma once
// The program's one application object: brings COM and GDI+ up, fills the
// product record, loads the languages and the settings, gives the command
// line to the installer and creates the main window; at the end saves the
// settings and shuts the services down in the reverse order.
#include "xf/xfApp.h"

class CRVApp : public CxfApp
{
public:
    CRVApp();
    ~CRVApp() override;

    // FALSE ends the program: no valid language file, an installer switch,
    // or a main window that could not be made (said in a message box when
    // one can be shown).
    [[nodiscard]] BOOL InitInstance() override;
    // The program's exit code: kNoMainWindowExitCode after a start without
    // a main window.
    int ExitInstance() override;

    static constexpr int kNoMainWindowExitCode = 1;

    // The result of the COM start (E_FAIL before it ran).
    [[nodiscard]] HRESULT GetComStartResult() const { return m_hrCom; }
    [[nodiscard]] bool AreSettingsLoaded() const { return m_bSettingsLoaded; }
    [[nodiscard]] bool IsGdiplusStarted() const { return m_gdiplusToken != 0; }

private:
    [[nodiscard]] BOOL FailWithoutMainWindow();

    bool m_bSettingsLoaded = false;
    bool m_bNoMainWindow = false; // set by a start that made no main window
    HRESULT m_hrCom = E_FAIL;
    ULONG_PTR m_gdiplusToken = 0;
};

// Fills the global product-information record.
void FillProductInfo();
