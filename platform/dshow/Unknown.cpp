#include "platform/dshow/Unknown.h"

CUnknown::CUnknown(CUnknown* lifetimeOwner) : m_owner(lifetimeOwner) {}

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
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG CUnknown::NonDelegatingRelease()
{
    if (m_owner)
        return m_owner->NonDelegatingRelease();
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return static_cast<ULONG>(refs);
}

HRESULT CUnknown::GetInterface(IUnknown* p, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = p;
    p->AddRef();
    return S_OK;
}
