#pragma once
// The installed interface languages as rows of a Hybrid control: flag,
// English name, own name. Used by the options dialog's language page and by
// the installer's first page.
#include "hybrid/HybridCtrl.h"

// Fills the control with one row per installed language (data value: the
// language index) and selects the row GetLanguageListChoice names.
void FillLanguageList(CHybridCtrl& control);
