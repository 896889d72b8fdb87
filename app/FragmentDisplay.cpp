#include "app/FragmentDisplay.h"

#include <algorithm>
#include <memory>
#include "app/AppSettings.h"
#include "app/FragmentLayout.h"
#include "app/Tempo.h"
#include "app/ViewMessages.h"

CFragmentDisplay::CFragmentDisplay(ITimeContainer* container) : CDisplayContent<IFragmentDisplay>(container)
{
}

CFragmentDisplay::~CFragmentDisplay()
{
    m_active = nullptr;
    m_target = nullptr;
}

STDMETHODIMP CFragmentDisplay::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IDisplay), Primary(IID_IFragmentDisplay)});
}

SFragmentInfo* CFragmentDisplay::Find(SFragmentInfo* fragment) const
{
    return fragment && m_fragments.Find(fragment) >= 0 ? fragment : nullptr;
}

// A record about to be deleted stops being the mouse's target.
void CFragmentDisplay::Forget(SFragmentInfo* fragment)
{
    if (m_target == fragment)
        m_target = nullptr;
}

void CFragmentDisplay::Layout()
{
    m_rows = LayoutFragments(m_fragments);
    if (m_rows > 5)
        RequestRelayout();
    Invalidate();
}

int CFragmentDisplay::GetPreferredHeight(int)
{
    return std::max(m_rows, 5) * kRowHeight + 10;
}

void CFragmentDisplay::SetActiveTempo(float tempo)
{
    if (!m_active)
        return;
    m_active->Tempo = ClampTempo(tempo);
    RedrawBox(*m_active);
    PostToOwner(WM_FRAGMENTS_CHANGED);
}

float CFragmentDisplay::GetActiveTempo()
{
    return m_active ? m_active->Tempo : 0.0f;
}

void CFragmentDisplay::AdjustActiveTempo(float delta)
{
    if (m_active)
        SetActiveTempo(GetActiveTempo() + delta);
}

void CFragmentDisplay::AddFragment(LONGLONG t1, LONGLONG t2, LPCTSTR comment)
{
    // Times before the start of the file do not exist.
    t1 = std::max<LONGLONG>(t1, 0);
    t2 = std::max<LONGLONG>(t2, 0);
    std::unique_ptr<SFragmentInfo> made(new SFragmentInfo);
    SFragmentInfo* fragment = made.get();
    fragment->StartTime = std::min(t1, t2);
    fragment->EndTime = std::max(t1, t2);
    fragment->Looped = GetAutoLoopNewSel() ? 1 : 0;
    if (comment)
        fragment->Comment = comment;
    m_fragments.Add(made.release());
    Layout();
    PostToOwner(WM_FRAGMENT_ADDED, reinterpret_cast<WPARAM>(fragment));
    PostToOwner(WM_FRAGMENTS_CHANGED);
}

void CFragmentDisplay::SelectNext()
{
    if (!m_active) {
        if (GetCount() > 0)
            SetActive(m_fragments.GetAt(0));
        return;
    }
    for (INT_PTR i = 0; i < m_fragments.GetSize(); ++i)
        if (m_fragments.GetAt(i)->StartTime > m_active->StartTime) {
            SetActive(m_fragments.GetAt(i));
            return;
        }
}

void CFragmentDisplay::SelectPrev()
{
    if (!m_active) {
        if (GetCount() > 0)
            SetActive(m_fragments.GetAt(0));
        return;
    }
    for (INT_PTR i = m_fragments.GetSize() - 1; i >= 0; --i)
        if (m_fragments.GetAt(i)->StartTime < m_active->StartTime) {
            SetActive(m_fragments.GetAt(i));
            return;
        }
}

void CFragmentDisplay::ToggleActiveLoop()
{
    if (!m_active)
        return;
    m_active->Looped = m_active->Looped ? 0 : 1;
    Invalidate();
    PostToOwner(WM_FRAGMENTS_CHANGED);
}

void CFragmentDisplay::SetActiveIndex(int index)
{
    if (index == -1)
        SetActive(nullptr);
    else if (m_fragments.IsValidIndex(index))
        SetActive(m_fragments.GetAt(index));
}

void CFragmentDisplay::SetActive(SFragmentInfo* fragment)
{
    // A record that is not (or no longer) in the list never becomes active:
    // the pane hands back pointers it was sent earlier.
    if (fragment == m_active || (fragment && !Find(fragment)))
        return;
    m_active = fragment;
    Invalidate();
    PostToOwner(WM_ACTIVE_FRAGMENT_REPLACED);
    PostToOwner(WM_FRAGMENTS_CHANGED);
}

void CFragmentDisplay::RemoveActive()
{
    SFragmentInfo* old = m_active;
    if (!old)
        return;
    SelectPrev();
    const bool stillActive = m_active == old;
    if (stillActive)
        SetActive(nullptr);
    Forget(old);
    m_fragments.Remove(old);
    Invalidate();
    Layout();
}

void CFragmentDisplay::RemoveAll()
{
    m_active = nullptr;
    m_target = nullptr;
    m_fragments.RemoveAll();
    Invalidate();
    PostToOwner(WM_FRAGMENTS_CHANGED);
}

bool CFragmentDisplay::GetActive(SFragmentInfo& out)
{
    if (!m_active)
        return false;
    out = *m_active;
    return true;
}

bool CFragmentDisplay::GetAt(int index, SFragmentInfo& out)
{
    if (!m_fragments.IsValidIndex(index))
        return false;
    out = *m_fragments.GetAt(index);
    return true;
}

int CFragmentDisplay::GetActiveIndex()
{
    return m_active ? m_fragments.Find(m_active) : -1;
}

void CFragmentDisplay::SetActiveComment(LPCTSTR text)
{
    if (!text || !m_active)
        return;
    m_active->Comment = text;
    RedrawBox(*m_active);
}

void CFragmentDisplay::SetActivePreDelay(int seconds)
{
    if (m_active)
        m_active->PreDelaySec = seconds;
}

void CFragmentDisplay::OnSelectionChanged()
{
    Invalidate();
    if (!m_container)
        return;
    const LONGLONG from = m_container->GetSelMin(), to = m_container->GetSelMax();
    for (INT_PTR i = 0; i < m_fragments.GetSize(); ++i) {
        const SFragmentInfo* f = m_fragments.GetAt(i);
        if (f->StartTime == from && f->EndTime == to) {
            SetActiveIndex(static_cast<int>(i));
            return;
        }
    }
    SetActiveIndex(-1);
}
