#include "common/ByteSize.h"

namespace {
const __int64 kKB = 1024;
const __int64 kMB = 1024 * 1024;
const __int64 kGB = 1024 * 1024 * 1024;
} // namespace

CString FormatByteSize(__int64 size, int mode)
{
    CString text;
    if (mode == 0) {
        if (size < kKB)
            text.Format(L"%I64d byte", size);
        else if (size < kMB)
            text.Format(L"%.2f KB", double(size) / 1024.0);
        else if (size < kGB)
            text.Format(L"%.2f MB", double(size) / 1048576.0);
        else
            text.Format(L"%.2f GB", double(size) / 1073741824.0);
    } else if (mode == 1) {
        if (size < kKB)
            text.Format(L"%I64db", size);
        else if (size < kMB)
            text.Format(L"%I64dK", size / kKB);
        else if (size < kGB)
            text.Format(L"%I64dM", size / kMB);
        else
            text.Format(L"%I64dG", size / kGB);
    }
    return text;
}
