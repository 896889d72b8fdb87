#pragma once
// The controller a frame without one gets when it needs an entry in an MDI
// area's frame list: its title is its frame's window text.
#include "xf/xfController.h"

class CxfStubController : public CxfController
{
    DECLARE_DYNAMIC(CxfStubController)
public:
    CString GetTitle() override;

protected:
    CString m_strTitle;
};
