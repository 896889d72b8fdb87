#pragma once
// Command-UI state of Hybrid cells (toolbar items, popup-menu rows): the
// update handler of a command, found by ordinary routing, enables, checks
// or marks the cell's contents through this object.
#include "platform/mfc/afxwin.h"
#include "common/Interfaces.h"
#include "hybrid/CellArray.h"
#include "hybrid/IHybridButton.h"
#include "hybrid/IHybridPicture.h"
#include "xf/xfContentInterfaces.h"

class CxfCmdUI : public CCmdUI
{
public:
    // A null cell only probes the id.
    explicit CxfCmdUI(IHybridCell* cell);
    ~CxfCmdUI() override;

    // Every child content, then the cell itself.
    void Enable(BOOL on = TRUE) override;
    // A menu row's check-mark picture, a button's latch, a label's underline.
    void SetCheck(int check = 1) override;
    void SetRadio(BOOL on = TRUE) override;
    void SetText(LPCWSTR text) override;
    [[nodiscard]] bool IsEnableSet() const { return m_bEnableSet; }

    // One update of cell for command id through target; ids 0 and -1 are
    // skipped. Without an update handler the cell is enabled exactly when
    // a command handler for the id is reachable from target.
    static void UpdateCellCmdUI(CCmdTarget* target, UINT id, IHybridCell* cell);
    // The framework's null command first, then each cell by its data value.
    static void UpdateCellsCmdUI(CCmdTarget* target, const CCellArray& cells);
    // True while an update asks whether a command handler exists: routing
    // must not treat that probe as a handled command.
    [[nodiscard]] static bool IsCmdUIProbe();

private:
    void ShowMark(int check, UINT mark, UINT hotMark);

    CIPtr<IHybridCell> m_pCell;
    CCellArray m_children;
    CIPtr<IHybridPicture> m_pPicture;
    CIPtr<IHybridButton> m_pButton;
    CIPtr<IxfToolBarLabel> m_pLabel;
    bool m_bEnableSet = false;
};

// Offers command id to target's OnCmdMsg (code 0, no extra arguments);
// false for a null target or when nobody handled it.
[[nodiscard]] bool SendCommandTo(CCmdTarget* target, UINT id);
