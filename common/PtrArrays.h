#pragma once
// The system's pointer containers, on the class library's typed pointer array:
//   CovPtrArray<T>   pointers to objects it never deletes;
//   CGCPtrArray<T>   the same, deleting its elements on removal,
//                    replacement and destruction while it owns them;
//   CIArray<I>       interface pointers, each holding one reference.
// Index behaviour is the base array's: out-of-range GetAt/ElementAt/SetAt
// throw CInvalidArgException. None of them locks anything.
#include <windows.h>
#include <unknwn.h>
#include <vector>
#include "platform/mfc/afxcoll.h"
#include "common/Interfaces.h"

template <class T>
class CovPtrArray : public CTypedPtrArray<CPtrArray, T*>
{
    typedef CTypedPtrArray<CPtrArray, T*> Base;

public:
    CovPtrArray() = default;
    ~CovPtrArray() override { CPtrArray::RemoveAll(); }

    // Index of the first element that is p (pointer identity), or -1.
    int Find(T* p) const
    {
        for (INT_PTR i = 0; i < this->GetSize(); ++i)
            if (Base::GetAt(i) == p)
                return static_cast<int>(i);
        return -1;
    }
    // The first non-null element that `match` accepts, or null.
    template <class Pred>
    T* FindIf(Pred match) const
    {
        for (INT_PTR i = 0; i < this->GetSize(); ++i) {
            T* p = Base::GetAt(i);
            if (p && match(*p))
                return p;
        }
        return nullptr;
    }
    [[nodiscard]] bool IsValidIndex(INT_PTR i) const { return i >= 0 && i < this->GetSize(); }
    // Removes the first slot holding p (never deleting it); false when p is
    // not held.
    bool Remove(T* p)
    {
        const int i = Find(p);
        if (i < 0)
            return false;
        Base::RemoveAt(i, 1);
        return true;
    }
};

template <class T>
class CGCPtrArray : public CovPtrArray<T>
{
    typedef CovPtrArray<T> Base;

public:
    explicit CGCPtrArray(bool owns = true) : m_owns(owns) {}
    ~CGCPtrArray() override { RemoveAll(); }

    void SetOwns(bool owns) { m_owns = owns; }
    [[nodiscard]] bool GetOwns() const { return m_owns; }

    // Owning: deletes every non-null element (ascending), then empties.
    void RemoveAll()
    {
        if (m_owns)
            DeleteRange(0, this->GetSize());
        Base::RemoveAll();
    }

    // Owning: deletes the non-null elements i..i+count-1, then removes the
    // slots. A range outside the array throws before anything is deleted.
    void RemoveAt(INT_PTR i, INT_PTR count = 1)
    {
        if (i < 0 || count < 0 || i + count > this->GetSize())
            AfxThrowInvalidArgException();
        if (m_owns)
            DeleteRange(i, count);
        Base::RemoveAt(i, count);
    }

    // Owning: an add that throws (out of memory) deletes p, which the caller
    // handed over and can no longer reach; the exception goes on.
    INT_PTR Add(T* p)
    {
        try {
            return Base::Add(p);
        } catch (...) {
            if (m_owns)
                delete p;
            throw;
        }
    }

    // Owning: deletes the element at i first, unless it is p itself.
    void SetAt(INT_PTR i, T* p)
    {
        T* old = Base::GetAt(i); // bounds test
        if (m_owns && old && old != p)
            delete old;
        Base::SetAt(i, p);
    }

    // Inside the array as SetAt (the replaced element is deleted when
    // owning); past the end the array grows and the new slots stay null.
    void SetAtGrow(INT_PTR i, T* p)
    {
        if (i >= 0 && i < this->GetSize())
            SetAt(i, p);
        else
            Base::SetAtGrow(i, p);
    }

    // Owning: a shrinking SetSize deletes the elements it drops; growing
    // adds null slots.
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1)
    {
        if (newSize < 0)
            AfxThrowInvalidArgException();
        if (m_owns && newSize < this->GetSize())
            DeleteRange(newSize, this->GetSize() - newSize);
        Base::SetSize(newSize, growBy);
    }

    // One pointer at i (the array grows when i >= size). Inserting copies
    // of one pointer, or another array's elements, would give an element
    // two owners: those forms, Copy and Append are not offered.
    void InsertAt(INT_PTR i, T* p)
    {
        if (i < 0)
            AfxThrowInvalidArgException();
        Base::InsertAt(i, p, 1);
    }
    void InsertAt(INT_PTR i, T* p, INT_PTR count) = delete;
    void InsertAt(INT_PTR i, CTypedPtrArray<CPtrArray, T*>* src) = delete;
    void Copy(const CTypedPtrArray<CPtrArray, T*>& src) = delete;
    INT_PTR Append(const CTypedPtrArray<CPtrArray, T*>& src) = delete;

    // Removes (and, owning, deletes) p; false when p is not held.
    bool Remove(T* p)
    {
        const int i = this->Find(p);
        if (i < 0)
            return false;
        RemoveAt(i, 1);
        return true;
    }

private:
    void DeleteRange(INT_PTR first, INT_PTR count)
    {
        for (INT_PTR i = first; i < first + count; ++i)
            delete Base::GetAt(i);
    }

    bool m_owns;
};

template <class I>
class CIArray : public CTypedPtrArray<CPtrArray, I*>
{
    typedef CTypedPtrArray<CPtrArray, I*> Base;

public:
    CIArray() = default;
    ~CIArray() override { RemoveAll(); }

    // A null p is refused with -1. Otherwise p gets one reference and is
    // appended; answers its index.
    virtual INT_PTR Add(I* p)
    {
        if (!p)
            return -1;
        if (m_holdsRefs)
            p->AddRef();
        try {
            return Base::Add(p);
        } catch (...) {
            if (m_holdsRefs)
                p->Release();
            throw;
        }
    }

    // Replaces the element at i: p gets its reference before the old
    // element loses its own, so storing the held pointer again is harmless.
    void SetAt(INT_PTR i, I* p)
    {
        I* old = Base::GetAt(i); // bounds test
        if (p)
            p->AddRef();
        Base::SetAt(i, p);
        if (old)
            old->Release();
    }

    // As SetAt, growing the array when i >= size (new slots stay null).
    void SetAtGrow(INT_PTR i, I* p)
    {
        if (i < 0)
            AfxThrowInvalidArgException();
        I* old = i < this->GetSize() ? Base::GetAt(i) : nullptr;
        if (p)
            p->AddRef();
        try {
            Base::SetAtGrow(i, p);
        } catch (...) {
            if (p)
                p->Release();
            throw;
        }
        if (old)
            old->Release();
    }

    // A shrinking SetSize releases the elements it drops; growing adds
    // null slots.
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1)
    {
        if (newSize < 0)
            AfxThrowInvalidArgException();
        if (m_holdsRefs && newSize < this->GetSize())
            ReleaseRange(newSize, this->GetSize() - newSize);
        Base::SetSize(newSize, growBy);
    }

    // Inserts count copies of p at i (growing the array when i >= size);
    // each copy holds its own reference.
    void InsertAt(INT_PTR i, I* p, INT_PTR count = 1)
    {
        if (i < 0 || count < 0)
            AfxThrowInvalidArgException();
        Base::InsertAt(i, p, count);
        if (p)
            for (INT_PTR n = 0; n < count; ++n)
                p->AddRef();
    }

    // Appends src's elements, each with a reference of its own; answers
    // the index of the first one.
    INT_PTR Append(const CIArray& src)
    {
        const INT_PTR first = Base::Append(src);
        AddRefRange(first, this->GetSize() - first);
        return first;
    }

    // Becomes a copy of src: src's elements get their references before
    // the old elements are released.
    void Copy(const CIArray& src)
    {
        if (&src == this)
            return;
        const std::vector<I*> old(this->GetData(), this->GetData() + this->GetSize());
        Base::Copy(src);
        AddRefRange(0, this->GetSize());
        for (I* e : old)
            if (e)
                e->Release();
    }

    // Reading only: a slot is written through SetAt, which keeps the
    // references right.
    I* operator[](INT_PTR i) const { return Base::GetAt(i); }
    I*& ElementAt(INT_PTR i) = delete;

    // First index whose element is the same object as p (COM identity),
    // or -1. Null elements are skipped.
    int Find(I* p) const
    {
        if (!p)
            return -1;
        for (INT_PTR i = 0; i < this->GetSize(); ++i) {
            I* e = Base::GetAt(i);
            if (e && IsSameObject(e, p))
                return static_cast<int>(i);
        }
        return -1;
    }
    [[nodiscard]] bool IsValidIndex(INT_PTR i) const { return i >= 0 && i < this->GetSize(); }

    // Releases the non-null elements i..i+count-1 (ascending), then
    // removes the slots. A range outside the array throws first.
    void RemoveAt(INT_PTR i, INT_PTR count = 1)
    {
        if (i < 0 || count < 0 || i + count > this->GetSize())
            AfxThrowInvalidArgException();
        if (m_holdsRefs)
            ReleaseRange(i, count);
        Base::RemoveAt(i, count);
    }

    void RemoveAll()
    {
        if (m_holdsRefs)
            ReleaseRange(0, this->GetSize());
        Base::RemoveAll();
    }

private:
    void AddRefRange(INT_PTR first, INT_PTR count)
    {
        for (INT_PTR i = first; i < first + count; ++i)
            if (I* e = Base::GetAt(i))
                e->AddRef();
    }

    void ReleaseRange(INT_PTR first, INT_PTR count)
    {
        for (INT_PTR i = first; i < first + count; ++i)
            if (I* e = Base::GetAt(i))
                e->Release();
    }

    bool m_holdsRefs = true;
};
