#pragma once
// CMenuCatcher: an invisible child dialog that owns an edit field's context
// menu while it is tracked and turns the menu's commands 36002 to 36006 into
// the edit's commands 0 to 4 (cut, copy, paste, delete, select all). The
// private message WM_MENUCATCHER_CLOSE destroys it; it is always made with
// new and deletes itself when its window goes.
#include "platform/mfc/afxdlg.h"
#include "common/Interfaces.h"
#include "hybrid/IHybridEdit.h"

enum : UINT {
    IDD_HYBRID_MENU_CATCHER = 6006,
    IDM_HYBRID_EDIT = 6007,     // the edit context menu (submenu 0)
    ID_HYBRID_EDIT_CUT = 36002, // to ID_HYBRID_EDIT_SELECTALL: command number = id - 36002
    ID_HYBRID_EDIT_SELECTALL = 36006,
    WM_MENUCATCHER_CLOSE = WM_APP + 0x12,
};

class CMenuCatcher : public CDialog
{
public:
    explicit CMenuCatcher(IHybridEdit* edit);
    ~CMenuCatcher() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    void OnEditCommand(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    CIPtr<IHybridEdit> m_edit;
};
