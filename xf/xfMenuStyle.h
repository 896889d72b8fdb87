#pragma once
// The style of menu rows and toolbar items: the system's menu font.
#include "hybrid/HybridCtrl.h"
#include "hybrid/IHybridStyle.h"

// A new style of `control` in the system's menu font at `weight`; its
// selection shows in the system's highlight colours when `highlight` is
// set, else on `selBk`. Empty when the control makes no style.
CIPtr<IHybridStyle> xfMakeMenuStyle(CHybridCtrl* control, int weight, bool highlight, COLORREF selBk);
