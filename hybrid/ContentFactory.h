#pragma once
// The table that maps content type letters to content constructors. The
// content kinds add their rows (ContentFactory.cpp); RegisterContentFactory
// adds or replaces one at run time.
#include <cstdint>
#include "hybrid/IHybridContent.h"

using PFN_CREATE_CONTENT = IHybridContent* (*)(uint64_t styleBits);

// false for a letter outside the table (0 < letter < 128).
[[nodiscard]] bool RegisterContentFactory(WCHAR letter, PFN_CREATE_CONTENT factory);
// A new content (no reference yet) for the letter, or null ('C' and
// letters without a row).
IHybridContent* CreateContentForLetter(WCHAR letter, uint64_t styleBits);
