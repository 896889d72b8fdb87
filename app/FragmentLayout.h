#pragma once
// Ordering and rows of the fragments: the list is sorted by start time and
// every fragment gets the lowest row in which it overlaps no fragment before
// it in the list (fragments that only touch count as overlapping).
#include "common/PtrArrays.h"
#include "app/FragmentInfo.h"

[[nodiscard]] bool FragmentsOverlap(const SFragmentInfo& a, const SFragmentInfo& b);

// Sorts the list in place (no record is deleted), sets every Row and answers
// the number of rows (1 for an empty list).
int LayoutFragments(CGCPtrArray<SFragmentInfo>& fragments);
