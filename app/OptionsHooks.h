#pragma once
// What the options dialog asks of the application: its pages and the saving
// of the settings once every page applied.
#include <windows.h>

class COptionsDlg;
class COptionsPage;

int GetAppOptionsPageCount();
// The title string of options page index; 0 outside the pages.
UINT GetAppOptionsPageTitleId(int index);
// A new page made as a child of the dialog; null outside the pages.
COptionsPage* CreateAppOptionsPage(COptionsDlg* dialog, int index);
void SaveAppSettingsHook();
