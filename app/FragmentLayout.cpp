#include "app/FragmentLayout.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <set>
#include <utility>
#include <vector>

namespace {

LONGLONG Low(const SFragmentInfo& f)
{
    return std::min(f.StartTime, f.EndTime);
}

LONGLONG High(const SFragmentInfo& f)
{
    return std::max(f.StartTime, f.EndTime);
}

bool Within(LONGLONG t, const SFragmentInfo& f)
{
    return std::min(f.StartTime, f.EndTime) <= t && t <= std::max(f.StartTime, f.EndTime);
}

} // namespace

bool FragmentsOverlap(const SFragmentInfo& a, const SFragmentInfo& b)
{
    return Within(a.StartTime, b) || Within(a.EndTime, b) || (a.StartTime < b.StartTime && a.EndTime > b.EndTime);
}

int LayoutFragments(CGCPtrArray<SFragmentInfo>& fragments)
{
    const INT_PTR n = fragments.GetSize();
    // Sorted outside the array, then put back through the non-owning base,
    // whose SetAt deletes nothing. n log n throughout: a project file may
    // hold many thousands of fragments.
    std::vector<SFragmentInfo*> order(static_cast<size_t>(n));
    for (INT_PTR i = 0; i < n; ++i)
        order[static_cast<size_t>(i)] = fragments.GetAt(i);
    std::stable_sort(order.begin(), order.end(),
                     [](const SFragmentInfo* a, const SFragmentInfo* b) { return Low(*a) < Low(*b); });
    CovPtrArray<SFragmentInfo>& slots = fragments;
    for (INT_PTR i = 0; i < n; ++i)
        slots.SetAt(i, order[static_cast<size_t>(i)]);

    // In start order a fragment overlaps an earlier one exactly when it
    // starts at or before that one's end: a row is free for it once the
    // last end in the row lies before its start.
    using SBusy = std::pair<LONGLONG, int>; // last end, row
    std::priority_queue<SBusy, std::vector<SBusy>, std::greater<SBusy>> busy;
    std::set<int> free;
    int rows = 0;
    for (SFragmentInfo* f : order) {
        while (!busy.empty() && busy.top().first < Low(*f)) {
            free.insert(busy.top().second);
            busy.pop();
        }
        if (free.empty()) {
            f->Row = rows++;
        } else {
            f->Row = *free.begin();
            free.erase(free.begin());
        }
        busy.push(SBusy(High(*f), f->Row));
    }
    return std::max(rows, 1);
}
