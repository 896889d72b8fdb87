#pragma once
// The operating-system line of the system-information report.
#include "platform/mfc/afx.h"

// The version record the line is made from (the extended record's fields;
// hasExtended false when only the basic record could be read).
struct SOSVersion
{
    DWORD platform = 0;
    DWORD major = 0, minor = 0, build = 0;
    CString servicePack;
    bool hasExtended = false;
    WORD suiteMask = 0;
    BYTE productType = 0;
    CString registryProductType; // "ProductType" for the basic record
};

// Reads the true version of the running system (the kernel's own answer,
// which no compatibility shim lowers), else GetVersionExW's; false when
// neither could be read.
[[nodiscard]] bool ReadOSVersion(SOSVersion& out);
// The line for a version record: system name, edition, service pack, build.
CString FormatOSVersion(const SOSVersion& version);
// The line for the running system; "Not available" (translated) when the
// version can't be read.
CString GetOSVersionText();
