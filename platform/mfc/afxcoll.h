#pragma once
// The class library's collections:
//   CArray<TYPE, ARG_TYPE>           growable array of values
//   CPtrArray, CDWordArray, CStringArray, CObArray, CWordArray, CByteArray, CUIntArray
//   CTypedPtrArray<BASE, TYPE*>      type-safe view on CPtrArray / CObArray
//   CMapStringToString               string -> string map
// Index behaviour: GetAt/SetAt/ElementAt/operator[] outside 0..size-1 throw
// CInvalidArgException; SetAtGrow and InsertAt grow the array; RemoveAt of
// a range outside the array throws. Failed allocation throws CMemoryException.
#include <windows.h>
#include <map>
#include <new>
#include <vector>
#include "platform/mfc/afxobj.h"
#include "platform/mfc/afxstr.h"

struct __POSITION
{};
typedef __POSITION* POSITION;
#ifndef BEFORE_START_POSITION
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(-1))
#endif

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject
{
public:
    CArray() = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    [[nodiscard]] BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }

    // New slots are value-initialised (zero for numbers and pointers).
    // nGrowBy is accepted for compatibility; growth is amortised anyway.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        (void)nGrowBy;
        if (nNewSize < 0)
            AfxThrowInvalidArgException();
        try {
            m_data.resize(static_cast<size_t>(nNewSize));
        } catch (const std::bad_alloc&) {
            AfxThrowMemoryException();
        }
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    const TYPE& GetAt(INT_PTR nIndex) const { return m_data[Checked(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_data[Checked(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_data[Checked(nIndex)] = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_data[Checked(nIndex)]; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_data[Checked(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }

    // Null when the array is empty.
    const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
    TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }

    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0)
            AfxThrowInvalidArgException();
        if (nIndex >= GetSize()) {
            TYPE copy(newElement); // newElement may refer into the array
            SetSize(nIndex + 1);
            m_data[static_cast<size_t>(nIndex)] = std::move(copy);
        } else {
            m_data[static_cast<size_t>(nIndex)] = newElement;
        }
    }

    INT_PTR Add(ARG_TYPE newElement)
    {
        const INT_PTR index = GetSize();
        SetAtGrow(index, newElement);
        return index;
    }

    INT_PTR Append(const CArray& src)
    {
        const INT_PTR old = GetSize();
        if (&src == this) {
            std::vector<TYPE> copy(m_data);
            Guard([&] { m_data.insert(m_data.end(), copy.begin(), copy.end()); });
        } else {
            Guard([&] { m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end()); });
        }
        return old;
    }

    void Copy(const CArray& src)
    {
        if (&src != this)
            Guard([&] { m_data = src.m_data; });
    }

    // Inserting at or past the end grows the array first (new slots empty).
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0)
            AfxThrowInvalidArgException();
        TYPE copy(newElement);
        if (nIndex > GetSize())
            SetSize(nIndex);
        Guard([&] { m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), copy); });
    }

    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray)
    {
        if (!pNewArray || nStartIndex < 0)
            AfxThrowInvalidArgException();
        std::vector<TYPE> copy(pNewArray->m_data);
        if (nStartIndex > GetSize())
            SetSize(nStartIndex);
        Guard([&] { m_data.insert(m_data.begin() + nStartIndex, copy.begin(), copy.end()); });
    }

    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0 || nIndex + nCount > GetSize())
            AfxThrowInvalidArgException();
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
    }

protected:
    size_t Checked(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= GetSize())
            AfxThrowInvalidArgException();
        return static_cast<size_t>(nIndex);
    }

    template <class F>
    static void Guard(F f)
    {
        try {
            f();
        } catch (const std::bad_alloc&) {
            AfxThrowMemoryException();
        }
    }

    std::vector<TYPE> m_data;
};

// Run-time class information for the named arrays lives in afxcoll.cpp.
#define AFX_NAMED_ARRAY(name, TYPE, ARG_TYPE) \
    class name : public CArray<TYPE, ARG_TYPE> \
    { \
        DECLARE_DYNAMIC(name) \
    public: \
        name() = default; \
    };

AFX_NAMED_ARRAY(CPtrArray, void*, void*)
AFX_NAMED_ARRAY(CObArray, CObject*, CObject*)
AFX_NAMED_ARRAY(CDWordArray, DWORD, DWORD)
AFX_NAMED_ARRAY(CWordArray, WORD, WORD)
AFX_NAMED_ARRAY(CByteArray, BYTE, BYTE)
AFX_NAMED_ARRAY(CUIntArray, UINT, UINT)
AFX_NAMED_ARRAY(CStringArray, CString, const CString&)
#undef AFX_NAMED_ARRAY

// A typed face on CPtrArray or CObArray: every element is a TYPE (a pointer
// type). Storage and index behaviour are the base's.
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS
{
public:
    TYPE GetAt(INT_PTR nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
    TYPE& ElementAt(INT_PTR nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
    void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    INT_PTR Append(const CTypedPtrArray& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray& src) { BASE_CLASS::Copy(src); }
    void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1)
    {
        BASE_CLASS::InsertAt(nIndex, newElement, nCount);
    }
    void InsertAt(INT_PTR nStartIndex, CTypedPtrArray* pNewArray) { BASE_CLASS::InsertAt(nStartIndex, pNewArray); }
    TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
    TYPE* GetData() { return reinterpret_cast<TYPE*>(BASE_CLASS::GetData()); }
    const TYPE* GetData() const { return reinterpret_cast<const TYPE*>(BASE_CLASS::GetData()); }
};

// Map of strings to strings (case-sensitive keys). Iteration order is the
// keys' ordinal order; a POSITION stays valid until the map is changed.
class CMapStringToString : public CObject
{
    DECLARE_DYNAMIC(CMapStringToString)
public:
    CMapStringToString() = default;

    INT_PTR GetCount() const { return static_cast<INT_PTR>(m_map.size()); }
    INT_PTR GetSize() const { return GetCount(); }
    [[nodiscard]] BOOL IsEmpty() const { return m_map.empty(); }

    [[nodiscard]] BOOL Lookup(LPCWSTR key, CString& rValue) const;
    // Reference to the value of key, inserted empty when absent.
    CString& operator[](LPCWSTR key);
    void SetAt(LPCWSTR key, LPCWSTR newValue) { (*this)[key] = newValue; }
    [[nodiscard]] BOOL RemoveKey(LPCWSTR key);
    void RemoveAll() { m_map.clear(); }

    // Null when the map is empty.
    POSITION GetStartPosition() const;
    // Fills key and value of the entry at rNextPosition and moves it on
    // (to null after the last entry).
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, CString& rValue) const;

private:
    typedef std::map<CString, CString> Map;
    Map m_map;
};
