#pragma once
// The properties of one fragment (from, to, tempo, looped). Nothing in the
// program opens it; its initialisation, OK and Cancel are the dialog
// defaults and it exchanges no data with its controls.
#include "common/LocalizedDlg.h"

class CFragmentPropDlg : public CLocalizedDlg
{
    DECLARE_DYNAMIC(CFragmentPropDlg)
public:
    explicit CFragmentPropDlg(CWnd* parent);
};
