#pragma once
// The peak files ("*.mcp") of the aux folder, as listed when the object was
// made: names, sizes and last-write times side by side. Trim deletes the
// oldest until their total fits the "iMaxPeakFileSize" limit; only files whose
// name ends in ".mcp" are ever listed, so nothing else in the folder (project
// files included) is touched.
#include "platform/mfc/afx.h"
#include "platform/mfc/afxtime.h"
#include "common/DWordArrayEx.h"
#include "common/StrArrayEx.h"

class CPeakFileCache
{
public:
    // Lists the aux folder; a missing folder gives an empty list.
    CPeakFileCache();

    int GetCount() const { return static_cast<int>(m_names.GetSize()); }
    const CString& GetName(int index) const { return m_names[index]; }
    unsigned long long GetTotalSize() const;
    // Deletes the file of entry `index` and drops the entry; false (entry
    // kept) for an index outside the list or a file that cannot be deleted.
    [[nodiscard]] bool DeleteEntry(int index);
    // Deletes what can be deleted; answers how many entries remain.
    int DeleteAll();
    // Deletes the oldest files (the first listed of equally old ones first)
    // until the total is within the limit; stops at a file that cannot be deleted.
    void Trim();

private:
    CString m_folder;
    CStrArrayEx m_names;
    CDWordArrayEx m_sizes;
    CArray<CTime, const CTime&> m_times;
};
