#pragma once
// Readers of resources of any type by numeric id, looked up in the class
// library's current resource module (the program itself). Loaded resources
// stay valid for the life of the module; nothing is freed.
#include "platform/mfc/afx.h"

class CResHMemLoader
{
public:
    CResHMemLoader() = default;
    virtual ~CResHMemLoader() = default;

    // Finds the resource "#id" of the type and loads it; whether a resource
    // handle is held afterwards.
    [[nodiscard]] virtual bool Load(LPCWSTR type, UINT id);

    HGLOBAL GetHandle() const { return m_handle; }
    DWORD GetSize() const { return m_size; }

protected:
    HGLOBAL m_handle = nullptr;
    DWORD m_size = 0;
};

class CResLoader : public CResHMemLoader
{
public:
    // The base load, then locks the data; whether data is available.
    [[nodiscard]] bool Load(LPCWSTR type, UINT id) override;
    // The resource's bytes (GetSize of them), or null until loaded.
    const void* GetData() const { return m_data; }

private:
    const void* m_data = nullptr;
};

// The resource "#id" of type "TEXT" as a string: UTF-16LE when it starts with
// the byte-order mark (the mark itself is dropped), else ANSI text up to the
// first zero byte, converted through the system code page. A missing
// resource gives an empty string.
CString LoadTextResource(UINT id);
