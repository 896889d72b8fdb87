#include "common/DWordArrayEx.h"

#include <cstdlib>

void CDWordArrayEx::SetSize(int newSize, int growBy)
{
    const int oldSize = static_cast<int>(GetSize());
    CDWordArray::SetSize(newSize, growBy);
    if (m_fillValue != 0)
        for (int i = oldSize; i < newSize; ++i)
            SetAt(i, m_fillValue);
}

int CDWordArrayEx::Find(DWORD value) const
{
    const int n = static_cast<int>(GetSize());
    for (int i = 0; i < n; ++i)
        if (GetAt(i) == value)
            return i;
    return -1;
}

bool CDWordArrayEx::IsEqual(const CDWordArray& other) const
{
    const int n = static_cast<int>(GetSize());
    if (n != static_cast<int>(other.GetSize()))
        return false;
    for (int i = 0; i < n; ++i)
        if (GetAt(i) != other.GetAt(i))
            return false;
    return true;
}

void CDWordArrayEx::CopyFrom(const CDWordArray& other)
{
    if (&other == this)
        return;
    RemoveAll();
    const int n = static_cast<int>(other.GetSize());
    for (int i = 0; i < n; ++i)
        Add(other.GetAt(i));
}

unsigned long long CDWordArrayEx::Sum() const
{
    unsigned long long sum = 0;
    const int n = static_cast<int>(GetSize());
    for (int i = 0; i < n; ++i)
        sum += GetAt(i);
    return sum;
}

void CDWordArrayEx::Sort()
{
    const int n = static_cast<int>(GetSize());
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (GetAt(j) < GetAt(i)) {
                const DWORD t = GetAt(i);
                SetAt(i, GetAt(j));
                SetAt(j, t);
            }
}

void CDWordArrayEx::ToString(CString& out, const CDWordArray& array)
{
    out.Empty();
    const int n = static_cast<int>(array.GetSize());
    for (int i = 0; i < n; ++i) {
        if (i)
            out += L',';
        out.AppendFormat(L"%d", static_cast<int>(array.GetAt(i)));
    }
}

void CDWordArrayEx::FromString(LPCWSTR text, CDWordArray& array)
{
    array.RemoveAll();
    if (!text)
        return;
    CString piece;
    for (const wchar_t* p = text;; ++p) {
        if (*p == L',' || *p == 0) {
            if (!piece.IsEmpty())
                array.Add(static_cast<DWORD>(_wtoi(piece)));
            piece.Empty();
            if (*p == 0)
                break;
        } else {
            piece += *p;
        }
    }
}
