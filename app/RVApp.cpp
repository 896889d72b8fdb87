#include "app/RVApp.h"
#include <gdiplus.h>
#include "app/AppHooks.h"
#include "app/AppIds.h"
#include "app/AppSettings.h"
#include "app/FragmentMenu.h"
#include "app/InstanceHandOver.h"
#include "app/MainFrame.h"
#include "app/ViewServices.h"
#include "common/Languages.h"
#include "common/LocalizedString.h"
#include "common/ProductInfo.h"
#include "installer/SetupEntry.h"

void FillProductInfo()
{
    g_productInfo.name = L"Velmora Ravelin";
    g_productInfo.folderName = L"Velmora Ravelin";
    g_productInfo.registryKey = L"Software\\Velmora\\Ravelin";
    g_productInfo.uninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                                 L"Ravelin{3213E4B6-4F4D-450c-B806-7C90A04CE88A}";
    g_productInfo.webSiteUrl = L"https://velmora.example/";
    g_productInfo.helpUrl = L"https://velmora.example/Ravelin/help";
    g_productInfo.languagesUrl = L"https://velmora.example/language.htm";
    g_productInfo.popupMenuId = IDR_POPUPMENU;
    g_productInfo.iconId = IDI_APP;
    g_productInfo.aboutPictureId = IDB_ABOUT;
    g_productInfo.installerPictureId = IDB_INSTALLER;
}

CRVApp::CRVApp() : CxfApp(L"Velmora Ravelin")
{
}

CRVApp::~CRVApp() = default;

BOOL CRVApp::InitInstance()
{
    m_bSettingsLoaded = false;
    m_bNoMainWindow = false;
    m_hrCom = ::CoInitialize(nullptr);
    AfxEnableControlContainer();
    // A failed GDI+ start leaves the token 0: pictures are then not drawn,
    // and nothing is shut down at the end.
    Gdiplus::GdiplusStartupInput gdiplusInput;
    if (Gdiplus::GdiplusStartup(&m_gdiplusToken, &gdiplusInput, nullptr) != Gdiplus::Ok)
        m_gdiplusToken = 0;
    FillProductInfo();
    // Another instance took over: this one ends before making any window
    // rather than living on without one.
    if (HandOverToRunningInstance())
        return FALSE;
    if (!ScanLanguageFiles())
        return FALSE;
    LoadAppSettings();
    if (RunSetupFromCommandLine(GetAppSetupHooks()))
        return FALSE;
    m_bSettingsLoaded = true;
    SetFragmentMenuOpener(&OpenFragmentMenu);

    CMainFrame* frame = new CMainFrame();
    if (!frame->Create(IDD_MAINFRAME, nullptr)) {
        // A failed creation leaves the object to its maker.
        delete frame;
        return FailWithoutMainWindow();
    }
    // Without its frame tree the window would stand empty: nothing in it
    // could be used.
    if (!frame->GetAgent().GetRootFrame()) {
        frame->DestroyWindow(); // deletes itself
        return FailWithoutMainWindow();
    }
    m_pMainWnd = frame;
    return TRUE;
}

BOOL CRVApp::FailWithoutMainWindow()
{
    m_bNoMainWindow = true;
    // Without a window system the box cannot be made either; the failure
    // code then tells.
    ::MessageBoxW(nullptr, CLocalizedString(IDS_NO_MAIN_WINDOW), SProductInfo::GetName(), MB_OK | MB_ICONERROR);
    return FALSE;
}

int CRVApp::ExitInstance()
{
    if (m_bSettingsLoaded) {
        // The windows are gone: a failed save has nobody left to tell.
        (void)SaveAppSettingsAtExit();
        m_bSettingsLoaded = false;
    }
    TermLocalization();
    if (m_gdiplusToken) {
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
        m_gdiplusToken = 0;
    }
    // COM is stopped only when this start began it: after S_FALSE (already
    // running on the thread) or a failure it is left as it was found.
    if (m_hrCom == S_OK)
        ::CoUninitialize();
    m_hrCom = E_FAIL;
    const int code = CxfApp::ExitInstance();
    if (m_bNoMainWindow) {
        m_bNoMainWindow = false;
        return kNoMainWindowExitCode;
    }
    return code;
}
