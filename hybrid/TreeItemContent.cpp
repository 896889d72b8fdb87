#include "hybrid/TreeItemContent.h"
#include "hybrid/ButtonContent.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/HybridResources.h"
#include "hybrid/IHybridSubContent.h"

namespace {

const COLORREF kPictureKey = 0xFFFFFF;
const int kExpanderWidth = 16;
const int kItemWidth = 100;
const int kChildIndent = 16;
const DWORD kRowBits = HCB_PERCENT | HCB_FIXED_FIRST;

} // namespace

STDMETHODIMP CTreeItemContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridTreeItem)});
}

void CTreeItemContent::OnAttach()
{
    CHybridCtrl* control = GetCtrl();
    if (!control || !m_cell)
        return;
    CCellBuilder builder(control);
    CIPtr<IHybridHeading> columns;
    builder.AddColumn(kExpanderWidth).AddColumn(kItemWidth).ReturnColumnModel(&columns).CreateColumnModel();
    const uint64_t bits = m_cell->GetStyleBits();

    builder.SetParent(m_cell).SetStyleBits(kRowBits).SetColumnModel(columns).AddCell().BeginChildren();
    builder.SetStyleBits(HCB_VTOP, HBB_HOTTRACK)
        .SetPictureResource(IDB_HYBRID_TREE_COLLAPSED, kPictureKey)
        .SetData(TREE_EXPANDER_DATA)
        .ReturnButton(&m_expander)
        .AddButton();
    builder.ReturnCell(&m_itemCell).AddCell();
    builder.EndChildren();
    builder.SetParent(m_cell).SetChildGap(kChildIndent).ReturnCell(&m_childrenCell).AddCell();

    if (!((bits >> 32) & HTI_EXPANDER)) {
        if (columns)
            columns->SetWidth(0, 0);
        if (m_expander)
            m_expander->Show(false, false);
    }
    Collapse();
}

void CTreeItemContent::OnDetach()
{
    if (m_childrenCell) {
        if (CHybridCtrl* control = GetCtrl())
            control->DetachCell(m_childrenCell);
        m_childrenCell = nullptr;
    }
}

int CTreeItemContent::GetPreferredHeight(int)
{
    UpdateExpander();
    return 1;
}

void CTreeItemContent::UpdateExpander()
{
    if (!m_expander)
        return;
    UINT picture = IDB_HYBRID_TREE_LEAF;
    if (HasChildren())
        picture = IsExpanded() ? IDB_HYBRID_TREE_EXPANDED : IDB_HYBRID_TREE_COLLAPSED;
    m_expander->SetImage(picture, kPictureKey);
}

LRESULT CTreeItemContent::OnChildNotify(UINT code, IHybridCell* sender, bool* handled)
{
    if ((code != HN_DBLCLK && code != HN_BUTTON_PRESSED) || !sender || sender->GetData() != TREE_EXPANDER_DATA)
        return 0;
    if (IsExpanded()) {
        NotifyCell(HN_TREE_COLLAPSING);
        Collapse();
    } else {
        NotifyCell(HN_TREE_EXPANDING);
        Expand();
    }
    if (handled)
        *handled = true;
    return 0;
}

bool CTreeItemContent::IsExpanded()
{
    return m_childrenCell && m_childrenCell->IsShown();
}

void CTreeItemContent::Expand()
{
    if (m_childrenCell && !m_childrenCell->IsShown())
        m_childrenCell->Show(true, false);
}

void CTreeItemContent::Collapse()
{
    if (m_childrenCell && m_childrenCell->IsShown())
        m_childrenCell->Show(false, false);
}

bool CTreeItemContent::HasChildren()
{
    CIPtr<IHybridSubContent> sub;
    return m_childrenCell && m_childrenCell->GetSubContent(&sub) && sub && !sub->IsEmpty();
}

bool CTreeItemContent::GetParentItem(IHybridTreeItem** out)
{
    if (!out || !m_cell)
        return false;
    *out = nullptr;
    CIPtr<IHybridContent> content;
    if (!m_cell->FindAncestor(L't', nullptr, &content) || !content)
        return false;
    return SUCCEEDED(content->QueryInterface(IID_IHybridTreeItem, reinterpret_cast<void**>(out))) && *out;
}

bool CTreeItemContent::GetItemCell(IHybridCell** out)
{
    return ReturnInterface(m_itemCell, out);
}
bool CTreeItemContent::GetChildrenCell(IHybridCell** out)
{
    return ReturnInterface(m_childrenCell, out);
}
