#pragma once
// CCmdTarget lives with the message maps in afxcmd.h.
#include "platform/mfc/afxcmd.h"
