#pragma once
// The factory through which the framework asks the application for
// everything application-specific. The program constructs exactly one
// object of a subclass among its globals; its constructor makes it the
// factory the framework calls (CxfCentral::Get).
#include "platform/mfc/afx.h"

class CxfController;
class CxfFrame;
class CxfPane;
struct IHybridContent;
struct SxfToolBarItem;

// The framework's own toolbar tables: a pane's caption band with the title
// label alone, and with a close button as well.
const int XF_TABLE_CAPTION = 1000;
const int XF_TABLE_CLOSABLE_CAPTION = 1001;

class CxfCentral
{
public:
    CxfCentral();
    virtual ~CxfCentral();
    CxfCentral(const CxfCentral&) = delete;
    CxfCentral& operator=(const CxfCentral&) = delete;

    // A new controller for the number, or null.
    virtual CxfController* CreateController(int number);
    // A new pane whose window exists as a child of parent's window, or null.
    virtual CxfPane* CreatePane(int number, CxfFrame* parent);
    // True when the factory made a content for the command (stored in *out).
    [[nodiscard]] virtual bool CreateContent(UINT commandId, IHybridContent** out);
    // The first record of a toolbar item table ended by a record of type 0,
    // or null.
    virtual const SxfToolBarItem* GetToolBarItems(int number);
    // The layout string of the kind; empty when there is none.
    virtual CString GetLayout(int kind);
    // True makes command routing go on after a handler.
    [[nodiscard]] virtual bool IsBroadcastCommand(UINT commandId);

    // The registered factory; a plain base object (every answer empty)
    // when none was constructed.
    static CxfCentral& Get();
};
