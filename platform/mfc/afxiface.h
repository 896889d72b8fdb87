#pragma once
// The helper set of COM-style objects without the COM runtime (the
// platform filter bases and every object of the system above them):
//
// Ids: each interface has its own 128-bit id, declared beside it (or in its
// layer's list of ids) by the one id macro:
//     RAVELIN_IID(IMyThing, 0x..., 0x..., 0x..., 0x.., 0x.., 0x.., 0x.., 0x.., 0x.., 0x.., 0x..)
// which makes `IID_IMyThing`.
//
// Reference counting: an object holds a CRefCount (interlocked; the initial
// count is the constructor argument: 0 for contents, cells and most
// objects, 1 for handlers) and forwards to it:
//     STDMETHODIMP_(ULONG) AddRef() override { return m_refs.AddRef(); }
//     STDMETHODIMP_(ULONG) Release() override { return m_refs.Release(this); }
// Release deletes the object (through its virtual destructor where it has
// one) when the count reaches zero.
//
// QueryInterface: answered from a list of {id, sub-object} pairs:
//     STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
//         return AnswerQueryInterface(riid, ppv, {
//             {IID_IUnknown, static_cast<IMyThing*>(this)},
//             {IID_IMyThing, static_cast<IMyThing*>(this)},
//             {IID_ITimerCallback, &m_timer}});
//     }
// A null ppv gives E_INVALIDARG; an id not in the list sets *ppv to null
// and gives E_NOINTERFACE; a match stores the sub-object with a reference.
//
// Holders keep interfaces in CIPtr<I>; getters fill out-parameters with
// ReturnInterface.
#include <windows.h>
#include <unknwn.h>
#include <initializer_list>
#include <memory>
#include <type_traits>

#define RAVELIN_IID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    inline constexpr IID IID_##name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};

class CRefCount
{
public:
    explicit CRefCount(LONG initial) : m_count(initial) {}
    CRefCount(const CRefCount&) = delete;
    CRefCount& operator=(const CRefCount&) = delete;

    ULONG AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_count)); }
    // Drops one reference; deletes self at zero. Answers the new count.
    template <class T>
    ULONG Release(T* self)
    {
        const LONG n = InterlockedDecrement(&m_count);
        if (n == 0)
            delete self;
        return static_cast<ULONG>(n);
    }
    LONG Get() const { return m_count; }

private:
    volatile LONG m_count;
};

// One answer of a QueryInterface: the id and the sub-object it gives.
struct SInterfaceEntry
{
    template <class I>
    SInterfaceEntry(REFIID id, I* sub) : iid(&id), object(sub), unknown(sub)
    {
    }

    const IID* iid;
    void* object;      // the sub-object as the interface pointer handed out
    IUnknown* unknown; // the same sub-object, to add the reference
};

[[nodiscard]] HRESULT AnswerQueryInterface(REFIID riid, void** ppv, std::initializer_list<SInterfaceEntry> entries);

// Reference-counting smart pointer: adds a reference when it takes a
// pointer, releases it when it lets go.
template <class I>
class CIPtr
{
public:
    CIPtr() = default;
    CIPtr(std::nullptr_t) {}
    CIPtr(I* p) : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    CIPtr(const CIPtr& o) : CIPtr(o.m_p) {}
    CIPtr(CIPtr&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    template <class J, class = std::enable_if_t<std::is_convertible<J*, I*>::value>>
    CIPtr(const CIPtr<J>& o) : CIPtr(static_cast<I*>(o.Get()))
    {
    }
    ~CIPtr()
    {
        if (m_p)
            m_p->Release();
    }

    CIPtr& operator=(I* p)
    {
        if (p)
            p->AddRef(); // before releasing: p may be the held object
        I* old = m_p;
        m_p = p;
        if (old)
            old->Release();
        return *this;
    }
    CIPtr& operator=(const CIPtr& o) { return *this = o.m_p; }
    CIPtr& operator=(CIPtr&& o) noexcept
    {
        if (this != std::addressof(o)) { // operator& is the out-parameter form
            I* old = m_p;
            m_p = o.m_p;
            o.m_p = nullptr;
            if (old)
                old->Release();
        }
        return *this;
    }
    CIPtr& operator=(std::nullptr_t)
    {
        Release();
        return *this;
    }

    I* Get() const { return m_p; }
    operator I*() const { return m_p; }
    I* operator->() const { return m_p; }
    I& operator*() const { return *m_p; }
    // For out-parameters: lets go of the held pointer first, so an old
    // reference is never overwritten without its Release.
    I** operator&()
    {
        Release();
        return &m_p;
    }
    // The same for factories that fill a void** (CoCreateInstance).
    void** ReceiveVoid()
    {
        Release();
        return reinterpret_cast<void**>(&m_p);
    }

    void Release()
    {
        I* old = m_p;
        m_p = nullptr;
        if (old)
            old->Release();
    }
    // Takes over a reference the caller owns (no AddRef).
    void Attach(I* p)
    {
        I* old = m_p;
        m_p = p;
        if (old)
            old->Release();
    }
    // Gives the held reference to the caller (no Release).
    I* Detach()
    {
        I* p = m_p;
        m_p = nullptr;
        return p;
    }
    // Replaces the held pointer by src's answer to iid; the HRESULT of the query.
    HRESULT QueryFrom(IUnknown* src, REFIID iid)
    {
        Release();
        if (!src)
            return E_POINTER;
        return src->QueryInterface(iid, reinterpret_cast<void**>(&m_p));
    }

private:
    I* m_p = nullptr;
};

template <class T>
struct SNonDeduced
{
    typedef T type;
};

// Fills *out with p plus one reference. False (out untouched) when out or
// p is null. The caller receives the reference and releases it.
template <class I>
bool ReturnInterface(typename SNonDeduced<I>::type* p, I** out)
{
    if (!out || !p)
        return false;
    p->AddRef();
    *out = p;
    return true;
}

template <class I, class J>
bool ReturnInterface(const CIPtr<J>& p, I** out)
{
    return ReturnInterface<I>(p.Get(), out);
}

// COM identity: true when a and b are the same object (both asked for
// IUnknown and the answers compared). Two nulls are the same.
[[nodiscard]] bool IsSameObject(IUnknown* a, IUnknown* b);
