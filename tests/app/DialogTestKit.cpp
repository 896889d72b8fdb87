#include "tests/app/DialogTestKit.h"

#include <gtest/gtest.h>

#include "common/Languages.h"
#include "common/ProductInfo.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/IHybridText.h"
#include "tests/common/TestFiles.h"

namespace dlgtest {

bool PumpUntil(const std::function<bool()>& done, DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    while (!done()) {
        if (static_cast<int>(end - GetTickCount()) <= 0)
            return done();
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

std::vector<std::wstring> CellTexts(CHybridCtrl& control, IHybridCell* start)
{
    CCellArray cells;
    CCellCollector collector(cells);
    control.EnumCells(collector, HCE_ALL, start);
    std::vector<std::wstring> out;
    for (INT_PTR i = 0; i < cells.GetSize(); ++i) {
        CIPtr<IHybridContent> content;
        if (!cells.GetAt(i)->GetContent(&content) || !content)
            continue;
        CIPtr<IHybridText> text;
        if (SUCCEEDED(content->QueryInterface(IID_IHybridText, reinterpret_cast<void**>(&text))) && text)
            out.push_back(static_cast<LPCWSTR>(text->GetText()));
    }
    return out;
}

void ClickCell(CHybridCtrl& control, IHybridCell* cell)
{
    RECT r;
    cell->GetRect(&r);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(control.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(control.GetSafeHwnd(), WM_LBUTTONUP, 0, at);
}

void SetUpProductInfo()
{
    g_productInfo.name = L"Velmora Ravelin";
    g_productInfo.registryKey = L"Software\\Velmora\\Ravelin";
    g_productInfo.webSiteUrl = L"https://velmora.example/ravelin";
    g_productInfo.languagesUrl = L"https://velmora.example/ravelin/languages";
    g_productInfo.aboutPictureId = 1068;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

namespace {

BOOL CALLBACK Collect(HWND child, LPARAM param)
{
    auto* out = reinterpret_cast<std::wstring*>(param);
    *out += TextOf(child) + L"|";
    return TRUE;
}

} // namespace

std::wstring ChildTexts(HWND window)
{
    std::wstring out;
    EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&out));
    return out;
}

CNlsFolderOfOwn::CNlsFolderOfOwn() : m_folder(static_cast<LPCWSTR>(GetLanguageFolder())), m_aside(m_folder + L".aside")
{
    PutBack();
    MoveFileW(m_folder.c_str(), m_aside.c_str());
    CreateDirectoryW(m_folder.c_str(), nullptr);
}

CNlsFolderOfOwn::~CNlsFolderOfOwn()
{
    PutBack();
}

void CNlsFolderOfOwn::PutBack()
{
    if (GetFileAttributesW(m_aside.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    for (const std::wstring& name : testfiles::FilesIn(m_folder))
        DeleteFileW((m_folder + L"\\" + name).c_str());
    RemoveDirectoryW(m_folder.c_str());
    MoveFileW(m_aside.c_str(), m_folder.c_str());
}

namespace {

// The id of a message box's text: it tells a box from the main window,
// which bears the same caption.
const int kBoxTextId = 0xFFFF;

} // namespace

CBoxAnswerer::CBoxAnswerer(UINT answer, std::function<void(HWND)> watch)
{
    InitializeCriticalSection(&m_lock);
    const std::wstring caption = SProductInfo::GetName();
    m_thread = std::thread([this, answer, watch, caption] {
        const DWORD process = GetCurrentProcessId();
        const DWORD start = GetTickCount();
        while (!m_stop) {
            for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner != process || !IsWindowVisible(w))
                    continue;
                wchar_t cls[64] = {};
                GetClassNameW(w, cls, 64);
                if (std::wstring(cls) == L"#32770" && GetTickCount() - start > kGiveUpMs) {
                    // Nothing answered it in time: it is cancelled so that
                    // the modal loop waiting on it ends, and the case fails.
                    m_gaveUp = true;
                    PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
                } else if (std::wstring(cls) == L"#32770" && TextOf(w) == caption && GetDlgItem(w, kBoxTextId)) {
                    EnterCriticalSection(&m_lock);
                    m_texts.push_back(ChildTexts(w));
                    LeaveCriticalSection(&m_lock);
                    PostMessageW(w, WM_COMMAND, answer, 0);
                    Sleep(100);
                } else if (watch) {
                    watch(w);
                }
            }
            Sleep(20);
        }
        m_finished = true;
    });
}

CBoxAnswerer::~CBoxAnswerer()
{
    m_stop = true;
    // The watcher may be inside a message sent to one of this thread's
    // windows (a window text is read that way): those are answered until it
    // has ended.
    while (!m_finished) {
        MSG m;
        PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
    }
    m_thread.join();
    DeleteCriticalSection(&m_lock);
    if (m_gaveUp)
        ADD_FAILURE() << "a dialog stayed open unanswered and was cancelled";
}

std::vector<std::wstring> CBoxAnswerer::Texts()
{
    EnterCriticalSection(&m_lock);
    std::vector<std::wstring> out = m_texts;
    LeaveCriticalSection(&m_lock);
    return out;
}

} // namespace dlgtest
