// The fragment side of the information pane: the fragment list, the fields
// of the active fragment and what the user changes in them.
#include <cmath>
#include "app/ViririziruInfoPane.h"
#include "app/AppIds.h"
#include "app/TempoText.h"
#include "app/ViewMessages.h"
#include "app/ViewServices.h"
#include "app/ViririziruPane.h"
#include "common/TimeUtils.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/HybridMessages.h"
#include "xf/xfFrame.h"

namespace {

// "start - end (length)" of a fragment.
CString FragmentTimes(const SFragmentInfo& f)
{
    CString text;
    text.Format(L"%s - %s (%s)", FormatTimeMinSecMs(f.StartTime).GetString(), FormatTimeMinSecMs(f.EndTime).GetString(),
                FormatTimeMinSecMs(f.EndTime - f.StartTime).GetString());
    return text;
}

} // namespace

// Compared by value: a text match ("%.1f") would take 0.85 for 0.9.
int CViririziruInfoPane::TempoItemOf(float tempo)
{
    for (int i = 0; i < kTempoItems; ++i)
        if (std::fabs(TempoOfItem(i) - tempo) < 0.001f)
            return i;
    return -1;
}

void CViririziruInfoPane::RebuildList()
{
    if (!m_pFragments || !m_pListGroup)
        return;
    m_ctrl.DetachCells(m_listRows, true);
    const int active = m_pFragments->GetActiveIndex();
    const int count = m_pFragments->GetCount();
    CCellBuilder builder(&m_ctrl);
    for (int i = 0; i < count; ++i) {
        SFragmentInfo f;
        if (!m_pFragments->GetAt(i, f))
            break;
        CString title;
        title.Format(L"%d", i + 1);
        if (!f.Comment.IsEmpty())
            title += L" - " + f.Comment;
        CString tempo;
        tempo.Format(L"%.2f x", static_cast<double>(f.Tempo));
        const CString times = FragmentTimes(f);

        CIPtr<IHybridCell> row;
        builder.SetParent(m_pListGroup)
            .SetStyleBits(HCB_ITEM)
            .SetData(static_cast<DWORD_PTR>(i))
            .ReturnCell(&row)
            .AddCell()
            .BeginChildren();
        builder.SetText(title).SetStdStyle(2).AddText();
        builder.SetColumnModel(m_pListColumns).SetStyleBits(HCB_PERCENT).AddCell().BeginChildren();
        builder.SetText(times).AddText();
        builder.SetText(tempo).AddText();
        builder.EndChildren();
        builder.EndChildren();
        if (!row)
            continue;
        m_listRows.Add(row);
        if (i == active) {
            row->SetSelected(true, false);
            m_ctrl.EnsureVisible(row);
        }
    }
}

void CViririziruInfoPane::UpdateActiveFragment(const SFragmentInfo* fragment)
{
    if (m_pActiveGroupHandler)
        m_pActiveGroupHandler->Expand(fragment != nullptr);
    if (!fragment || !m_pFragmentTimeText)
        return;
    m_pFragmentTimeText->SetText(FragmentTimes(*fragment));
    if (m_pTempoCombo) {
        // A tempo none of the items names (0.85 x) is shown as the combo's
        // own text: the combo never goes on naming an earlier tempo.
        const int tempoItem = TempoItemOf(fragment->Tempo);
        m_pTempoCombo->SetCurSel(tempoItem, false);
        m_pTempoCombo->SetPromptText(tempoItem == -1 ? FormatTempo(fragment->Tempo) : CString());
    }
    if (m_pCommentEdit)
        m_pCommentEdit->SetText(fragment->Comment);
    if (m_pPreDelayCombo) {
        // A pre-delay the combo does not offer shows no item.
        const int seconds = fragment->PreDelaySec;
        m_pPreDelayCombo->SetCurSel(m_pPreDelayCombo->IsValidIndex(seconds) ? seconds : -1, false);
    }
    if (m_pLoopCheck)
        m_pLoopCheck->SetCheck(fragment->Looped ? 1 : 0, false);
}

void CViririziruInfoPane::OnListSelection()
{
    CCellArray selected;
    m_ctrl.EnumSelectedCells(selected);
    if (selected.GetSize() == 0 || !m_pFragments)
        return;
    CIPtr<IHybridCell> cell = selected.GetAt(0);
    // Only a row of the list names a fragment.
    if (m_listRows.Find(cell) < 0)
        return;
    m_pFragments->SetActiveIndex(static_cast<int>(cell->GetData()));
}

void CViririziruInfoPane::ShowFragmentMenu(CViririziruPane* pane, IHybridCell* sender)
{
    // One right click raises this code twice: for the press, which opens
    // the menu, and for the release, which comes while that menu is still
    // open. A second menu over the first would show a slider that the
    // transcription pane never reaches (it updates the first one's).
    if (m_menuOpen)
        return;
    // The press chose its row, but the list's selection change is posted
    // and would reach the fragment only after the menu was built: the
    // row's fragment becomes the active one first, so that the menu shows
    // and sets that fragment's tempo from its first moment.
    CIPtr<IHybridCell> row;
    if (sender && sender->GetItemCell(&row) && row && m_listRows.Find(row) >= 0 && m_pFragments)
        m_pFragments->SetActiveIndex(static_cast<int>(row->GetData()));
    FragmentMenuOpener open = GetFragmentMenuOpener();
    if (!open || !pane->HasActive())
        return;
    POINT cursor;
    ::GetCursorPos(&cursor);
    m_menuOpen = true;
    const struct SMenuClosed
    {
        bool& open;
        ~SMenuClosed() { open = false; }
    } closed{m_menuOpen};
    open(&m_ctrl, cursor);
}

void CViririziruInfoPane::OnNotify(UINT code, IHybridCell* sender)
{
    CViririziruPane* pane = TranscriptionPane();
    if (!pane || !m_pCommentEdit || !m_pPreDelayCombo)
        return;
    switch (code) {
    case HN_RBUTTONUP_CELL: ShowFragmentMenu(pane, sender); break;
    case HN_DBLCLK:
        if (CWnd* top = GetTopFrame())
            top->PostMessage(WM_COMMAND, ID_FRAGMENT_ZOOM_TO, 0);
        break;
    case HN_SELCHANGED: PostMessage(WM_INFO_LIST_SELECTED); break;
    case HN_LBUTTONUP: RequestListRefresh(); break;
    case HN_COMBO_CHANGED: {
        // Each combo changes only its own field: the tempo combo may still
        // show an earlier item when the fragment's tempo is none of its
        // items, and must not overwrite that tempo on a pre-delay change.
        IHybridCell* tempoCell = m_pTempoCombo ? m_pTempoCombo->GetCell() : nullptr;
        if (sender && IsSameObject(sender, m_pPreDelayCombo->GetCell())) {
            const int seconds = m_pPreDelayCombo->GetCurSel();
            if (seconds >= 0)
                pane->SetActivePreDelay(seconds);
        } else if (sender && tempoCell && IsSameObject(sender, tempoCell)) {
            const int item = m_pTempoCombo->GetCurSel();
            if (item != -1)
                pane->SetActiveTempo(TempoOfItem(item));
        }
        break;
    }
    case HN_EDIT_CHANGED:
        if (sender && IsSameObject(sender, m_pCommentEdit->GetCell())) {
            pane->SetActiveComment(m_pCommentEdit->GetText());
            RequestListRefresh();
        }
        break;
    case HN_CHECKBOX_CHANGED:
        if (m_pLoopCheck && sender && IsSameObject(sender, m_pLoopCheck->GetCell()))
            pane->ToggleActiveLoop();
        break;
    default: break;
    }
}

LRESULT CViririziruInfoPane::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INFO_REBUILD_LIST: RebuildList(); return 0;
    case WM_INFO_LIST_SELECTED: OnListSelection(); return 0;
    case WM_HYBRID_NOTIFY: OnNotify(static_cast<UINT>(wParam), reinterpret_cast<IHybridCell*>(lParam)); break;
    case WM_SIZE:
        if (m_ctrl.GetSafeHwnd())
            m_ctrl.MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        break;
    default: break;
    }
    return CxfPane::WindowProc(message, wParam, lParam);
}
