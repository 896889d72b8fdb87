#pragma once
// Reference counting and interface lookup shared by the filter-side COM objects
// (filters, pins, enumerators, seeking forwarders).
//
// An object starts with a count of 0 and deletes itself when the count drops
// back to 0. A part of a larger object (a pin of its filter) is constructed with
// that object as its lifetime owner: its references then count on the owner, so
// a pointer to the part keeps the whole object alive, and the owner deletes it.
// Aggregation is not supported: these objects are only made with new.
#include <windows.h>
#include <unknwn.h>

#include "platform/mfc/afxiface.h"

class CUnknown
{
public:
    explicit CUnknown(CUnknown* lifetimeOwner = nullptr);
    virtual ~CUnknown();
    CUnknown(const CUnknown&) = delete;
    CUnknown& operator=(const CUnknown&) = delete;

    // E_POINTER for a null out-pointer; otherwise E_NOINTERFACE with the
    // out-pointer cleared. Derived classes answer their own ids first.
    [[nodiscard]] virtual HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv);
    virtual ULONG NonDelegatingAddRef();
    virtual ULONG NonDelegatingRelease();

protected:
    // Stores `p` in `*ppv` with a reference added; E_POINTER for a null ppv.
    [[nodiscard]] static HRESULT GetInterface(IUnknown* p, void** ppv);

private:
    CUnknown* m_owner;
    CRefCount m_refs{0};
};

// The three IUnknown methods of a class on CUnknown: they go to its
// non-delegating counterparts, so every interface of the class shares them.
#define DECLARE_IUNKNOWN \
    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override \
    { \
        return NonDelegatingQueryInterface(riid, ppv); \
    } \
    STDMETHODIMP_(ULONG) AddRef() override \
    { \
        return NonDelegatingAddRef(); \
    } \
    STDMETHODIMP_(ULONG) Release() override \
    { \
        return NonDelegatingRelease(); \
    }
