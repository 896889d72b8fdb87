#include "hybrid/GroupHandler.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/GroupBorderContent.h"
#include "hybrid/HybridCtrl.h"

namespace {

const UINT kCollapsedPicture = 10019;
const UINT kExpandedPicture = 10020;
const COLORREF kPictureKey = 0xFFFFFF;
const DWORD kTitleRowBits = HCB_PERCENT | HCB_FIXED_LAST2 | HCB_TRANSPARENT;
const DWORD kBodyRowBits = HCB_PERCENT | HCB_FIXED_ENDS | HCB_TRANSPARENT;

} // namespace

CGroupHandler::CGroupHandler(UINT titleId, bool boldTitle, UINT borderSet)
    : m_boldTitle(boldTitle), m_borderSet(borderSet)
{
    m_title.LoadString(titleId);
}

CGroupHandler::CGroupHandler(LPCWSTR title, bool boldTitle, UINT borderSet)
    : m_boldTitle(boldTitle), m_borderSet(borderSet)
{
    if (title)
        m_title = title;
}

void CGroupHandler::Attach(CHybridCtrl* control, IHybridCell* cell)
{
    CHybridHandler::Attach(control, cell);
    if (!control || !cell)
        return;
    CIPtr<CGroupBorderContent> top(new CGroupBorderContent(m_borderSet, GROUP_BORDER_TOP));
    CIPtr<CGroupBorderContent> bottom(new CGroupBorderContent(m_borderSet, GROUP_BORDER_BOTTOM));
    CIPtr<CGroupBorderContent> left(new CGroupBorderContent(m_borderSet, GROUP_BORDER_LEFT));
    CIPtr<CGroupBorderContent> right(new CGroupBorderContent(m_borderSet, GROUP_BORDER_RIGHT));
    const int side = left->GetMinWidth();

    CCellBuilder builder(control);
    CIPtr<IHybridHeading> titleColumns, bodyColumns;
    builder.AddColumn(99).AddColumn(20).AddColumn(20).ReturnColumnModel(&titleColumns).CreateColumnModel();
    builder.AddColumn(side).AddColumn(100).AddColumn(side).ReturnColumnModel(&bodyColumns).CreateColumnModel();

    builder.SetParent(cell).SetChildGap2(5, 5).AddCell().BeginChildren();
    builder.SetContent(top).AddContent().BeginChildren();
    builder.SetStyleBits(HCB_TRANSPARENT).AddThickSeparator();
    builder.SetStyleBits(kTitleRowBits).SetColumnModel(titleColumns).AddCell().BeginChildren();
    builder.SetText(m_title)
        .SetStdStyle(m_boldTitle ? HCS_BOLD : HCS_NORMAL)
        .SetStyleBits(HCB_TRANSPARENT, 0x8)
        .ReturnText(&m_titleText)
        .AddText();
    builder.SetStyleBits(HCB_TRANSPARENT).AddText();
    builder.SetPictureResource(kExpandedPicture, kPictureKey)
        .SetStyleBits(HCB_NOFOCUS | HCB_TRANSPARENT, 0x1)
        .SetData(GROUP_EXPAND_BUTTON_DATA)
        .ReturnButton(&m_expandButton)
        .AddButton();
    builder.EndChildren();
    builder.SetStyleBits(HCB_TRANSPARENT).AddThickSeparator();
    builder.EndChildren();
    builder.SetStyleBits(HCB_ANIMATE).SetBkColor(0xFFFFFF).ReturnCell(&m_bodyCell).AddCell().BeginChildren();
    builder.SetStyleBits(kBodyRowBits).SetColumnModel(bodyColumns).AddCell().BeginChildren();
    builder.SetContent(left).AddContent();
    builder.AddCell().BeginChildren();
    builder.AddThickSeparator();
    builder.ReturnCell(&m_clientCell).AddCell();
    builder.EndChildren();
    builder.SetContent(right).AddContent();
    builder.EndChildren();
    builder.EndChildren();
    builder.SetContent(bottom).AddContent();
    builder.EndChildren();
    Expand(true);
}

LRESULT CGroupHandler::OnNotify(UINT code, IHybridCell* sender, bool* handled)
{
    CHybridHandler::OnNotify(code, sender, handled);
    if (code == HN_BUTTON_CLICKED && sender && sender->GetData() == GROUP_EXPAND_BUTTON_DATA)
        Expand(!IsExpanded());
    return 0;
}

void CGroupHandler::SetTitle(LPCWSTR text)
{
    if (m_titleText && text)
        m_titleText->SetText(text);
}

void CGroupHandler::Expand(bool expand)
{
    if (!m_bodyCell || !m_expandButton)
        return;
    m_bodyCell->Show(expand, false);
    m_expandButton->SetImage(expand ? kExpandedPicture : kCollapsedPicture, kPictureKey);
    m_expandButton->SetText(expand ? L"Collapse" : L"Expand");
}

bool CGroupHandler::IsExpanded()
{
    return m_bodyCell && m_bodyCell->IsShown();
}

bool CGroupHandler::GetClientCell(IHybridCell** out)
{
    return ReturnInterface(m_clientCell, out);
}
bool CGroupHandler::GetBodyCell(IHybridCell** out)
{
    return ReturnInterface(m_bodyCell, out);
}
bool CGroupHandler::GetExpandButton(IHybridButton** out)
{
    return ReturnInterface(m_expandButton, out);
}
