#pragma once
// The installed interface languages as a list to choose from (the options
// dialog's language page, the installer's first page): which row a list of
// them opens on. The rows themselves are GetLanguageAt(0..count-1).
#include "common/Languages.h"

// The index of the current language in the list, or 0 (the first row) when
// the current language is not installed; -1 for an empty list.
int GetLanguageListChoice();
