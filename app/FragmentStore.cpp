// The fragment display's part of the project file: "SelCount" and one group
// "Sel<i>" per fragment.
#include "app/FragmentDisplay.h"

#include <algorithm>
#include <memory>
#include <utility>
#include "common/TextTree.h"
#include "app/Tempo.h"

namespace {

CString GroupName(int index)
{
    CString name;
    name.Format(L"Sel%d", index);
    return name;
}

int CountGroups(const CTextTree& tree)
{
    const SNode* group = tree.GetCurrentGroup();
    int count = 0;
    if (group)
        for (INT_PTR i = 0; i < group->children.GetSize(); ++i)
            if (group->children.GetAt(i) && group->children.GetAt(i)->isGroup)
                ++count;
    return count;
}

// Reads one fragment of the entered group. False when a required field is
// missing or unreadable, or a time lies before the start of the file.
bool ReadFragment(const CTextTree& tree, SFragmentInfo& f)
{
    int looped = 0;
    if (tree.GetInt(L"Looped", looped))
        f.Looped = looped ? 1 : 0;
    tree.GetString(L"Comment", f.Comment, 0);
    int preDelay = 0;
    if (tree.GetInt(L"PreDelaySec", preDelay))
        f.PreDelaySec = std::max(preDelay, 0);
    if (!tree.GetInt64(L"StartTime", f.StartTime) || !tree.GetInt64(L"EndTime", f.EndTime) ||
        !tree.GetFloat(L"Tempo", f.Tempo))
        return false;
    if (f.StartTime < 0 || f.EndTime < 0)
        return false;
    if (f.StartTime > f.EndTime)
        std::swap(f.StartTime, f.EndTime);
    f.Tempo = ClampTempo(f.Tempo);
    return true;
}

} // namespace

void CFragmentDisplay::Save(CTextTree* tree)
{
    if (!tree)
        return;
    tree->SetInt(L"SelCount", GetCount());
    for (int i = 0; i < GetCount(); ++i) {
        const SFragmentInfo& f = *m_fragments.GetAt(i);
        tree->BeginGroup(GroupName(i));
        tree->SetInt64(L"StartTime", f.StartTime);
        tree->SetInt64(L"EndTime", f.EndTime);
        if (tree->SetFloat(L"Tempo", f.Tempo))
            tree->SetInt(L"Looped", f.Looped);
        tree->SetString(L"Comment", f.Comment, 0);
        tree->SetInt(L"PreDelaySec", f.PreDelaySec);
        tree->EndGroup();
    }
}

void CFragmentDisplay::Load(CTextTree* tree)
{
    RemoveAll();
    int count = 0;
    if (!tree || !tree->GetInt(L"SelCount", count))
        return;
    // A damaged fragment is left out alone: the ones after it still load.
    // The scan ends once every group of the node was visited, however large
    // the stored count.
    const int groups = CountGroups(*tree);
    for (int i = 0, seen = 0; i < count && seen < groups; ++i) {
        if (!tree->EnterGroup(GroupName(i)))
            continue;
        ++seen;
        std::unique_ptr<SFragmentInfo> f(new SFragmentInfo);
        if (ReadFragment(*tree, *f))
            m_fragments.Add(f.release());
        tree->EndGroup();
    }
    Layout();
}
