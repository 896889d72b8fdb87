#include "common/DirChanger.h"

CDirChanger::~CDirChanger()
{
    if (!m_previous.IsEmpty())
        SetCurrentDirectoryW(m_previous);
}

bool CDirChanger::ChangeTo(LPCWSTR path)
{
    if (!path)
        return false;
    const bool first = m_previous.IsEmpty();
    if (first) {
        wchar_t current[MAX_PATH + 1] = {};
        const DWORD n = GetCurrentDirectoryW(MAX_PATH + 1, current);
        if (n == 0 || n > MAX_PATH)
            return false; // nowhere known to return to
        m_previous = current;
    }
    if (!SetCurrentDirectoryW(path)) {
        if (first)
            m_previous.Empty();
        return false;
    }
    return true;
}
