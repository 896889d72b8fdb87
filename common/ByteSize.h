#pragma once
// Text of a byte count, for reports and file lists.
#include "platform/mfc/afx.h"

// mode 0: "1023 byte", "1.50 KB", "2.00 MB", "5.00 GB" (1024-based, two
// decimals); mode 1: "1023b", "1K", "2M", "5G" (whole units, truncated);
// any other mode: an empty string. Negative sizes count as below 1024.
CString FormatByteSize(__int64 size, int mode = 0);
