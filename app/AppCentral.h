#pragma once
// The application's factory: the framework asks it for the controllers and
// panes by number, the toolbar item tables, the layout strings and the one
// content it makes itself (the tempo slider of the fragment menu).
#include "xf/xfCentral.h"

class CAppCentral : public CxfCentral
{
public:
    // 1 the main controller, 2 the document controller; the id is set.
    CxfController* CreateController(int number) override;
    // 1 the start page; 2 and 3 the panes of an open file once they exist.
    CxfPane* CreatePane(int number, CxfFrame* parent) override;
    // Only 33014: a plain slider, with a reference for the caller.
    [[nodiscard]] bool CreateContent(UINT commandId, IHybridContent** out) override;
    // Tables 1 to 4, else the framework's own.
    const SxfToolBarItem* GetToolBarItems(int number) override;
    // Controller 1: the main window; controller 2: one open audio file.
    CString GetLayout(int kind) override;
};

// The toolbar item tables of the program (built once, kept to the end); null
// for a number that is not one of them.
const SxfToolBarItem* GetAppToolBarItems(int number);
