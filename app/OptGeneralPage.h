#pragma once
// The options page for the size limit of the peak-file cache, with a button
// that erases the peak files. The application's page factory does not make
// it; it works when made.
#include "audio/PeakFileCache.h"
#include "app/OptionsPage.h"

class COptGeneralPage : public COptionsPage
{
public:
    explicit COptGeneralPage(CWnd* parent);

    // Takes the limit over when it lies in 10..10000 MB; otherwise tells the
    // user the range and answers false.
    [[nodiscard]] bool Apply() override;
    // Asks, then deletes every listed peak file; tells the user when some
    // stayed (in use).
    void ErasePeakFiles();

    CString m_sizeText;  // static 1074
    CString m_limitText; // edit 1075

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void UpdateSizeText();

    CPeakFileCache m_cache;
};

// The dialog template of the page.
const UINT IDD_OPT_GENERAL = 1087;
