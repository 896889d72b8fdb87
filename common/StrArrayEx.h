#pragma once
// String array with an optional sorted mode (binary-search insertion without
// duplicates), searches with and without case, de-duplication and
// persistence in the registry as numbered values.
#include "platform/mfc/afx.h"
#include "common/RegSettings.h"

class CStrArrayEx : public CStringArray, public SRegAutoSaveItem
{
    DECLARE_DYNAMIC(CStrArrayEx)

public:
    CStrArrayEx() = default;
    ~CStrArrayEx() override = default;

    // Takes effect only while the array is empty.
    void SetSorted(bool sorted);
    [[nodiscard]] bool IsSorted() const { return m_sorted; }

    // Unsorted: appends. Sorted: inserts in order; -1 for a duplicate. -1 for null.
    int Add(LPCWSTR text);
    int Add(const CString& text) { return Add(static_cast<LPCWSTR>(text)); }
    // The class library's insertion; nothing in sorted mode.
    void InsertAt(int index, LPCWSTR text, int count = 1);
    void InsertAt(int index, const CString& text, int count = 1);

    // Unsorted: linear from `start`; without case only A-Z are folded.
    // Sorted: exact binary search over the whole array.
    int Find(LPCWSTR text, bool caseSensitive = true, int start = 0) const;
    [[nodiscard]] bool AddUnique(LPCWSTR text, bool caseSensitive = true);
    void RemoveEmpty();
    void RemoveDuplicates();
    // Stable ascending sort ignoring the case of A-Z.
    void Sort();
    void CopyFrom(const CStringArray& other);
    void Append(const CStringArray& other);
    // `list` ends with a null pointer.
    void SetFromList(const LPCWSTR* list);

    // Adds the string values "0", "1", ... of root\subkey until one is missing.
    [[nodiscard]] bool LoadFromRegistry(HKEY root, LPCWSTR subkey);
    // Replaces root\subkey by one holding the elements as "0", "1", ...
    [[nodiscard]] bool SaveToRegistry(HKEY root, LPCWSTR subkey) const;
    [[nodiscard]] bool Exchange(HKEY key, bool load, int index) override;

    // Storing: the count, then each string. Loading: empties the array,
    // then Adds each string read (a sorted array sorts and drops
    // duplicates). A short or damaged archive throws CArchiveException*
    // and leaves the array empty.
    void Serialize(CArchive& ar) override;

private:
    // Binary search: index of an equal element in `found`, else -1 and the
    // insertion point in `insertAt`.
    int Search(LPCWSTR text, int* insertAt) const;

    bool m_sorted = false;
};

// Compares ignoring the case of the ASCII letters A-Z only.
int CompareNoCaseAscii(LPCWSTR a, LPCWSTR b);
