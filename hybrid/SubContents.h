#pragma once
// The five child containers of a cell.
#include "hybrid/VerSubContent.h"
#include "hybrid/MLSubContent.h"
#include "hybrid/FreeSubContent.h"
#include "hybrid/HeadSubContent.h"
