#pragma once
// The recently opened files, most recent first, at most ten; kept in the
// registry beside the settings. Paths compare without regard to case.
#include "common/StrArrayEx.h"

class CRecentList
{
public:
    static const int kMaxCount = 10;

    CRecentList() = default;
    virtual ~CRecentList() = default;

    // A path already listed keeps its place; a new one goes to the front and
    // the list is trimmed to ten. Null does nothing.
    void Add(LPCWSTR path);
    // Removes the first entry equal to the path; null does nothing.
    void Remove(LPCWSTR path);
    int GetCount() const;
    // Null outside 0..count-1.
    LPCWSTR GetAt(int index) const;
    // Loads (appending the values "0", "1", ...) or saves (replacing the
    // subkey) the list under parent\subkey. False when a save failed (the
    // caller tells the user: the list on disk is not the one shown).
    [[nodiscard]] bool Exchange(HKEY parent, LPCWSTR subkey, bool load);

private:
    CStrArrayEx m_paths;
};

extern CRecentList g_recentList;
