#pragma once
// The class library layer, window half included: include this one header.
#include "platform/mfc/afx.h"
#include "platform/mfc/afxres.h"
#include "platform/mfc/afxcmd.h"
#include "platform/mfc/afxgdi.h"
#include "platform/mfc/afxdc.h"
#include "platform/mfc/afxmenu.h"
#include "platform/mfc/afxwnd.h"
#include "platform/mfc/afxmsg.h"
#include "platform/mfc/afxdlg.h"
#include "platform/mfc/afxctl.h"
#include "platform/mfc/afxapp.h"
