#pragma once
// The start page: what the main window's document area shows when no file
// is open: the heading "Recent files", one clickable line per recent file
// (most recent first) and an "Open File..." line.
#include "common/Interfaces.h"
#include "hybrid/CellArray.h"
#include "hybrid/HybridCtrl.h"
#include "xf/xfPane.h"

class CStartPagePane : public CxfPane
{
    DECLARE_DYNAMIC(CStartPagePane)
public:
    explicit CStartPagePane(CxfFrame* frame);
    ~CStartPagePane() override;

    // A new pane with its window made in the frame; null when the window
    // could not be made.
    static CStartPagePane* CreateIn(CxfFrame* frame);

    void OnInitPane(SxfContext* request) override;
    // Shows the recent-file list again.
    void RebuildRecentList();

    // The control and the file lines (the lines in list order).
    CHybridCtrl& GetCtrl() { return m_ctrl; }
    const CCellArray& GetFileCells() const { return m_fileCells; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    // A click on a line: -1 is "Open File...", 0.. a recent file.
    void OnLineClicked(IHybridCell* cell);

    CHybridCtrl m_ctrl;
    CIPtr<IHybridCell> m_pRecentCell;
    CCellArray m_fileCells;
};
