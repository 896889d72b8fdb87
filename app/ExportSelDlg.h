#pragma once
// Choosing fragments and a destination folder for an export: one row per
// fragment of a display, each with a check box, and the folder last used.
// Nothing in the program opens it yet; it has no export step of its own.
#include "common/BrowseEdit.h"
#include "common/LocalizedDlg.h"
#include "common/PtrArrays.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/IHybridCheckBox.h"
#include "app/ViewInterfaces.h"

class CExportSelDlg : public CLocalizedDlg
{
public:
    CExportSelDlg(CWnd* parent, IFragmentDisplay* display);

    CString m_destination; // exchanged with edit 1071
    int GetRowCount() const { return static_cast<int>(m_checks.GetSize()); }
    IHybridCheckBox* GetCheckBox(int row) { return m_checks.GetAt(row); }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CheckAll(bool on);

    CHybridCtrl m_list;
    CIPtr<IFragmentDisplay> m_display;
    CIArray<IHybridCheckBox> m_checks;
    CBrowseEdit m_destinationEdit;
};
