#pragma once
// CScopedHandle: the one owner of a Win32 handle (or any value that must be
// given back by one call): closes it in its destructor, also when an
// exception leaves the scope. The template names the handle type, its closer
// and its invalid value (null unless said otherwise); the aliases below are
// the owners the system uses.
//
//     CFileHandle file(CreateFileW(...));
//     if (!file) return false;
//     ReadFile(file.Get(), ...);
//
// Moving hands the handle on; Detach gives it to a caller that closes it
// itself (or to an owner that does, such as the clipboard); Receive fills it
// from an out-parameter, closing the old one first.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

// Invalid value of a handle type whose "none" is its default (null) value.
template <class H>
struct SNullHandle
{
    static H Value() { return H(); }
};

// Invalid value of the handles that CreateFile and FindFirstFile give.
struct SInvalidHandleValue
{
    static HANDLE Value() { return INVALID_HANDLE_VALUE; }
};

template <class H, auto Closer, class Invalid = SNullHandle<H>>
class CScopedHandle
{
public:
    CScopedHandle() = default;
    explicit CScopedHandle(H handle) : m_handle(handle) {}
    ~CScopedHandle() { Reset(); }
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;
    CScopedHandle(CScopedHandle&& other) noexcept : m_handle(other.Detach()) {}
    CScopedHandle& operator=(CScopedHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }

    const H& Get() const { return m_handle; }
    [[nodiscard]] bool IsValid() const { return !(m_handle == Invalid::Value()); }
    explicit operator bool() const { return IsValid(); }

    // Closes the held handle (when valid) and holds `handle` instead.
    void Reset(H handle = Invalid::Value())
    {
        H old = m_handle;
        m_handle = handle;
        if (!(old == Invalid::Value()))
            Closer(old);
    }
    // Gives the handle up without closing it.
    H Detach()
    {
        H handle = m_handle;
        m_handle = Invalid::Value();
        return handle;
    }
    // For out-parameters: closes the held handle first.
    H* Receive()
    {
        Reset();
        return &m_handle;
    }

private:
    H m_handle = Invalid::Value();
};

using CFileHandle = CScopedHandle<HANDLE, &::CloseHandle, SInvalidHandleValue>; // CreateFile
using CKernelHandle = CScopedHandle<HANDLE, &::CloseHandle>;                    // events, mutexes...
using CFindHandle = CScopedHandle<HANDLE, &::FindClose, SInvalidHandleValue>;   // FindFirstFile
using CModuleHandle = CScopedHandle<HMODULE, &::FreeLibrary>;                   // LoadLibrary
using CRegKeyHandle = CScopedHandle<HKEY, &::RegCloseKey>;                      // RegOpenKey...
using CGlobalHandle = CScopedHandle<HGLOBAL, &::GlobalFree>;                    // GlobalAlloc
using CItemIdList = CScopedHandle<LPITEMIDLIST, &::CoTaskMemFree>;              // the shell's item lists
