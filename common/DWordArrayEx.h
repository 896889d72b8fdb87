#pragma once
// 32-bit array with a fill value for growth, search, comparison, a 64-bit sum
// and sorting, plus its comma-separated text form.
#include "platform/mfc/afx.h"

class CDWordArrayEx : public CDWordArray
{
public:
    CDWordArrayEx() = default;

    void SetFillValue(DWORD value) { m_fillValue = value; }
    DWORD GetFillValue() const { return m_fillValue; }
    // Resizes; places added by growth hold the fill value.
    void SetSize(int newSize, int growBy = -1);
    int Find(DWORD value) const;
    [[nodiscard]] bool IsEqual(const CDWordArray& other) const;
    void CopyFrom(const CDWordArray& other);
    unsigned long long Sum() const;
    // Ascending by unsigned value.
    void Sort();

    // "1,-2,3": the elements as signed decimals joined by ",".
    static void ToString(CString& out, const CDWordArray& array);
    // Empties `array`, then appends every non-empty ","-separated piece as a
    // decimal integer.
    static void FromString(LPCWSTR text, CDWordArray& array);

private:
    DWORD m_fillValue = 0;
};
