#include "XfTestKit.h"
#include "tests/support/LayoutWait.h"
#include "tests/support/MessagePump.h"
#include <algorithm>
#include "XfTestIds.h"
#include "xf/xfContext.h"
#include "xf/xfControlBar.h"
#include "xf/xfMessages.h"
#include "xf/xfToolBar.h"

namespace xftest {

namespace {
CTestApp theApp;
CTestCentral theCentral;
SLog theLog;

std::string Event(const char* what, char kind, int number)
{
    return std::string(what) + " " + kind + std::to_string(number);
}
} // namespace

CTestApp& TestApp()
{
    return theApp;
}

CTestCentral& Central()
{
    return theCentral;
}

SLog& Log()
{
    return theLog;
}

bool SLog::Has(const std::string& e) const
{
    return std::find(events.begin(), events.end(), e) != events.end();
}

BOOL SRecorder::Offer(UINT id)
{
    const bool handled = handles.count(id) > 0;
    Log().route.push_back(name + (handled ? "*" : ""));
    if (handled)
        Log().events.push_back(name + " ran " + std::to_string(id));
    return handled;
}

BEGIN_MESSAGE_MAP(CTestApp, CxfApp)
    ON_COMMAND_EX_RANGE(kRecFirst, kRecLast, &CTestApp::OnRecorded)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CTestPane, CxfPane)
    ON_COMMAND_EX_RANGE(kRecFirst, kRecLast, &CTestPane::OnRecorded)
    ON_COMMAND(kPaneCommand, &CTestPane::OnPaneCommand)
    ON_UPDATE_COMMAND_UI(kPaneCommand, &CTestPane::OnUpdatePaneCommand)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CTestController, CxfController)
    ON_COMMAND_EX_RANGE(kRecFirst, kRecLast, &CTestController::OnRecorded)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CTestHost, CWnd)
    ON_COMMAND_EX_RANGE(kRecFirst, kRecLast, &CTestHost::OnRecorded)
END_MESSAGE_MAP()

// ---- panes and controllers ---------------------------------------------------

CTestPane::CTestPane(int number, CxfFrame* frame) : CxfPane(IDD_XF_TEST_PANE, frame), m_number(number)
{
    rec.name = "p" + std::to_string(number);
    ++Log().panesAlive;
    if (number >= 40 && number <= 49)
        m_extent = 20;
}

CTestPane::~CTestPane()
{
    --Log().panesAlive;
}

void CTestPane::OnInitPane(SxfContext* request)
{
    Log().events.push_back(Event("init", 'p', m_number) +
                           (request ? " " + std::string(CStringA(request->m_path)) : ""));
}

void CTestPane::OnExitPane()
{
    Log().events.push_back(Event("exit", 'p', m_number));
}

void CTestPane::OnActivate(bool active)
{
    CxfPane::OnActivate(active);
    ++m_activations;
}

LRESULT CTestPane::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == XFM_IDLEUPDATE)
        ++m_idleMessages;
    if (message == XFM_PANECOMMAND)
        ++m_focusReturns;
    return CxfPane::WindowProc(message, wParam, lParam);
}

CTestController::CTestController(int number) : m_number(number)
{
    rec.name = "c" + std::to_string(number);
    m_nId = number;
    ++Log().controllersAlive;
    ++Log().controllersMade;
}

CTestController::~CTestController()
{
    --Log().controllersAlive;
}

bool CTestController::Open(SxfContext* request)
{
    Log().events.push_back(Event("open", 'c', m_number) +
                           (request ? " " + std::string(CStringA(request->m_path)) : ""));
    return m_number != 7;
}

void CTestController::OnStop()
{
    Log().events.push_back(Event("stop", 'c', m_number));
}

void CTestController::OnActivate(bool active)
{
    Log().events.push_back(Event(active ? "active" : "inactive", 'c', m_number));
}

CTestDocController::CTestDocController(int number) : m_number(number)
{
    m_nId = number;
    SetTypeInfo(L"wav/mp3", L"Audio");
    ++Log().controllersAlive;
    ++Log().controllersMade;
}

CTestDocController::~CTestDocController()
{
    --Log().controllersAlive;
}

bool CTestDocController::OpenDocument(LPCWSTR path, SxfContext*)
{
    Log().events.push_back("opendoc " + std::string(CStringA(path)));
    const std::wstring p(path);
    if (p.size() >= 4 && p.compare(p.size() - 4, 4, L".bad") == 0)
        return false;
    const HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

bool CTestDocController::SaveDocument(LPCWSTR path)
{
    saves.push_back(path);
    if (failSave)
        return false;
    const HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, "saved", 5, &written, nullptr) && written == 5;
    ::CloseHandle(file);
    return ok;
}

CxfController* CTestCentral::CreateController(int number)
{
    if (number >= 20 && number <= 29)
        return new CTestDocController(number);
    return new CTestController(number);
}

CxfPane* CTestCentral::CreatePane(int number, CxfFrame* parent)
{
    if (number <= 0 || number == 98 || number >= 100)
        return nullptr;
    CTestPane* pane = new CTestPane(number, parent);
    if (number != 99 && !pane->Create(IDD_XF_TEST_PANE, parent)) {
        delete pane;
        return nullptr;
    }
    return pane;
}

CString CTestCentral::GetLayout(int kind)
{
    ++layoutRequests;
    auto it = layouts.find(kind);
    return it == layouts.end() ? CString() : it->second;
}

const SxfToolBarItem* CTestCentral::GetToolBarItems(int number)
{
    auto it = tables.find(number);
    return it == tables.end() ? CxfCentral::GetToolBarItems(number) : it->second;
}

// ---- host --------------------------------------------------------------------

CTestHost::~CTestHost()
{
    if (m_hWnd)
        Close();
}

bool CTestHost::Open(int width, int height, bool visible)
{
    return CreateEx(0, nullptr, L"XfHost", WS_POPUP | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0),
                    CRect(0, 0, width, height), nullptr, 0) != FALSE;
}

void CTestHost::Close()
{
    m_agent.Destroy();
    DestroyWindow();
}

LRESULT CTestHost::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == XFM_IDLEUPDATE)
        ++m_idleMessages;
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_SIZE) {
        m_sizeCommands.emplace_back(wParam, lParam);
        return 0;
    }
    const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    m_agent.OnHostMessage(message, wParam, lParam);
    return result;
}

// ---- describing --------------------------------------------------------------

std::wstring Describe(CxfFrame* frame)
{
    if (!frame)
        return L"-";
    std::wstring s;
    switch (frame->GetKind()) {
    case CxfFrame::KindMDIClient: s = L"M"; break;
    case CxfFrame::KindControlBar: s = L"C"; break;
    case CxfFrame::KindToolBar: s = frame->IsKindOf(RUNTIME_CLASS(CxfStatusBar)) ? L"S" : L"T"; break;
    default: s = L"F"; break;
    }
    const wchar_t* modes[] = {L"", L":o", L":h", L":v"};
    if (frame->GetMode() >= 0 && frame->GetMode() <= 3)
        s += modes[frame->GetMode()];
    if (CxfController* c = frame->GetController())
        s += L"c" + std::to_wstring(c->GetId());
    if (CxfPane* p = frame->GetPane())
        s += L"P" + std::to_wstring(p->GetId());
    if (frame->GetBarCount() > 0) {
        s += L"[";
        for (int i = 0; i < frame->GetBarCount(); ++i)
            s += (i ? L"," : L"") + Describe(frame->GetBar(i));
        s += L"]";
    }
    if (frame->GetChildCount() > 0) {
        s += L"{";
        for (int i = 0; i < frame->GetChildCount(); ++i)
            s += (i ? L"," : L"") + Describe(frame->GetChild(i));
        s += L"}";
    }
    return s;
}

std::wstring Params(const CxfObject* object)
{
    std::wstring s;
    for (int i = 0; i < object->GetCount(); ++i) {
        const SxfParam& p = object->GetParamAt(i);
        s += (i ? L"," : L"") + std::wstring(p.key);
        if (!p.value.IsEmpty())
            s += L"=" + std::wstring(p.value);
    }
    return s;
}

CRect RectInParent(HWND window)
{
    CRect rc;
    ::GetWindowRect(window, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// ---- pumping -----------------------------------------------------------------

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    return testsupport::PumpUntil(done, timeoutMs);
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

bool PumpLayout()
{
    return testsupport::PumpUntilLaidOut(PumpUntil);
}

int DrainQuits()
{
    return testsupport::DrainQuits();
}

// ---- bars and hosts ----------------------------------------------------------

WPARAM TakeCommand(HWND window)
{
    MSG msg;
    return ::PeekMessageW(&msg, window, WM_COMMAND, WM_COMMAND, PM_REMOVE) ? msg.wParam : 0;
}

void ClickCell(CxfToolBar* bar, IHybridCell* cell)
{
    CRect r;
    cell->GetRect(&r);
    const LPARAM at = MAKELPARAM(r.CenterPoint().x, r.CenterPoint().y);
    bar->GetCtrl().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    bar->GetCtrl().SendMessage(WM_LBUTTONUP, 0, at);
}

IHybridCell* CellOf(CxfToolBar* bar, CxfController* controller)
{
    CCellArray cells;
    CCellCollector collect(cells);
    bar->GetCtrl().EnumCells(collect, HCE_ALL);
    for (INT_PTR k = 0; k < cells.GetSize(); ++k)
        if (cells[k]->GetData() == reinterpret_cast<DWORD_PTR>(controller))
            return cells[k];
    return nullptr;
}

LRESULT SetCursorAt(CWnd* wnd, CPoint client)
{
    wnd->ClientToScreen(&client);
    ::SetCursorPos(client.x, client.y);
    return wnd->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void HostTest::SetUp()
{
    Log().Clear();
    DrainQuits();
}

void HostTest::TearDown()
{
    if (host.m_hWnd)
        host.Close();
    DrainQuits();
    Central().layouts.clear();
    Central().tables.clear();
    Central().broadcast.clear();
    Central().makeContent = nullptr;
    TestApp().rec.handles.clear();
    EXPECT_EQ(0, Log().panesAlive);
    EXPECT_EQ(0, Log().controllersAlive);
}

CxfFrame* HostTest::Build(const wchar_t* layout, int width, int height, bool visible)
{
    if (host.m_hWnd)
        host.Close();
    DrainQuits(); // from a host closed before
    Central().layouts[kHostKind] = layout;
    EXPECT_TRUE(host.Open(width, height, visible));
    PumpLayout();
    return host.Root();
}

CxfToolBar* HostTest::BuildBar(const wchar_t* layout, std::vector<SxfToolBarItem> items, int width, int height)
{
    table = std::move(items);
    table.push_back(kEnd);
    Central().tables[kHostTable] = table.data();
    CxfFrame* root = Build(layout, width, height);
    return root ? dynamic_cast<CxfToolBar*>(root->GetBar(0)) : nullptr;
}

} // namespace xftest
