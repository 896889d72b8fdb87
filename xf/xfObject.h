#pragma once
// The two small mix-ins of every framework object made by a layout element:
// CxfObject carries the element's ordered parameter list, CxfWnd the link
// to the frame that holds the object.
#include <vector>
#include "platform/mfc/afx.h"

class CxfFrame;

struct SxfParam
{
    CString key;
    CString value;
};

class CxfObject
{
public:
    virtual ~CxfObject() = default;

    // Called for every parameter added without `silent`; the receiver
    // compares keys itself (case-sensitively unless it says otherwise).
    virtual void OnParam(SxfParam& param);

    // Appends key=value (a null value is empty); unless silent, OnParam
    // runs at once with the new entry.
    void AddParam(LPCWSTR key, LPCWSTR value, bool silent = false);
    // Lookups compare keys without regard to case; a null key is never found.
    int IndexOf(LPCWSTR key) const;
    [[nodiscard]] bool HasParam(LPCWSTR key) const { return IndexOf(key) != -1; }
    // The value of the first match, or null.
    LPCWSTR GetParam(LPCWSTR key) const;
    void RemoveParam(LPCWSTR key);
    int GetCount() const { return static_cast<int>(m_params.size()); }
    const SxfParam& GetParamAt(int i) const { return m_params.at(static_cast<size_t>(i)); }

private:
    std::vector<SxfParam> m_params;
};

class CxfWnd
{
public:
    explicit CxfWnd(CxfFrame* frame = nullptr) : m_pFrame(frame) {}
    virtual ~CxfWnd() = default;
    virtual void SetFrame(CxfFrame* frame) { m_pFrame = frame; }
    CxfFrame* GetFrame() const { return m_pFrame; }

protected:
    CxfFrame* m_pFrame;
};
