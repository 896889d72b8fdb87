#pragma once
// Base of the options dialog's pages: tracks whether the user changed
// something since the page was applied. Changes reported while the page is
// still filling its controls (before its initialisation ended) don't count.
#include "common/LocalizedDlg.h"

// Posted by a page to itself once its initialisation ended.
const UINT WM_OPTIONS_PAGE_READY = WM_APP + 8;
// Posted by a page to the options dialog when its modified state was set.
const UINT WM_OPTIONS_MODIFIED = WM_APP + 0x17;

class COptionsPage : public CLocalizedDlg
{
public:
    COptionsPage(UINT templateId, CWnd* parent);

    // Takes the page's values over; false keeps the dialog on the page.
    [[nodiscard]] virtual bool Apply() = 0;
    // Whether another page may be shown.
    [[nodiscard]] virtual bool CanLeave() { return true; }
    // Called when the page is shown.
    virtual void OnActivate() {}

    void SetModified(bool modified);
    [[nodiscard]] bool IsModified() const { return m_modified; }
    [[nodiscard]] bool IsInitialised() const { return m_initialised; }
    // The options dialog's page of that index, made when missing; null
    // outside a dialog.
    COptionsPage* GetSiblingPage(int index);

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Enter and Esc inside the page act as the dialog's OK and Cancel.
    void OnOK() override;
    void OnCancel() override;

private:
    bool m_modified = false;
    bool m_initialised = false;
};
