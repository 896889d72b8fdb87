#include "app/FragmentLayout.h"

#include <algorithm>

namespace {

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
    // Exchange sort: records trade places through the non-owning base,
    // whose SetAt deletes nothing.
    CovPtrArray<SFragmentInfo>& slots = fragments;
    for (INT_PTR i = 0; i < n; ++i)
        for (INT_PTR j = i + 1; j < n; ++j)
            if (slots.GetAt(j)->StartTime < slots.GetAt(i)->StartTime) {
                SFragmentInfo* a = slots.GetAt(i);
                slots.SetAt(i, slots.GetAt(j));
                slots.SetAt(j, a);
            }
    for (INT_PTR i = 0; i < n; ++i)
        fragments.GetAt(i)->Row = 0;
    int rows = 0;
    for (bool changed = true; changed;) {
        changed = false;
        for (INT_PTR i = 0; i < n; ++i)
            for (INT_PTR j = i + 1; j < n; ++j) {
                SFragmentInfo* a = fragments.GetAt(i);
                SFragmentInfo* b = fragments.GetAt(j);
                if (FragmentsOverlap(*a, *b) && a->Row == b->Row) {
                    b->Row = a->Row + 1;
                    changed = true;
                }
                rows = std::max(rows, b->Row);
            }
    }
    return rows + 1;
}
