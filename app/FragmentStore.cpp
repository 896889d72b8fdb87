// The fragment display's part of the project file: "SelCount" and one group
// "Sel<i>" per fragment.
#include "app/FragmentDisplay.h"

#include <algorithm>
#include <map>
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

// Later than this after the end of the file no fragment starts: the
// file's length may be rounded or estimated, but not by this much.
const LONGLONG kBeyondEndSlack = 1000000;

// Reads one fragment of the entered group. False when a required field is
// missing or unreadable, a time lies before the start of the file, or the
// fragment starts beyond the end of a file `length` µs long (0: unknown).
bool ReadFragment(const CTextTree& tree, LONGLONG length, SFragmentInfo& f)
{
    int looped = 0;
    if (tree.GetInt(L"Looped", looped))
        f.Looped = looped ? 1 : 0;
    (void)tree.GetString(L"Comment", f.Comment, 0); // none: no comment
    int preDelay = 0;
    if (tree.GetInt(L"PreDelaySec", preDelay))
        f.PreDelaySec = std::clamp(preDelay, 0, kMaxPreDelaySec);
    if (!tree.GetInt64(L"StartTime", f.StartTime) || !tree.GetInt64(L"EndTime", f.EndTime) ||
        !tree.GetFloat(L"Tempo", f.Tempo))
        return false;
    if (f.StartTime < 0 || f.EndTime < 0)
        return false;
    if (f.StartTime > f.EndTime)
        std::swap(f.StartTime, f.EndTime);
    if (length > 0 && f.StartTime > length + kBeyondEndSlack)
        return false;
    f.Tempo = ClampTempo(f.Tempo);
    return true;
}

} // namespace

bool CFragmentDisplay::Save(CTextTree* tree)
{
    if (!tree)
        return false;
    bool ok = tree->SetInt(L"SelCount", GetCount());
    for (int i = 0; i < GetCount(); ++i) {
        const SFragmentInfo& f = *m_fragments.GetAt(i);
        ok = tree->BeginGroup(GroupName(i)) && ok;
        ok = tree->SetInt64(L"StartTime", f.StartTime) && ok;
        ok = tree->SetInt64(L"EndTime", f.EndTime) && ok;
        // A tempo that is no number is left out with its loop flag; the
        // load then takes the defaults.
        if (tree->SetFloat(L"Tempo", f.Tempo))
            ok = tree->SetInt(L"Looped", f.Looped) && ok;
        ok = tree->SetString(L"Comment", f.Comment, 0) && ok;
        ok = tree->SetInt(L"PreDelaySec", f.PreDelaySec) && ok;
        ok = tree->EndGroup() && ok;
    }
    return ok;
}

bool CFragmentDisplay::Load(CTextTree* tree)
{
    RemoveAll();
    SNode* group = tree ? tree->GetCurrentGroup() : nullptr;
    if (!group)
        return false;
    const int groups = CountGroups(*tree);
    int count = 0;
    if (!tree->GetInt(L"SelCount", count))
        return groups == 0;
    // The fragments' groups "Sel0" to "Sel<count - 1>", each taken once, in
    // one pass over the node: neither a huge stored count nor many groups
    // make the load slow. A missing group is skipped, and a damaged fragment
    // is left out alone: the ones after it still load.
    std::map<int, SNode*> byIndex;
    for (INT_PTR i = 0; i < group->children.GetSize(); ++i) {
        SNode* child = group->children.GetAt(i);
        if (!child || !child->isGroup || child->name.Left(3) != L"Sel")
            continue;
        const int index = _wtoi(static_cast<LPCWSTR>(child->name) + 3);
        if (index >= 0 && index < count && child->name == GroupName(index))
            byIndex.emplace(index, child); // the first of equal names, as a look-up by name finds
    }
    const LONGLONG length = m_container ? m_container->GetLength() : 0;
    int taken = 0;
    for (const auto& entry : byIndex) {
        if (!tree->PushGroup(entry.second))
            continue;
        std::unique_ptr<SFragmentInfo> f(new SFragmentInfo);
        if (ReadFragment(*tree, length, *f)) {
            m_fragments.Add(f.release());
            ++taken;
        }
        (void)tree->EndGroup(); // the group entered above: always open
    }
    Layout();
    return taken == groups;
}
