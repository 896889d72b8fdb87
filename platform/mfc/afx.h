#pragma once
// The class library layer, non-window half: include this one header.
#include <windows.h>
#include "platform/mfc/afxstr.h"
#include "platform/mfc/afxobj.h"
#include "platform/mfc/afxgeom.h"
#include "platform/mfc/afxcoll.h"
#include "platform/mfc/afxfile.h"
#include "platform/mfc/afxarch.h"
#include "platform/mfc/afxtime.h"
#include "platform/mfc/afxmt.h"
#include "platform/mfc/afxcmdtarget.h"
#include "platform/mfc/afxthread.h"
