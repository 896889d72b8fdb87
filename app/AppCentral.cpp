#include "app/AppCentral.h"
#include "app/AppIds.h"
#include "app/MainController.h"
#include "app/StartPagePane.h"
#include "app/ViririziruInfoPane.h"
#include "app/ViririziruPane.h"
#include "app/ViririziruController.h"
#include "hybrid/SliderContent.h"
#include "xf/xfLayout.h"

CxfController* CAppCentral::CreateController(int number)
{
    CxfController* controller = nullptr;
    if (number == CONTROLLER_MAIN)
        controller = new CMainController();
    else if (number == CONTROLLER_DOCUMENT)
        controller = new CViririziruController();
    return controller;
}

CxfPane* CAppCentral::CreatePane(int number, CxfFrame* parent)
{
    if (number == PANE_START_PAGE)
        return CStartPagePane::CreateIn(parent);
    if (number == PANE_TRANSCRIPTION)
        return CViririziruPane::CreateIn(parent);
    if (number == PANE_INFORMATION)
        return CViririziruInfoPane::CreateIn(parent);
    return nullptr;
}

bool CAppCentral::CreateContent(UINT commandId, IHybridContent** out)
{
    if (commandId != ID_CMD_TEMPO_SLIDER || !out)
        return false;
    return ReturnInterface<IHybridContent>(new CHybridSlider(), out);
}

const SxfToolBarItem* CAppCentral::GetToolBarItems(int number)
{
    if (const SxfToolBarItem* table = GetAppToolBarItems(number))
        return table;
    return CxfCentral::GetToolBarItems(number);
}

CString CAppCentral::GetLayout(int kind)
{
    CString layout;
    if (kind == CONTROLLER_MAIN)
        FormatLayoutString(layout,
                           L"R(controller=%i){T(menuBk,top,tb=%i,nogripper,ActiveFrameMenu)T(top,tb=%i,nogripper)"
                           L"S(tb=%i,nogripper)M(PrimaryMDI,KeySwitchable,MDIID=%i){T(menuBk,top,nogripper,tb=%i)"
                           L"F(AccelTable=%i){P(id=%i,active)}}}",
                           CONTROLLER_MAIN, 1, 2, 3, MDI_MAIN, 4, IDR_MAINACCEL, PANE_START_PAGE);
    else if (kind == CONTROLLER_DOCUMENT)
        FormatLayoutString(layout,
                           L"F(ver,controller=%i){F(AccelTable=%i,width=70p){P(id=%i,active)}"
                           L"F(hor,width=30p){P(id=%i,active)}}",
                           CONTROLLER_DOCUMENT, IDR_MAINACCEL, PANE_TRANSCRIPTION, PANE_INFORMATION);
    return layout;
}
