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
};
