#include "app/FragmentPropDlg.h"

IMPLEMENT_DYNAMIC(CFragmentPropDlg, CLocalizedDlg)

CFragmentPropDlg::CFragmentPropDlg(CWnd* parent) : CLocalizedDlg(1061, parent)
{
}
