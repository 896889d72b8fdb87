#include "xf/xfCentral.h"
#include "xf/xfCommands.h"
#include "xf/xfResources.h"
#include "xf/xfToolBarItem.h"

namespace {
// The factory the framework calls: the last one constructed (one per
// program); user-interface thread only.
CxfCentral* g_pCentral = nullptr;
} // namespace

CxfCentral::CxfCentral()
{
    g_pCentral = this;
}

CxfCentral::~CxfCentral()
{
    if (g_pCentral == this)
        g_pCentral = nullptr;
}

CxfController* CxfCentral::CreateController(int)
{
    return nullptr;
}

CxfPane* CxfCentral::CreatePane(int, CxfFrame*)
{
    return nullptr;
}

bool CxfCentral::CreateContent(UINT, IHybridContent** out)
{
    if (out)
        *out = nullptr;
    return false;
}

const SxfToolBarItem* CxfCentral::GetToolBarItems(int number)
{
    // The caption bands of panes: the title label, and the close button of
    // a closable pane.
    static const SxfToolBarItem caption[] = {
        {XF_ITEM_LABEL, ID_XF_PANE_TITLE, XF_ITEMF_STRETCH | XF_ITEMF_BOLD, 0, 10250, 0, 0, nullptr, 0},
        {XF_ITEM_END, 0, 0, 0, 0, 0, 0, nullptr, 0},
    };
    static const SxfToolBarItem closableCaption[] = {
        {XF_ITEM_LABEL, ID_XF_PANE_TITLE, XF_ITEMF_STRETCH | XF_ITEMF_BOLD, 0, 10250, 0, 0, nullptr, 0},
        {XF_ITEM_BUTTON, ID_XF_CLOSE_PANE, 0, IDB_XF_CLOSE_PANE, 0, 0xFFFFFF, 0, nullptr, 0},
        {XF_ITEM_END, 0, 0, 0, 0, 0, 0, nullptr, 0},
    };
    if (number == XF_TABLE_CAPTION)
        return caption;
    if (number == XF_TABLE_CLOSABLE_CAPTION)
        return closableCaption;
    return nullptr;
}

CString CxfCentral::GetLayout(int)
{
    return CString();
}

bool CxfCentral::IsBroadcastCommand(UINT)
{
    return false;
}

CxfCentral& CxfCentral::Get()
{
    if (!g_pCentral) {
        static CxfCentral base;
        g_pCentral = &base;
    }
    return *g_pCentral;
}
