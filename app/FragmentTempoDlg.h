#pragma once
// CFragmentTempoDlg, "Select Tempo": twenty tempos from 0.1x to 2.0x, picked
// with the mouse or with one key each ("1" to "9", "0" for 1.0x, "a" to "j"
// for 1.1x to 2.0x). The picked row blinks three times, then the dialog ends
// with IDOK and the row's tempo; Enter ends at once with the tempo it was
// given, Escape with IDCANCEL.
#include "hybrid/CellArray.h"
#include "common/Interfaces.h"
#include "common/LocalizedDlg.h"
#include "hybrid/HybridCtrl.h"

class CFragmentTempoDlg : public CLocalizedDlg
{
public:
    enum { IDD = 1086 };

    CFragmentTempoDlg(CWnd* parent, float tempo);
    float GetTempo() const { return m_tempo; }

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void BuildRows();
    void FitHeight();
    // Remembers the row and (re)starts the blink timer; the count goes on.
    void Pick(IHybridCell* row);
    void OnBlink();

    CHybridCtrl m_list;
    CIPtr<IHybridCell> m_picked;
    int m_blinks = 0;
    bool m_ready = false;
    CCellArray m_rows;
    float m_tempo;
};
