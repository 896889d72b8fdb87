#pragma once
// Pane 3 of a document frame: one Hybrid control with three collapsible
// groups: the open file and the running playback ("File Info"), the
// fragments ("Fragment List"), and the active fragment's tempo, pre-delay,
// loop and comment, editable ("Active Fragment Info"). It reads the
// fragments through the transcription pane's fragment display and changes
// the active fragment through the transcription pane.
#include "common/Interfaces.h"
#include "hybrid/CellArray.h"
#include "hybrid/GroupHandler.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/IHybridCell.h"
#include "hybrid/IHybridCheckBox.h"
#include "hybrid/IHybridCombo.h"
#include "hybrid/IHybridEdit.h"
#include "hybrid/IHybridHeading.h"
#include "hybrid/IHybridText.h"
#include "app/FragmentInfo.h"
#include "app/ViewInterfaces.h"
#include "xf/xfPane.h"

class CViririziruPane;

// Messages the pane posts to itself.
enum : UINT {
    WM_INFO_REBUILD_LIST = 0x8031,
    // The list selection changed: the selected row's fragment becomes the
    // active one.
    WM_INFO_LIST_SELECTED = 0x8039,
};

class CViririziruInfoPane : public CxfPane
{
    DECLARE_DYNAMIC(CViririziruInfoPane)
public:
    explicit CViririziruInfoPane(CxfFrame* frame);
    ~CViririziruInfoPane() override;

    // A new pane with its window made in the frame; null when the window
    // could not be made.
    static CViririziruInfoPane* CreateIn(CxfFrame* frame);

    void OnInitPane(SxfContext* request) override;

    // Called by the transcription pane once its views exist.
    void SetFragmentDisplay(IFragmentDisplay* display);
    // position -1: nothing plays (both values emptied).
    void UpdatePlayback(LONGLONG position, DWORD startTick);
    // null: no fragment is active (the group collapses). Filling the fields
    // never writes back into the fragment.
    void UpdateActiveFragment(const SFragmentInfo* fragment);
    // The list is rebuilt once when the posted request arrives.
    void RequestListRefresh();

    CHybridCtrl& GetCtrl() { return m_ctrl; }
    // The row cells of the fragment list now shown, in list order.
    const CCellArray& GetListRows() const { return m_listRows; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The tempo combo offers 0.1 x to 2.0 x; item i plays at (i + 1) x 0.1,
    // in single precision as the fragments keep their tempo.
    static const int kTempoItems = 20;
    static float TempoOfItem(int item) { return static_cast<float>(item + 1) * 0.1f; }
    // The item showing a tempo; -1 when the tempo is none of them.
    static int TempoItemOf(float tempo);

    void BuildGroups();
    void ShowFileFacts();
    void RebuildList();
    void OnListSelection();
    // The fragment menu at the pointer for a right click on `sender`;
    // returns when the menu has closed.
    void ShowFragmentMenu(CViririziruPane* pane, IHybridCell* sender);
    void OnNotify(UINT code, IHybridCell* sender);
    // Pane 2 of the frame tree, looked up again on every use so that a
    // pane closed first is never called.
    CViririziruPane* TranscriptionPane();

    CHybridCtrl m_ctrl;
    CIPtr<IHybridText> m_pFormatText;
    CIPtr<IHybridText> m_pDurationText;
    CIPtr<IHybridText> m_pPositionText;
    CIPtr<IHybridText> m_pPlayTimeText;
    CIPtr<IHybridText> m_pFragmentTimeText;
    CIPtr<IHybridCombo> m_pTempoCombo;
    CIPtr<IHybridCheckBox> m_pLoopCheck;
    CIPtr<IHybridEdit> m_pCommentEdit;
    CIPtr<IHybridCombo> m_pPreDelayCombo;
    CViririziruPane* m_pTranscriptionPane = nullptr;
    CIPtr<IHybridHeading> m_pListColumns;
    CIPtr<IHybridCell> m_pListGroup;
    CCellArray m_listRows;
    CIPtr<IFragmentDisplay> m_pFragments;
    CIPtr<IHybridCell> m_pActiveGroup;
    // While the fragment menu this pane opened is shown.
    bool m_menuOpen = false;
    // Collapses and expands the active group.
    CIPtr<CGroupHandler> m_pActiveGroupHandler;
};
