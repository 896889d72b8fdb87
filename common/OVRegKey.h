#pragma once
// Owner of one open registry key with typed value access.
#include "platform/mfc/afx.h"

class COVRegKey
{
public:
    COVRegKey() = default;
    virtual ~COVRegKey();
    COVRegKey(const COVRegKey&) = delete;
    COVRegKey& operator=(const COVRegKey&) = delete;

    // Opens an existing key (read and write access); sets canRead.
    [[nodiscard]] bool OpenRead(HKEY root, LPCWSTR subkey);
    // Creates the key, or opens it when it exists; sets canWrite.
    [[nodiscard]] bool Create(HKEY root, LPCWSTR subkey);
    // OpenRead when forReading, else Create.
    [[nodiscard]] bool Open(HKEY root, LPCWSTR subkey, bool forReading);
    // Uses a key the caller opened; it is never closed by this object.
    void Attach(HKEY handle, bool forReading);
    void Close();
    HKEY GetHandle() const { return m_key; }
    [[nodiscard]] bool CanRead() const { return m_canRead; }
    [[nodiscard]] bool CanWrite() const { return m_canWrite; }

    // Getters leave their output unchanged and give false unless the stored
    // value has the getter's own type and size (REG_DWORD of 4 bytes, REG_SZ
    // of whole code units).
    [[nodiscard]] bool GetDWORD(LPCWSTR name, DWORD* dest);
    [[nodiscard]] bool GetInt(LPCWSTR name, int& value);
    [[nodiscard]] bool SetDWORD(LPCWSTR name, DWORD value);
    [[nodiscard]] bool SetInt(LPCWSTR name, int value);
    [[nodiscard]] bool GetBool(LPCWSTR name, BOOL& value);
    [[nodiscard]] bool SetBool(LPCWSTR name, bool value);
    // mode 0 stores the text, 1 its scrambled form, anything else "".
    [[nodiscard]] bool SetString(LPCWSTR name, LPCWSTR text, int mode);
    // At most 4095 code units; scrambled: false for an invalid stored form.
    [[nodiscard]] bool GetString(LPCWSTR name, CString& out, bool scrambled);

private:
    HKEY m_key = nullptr;
    bool m_canRead = false;
    bool m_canWrite = false;
    bool m_attached = false;
};

// Deletes a key with all its subkeys, deepest first. Returns the result of
// deleting the key itself. Stops descending when a subkey cannot be removed.
// A null root or a null or empty subkey name is refused.
LONG DeleteRegKeyTree(HKEY root, LPCWSTR subkey);
