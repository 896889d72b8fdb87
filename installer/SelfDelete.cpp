#include "installer/SelfDelete.h"
#include <string>
#include "common/PathUtils.h"
#include "common/ScopedHandle.h"
#include "common/StringUtils.h"
#include "installer/InstallCopy.h"

namespace {

bool ToAnsi(const CString& text, std::string& out)
{
    BOOL lossy = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, &lossy);
    if (n <= 0 || lossy)
        return false;
    out.assign(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, &out[0], n, nullptr, &lossy);
    out.resize(static_cast<size_t>(n - 1));
    return !lossy;
}

} // namespace

bool RunProcess(LPCWSTR programPath, bool wait, LPCWSTR arguments)
{
    if (!programPath || !*programPath)
        return false;
    CString commandLine;
    commandLine.Format(L"\"%s\"", programPath);
    if (arguments && *arguments) {
        commandLine += L' ';
        commandLine += arguments;
    }
    const CString folder = GetDirectoryOfPath(programPath);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(programPath, commandLine.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.IsEmpty() ? nullptr : static_cast<LPCWSTR>(folder), &startup, &info))
        return false;
    commandLine.ReleaseBuffer();
    CKernelHandle process(info.hProcess);
    CKernelHandle thread(info.hThread);
    if (wait)
        ::WaitForSingleObject(process.Get(), INFINITE);
    return true;
}

CString FormatSelfDeleteScript(LPCWSTR programPath, LPCWSTR folder, LPCWSTR batchPath, int tries)
{
    CString dir = NormalizeFolder(folder);
    CString script;
    script.Format(L"@echo off\r\nset n=0\r\n:Repeat\r\ndel \"%s\"\r\nif not exist \"%s\" goto Removed\r\n"
                  L"set /a n=n+1\r\nif %%n%% geq %d goto Removed\r\nping -n 2 127.0.0.1 >nul\r\ngoto Repeat\r\n"
                  L":Removed\r\n",
                  programPath, programPath, tries);
    // rmdir without /s only removes an empty folder; a root is never named.
    if (dir.GetLength() > 3) {
        CString line;
        line.Format(L"rmdir \"%s\"\r\n", static_cast<LPCWSTR>(dir));
        script += line;
    }
    CString last;
    last.Format(L"del \"%s\"\r\n", batchPath);
    return script + last;
}

bool StartSelfDelete(LPCWSTR programPath, LPCWSTR folder, LPCWSTR batchPath, int tries)
{
    if (!programPath || !*programPath || !folder || !batchPath || !*batchPath)
        return false;
    std::string bytes;
    if (!ToAnsi(FormatSelfDeleteScript(programPath, folder, batchPath, tries), bytes))
        return false;
    {
        // Others may go on reading while it is written: the uninstaller
        // writes the same batch twice, and Wine's command processor keeps a
        // batch open (for reading, sharing writes) as long as it runs, so the
        // batch of the first call may still hold the file. It reads the same
        // text again.
        CFileHandle file(::CreateFileW(batchPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file)
            return false;
        DWORD written = 0;
        if (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size())
            return false;
    }
    CString commandLine;
    commandLine.Format(L"cmd.exe /c \"%s\"", batchPath);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info = {};
    const BOOL started = ::CreateProcessW(nullptr, commandLine.GetBuffer(), nullptr, nullptr, FALSE,
                                          CREATE_SUSPENDED | IDLE_PRIORITY_CLASS, nullptr, L"\\", &startup, &info);
    commandLine.ReleaseBuffer();
    if (!started)
        return false;
    CKernelHandle process(info.hProcess);
    CKernelHandle thread(info.hThread);
    ::SetThreadPriority(thread.Get(), THREAD_PRIORITY_IDLE);
    ::ResumeThread(thread.Get());
    return true;
}

bool ScheduleSelfDelete()
{
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, temp);
    const CString batch = n > 0 && n <= MAX_PATH ? JoinPath(temp, kSelfDeleteBatchName) : CString(kSelfDeleteBatchName);
    return StartSelfDelete(GetModuleFilePath(), GetModuleDirectory(), batch);
}
