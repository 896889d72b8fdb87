#pragma once
// The system-information dialog: lists the collector's entries as they
// arrive, blinks "scanning" in its title meanwhile, and keeps the same facts
// as report lines to copy, save or mail.
#include "common/CritSecLock.h"
#include "common/LocalizedDlg.h"
#include "common/ScopedHandle.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/IHybridHeading.h"
#include "hybrid/IHybridStyle.h"
#include "app/SysInfoCollector.h"

class CSysInfoDlg : public CLocalizedDlg
{
public:
    // The dialog opens centred over `parent` (null: none).
    explicit CSysInfoDlg(CWnd* parent = nullptr);
    ~CSysInfoDlg() override;

    // All report lines, each followed by CR LF.
    CString GetReportText() const;
    // Writes the report as UTF-16LE without a byte-order mark; false when the
    // file could not be made or written whole (a partial file is removed).
    [[nodiscard]] bool WriteReport(LPCWSTR path) const;
    // WriteReport, telling the user when it failed.
    [[nodiscard]] bool SaveReportTo(LPCWSTR path);
    // Mails the report through Simple MAPI; false, after telling the user,
    // when no mail program took it.
    [[nodiscard]] bool SendReport();
    // Whether the collector thread is still running.
    [[nodiscard]] bool IsCollecting() const;
    const CStringArray& GetReportLines() const { return m_report; }

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnEntry(const SSysInfoEntry& entry);
    void OnCollectionDone();
    void OnBlink();
    void OnSize(int cx, int cy);
    void OnSave();
    void OnCopy();
    void StopCollector();

    CHybridCtrl m_list;
    CIPtr<IHybridHeading> m_columns;
    CIPtr<IHybridStyle> m_boldStyle;
    bool m_firstHeading = true;
    CString m_caption;
    bool m_blink = false;
    CStringArray m_report;
    SysInfoStopFlag m_stop;
    CWorkerThread m_collector;
};

// Runs the dialog modally, centred over `parent`.
void ShowSysInfoDialog(CWnd* parent);
