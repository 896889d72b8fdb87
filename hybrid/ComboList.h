#pragma once
// CComboList: the drop-down list of the combo contents: a popup dialog
// holding one CHybridCtrl with a text row per combo item. The rows follow
// the mouse (hover select); a released click or Enter commits the current
// row, Escape and Alt+Up close without a change, losing the activation
// closes too. Every close goes through the combo's ShowDropDown, which
// closes (destroys and deletes) the list.
#include "common/ActiveDlg.h"
#include "common/Interfaces.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/IHybridCombo.h"

enum : UINT {
    IDD_HYBRID_COMBO_LIST = 6005,
    IDC_HYBRID_COMBO_LIST = 6028,
    // Posted by the list to itself: a commit out of the list control's own
    // mouse handling, which must be over before the list can go.
    WM_COMBOLIST_COMMIT = WM_APP + 0x13,
};

class CComboList : public CActiveDlg
{
public:
    CComboList(IHybridCombo* combo, CWnd* owner);
    ~CComboList() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Height of one row at the dialog's client width; 0 without rows.
    int GetRowHeight();
    // The current row becomes the combo's item (with notification), then
    // the combo closes the list: nothing of this object may be used after.
    void Commit();
    CHybridCtrl& GetListCtrl() { return m_list; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override { CDialog::OnOK(); }
    void OnCancel() override { CDialog::OnCancel(); }
    void OnClosing() override { m_closing = true; }
    void PostNcDestroy() override;
    void OnSize(UINT type, int cx, int cy);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    DECLARE_MESSAGE_MAP()

private:
    // Tells the combo to close the list: this object is gone afterwards.
    void CloseThroughCombo(bool lostActivation);

    CIPtr<IHybridCombo> m_combo;
    CHybridCtrl m_list;
    CIPtr<IHybridCell> m_firstRow;
    bool m_closing = false;
    bool m_initialised = false;
};
