#pragma once
// Base of the program's dialogs: when the dialog is initialised, its caption
// and the texts of its child windows are translated into the current
// language (after the derived class's own initialisation has filled them).
// Calling TranslateControls again (after a language change) first restores
// the English texts, so translations never stack.
#include "platform/mfc/afxdlg.h"
#include "common/PtrArrays.h"
#include "common/SingleTranslation.h"

// Restores and forgets earlier records (at depth 0), then translates the
// window and, depth-first in Z order, its descendants; with limitDepth the
// walk stops two levels below the top window.
void TranslateWindowTree(CGCPtrArray<CSingleTranslation>& records, HWND window, bool limitDepth, int depth);

class CLocalizedDlg : public CDialog
{
    DECLARE_DYNAMIC(CLocalizedDlg)
public:
    CLocalizedDlg();
    explicit CLocalizedDlg(UINT templateId, CWnd* parent = nullptr);
    ~CLocalizedDlg() override;

    void TranslateControls();
    // The install wizard's pages translate themselves: the wizard stops at
    // their children.
    void SetLimitDepth(bool limit) { m_limitDepth = limit; }
    int GetTranslationCount() const { return static_cast<int>(m_translations.GetSize()); }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CGCPtrArray<CSingleTranslation> m_translations;
    bool m_limitDepth = false;
};
