#include "platform/mfc/afxiface.h"

HRESULT AnswerQueryInterface(REFIID riid, void** ppv, std::initializer_list<SInterfaceEntry> entries)
{
    if (!ppv)
        return E_INVALIDARG;
    for (const SInterfaceEntry& e : entries) {
        if (IsEqualIID(riid, *e.iid)) {
            e.unknown->AddRef();
            *ppv = e.object;
            return S_OK;
        }
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

bool IsSameObject(IUnknown* a, IUnknown* b)
{
    if (!a || !b)
        return a == b;
    CIPtr<IUnknown> ua, ub;
    if (FAILED(a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ua))) ||
        FAILED(b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ub))))
        return false;
    return ua.Get() == ub.Get();
}
