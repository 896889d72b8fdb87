#include "common/StrArrayEx.h"

#include "common/OVRegKey.h"

#include <cwchar>

IMPLEMENT_DYNAMIC(CStrArrayEx, CStringArray)

int CompareNoCaseAscii(LPCWSTR a, LPCWSTR b)
{
    auto fold = [](wchar_t c) -> unsigned {
        return (c >= L'A' && c <= L'Z') ? unsigned(c - L'A' + L'a') : unsigned(c);
    };
    for (;; ++a, ++b) {
        const unsigned x = fold(*a), y = fold(*b);
        if (x != y)
            return x < y ? -1 : 1;
        if (!x)
            return 0;
    }
}

void CStrArrayEx::SetSorted(bool sorted)
{
    if (GetSize() == 0)
        m_sorted = sorted;
}

int CStrArrayEx::Search(LPCWSTR text, int* insertAt) const
{
    int lo = 0, hi = static_cast<int>(GetSize());
    while (lo != hi) {
        const int mid = (lo + hi) / 2;
        const int c = wcscmp(GetAt(mid), text);
        if (c == 0)
            return mid;
        if (c > 0)
            hi = mid;
        else
            lo = mid + 1;
    }
    if (insertAt)
        *insertAt = lo;
    return -1;
}

int CStrArrayEx::Add(LPCWSTR text)
{
    if (!text)
        return -1;
    if (!m_sorted)
        return static_cast<int>(CStringArray::Add(text));
    int at = 0;
    if (Search(text, &at) >= 0)
        return -1;
    CStringArray::InsertAt(at, text);
    return at;
}

void CStrArrayEx::InsertAt(int index, LPCWSTR text, int count)
{
    if (!m_sorted)
        CStringArray::InsertAt(index, text, count);
}

void CStrArrayEx::InsertAt(int index, const CString& text, int count)
{
    if (!m_sorted)
        CStringArray::InsertAt(index, text, count);
}

int CStrArrayEx::Find(LPCWSTR text, bool caseSensitive, int start) const
{
    if (!text)
        return -1;
    if (m_sorted)
        return Search(text, nullptr);
    const int n = static_cast<int>(GetSize());
    for (int i = start < 0 ? 0 : start; i < n; ++i) {
        const CString& element = GetAt(i);
        if (caseSensitive ? wcscmp(element, text) == 0 : CompareNoCaseAscii(element, text) == 0)
            return i;
    }
    return -1;
}

bool CStrArrayEx::AddUnique(LPCWSTR text, bool caseSensitive)
{
    if (!text || Find(text, caseSensitive, 0) >= 0)
        return false;
    Add(text);
    return true;
}

void CStrArrayEx::RemoveEmpty()
{
    for (int i = static_cast<int>(GetSize()) - 1; i >= 0; --i)
        if (GetAt(i).IsEmpty())
            RemoveAt(i);
}

void CStrArrayEx::RemoveDuplicates()
{
    for (int i = 0; i < static_cast<int>(GetSize()); ++i) {
        const CString first = GetAt(i);
        for (int j = static_cast<int>(GetSize()) - 1; j > i; --j)
            if (wcscmp(GetAt(j), first) == 0)
                RemoveAt(j);
    }
}

void CStrArrayEx::Sort()
{
    const int n = static_cast<int>(GetSize());
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int i = 0; i + 1 < n; ++i) {
            if (CompareNoCaseAscii(GetAt(i), GetAt(i + 1)) > 0) {
                const CString t = GetAt(i);
                SetAt(i, GetAt(i + 1));
                SetAt(i + 1, t);
                swapped = true;
            }
        }
    }
}

void CStrArrayEx::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(GetSize()));
        for (INT_PTR i = 0; i < GetSize(); ++i)
            ar << GetAt(i);
        return;
    }
    RemoveAll();
    // Read whole before anything is added: a damaged archive leaves the
    // array empty rather than holding its first strings.
    const DWORD_PTR count = ar.ReadCount();
    CStringArray read;
    for (DWORD_PTR i = 0; i < count; ++i) {
        CString text;
        ar >> text;
        read.Add(text);
    }
    for (INT_PTR i = 0; i < read.GetSize(); ++i)
        Add(read.GetAt(i));
}

void CStrArrayEx::CopyFrom(const CStringArray& other)
{
    if (&other == this)
        return;
    RemoveAll();
    Append(other);
}

void CStrArrayEx::Append(const CStringArray& other)
{
    // Copy first: appending an array to itself must not chase its own growth.
    const int n = static_cast<int>(other.GetSize());
    CStringArray copy;
    for (int i = 0; i < n; ++i)
        copy.Add(other.GetAt(i));
    for (int i = 0; i < n; ++i)
        Add(copy.GetAt(i));
}

void CStrArrayEx::SetFromList(const LPCWSTR* list)
{
    RemoveAll();
    for (; list && *list; ++list)
        Add(*list);
}

bool CStrArrayEx::LoadFromRegistry(HKEY root, LPCWSTR subkey)
{
    COVRegKey key;
    if (!key.OpenRead(root, subkey))
        return false;
    for (int i = 0;; ++i) {
        CString name;
        name.Format(L"%d", i);
        CString value;
        if (!key.GetString(name, value, false))
            break;
        Add(value);
    }
    return true;
}

bool CStrArrayEx::SaveToRegistry(HKEY root, LPCWSTR subkey) const
{
    if (!root || !subkey || !*subkey)
        return false;
    DeleteRegKeyTree(root, subkey);
    COVRegKey key;
    if (!key.Create(root, subkey))
        return false;
    bool ok = true;
    for (int i = 0; i < static_cast<int>(GetSize()); ++i) {
        CString name;
        name.Format(L"%d", i);
        ok = key.SetString(name, GetAt(i), 0) && ok;
    }
    return ok;
}

bool CStrArrayEx::Exchange(HKEY key, bool load, int index)
{
    CString name;
    name.Format(L"%d", index);
    return load ? LoadFromRegistry(key, name) : SaveToRegistry(key, name);
}
