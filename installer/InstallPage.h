#pragma once
// A page of the install wizard: a child dialog in the wizard's page area
// with the hooks the wizard calls while it moves between pages.
#include "common/LocalizedDlg.h"

class CInstallDlg;

class CInstallPage : public CLocalizedDlg
{
public:
    CInstallPage(UINT templateId, CInstallDlg* wizard);
    ~CInstallPage() override;

    // The header title while the page is on show.
    virtual CString GetTitle();
    // The Next button's string id; 0 lets the wizard choose.
    virtual UINT GetNextTextId();
    // Next was pressed: true lets the wizard go on.
    virtual bool OnLeave();
    virtual bool OnActivate();
    // The wizard's Finish, in page order.
    virtual void OnFinish();
    // True while the page runs work that the wizard must not close under.
    [[nodiscard]] virtual bool IsBusy() const { return false; }

    UINT GetTemplateId() const { return m_templateId; }
    CInstallDlg* GetWizard() const { return m_wizard; }

protected:
    // Enter does nothing; Esc is the wizard's Cancel.
    void OnOK() override;
    void OnCancel() override;

private:
    UINT m_templateId;
    CInstallDlg* m_wizard;
};

// The page of index `index` (see CInstallDlg), made but not yet created;
// null for an index outside the order.
CInstallPage* CreateInstallPage(CInstallDlg* wizard, int index);
