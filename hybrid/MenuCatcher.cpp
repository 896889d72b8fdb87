#include "hybrid/MenuCatcher.h"
#include "platform/mfc/afxmsg.h"

BEGIN_MESSAGE_MAP(CMenuCatcher, CDialog)
    ON_COMMAND_RANGE(ID_HYBRID_EDIT_CUT, ID_HYBRID_EDIT_SELECTALL, &CMenuCatcher::OnEditCommand)
END_MESSAGE_MAP()

CMenuCatcher::CMenuCatcher(IHybridEdit* edit) : CDialog(IDD_HYBRID_MENU_CATCHER, nullptr), m_edit(edit)
{
}

CMenuCatcher::~CMenuCatcher() = default;

void CMenuCatcher::OnEditCommand(UINT id)
{
    if (CIPtr<IHybridEdit> edit = m_edit)
        edit->DoEditCommand(static_cast<int>(id - ID_HYBRID_EDIT_CUT));
}

LRESULT CMenuCatcher::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MENUCATCHER_CLOSE) {
        DestroyWindow();
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

// After the window's last message: nothing of the object is touched later.
void CMenuCatcher::PostNcDestroy()
{
    delete this;
}
