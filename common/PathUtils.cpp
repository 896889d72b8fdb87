#include "common/PathUtils.h"

#include "common/ScopedHandle.h"
#include "common/StringUtils.h"

#include <cwchar>
#include <vector>

namespace {

// The parts of a path, split the way the C runtime's path splitter does:
// drive "X:", directory up to the last separator, name, extension from the
// last dot of the final component (dot included).
struct SPathParts
{
    CString drive, dir, name, ext;
};

SPathParts SplitPath(LPCWSTR path)
{
    SPathParts parts;
    if (!path)
        return parts;
    const wchar_t* p = path;
    if (p[0] && p[1] == L':') {
        parts.drive = CString(p, 2);
        p += 2;
    }
    const wchar_t* lastSep = nullptr;
    for (const wchar_t* q = p; *q; ++q)
        if (*q == L'\\' || *q == L'/')
            lastSep = q;
    const wchar_t* file = p;
    if (lastSep) {
        parts.dir = CString(p, static_cast<int>(lastSep + 1 - p));
        file = lastSep + 1;
    }
    const wchar_t* dot = wcsrchr(file, L'.');
    if (dot) {
        parts.name = CString(file, static_cast<int>(dot - file));
        parts.ext = dot;
    } else {
        parts.name = file;
    }
    return parts;
}

} // namespace

CString GetDirectoryOfPath(LPCWSTR path)
{
    const SPathParts parts = SplitPath(path);
    return parts.drive + parts.dir;
}

CString GetFileNameOfPath(LPCWSTR path, bool withExtension)
{
    const SPathParts parts = SplitPath(path);
    return withExtension ? parts.name + parts.ext : parts.name;
}

CString GetFileExtension(LPCWSTR path)
{
    const SPathParts parts = SplitPath(path);
    return parts.ext.IsEmpty() ? CString() : parts.ext.Mid(1);
}

CString JoinPath(LPCWSTR folder, LPCWSTR name)
{
    CString joined(folder ? folder : L"");
    const wchar_t* rest = name ? name : L"";
    while (*rest == L'\\' || *rest == L'/')
        ++rest;
    if (joined.IsEmpty())
        return CString(rest);
    const wchar_t last = joined[joined.GetLength() - 1];
    if (last != L'\\' && last != L'/')
        joined += L'\\';
    return joined + rest;
}

CString GetModuleFilePath()
{
    // Long install paths are read whole; a cut name would point elsewhere.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return CString();
        if (n < buffer.size())
            return CString(buffer.data(), static_cast<int>(n));
        if (buffer.size() >= 32768)
            return CString();
        buffer.resize(buffer.size() * 2);
    }
}

CString GetModuleDirectory()
{
    const CString file = GetModuleFilePath();
    if (file.IsEmpty())
        return CString();
    return GetDirectoryOfPath(file);
}

CString GetHelpPagePath(LPCWSTR name)
{
    CString path = GetModuleDirectory();
    AddTrailingBackslash(path);
    path += name ? name : L"";
    return path;
}

bool ShowHelpPage(HWND owner, LPCWSTR name)
{
    return name && *name && ShowHelpFile(owner, GetHelpPagePath(name));
}

bool ShowHelpFile(HWND owner, LPCWSTR path)
{
    if (!path || !*path)
        return false;
    typedef HWND(WINAPI * HtmlHelpFn)(HWND, LPCWSTR, UINT, DWORD_PTR);
    CModuleHandle viewer(LoadLibraryW(L"hhctrl.ocx"));
    if (!viewer)
        return false;
    auto htmlHelp = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(GetProcAddress(viewer.Get(), "HtmlHelpW")));
    if (!htmlHelp)
        return false;
    // The viewer stays loaded: its window lives on after this call.
    viewer.Detach();
    const UINT kDisplayTopic = 0; // HH_DISPLAY_TOPIC
    return htmlHelp(owner, path, kDisplayTopic, 0) != nullptr;
}
