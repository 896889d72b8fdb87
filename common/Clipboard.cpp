#include "common/Clipboard.h"
#include <cstring>

#include "common/ScopedHandle.h"

namespace {

// Holds the clipboard open for one scope.
class CClipboardOpener
{
public:
    CClipboardOpener() : m_open(OpenClipboard(nullptr) != FALSE) {}
    ~CClipboardOpener()
    {
        if (m_open)
            CloseClipboard();
    }
    CClipboardOpener(const CClipboardOpener&) = delete;
    CClipboardOpener& operator=(const CClipboardOpener&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

// Locks a global memory block for one scope.
class CGlobalLocker
{
public:
    explicit CGlobalLocker(HGLOBAL memory)
        : m_memory(memory), m_data(memory ? GlobalLock(memory) : nullptr), m_size(m_data ? GlobalSize(memory) : 0)
    {
    }
    ~CGlobalLocker()
    {
        if (m_data != nullptr)
            GlobalUnlock(m_memory);
    }
    CGlobalLocker(const CGlobalLocker&) = delete;
    CGlobalLocker& operator=(const CGlobalLocker&) = delete;
    void* Data() const { return m_data; }
    size_t Size() const { return m_size; }

private:
    HGLOBAL m_memory;
    void* m_data;
    size_t m_size;
};

} // namespace

CString GetClipboardText()
{
    CString text;
    CClipboardOpener clipboard;
    if (!clipboard.IsOpen())
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        CGlobalLocker lock(data);
        if (lock.Data() != nullptr) {
            // The block may lack a terminator: never read past its size.
            const WCHAR* wide = static_cast<const WCHAR*>(lock.Data());
            text = CString(wide, static_cast<int>(wcsnlen(wide, lock.Size() / sizeof(WCHAR))));
            return text;
        }
    }
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        CGlobalLocker lock(data);
        if (lock.Data() != nullptr) {
            const char* ansi = static_cast<const char*>(lock.Data());
            text = AfxWideFromBytes(ansi, static_cast<int>(strnlen(ansi, lock.Size())), CP_ACP);
        }
    }
    return text;
}

void SetClipboardText(LPCWSTR text)
{
    if (text == nullptr)
        return;
    CClipboardOpener clipboard;
    if (!clipboard.IsOpen())
        return;
    EmptyClipboard();
    size_t bytes = (wcslen(text) + 1) * sizeof(WCHAR);
    CGlobalHandle memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
    if (!memory)
        return;
    {
        CGlobalLocker lock(memory.Get());
        if (lock.Data() == nullptr)
            return;
        memcpy(lock.Data(), text, bytes);
    }
    // The clipboard owns the block once it is accepted.
    if (SetClipboardData(CF_UNICODETEXT, memory.Get()) != nullptr)
        memory.Detach();
}
