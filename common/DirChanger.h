#pragma once
// Scope object that changes the process's current directory and changes it
// back when it is destroyed. The current directory is process-wide: nothing
// else that depends on it may run meanwhile.
#include "platform/mfc/afx.h"

class CDirChanger
{
public:
    CDirChanger() = default;
    virtual ~CDirChanger();
    CDirChanger(const CDirChanger&) = delete;
    CDirChanger& operator=(const CDirChanger&) = delete;

    // Changes to `path`; false (and nothing to restore) when it cannot.
    // A second change keeps the directory of the first to return to.
    [[nodiscard]] bool ChangeTo(LPCWSTR path);

private:
    CString m_previous;
};
