#pragma once
// Whether the layouts that come on timers and posted messages are done: a
// frame tree lays itself out on its top-level frame's timer, a Hybrid
// control on a relayout it posts to itself (or on a timer when requests
// come too fast). A case that changes sizes waits for these, read from the
// windows themselves, never for a fixed time: a loaded machine may hold a
// timer back for longer than any such time.
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include "hybrid/HybridCtrl.h"
#include "hybrid/HybridMessages.h"
#include "tests/support/TestSupport.h"
#include "xf/xfApp.h"
#include "xf/xfControlBar.h"
#include "xf/xfFrame.h"

namespace testsupport {

// How long a case waits for a layout before it fails: far beyond the
// timers' periods, so that only a layout that never comes reaches it.
const DWORD kLayoutWaitMs = 15000;

namespace layoutwait {

inline bool FramePending(CxfFrame* frame)
{
    if (!frame)
        return false;
    if (frame->IsLayoutPending())
        return true;
    for (int i = 0; i < frame->GetBarCount(); ++i)
        if (FramePending(frame->GetBar(i)))
            return true;
    for (int i = 0; i < frame->GetChildCount(); ++i)
        if (FramePending(frame->GetChild(i)))
            return true;
    return false;
}

// The control's cells were last laid out at its present width (a control
// without a width has nothing to lay out).
inline bool HybridLaidOut(CHybridCtrl& ctrl)
{
    IHybridCell* root = ctrl.GetRootCell();
    CRect area;
    ctrl.GetCellAreaRect(&area);
    if (!root || area.Width() == 0)
        return true;
    CRect laidOut;
    root->GetRect(&laidOut);
    return laidOut.Width() == area.Width();
}

struct SHybridScan
{
    std::string pending;
};

inline BOOL CALLBACK ScanChild(HWND window, LPARAM scan)
{
    auto* ctrl = dynamic_cast<CHybridCtrl*>(CWnd::FromHandlePermanent(window));
    if (ctrl && !ctrl->IsDestroying() && !HybridLaidOut(*ctrl)) {
        reinterpret_cast<SHybridScan*>(scan)->pending = "the cells of " + DescribeWindow(window);
        return FALSE;
    }
    return TRUE;
}

inline BOOL CALLBACK ScanTopLevel(HWND window, LPARAM scan)
{
    if (ScanChild(window, scan))
        ::EnumChildWindows(window, ScanChild, scan);
    return reinterpret_cast<SHybridScan*>(scan)->pending.empty();
}

} // namespace layoutwait

// What layout of this thread's windows is still to come, or empty when
// none is: a frame tree waiting for its timer, a relayout a Hybrid control
// posted, a Hybrid control whose cells were laid out at another width.
inline std::string LayoutPending()
{
    if (CxfApp* app = CxfApp::Get())
        for (int i = 0; i < app->GetFrameCount(); ++i)
            if (layoutwait::FramePending(app->GetFrameAt(i)))
                return "the layout of the frames in " + DescribeWindow(app->GetFrameAt(i)->GetSafeHwnd());
    MSG waiting;
    if (::PeekMessageW(&waiting, nullptr, WM_HYBRID_RELAYOUT, WM_HYBRID_RELAYOUT, PM_NOREMOVE))
        return "a relayout posted to " + DescribeWindow(waiting.hwnd);
    layoutwait::SHybridScan scan;
    ::EnumThreadWindows(::GetCurrentThreadId(), layoutwait::ScanTopLevel, reinterpret_cast<LPARAM>(&scan));
    return scan.pending;
}

// Pumps through `pumpUntil` (a test kit's PumpUntil) until no layout is to
// come and `also`, when given, holds. After kLayoutWaitMs the case fails,
// told what was still awaited, and the answer is false; a quit message
// waiting ends the pumping at once (false, the case not failed) for the
// case to see.
template <class PumpUntilFn>
bool PumpUntilLaidOut(PumpUntilFn pumpUntil, const std::function<bool()>& also = nullptr)
{
    std::string pending;
    const bool done = pumpUntil(
        [&] {
            pending = LayoutPending();
            if (pending.empty() && also && !also())
                pending = "the state the case waits for once the layouts are done";
            return pending.empty();
        },
        kLayoutWaitMs);
    MSG quit;
    if (!done && !::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
        ADD_FAILURE() << "waited " << kLayoutWaitMs / 1000 << " s for " << pending;
    return done;
}

} // namespace testsupport
