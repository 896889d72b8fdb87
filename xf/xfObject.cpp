#include "xf/xfObject.h"
#include <cwchar>

void CxfObject::OnParam(SxfParam&)
{
}

void CxfObject::AddParam(LPCWSTR key, LPCWSTR value, bool silent)
{
    m_params.push_back(SxfParam{key ? key : L"", value ? value : L""});
    if (!silent) {
        // A copy: the receiver may add parameters while it reads this one.
        SxfParam added = m_params.back();
        OnParam(added);
    }
}

int CxfObject::IndexOf(LPCWSTR key) const
{
    if (!key)
        return -1;
    for (size_t i = 0; i < m_params.size(); ++i)
        if (_wcsicmp(m_params[i].key, key) == 0)
            return static_cast<int>(i);
    return -1;
}

LPCWSTR CxfObject::GetParam(LPCWSTR key) const
{
    const int i = IndexOf(key);
    return i < 0 ? nullptr : static_cast<LPCWSTR>(m_params[static_cast<size_t>(i)].value);
}

void CxfObject::RemoveParam(LPCWSTR key)
{
    const int i = IndexOf(key);
    if (i >= 0)
        m_params.erase(m_params.begin() + i);
}
