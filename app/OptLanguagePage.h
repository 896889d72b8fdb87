#pragma once
// The options page that chooses the interface language.
#include "hybrid/HybridCtrl.h"
#include "app/OptionsPage.h"

class COptLanguagePage : public COptionsPage
{
public:
    explicit COptLanguagePage(CWnd* parent);

    // Makes the chosen language current at once, puts the open windows into
    // it and tells the user that a restart finishes the change; the choice is
    // stored with the settings. False when no installed language is chosen.
    [[nodiscard]] bool Apply() override;
    CHybridCtrl& GetList() { return m_list; }

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CHybridCtrl m_list;
};
