#pragma once
// The About box: the product's picture and a text block (product name and
// version read from the program file, the maker's notice, the web address as
// a link), built in one Hybrid control; the dialog sizes itself to it.
#include "common/LocalizedDlg.h"
#include "hybrid/HybridCtrl.h"

class CAboutDlg : public CLocalizedDlg
{
public:
    explicit CAboutDlg(CWnd* parent);

    CHybridCtrl& GetContent() { return m_content; }

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Fills the control; returns the total width of the content.
    int BuildContent();

    CHybridCtrl m_content;
    CSize m_pictureSize;
};

// Data value of the address cell: a click on it opens the web site.
const DWORD ABOUT_LINK_DATA = 60003;

// Runs the About box modally; the result is not used.
void ShowAboutDialog(CWnd* parent);
