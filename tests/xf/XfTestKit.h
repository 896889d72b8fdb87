#pragma once
// Shared pieces of the framework tests: the application object, a factory
// with test panes and controllers, real host windows, a describer of frame
// trees and message pumps.
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "xf/xfAgent.h"
#include "xf/xfApp.h"
#include "xf/xfCentral.h"
#include "xf/xfController.h"
#include "xf/xfDocController.h"
#include "xf/xfFrame.h"
#include "xf/xfPane.h"
#include "xf/xfToolBar.h"
#include "xf/xfToolBarItem.h"

#include <ostream>

// Readable rectangles in test failures.
inline void PrintTo(const CRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace xftest {

// Commands kRecFirst..kRecLast are offered to every recorder through its
// message map: it notes the offer in Log().route as its name, or as its name
// and "*" when it handles the command (its `handles` holds the id); a
// handled command is also noted in Log().events as "<name> ran <id>".
const UINT kRecFirst = 41000;
const UINT kRecLast = 41099;
// A pane command with an update handler (the pane's m_enable42000).
const UINT kPaneCommand = 42000;

struct SRecorder
{
    std::string name;
    std::set<UINT> handles;
    BOOL Offer(UINT id);
};

// The test program's application object; onIdle wraps the framework's idle
// pass when set.
class CTestApp : public CxfApp
{
public:
    CTestApp() : CxfApp(L"XfTest") {}
    std::function<BOOL(LONG, BOOL)> onIdle; // (count, framework's answer)
    BOOL OnIdle(LONG count) override
    {
        const BOOL more = CxfApp::OnIdle(count);
        return onIdle ? onIdle(count, more) : more;
    }
    SRecorder rec{"app", {}};

protected:
    BOOL OnRecorded(UINT id) { return rec.Offer(id); }
    DECLARE_MESSAGE_MAP()
};
CTestApp& TestApp();

// What happened to the panes and controllers, by their numbers.
struct SLog
{
    std::vector<std::string> events; // "open c1", "init p2", "exit p2", "stop c1", ...
    std::vector<std::string> route;  // recorders offered a command: "app", "c2", "p1*", ...
    int panesAlive = 0;
    int controllersAlive = 0;
    int controllersMade = 0;
    void Clear() { *this = SLog(); }
    bool Has(const std::string& e) const;
};
SLog& Log();

class CTestPane : public CxfPane
{
public:
    CTestPane(int number, CxfFrame* frame);
    ~CTestPane() override;
    int GetPreferredExtent() override { return m_extent; }
    bool IsClosable() override { return m_number >= 50 && m_number <= 59; }
    void OnInitPane(SxfContext* request) override;
    void OnExitPane() override;
    void OnActivate(bool active) override;
    void OnIdleUpdate() override { ++m_idleUpdates; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int m_number;
    int m_extent = -1;
    int m_idleUpdates = 0;  // through the frame
    int m_idleMessages = 0; // the idle message reaching the pane's window
    int m_activations = 0;
    int m_paneCommands = 0; // kPaneCommand run
    int m_focusReturns = 0; // "take the focus back" received
    BOOL m_enable42000 = TRUE;
    SRecorder rec;

protected:
    BOOL OnRecorded(UINT id) { return rec.Offer(id); }
    void OnPaneCommand() { ++m_paneCommands; }
    void OnUpdatePaneCommand(CCmdUI* cmdUI) { cmdUI->Enable(m_enable42000); }
    DECLARE_MESSAGE_MAP()
};

class CTestController : public CxfController
{
public:
    explicit CTestController(int number);
    ~CTestController() override;
    bool Open(SxfContext* request) override;
    void OnStop() override;
    void OnActivate(bool active) override;
    int m_number;
    SRecorder rec;

protected:
    BOOL OnRecorded(UINT id) { return rec.Offer(id); }
    DECLARE_MESSAGE_MAP()
};

// A document controller for "Audio" files (wav/mp3): opening needs a
// readable file whose name does not end in ".bad"; saving writes "saved"
// unless failSave is set.
class CTestDocController : public CxfDocController
{
public:
    explicit CTestDocController(int number);
    ~CTestDocController() override;
    bool OpenDocument(LPCWSTR path, SxfContext* request) override;
    bool SaveDocument(LPCWSTR path) override;
    int m_number;
    bool failSave = false;
    std::vector<std::wstring> saves; // paths written or tried
};

// Panes: 1..89 test panes (40..49 prefer an extent of 20 pixels, 50..59
// are closable), 98 none, 99 a pane without a window. Controllers: any
// number; 7 fails to open; 20..29 are document controllers.
class CTestCentral : public CxfCentral
{
public:
    CxfController* CreateController(int number) override;
    CxfPane* CreatePane(int number, CxfFrame* parent) override;
    CString GetLayout(int kind) override;
    const SxfToolBarItem* GetToolBarItems(int number) override;
    bool IsBroadcastCommand(UINT id) override { return broadcast.count(id) > 0; }
    bool CreateContent(UINT id, IHybridContent** out) override { return makeContent && makeContent(id, out); }
    std::function<bool(UINT, IHybridContent**)> makeContent;
    std::map<int, CString> layouts;
    std::map<int, const SxfToolBarItem*> tables; // else the framework's own
    std::set<UINT> broadcast;
    int layoutRequests = 0;
};
CTestCentral& Central();

// A plain popup window (client area = window) that hosts a frame tree
// through an agent.
class CTestHost : public CWnd
{
public:
    CTestHost(DWORD flags, int layoutKind) : m_agent(this, flags, layoutKind) {}
    ~CTestHost() override;
    bool Open(int width, int height, bool visible = true);
    CxfFrame* Root() const { return m_agent.GetRootFrame(); }
    void Close(); // Destroy, then the window
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    CxfAgent m_agent;
    int m_idleMessages = 0;
    // WM_SYSCOMMAND of SC_SIZE is recorded here instead of running the
    // system's size loop.
    std::vector<std::pair<WPARAM, LPARAM>> m_sizeCommands;
    SRecorder rec{"host", {}};

protected:
    BOOL OnRecorded(UINT id) { return rec.Offer(id); }
    DECLARE_MESSAGE_MAP()
};

// Tree text: F, M (MDI area), C (bar), T (toolbar), S (status bar); then
// ":v", ":h", ":o" for the mode, "c<n>" for a controller, "P<n>" for a pane,
// "[bars]" and "{children}" separated by commas. Example: F:v{FP1,FP2}.
std::wstring Describe(CxfFrame* frame);
// Key=value list of an object's parameters: "top,tb=3".
std::wstring Params(const CxfObject* object);

// A window's rectangle in its parent's client coordinates.
CRect RectInParent(HWND window);

// Pumps through the class library's pump (PreTranslateMessage included).
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
void PumpFor(DWORD ms);
// Pumps until the frames and Hybrid controls have laid themselves out
// (tests/support/LayoutWait.h); false, with the case failed, when they have
// not within the wait's bound.
bool PumpLayout();
// Removes the quit messages waiting in this thread's queue; their count.
int DrainQuits();

// Toolbar item records for the tests' tables.
const SxfToolBarItem kEnd = {XF_ITEM_END, 0, 0, 0, 0, 0, 0, nullptr, 0};
inline SxfToolBarItem Item(UINT type, UINT id, DWORD flags = 0, INT_PTR param = 0, UINT param2 = 0)
{
    return SxfToolBarItem{type, id, flags, param, param2, 0, 0, nullptr, 0};
}
// The first WM_COMMAND waiting for window (its wParam), or 0.
WPARAM TakeCommand(HWND window);
// A press and release in the middle of one of a bar's cells.
void ClickCell(CxfToolBar* bar, IHybridCell* cell);
// The bar's cell whose data is the controller, among all its cells.
IHybridCell* CellOf(CxfToolBar* bar, CxfController* controller);
// WM_SETCURSOR to wnd with the pointer moved to `client`; its answer.
LRESULT SetCursorAt(CWnd* wnd, CPoint client);

// A host built from one layout (kind kHostKind) with table 60 for its
// toolbars; tear-down closes it and checks that no pane or controller is
// left alive.
const int kHostKind = 30;
const int kHostTable = 60;
class HostTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    CxfFrame* Build(const wchar_t* layout, int width, int height, bool visible = true);
    // The same with `items` (kEnd added) as table 60; the host's first bar.
    CxfToolBar* BuildBar(const wchar_t* layout, std::vector<SxfToolBarItem> items, int width = 400, int height = 200);
    void Resize(int width, int height) { host.MoveWindow(0, 0, width, height, TRUE); }
    std::vector<SxfToolBarItem> table;
    CTestHost host{CxfAgent::FlagBuildLayout, kHostKind};
};

} // namespace xftest
