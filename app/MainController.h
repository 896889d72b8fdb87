#pragma once
// The controller of the main window's root frame: the commands that need no
// open file (open, exit, volume, autoscroll, help), and the one road by which
// a file gets opened, and the options, About and system-information dialogs.
#include "common/Interfaces.h"
#include "xf/xfController.h"

struct IHybridSlider;
struct IxfFrameListContent;

class CMainController : public CxfController
{
    DECLARE_DYNAMIC(CMainController)
public:
    CMainController();

    // Opens the path as a document frame of the main MDI area (an open path
    // is only activated). A failure tells the user and drops the path from
    // the recent files; a success moves it to their front. The start page
    // then shows the list again. Null does nothing.
    void OpenAudioFile(LPCWSTR path);

    // The tab strip of the main MDI area, with a reference added; null
    // without a frame, that area or its strip. Nothing in the program
    // calls it.
    IxfFrameListContent* GetMainFrameList();

protected:
    void OnOpen();
    void OnVolume();
    void OnUpdateVolume(CCmdUI* cmdUI);
    void OnExit();
    void OnAutoscroll();
    void OnUpdateAutoscroll(CCmdUI* cmdUI);
    void OnVolumeUp();
    void OnVolumeDown();
    void OnHelp();
    void OnOptions();
    void OnAbout();
    void OnSysInfo();
    DECLARE_MESSAGE_MAP()

private:
    void RebuildStartPage();
    // The status bar's volume slider; null until the bar exists.
    CIPtr<IHybridSlider> FindVolumeSlider();

    // The volume the slider was last set to or set; -1 before the first.
    int m_nShownVolume = -1;
};
