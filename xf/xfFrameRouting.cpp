// CxfFrame: command routing through the tree, accelerator tables and the
// keyboard handling of the top-level frame.
#include "xf/xfFrame.h"
#include "xf/xfApp.h"
#include "xf/xfCentral.h"
#include "xf/xfCommands.h"
#include "xf/xfControlBar.h"
#include "xf/xfController.h"
#include "xf/xfMDIClient.h"
#include "xf/xfMessages.h"
#include "xf/xfPane.h"
#include "xf/xfPopupMenu.h"
#include "xf/xfToolBar.h"

namespace {

bool IsKeyboardMessage(UINT message)
{
    return message >= WM_KEYFIRST && message <= 0x109 /* WM_UNICHAR */;
}

// While a popup menu exists, a pane does not take the focus back after a
// command: the popup keeps it.
bool AnyPopupMenuExists()
{
    return CxfPopupMenu::AnyExists();
}

} // namespace

BOOL CxfFrame::OnCommand(WPARAM wParam, LPARAM)
{
    return CWnd::OnCommand(LOWORD(wParam), 0);
}

CxfMDIClient* CxfFrame::KeySwitchArea() const
{
    if (m_mdiClients.GetSize() == 1)
        return m_mdiClients[0];
    for (INT_PTR i = 0; i < m_mdiClients.GetSize(); ++i)
        if (m_mdiClients[i]->HasParam(L"KeySwitchable"))
            return m_mdiClients[i];
    return nullptr;
}

BOOL CxfFrame::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (code == CN_COMMAND && (id == ID_XF_NEXT_FRAME || id == ID_XF_PREV_FRAME)) {
        // Handled in every case, also without an area to switch in.
        if (!handlerInfo)
            if (CxfMDIClient* area = KeySwitchArea())
                area->ActivateNeighbour(id == ID_XF_NEXT_FRAME);
        return TRUE;
    }
    if (code == CN_UPDATE_COMMAND_UI && id == ID_XF_NULL && m_pfnVisibility)
        SetVisible(m_pfnVisibility() != 0);
    const bool broadcast = CxfCentral::Get().IsBroadcastCommand(id);
    if (m_pFrame)
        return FALSE;
    if (CxfApp* app = CxfApp::Get())
        if (app->OnCmdMsg(id, code, extra, handlerInfo) && !broadcast)
            return TRUE;
    if (CWnd* host = GetHostWnd())
        if (host->OnCmdMsg(id, code, extra, handlerInfo) && !broadcast)
            return TRUE;
    return RouteDown(id, code, extra, handlerInfo, broadcast) ? TRUE : FALSE;
}

bool CxfFrame::RouteToOwn(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    return RouteOwn(id, code, extra, handlerInfo, CxfCentral::Get().IsBroadcastCommand(id));
}

bool CxfFrame::RouteDown(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    return RouteDown(id, code, extra, handlerInfo, CxfCentral::Get().IsBroadcastCommand(id));
}

bool CxfFrame::RouteOwn(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo, bool broadcast)
{
    if (m_pController && m_pController->OnCmdMsg(id, code, extra, handlerInfo) && !broadcast)
        return true;
    if (CxfPane* pane = m_pPane) {
        // The handler may close the pane: only its handle is used after it.
        const HWND paneWnd = pane->m_hWnd;
        if (pane->OnCmdMsg(id, code, extra, handlerInfo) && !broadcast) {
            // A probe runs nothing, and a command from an open popup menu
            // must not take the focus away from it.
            if (code == CN_COMMAND && !handlerInfo && !AnyPopupMenuExists() && ::IsWindow(paneWnd))
                ::PostMessageW(paneWnd, XFM_PANECOMMAND, 0, 0);
            return true;
        }
    }
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i)
        if (m_bars[i]->OnCmdMsg(id, code, extra, handlerInfo) && !broadcast)
            return true;
    return false;
}

bool CxfFrame::RouteDown(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo, bool broadcast)
{
    if (RouteOwn(id, code, extra, handlerInfo, broadcast))
        return true;
    // The children as they are now: a handler may change the list.
    std::vector<CxfFrame*> children;
    for (int pass = 0; pass < 2; ++pass)
        for (INT_PTR i = 0; i < m_children.GetSize(); ++i) {
            CxfFrame* child = m_children[i];
            if ((child->m_bShown && child->m_bActive) == (pass == 0))
                children.push_back(child);
        }
    for (CxfFrame* child : children) {
        if (child->OnCmdMsg(id, code, extra, handlerInfo))
            return true;
        if (child->RouteDown(id, code, extra, handlerInfo, broadcast))
            return true;
    }
    return false;
}

// ---- accelerators and keys ---------------------------------------------------

void CxfFrame::RebuildAccelerators()
{
    m_accelerators.clear();
    if (HACCEL table = ::LoadAcceleratorsW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_XF_ACCEL)))
        m_accelerators.emplace_back(table);
    AppendChildAccelerators();
}

// Deepest and active first: each child's subtree before the child's own
// table, active children before inactive ones.
void CxfFrame::AppendChildAccelerators()
{
    CxfFrame* root = GetTopFrame();
    for (int pass = 0; pass < 2; ++pass)
        for (INT_PTR i = 0; i < m_children.GetSize(); ++i) {
            CxfFrame* child = m_children[i];
            if (child->m_bActive != (pass == 0))
                continue;
            child->AppendChildAccelerators();
            LPCWSTR number = child->GetParam(L"AccelTable");
            const int id = number ? _wtoi(number) : -1;
            if (id == -1)
                continue;
            if (HACCEL table = ::LoadAcceleratorsW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id)))
                root->m_accelerators.emplace_back(table);
        }
}

bool CxfFrame::FindAccelerator(UINT commandId, ACCEL* out)
{
    if (m_pFrame || !out)
        return false;
    for (const auto& table : m_accelerators) {
        const int count = ::CopyAcceleratorTableW(table.get(), nullptr, 0);
        if (count <= 0)
            return false;
        std::vector<ACCEL> entries(static_cast<size_t>(count));
        if (::CopyAcceleratorTableW(table.get(), entries.data(), count) != count)
            return false;
        for (const ACCEL& a : entries)
            if (a.cmd == commandId) {
                *out = a;
                return true;
            }
    }
    return false;
}

BOOL CxfFrame::PreTranslateMessage(MSG* msg)
{
    if (m_pFrame || !IsKeyboardMessage(msg->message))
        return CWnd::PreTranslateMessage(msg);
    // Alt shows the keyboard cues when the system hides them; while the
    // system shows them, every key keeps them shown.
    BOOL cues = TRUE;
    ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0);
    if ((msg->wParam == VK_MENU) != (cues != FALSE))
        ShowKeyboardCues(true);
    // The menu band's keyboard mode: the bar that runs it (the first in
    // menu mode, else the first that has a band to enter it with).
    CxfToolBar* menuBar = nullptr;
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i) {
        CxfToolBar* bar = dynamic_cast<CxfToolBar*>(m_bars[i]);
        if (!bar || !bar->HasMenuBand())
            continue;
        if (bar->IsInMenuMode()) {
            menuBar = bar;
            break;
        }
        if (!menuBar)
            menuBar = bar;
    }
    if (menuBar && menuBar->HandleMenuKey(msg))
        return TRUE;
    // The tables may be rebuilt by a command they send: use handles held now.
    std::vector<HACCEL> tables;
    for (const auto& table : m_accelerators)
        tables.push_back(table.get());
    for (HACCEL table : tables)
        if (::TranslateAcceleratorW(m_hWnd, table, msg))
            return TRUE;
    return CWnd::PreTranslateMessage(msg);
}
