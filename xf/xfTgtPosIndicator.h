#pragma once
// The docking indicator: a translucent dark-blue strip placed topmost over
// the place where a dragged frame or bar would land. It never takes the
// activation; its frame destroys and deletes it when it is hidden.
#include "platform/mfc/afxwin.h"

class CxfTgtPosIndicator : public CDialog
{
public:
    static constexpr BYTE Alpha = 30;

    CxfTgtPosIndicator();
    // Creates the window (no owner) and shows it topmost over screenRect
    // without activating it; false when the window could not be made.
    [[nodiscard]] bool ShowAt(const RECT& screenRect);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};
