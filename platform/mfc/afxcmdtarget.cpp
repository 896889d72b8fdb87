#include "platform/mfc/afxcmdtarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
