#pragma once
// The program's settings dialog: modeless, at most one open, a list of pages
// on the left and the selected page on the right. Pages are made when first
// shown and kept, hidden, until the dialog closes; the dialog deletes itself
// after its window is gone.
#include "common/PtrArrays.h"
#include "hybrid/CellArray.h"
#include "hybrid/HybridCtrl.h"
#include "app/OptionsPage.h"

class COptionsDlg : public CLocalizedDlg
{
public:
    explicit COptionsDlg(int firstPage);

    void SelectPage(int index);
    COptionsPage* GetPage(int index, bool create);
    // Applies every modified page in order; the first that fails is shown and
    // nothing is saved. When all succeeded the settings are saved.
    [[nodiscard]] bool ApplyAll();
    [[nodiscard]] bool ApplyPage(int index);
    COptionsPage* GetCurrentPage() const { return m_current; }
    CHybridCtrl& GetPageList() { return m_list; }

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;

private:
    void OnApply();
    void UpdateApplyButton();

    CHybridCtrl m_list;
    CCellArray m_rows;
    COptionsPage* m_current = nullptr;
    int m_firstPage;
    CovPtrArray<COptionsPage> m_pages;
};

// Opens the dialog at that page, or selects the page in the open dialog and
// brings it to the top.
void ShowOptionsDialog(int page);
// The open dialog's page of that index (made when missing); null when no
// dialog is open.
COptionsPage* GetOptionsPage(int index);
[[nodiscard]] bool IsOptionsDialogOpen();
// Asks the open dialog to close as Cancel does.
void CloseOptionsDialog();
// The open dialog, or null.
COptionsDlg* GetOptionsDialog();
