#pragma once
// CCellArray: the list type for cells; holds one reference per cell.
#include "common/PtrArrays.h"
#include "hybrid/IHybridCell.h"

class CCellArray : public CIArray<IHybridCell>
{};
