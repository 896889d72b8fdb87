#include "common/RecentList.h"

CRecentList g_recentList;

void CRecentList::Add(LPCWSTR path)
{
    if (path == nullptr)
        return;
    if (m_paths.Find(path, false) >= 0)
        return;
    m_paths.InsertAt(0, path);
    while (m_paths.GetSize() > kMaxCount)
        m_paths.RemoveAt(kMaxCount);
}

void CRecentList::Remove(LPCWSTR path)
{
    if (path == nullptr)
        return;
    int index = m_paths.Find(path, false);
    if (index >= 0)
        m_paths.RemoveAt(index);
}

int CRecentList::GetCount() const
{
    return static_cast<int>(m_paths.GetSize());
}

LPCWSTR CRecentList::GetAt(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_paths.ElementAt(index);
}

bool CRecentList::Exchange(HKEY parent, LPCWSTR subkey, bool load)
{
    if (load) {
        (void)m_paths.LoadFromRegistry(parent, subkey); // none kept yet: an empty list
        return true;
    }
    return m_paths.SaveToRegistry(parent, subkey);
}
