#include "xf/xfCmdUI.h"
#include "hybrid/IHybridSubContent.h"
#include "xf/xfResources.h"

namespace {

// The framework's "null" command: its update runs first in every pass.
const UINT kNullCommand = 37005;
bool g_probing = false;

// Clears the probe flag however the routing ends.
class CProbeScope
{
public:
    CProbeScope() { g_probing = true; }
    ~CProbeScope() { g_probing = false; }
    CProbeScope(const CProbeScope&) = delete;
    CProbeScope& operator=(const CProbeScope&) = delete;
};

} // namespace

CxfCmdUI::CxfCmdUI(IHybridCell* cell) : m_pCell(cell)
{
    if (!cell)
        return;
    CIPtr<IHybridSubContent> sub;
    if (cell->GetSubContent(&sub) && sub)
        sub->GetChildren(&m_children);
    for (INT_PTR i = 0; i < m_children.GetSize() && !m_pPicture; ++i)
        if (IHybridContent* content = m_children[i] ? m_children[i]->GetContentPtr() : nullptr)
            m_pPicture.QueryFrom(content, IID_IHybridPicture);
    if (IHybridContent* own = cell->GetContentPtr()) {
        m_pButton.QueryFrom(own, IID_IHybridButton);
        m_pLabel.QueryFrom(own, IID_IxfToolBarLabel);
    }
}

CxfCmdUI::~CxfCmdUI() = default;

void CxfCmdUI::Enable(BOOL on)
{
    m_bEnableSet = true;
    m_bEnableChanged = TRUE;
    if (!m_pCell)
        return;
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i) {
        IHybridCell* child = m_children[i];
        if (!child)
            break;
        if (IHybridContent* content = child->GetContentPtr())
            content->Enable(on != FALSE);
    }
    m_pCell->Enable(on != FALSE);
}

void CxfCmdUI::ShowMark(int check, UINT mark, UINT hotMark)
{
    const bool on = check != 0;
    if (m_pPicture) {
        m_pPicture->SetBitmap(static_cast<int>(on ? mark : IDB_XF_NOCHECK), RGB(0xFF, 0xFF, 0xFF));
        // The hot marks are keyed red; the empty mark is white and keyed
        // white, so that a highlighted row shows no square where it sits.
        m_pPicture->SetSelectedBitmap(static_cast<int>(on ? hotMark : IDB_XF_NOCHECK),
                                      on ? RGB(0xFF, 0, 0) : RGB(0xFF, 0xFF, 0xFF));
    }
    if (m_pButton)
        m_pButton->SetLatched(on);
    if (m_pLabel)
        m_pLabel->SetUnderline(on); // a label has no check state of its own
}

void CxfCmdUI::SetCheck(int check)
{
    ShowMark(check, IDB_XF_CHECK, IDB_XF_CHECK_HOT);
}

void CxfCmdUI::SetRadio(BOOL on)
{
    ShowMark(on ? 1 : 0, IDB_XF_RADIO, IDB_XF_RADIO_HOT);
}

void CxfCmdUI::SetText(LPCWSTR)
{
}

bool CxfCmdUI::IsCmdUIProbe()
{
    return g_probing;
}

void CxfCmdUI::UpdateCellCmdUI(CCmdTarget* target, UINT id, IHybridCell* cell)
{
    if (!target || id == 0 || id == static_cast<UINT>(-1))
        return;
    CxfCmdUI ui(cell);
    ui.m_nID = id;
    bool enable = true;
    if (!target->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr)) {
        AFX_CMDHANDLERINFO info{};
        CProbeScope probe;
        enable = target->OnCmdMsg(id, CN_COMMAND, &ui, &info) != FALSE;
    }
    if (!ui.m_bEnableSet)
        ui.Enable(enable ? TRUE : FALSE);
}

void CxfCmdUI::UpdateCellsCmdUI(CCmdTarget* target, const CCellArray& cells)
{
    if (!target)
        return;
    UpdateCellCmdUI(target, kNullCommand, nullptr);
    for (INT_PTR i = 0; i < cells.GetSize(); ++i) {
        IHybridCell* cell = cells[i];
        if (!cell)
            break;
        UpdateCellCmdUI(target, static_cast<UINT>(cell->GetData()), cell);
    }
}
