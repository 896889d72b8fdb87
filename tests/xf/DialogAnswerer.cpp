#include "DialogAnswerer.h"

namespace xftest {

namespace {

std::wstring ClassOf(HWND w)
{
    wchar_t name[64] = {};
    ::GetClassNameW(w, name, 64);
    return name;
}

std::wstring TextOf(HWND w)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(w, text, 512);
    return text;
}

BOOL CALLBACK CollectDialog(HWND w, LPARAM p)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(w, &process);
    // A dialog without a caption is a popup (a drop-down menu), no question.
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(w) && ClassOf(w) == L"#32770" &&
        (::GetWindowLongW(w, GWL_STYLE) & WS_CAPTION) == WS_CAPTION)
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND w, LPARAM p)
{
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}

} // namespace

CDialogAnswerer::CDialogAnswerer(std::vector<SAnswer> answers, HWND ignore)
    : m_answers(std::move(answers)), m_ignore(ignore)
{
    m_thread = std::thread([this] { Run(); });
}

CDialogAnswerer::~CDialogAnswerer()
{
    m_stop = true;
    m_thread.join();
}

std::vector<std::wstring> CDialogAnswerer::Seen()
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_seen;
}

void CDialogAnswerer::Run()
{
    HWND last = nullptr;
    while (!m_stop) {
        std::vector<HWND> dialogs;
        ::EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
        for (HWND dialog : dialogs)
            if (dialog != m_ignore && (dialog != last || !::IsWindow(last))) {
                ::Sleep(100); // let it finish its initialisation
                Answer(dialog);
                last = dialog;
                break;
            }
        ::Sleep(30);
    }
}

void CDialogAnswerer::Answer(HWND dialog)
{
    std::vector<HWND> children;
    ::EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&children));
    std::wstring seen = TextOf(dialog);
    HWND edit = nullptr;
    for (HWND c : children) {
        const std::wstring cls = ClassOf(c);
        if (cls == L"Static" || cls == L"ComboBox" || cls == L"Edit")
            seen += L"|" + TextOf(c);
        if (!edit && cls == L"Edit" && ::IsWindowVisible(c))
            edit = c;
    }
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_seen.push_back(seen);
    }
    SAnswer answer{IDCANCEL, L""};
    if (m_next < m_answers.size())
        answer = m_answers[m_next++];
    if (!answer.path.empty() && edit)
        ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.path.c_str()));
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer.button, BN_CLICKED), 0);
}

} // namespace xftest
