#include "app/SysInfoDlg.h"

#include <commdlg.h>
#include <mapi.h>

#include <string>

#include "common/AdvFile.h"
#include "common/Clipboard.h"
#include "common/LocalizedString.h"
#include "common/WindowRoutines.h"
#include "hybrid/CellBuilder.h"
#include "xf/xfFrame.h"

namespace {

const UINT IDD_SYSINFO = 10012;
const UINT IDC_LIST = 6028, IDC_BAND = 10062, IDC_SEND = 10063, IDC_COPY = 10064, IDC_SAVE = 10065;
const UINT IDS_SCANNING = 10099, IDS_TEXT_FILTER = 10100, IDS_SAVE_FAILED = 10114, IDS_SEND_FAILED = 10115,
           IDS_SENT = 10117;
const UINT kBlinkTimer = 1;
const wchar_t kSeparatorLine[] = L"-----------------------------------";
const char kSupportAddress[] = "support@velmora.example";

class CWaitCursorScope
{
public:
    CWaitCursorScope() : m_old(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursorScope() { SetCursor(m_old); }
    CWaitCursorScope(const CWaitCursorScope&) = delete;
    CWaitCursorScope& operator=(const CWaitCursorScope&) = delete;

private:
    HCURSOR m_old;
};

// A temporary file name that is removed again when the scope ends.
class CTempFileScope
{
public:
    CTempFileScope()
    {
        wchar_t folder[MAX_PATH + 1] = {}, name[MAX_PATH + 1] = {};
        if (GetTempPathW(MAX_PATH, folder) && GetTempFileNameW(folder, L"info", 0, name))
            m_path = name;
    }
    ~CTempFileScope()
    {
        if (!m_path.empty())
            DeleteFileW(m_path.c_str());
    }
    CTempFileScope(const CTempFileScope&) = delete;
    CTempFileScope& operator=(const CTempFileScope&) = delete;
    bool IsValid() const { return !m_path.empty(); }

private:
    std::wstring m_path;
};

std::string ToAnsi(const CString& text)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, text, text.GetLength(), &out[0], n, nullptr, nullptr);
    return out;
}

} // namespace

CSysInfoDlg::CSysInfoDlg(CWnd* parent)
    : CLocalizedDlg(IDD_SYSINFO, parent), m_stop(std::make_shared<std::atomic<bool>>(false))
{
}

CSysInfoDlg::~CSysInfoDlg()
{
    StopCollector();
}

BOOL CSysInfoDlg::OnInitDialog()
{
    CLocalizedDlg::OnInitDialog();
    if (!m_list.Create(this, IDC_LIST, 0x20000)) {
        EndDialog(IDCANCEL); // nothing to show without its list
        return TRUE;
    }
    m_list.SetSingleSelect(true);
    CCellBuilder builder(&m_list);
    builder.AddColumn(100).AddColumn(200).ReturnColumnModel(&m_columns).CreateColumnModel();
    builder.SetFontWeight(FW_BOLD).ReturnStyle(&m_boldStyle).CreateStyle();

    // Over the window it was opened from, not where the template's centring
    // puts it.
    if (m_pParentWnd && m_pParentWnd->GetSafeHwnd())
        CenterWindow(m_pParentWnd);
    SetTimer(kBlinkTimer, 300, nullptr);
    m_caption = ReadWindowText(m_hWnd);
    if (!StartSysInfoCollector(m_collector, m_hWnd, m_stop))
        OnCollectionDone(); // nothing to wait for: what is listed can be used

    PostSizeMessage(this);
    return TRUE;
}

LRESULT CSysInfoDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSINFO_ENTRY:
        if (const std::unique_ptr<SSysInfoEntry> entry = TakeSysInfoEntry(lParam))
            OnEntry(*entry);
        return 0;
    case WM_SYSINFO_DONE: OnCollectionDone(); return 0;
    case WM_TIMER: OnBlink(); return 0;
    case WM_SIZE:
        CLocalizedDlg::WindowProc(message, wParam, lParam);
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            switch (LOWORD(wParam)) {
            case IDC_SAVE: OnSave(); return 0;
            case IDC_COPY: OnCopy(); return 0;
            case IDC_SEND: (void)SendReport(); return 0; // it tells the user itself
            default: break;
            }
        }
        break;
    case WM_DESTROY:
        // The collector only posts: it ends at its next look at the flag, and
        // what it left in the queue is freed before the window goes.
        StopCollector();
        DiscardSysInfoEntries(m_hWnd);
        break;
    default: break;
    }
    return CLocalizedDlg::WindowProc(message, wParam, lParam);
}

void CSysInfoDlg::StopCollector()
{
    m_stop->store(true);
    m_collector.Stop();
}

bool CSysInfoDlg::IsCollecting() const
{
    return !m_collector.HasEnded();
}

void CSysInfoDlg::OnEntry(const SSysInfoEntry& entry)
{
    const LPCWSTR name = entry.name, value = entry.value;
    if (!*name || m_stop->load())
        return;
    CCellBuilder builder(&m_list);
    CString line;
    if (*value) {
        builder.SetColumnModel(m_columns).AddCell().BeginChildren();
        builder.SetText(name).SetStyleBits(0, 8).AddText();
        builder.SetText(value).SetStyleBits(0, 8).AddText();
        builder.EndChildren();
        line.Format(L"%s: %s", name, value);
    } else {
        if (m_report.GetSize() > 0)
            builder.AddSeparator();
        builder.SetStyle(m_boldStyle).SetText(name).SetStyleBits(0, 1).AddText();
        builder.AddSeparator();
        m_firstHeading = false;
        if (m_report.GetSize() > 0)
            m_report.Add(kSeparatorLine);
        line = name;
    }
    PostSizeMessage(this);
    m_report.Add(line);
}

void CSysInfoDlg::OnCollectionDone()
{
    KillTimer(kBlinkTimer);
    m_blink = true;
    OnBlink();
    for (UINT id : {static_cast<UINT>(IDCANCEL), IDC_SEND, IDC_COPY, IDC_SAVE})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), TRUE);
}

void CSysInfoDlg::OnBlink()
{
    m_blink = !m_blink;
    CString caption = m_caption;
    if (m_blink)
        caption += L" (" + CLocalizedString(IDS_SCANNING) + L")";
    ::SetWindowTextW(m_hWnd, caption);
}

void CSysInfoDlg::OnSize(int cx, int cy)
{
    HWND band = ::GetDlgItem(m_hWnd, IDC_BAND);
    if (!band || !m_list.GetSafeHwnd())
        return;
    RECT bandRect;
    ::GetWindowRect(band, &bandRect);
    const int bandHeight = bandRect.bottom - bandRect.top;
    m_list.MoveWindow(0, 0, cx, cy - bandHeight);
    if (m_columns) {
        CRect client;
        m_list.GetClientRect(&client);
        m_columns->SetWidth(0, client.Width() / 3);
        m_columns->SetWidth(1, 2 * client.Width() / 3);
        m_list.UpdateLayout(true);
    }
    int right = cx - 7;
    for (UINT id : {static_cast<UINT>(IDCANCEL), IDC_SEND, IDC_COPY, IDC_SAVE}) {
        HWND button = ::GetDlgItem(m_hWnd, id);
        RECT r;
        ::GetWindowRect(button, &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        ::SetWindowPos(button, nullptr, right - w, cy - bandHeight + (bandHeight - h) / 2, w, h,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        right -= w + 7;
    }
}

CString CSysInfoDlg::GetReportText() const
{
    CString text;
    for (int i = 0; i < m_report.GetSize(); ++i)
        text += m_report.GetAt(i) + L"\r\n";
    return text;
}

bool CSysInfoDlg::WriteReport(LPCWSTR path) const
{
    if (!path)
        return false;
    CFileHandle file(
        CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    // UTF-16LE, no byte-order mark: the program's wide characters are
    // little-endian already.
    const CString text = GetReportText();
    const DWORD bytes = static_cast<DWORD>(text.GetLength()) * sizeof(wchar_t);
    DWORD written = 0;
    if (!WriteFile(file.Get(), static_cast<LPCWSTR>(text), bytes, &written, nullptr) || written != bytes) {
        file.Reset();
        DeleteFileW(path);
        return false;
    }
    return true;
}

bool CSysInfoDlg::SaveReportTo(LPCWSTR path)
{
    bool saved;
    {
        CWaitCursorScope wait;
        saved = WriteReport(path);
    }
    if (!saved) {
        CLocalizedString text;
        text.Format(IDS_SAVE_FAILED, path ? path : L"");
        XfMessageBox(this, text, MB_OK | MB_ICONERROR);
    }
    return saved;
}

void CSysInfoDlg::OnSave()
{
    CString filter = CLocalizedString(IDS_TEXT_FILTER);
    for (int i = 0; i < filter.GetLength(); ++i)
        if (filter[i] == L'|')
            filter.SetAt(i, L'\0');
    wchar_t path[MAX_PATH] = L"Report.txt";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = m_hWnd;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = L"TXT";
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (GetSaveFileNameW(&ofn))
        (void)SaveReportTo(path); // it tells the user itself
}

void CSysInfoDlg::OnCopy()
{
    CWaitCursorScope wait;
    SetClipboardText(GetReportText());
}

bool CSysInfoDlg::SendReport()
{
    ULONG result = MAPI_E_FAILURE;
    {
        CModuleHandle mapi(LoadLibraryW(L"MAPI32.DLL"));
        auto send =
            mapi ? reinterpret_cast<LPMAPISENDMAIL>(reinterpret_cast<void*>(GetProcAddress(mapi.Get(), "MAPISendMail")))
                 : nullptr;
        CTempFileScope temp;
        if (send && temp.IsValid()) {
            CWaitCursorScope wait;
            std::string subject = "System information", note = ToAnsi(GetReportText());
            std::string address = std::string("SMTP:") + kSupportAddress, name = kSupportAddress;
            MapiRecipDesc recipient{};
            recipient.ulRecipClass = MAPI_TO;
            recipient.lpszName = &name[0];
            recipient.lpszAddress = &address[0];
            MapiMessage message{};
            message.lpszSubject = &subject[0];
            message.lpszNoteText = &note[0];
            message.nRecipCount = 1;
            message.lpRecips = &recipient;
            result = send(0, reinterpret_cast<ULONG_PTR>(m_hWnd), &message, MAPI_LOGON_UI | MAPI_DIALOG, 0);
        }
    }
    // The user closing the mail program's window is no failure to report.
    if (result == MAPI_USER_ABORT)
        return false;
    // A handed-over report is said so: the system's mail bridge takes it
    // whether or not a mail program is there to open it, and without a word
    // the user could not tell that nothing will come.
    if (result == SUCCESS_SUCCESS) {
        XfMessageBox(this, IDS_SENT, MB_OK | MB_ICONINFORMATION);
        return true;
    }
    XfMessageBox(this, IDS_SEND_FAILED, MB_OK | MB_ICONWARNING);
    return false;
}

void ShowSysInfoDialog(CWnd* parent)
{
    CSysInfoDlg dialog(parent);
    dialog.DoModal();
}
