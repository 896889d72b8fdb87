#include "common/OVRegKey.h"

#include "common/Scramble.h"
#include "common/ScopedHandle.h"

#include <cstring>

namespace {

const REGSAM kReadWriteAccess = 0x2001F; // KEY_READ | KEY_WRITE
const DWORD kStringBufferBytes = 8192;
// Nesting deeper than this is not a key tree this program wrote.
const int kMaxKeyDepth = 64;

bool IsEmptyText(LPCWSTR text)
{
    return !text || !*text;
}

LONG DeleteTree(HKEY root, LPCWSTR subkey, int depth)
{
    CRegKeyHandle key;
    if (depth < kMaxKeyDepth && RegOpenKeyW(root, subkey, key.Receive()) == ERROR_SUCCESS) {
        wchar_t name[260];
        for (;;) {
            name[0] = 0;
            if (RegEnumKeyW(key.Get(), 0, name, 260) != ERROR_SUCCESS)
                break;
            // A subkey that cannot be removed would be enumerated at index 0
            // forever: give up on the rest of this key instead.
            if (DeleteTree(key.Get(), name, depth + 1) != ERROR_SUCCESS)
                break;
        }
    }
    return RegDeleteKeyW(root, subkey);
}

} // namespace

COVRegKey::~COVRegKey()
{
    Close();
}

bool COVRegKey::OpenRead(HKEY root, LPCWSTR subkey)
{
    if (!root || IsEmptyText(subkey))
        return false;
    Close();
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey, 0, kReadWriteAccess, &key) != ERROR_SUCCESS)
        return false;
    m_key = key;
    m_attached = false;
    m_canRead = true;
    return true;
}

bool COVRegKey::Create(HKEY root, LPCWSTR subkey)
{
    if (!root || IsEmptyText(subkey))
        return false;
    Close();
    HKEY key = nullptr;
    if (RegCreateKeyW(root, subkey, &key) != ERROR_SUCCESS)
        return false;
    m_key = key;
    m_attached = false;
    m_canWrite = true;
    return true;
}

bool COVRegKey::Open(HKEY root, LPCWSTR subkey, bool forReading)
{
    if (!root || !subkey)
        return false;
    return forReading ? OpenRead(root, subkey) : Create(root, subkey);
}

void COVRegKey::Attach(HKEY handle, bool forReading)
{
    Close();
    m_key = handle;
    m_canRead = forReading;
    m_canWrite = !forReading;
    m_attached = true;
}

void COVRegKey::Close()
{
    if (m_key && !m_attached)
        RegCloseKey(m_key);
    m_key = nullptr;
    m_attached = false;
    m_canRead = false;
    m_canWrite = false;
}

bool COVRegKey::GetDWORD(LPCWSTR name, DWORD* dest)
{
    if (!m_canRead || !m_key || IsEmptyText(name) || !dest)
        return false;
    // Read into a temporary: a failed query (a longer value) may leave its
    // buffer undefined, and the caller's default must survive that. Only a
    // whole REG_DWORD is a 32-bit value: the bytes of a string, a shorter
    // block or a big-endian number would pass for another number.
    DWORD value = 0;
    DWORD type = REG_NONE;
    DWORD size = sizeof value;
    if (RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return false;
    *dest = value;
    return true;
}

bool COVRegKey::GetInt(LPCWSTR name, int& value)
{
    DWORD v = 0;
    if (!GetDWORD(name, &v))
        return false;
    value = static_cast<int>(v);
    return true;
}

bool COVRegKey::SetDWORD(LPCWSTR name, DWORD value)
{
    if (!m_key || IsEmptyText(name))
        return false;
    return RegSetValueExW(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

bool COVRegKey::SetInt(LPCWSTR name, int value)
{
    return SetDWORD(name, static_cast<DWORD>(value));
}

bool COVRegKey::GetBool(LPCWSTR name, BOOL& value)
{
    DWORD v = 0;
    if (!GetDWORD(name, &v))
        return false;
    value = v ? 1 : 0;
    return true;
}

bool COVRegKey::SetBool(LPCWSTR name, bool value)
{
    return SetDWORD(name, value ? 1 : 0);
}

bool COVRegKey::SetString(LPCWSTR name, LPCWSTR text, int mode)
{
    if (!m_canWrite || !m_key || IsEmptyText(name) || !text)
        return false;
    const CString stored = StoredForm(text, mode);
    const DWORD bytes = static_cast<DWORD>((stored.GetLength() + 1) * sizeof(wchar_t));
    return RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(static_cast<LPCWSTR>(stored)), bytes) ==
           ERROR_SUCCESS;
}

bool COVRegKey::GetString(LPCWSTR name, CString& out, bool scrambled)
{
    if (!m_canRead || !m_key)
        return false;
    wchar_t buffer[kStringBufferBytes / sizeof(wchar_t)];
    DWORD type = 0;
    DWORD bytes = kStringBufferBytes;
    if (RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    // Half a code unit is no text: such a value is not ours.
    if (bytes % sizeof(wchar_t) != 0)
        return false;
    // The text ends at its first zero or at the end of what was read; a value
    // stored without a terminator is not read past.
    const DWORD units = bytes / sizeof(wchar_t);
    DWORD length = 0;
    while (length < units && buffer[length])
        ++length;
    if (length == kStringBufferBytes / sizeof(wchar_t))
        return false; // no room left for the terminator: longer than the limit
    buffer[length] = 0;
    if (!scrambled) {
        out = buffer;
        return true;
    }
    return UnscrambleString(buffer, out);
}

LONG DeleteRegKeyTree(HKEY root, LPCWSTR subkey)
{
    // Without a name the registry answers with the given key itself: its
    // whole content would go and the caller's handle would be closed.
    if (!root || IsEmptyText(subkey))
        return ERROR_INVALID_PARAMETER;
    return DeleteTree(root, subkey, 0);
}
