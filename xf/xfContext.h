#pragma once
// A request handed to controllers' Open and panes' OnInitPane: the path of
// the document to open (empty: nothing to open). Its maker destroys it
// after the call.
#include "platform/mfc/afx.h"

struct SxfContext
{
    SxfContext() = default;
    explicit SxfContext(LPCWSTR path) : m_path(path ? path : L"") {}
    virtual ~SxfContext() = default;

    CString m_path;
    // Set by a controller that refuses the document: the string that says
    // why, which the opener shows as the one message of the failure (0:
    // no reason given).
    UINT m_nRefusalId = 0;
};
