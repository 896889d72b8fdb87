#pragma once
// SFileIcon: a file and the index of one of its icons, kept in the
// registry as the subkey "FileIcon" (DWORD "iIndex", string "csFile").
#include "platform/mfc/afx.h"
#include "common/RegSettings.h"

struct SFileIcon : public SRegAutoSaveItem
{
    CString file;
    int index = -1; // -1: unset

    // Loads from or saves to the subkey of `key`; false when the subkey or
    // a value can't be read or written (a load then changes nothing).
    [[nodiscard]] bool Exchange(HKEY key, bool load, int index) override;
    // The icon (the caller destroys it), or null.
    HICON ExtractIcon() const;
};
