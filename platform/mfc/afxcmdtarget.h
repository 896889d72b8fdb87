#pragma once
// CCmdTarget: base of the objects that receive commands (threads,
// windows). Message and command routing are added with the window classes.
#include "platform/mfc/afxobj.h"

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;
};
