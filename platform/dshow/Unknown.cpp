#include "platform/dshow/Unknown.h"

CUnknown::CUnknown(CUnknown* lifetimeOwner) : m_owner(lifetimeOwner)
{
}

CUnknown::~CUnknown() = default;

HRESULT CUnknown::NonDelegatingQueryInterface(REFIID, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CUnknown::NonDelegatingAddRef()
{
    if (m_owner)
        return m_owner->NonDelegatingAddRef();
    return m_refs.AddRef();
}

ULONG CUnknown::NonDelegatingRelease()
{
    if (m_owner)
        return m_owner->NonDelegatingRelease();
    return m_refs.Release(this);
}

HRESULT CUnknown::GetInterface(IUnknown* p, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    ReturnInterface<IUnknown>(p, reinterpret_cast<IUnknown**>(ppv));
    return S_OK;
}
