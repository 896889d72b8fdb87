#include "platform/mfc/afxcoll.h"

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_DYNAMIC(CObArray, CObject)
IMPLEMENT_DYNAMIC(CDWordArray, CObject)
IMPLEMENT_DYNAMIC(CWordArray, CObject)
IMPLEMENT_DYNAMIC(CByteArray, CObject)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_DYNAMIC(CStringArray, CObject)
IMPLEMENT_DYNAMIC(CMapStringToString, CObject)

BOOL CMapStringToString::Lookup(LPCWSTR key, CString& rValue) const
{
    Map::const_iterator it = m_map.find(CString(key));
    if (it == m_map.end())
        return FALSE;
    rValue = it->second;
    return TRUE;
}

CString& CMapStringToString::operator[](LPCWSTR key)
{
    try {
        return m_map[CString(key)];
    } catch (const std::bad_alloc&) {
        AfxThrowMemoryException();
    }
}

BOOL CMapStringToString::RemoveKey(LPCWSTR key)
{
    return m_map.erase(CString(key)) ? TRUE : FALSE;
}

// A POSITION is the address of the map entry (the std::map node's value),
// which stays put while the map is unchanged.
POSITION CMapStringToString::GetStartPosition() const
{
    if (m_map.empty())
        return nullptr;
    return reinterpret_cast<POSITION>(const_cast<Map::value_type*>(&*m_map.begin()));
}

void CMapStringToString::GetNextAssoc(POSITION& rNextPosition, CString& rKey, CString& rValue) const
{
    if (!rNextPosition || rNextPosition == BEFORE_START_POSITION)
        AfxThrowInvalidArgException();
    const Map::value_type* entry = reinterpret_cast<const Map::value_type*>(rNextPosition);
    rKey = entry->first;
    rValue = entry->second;
    Map::const_iterator next = m_map.upper_bound(entry->first);
    rNextPosition = next == m_map.end() ? nullptr : reinterpret_cast<POSITION>(const_cast<Map::value_type*>(&*next));
}
