#include "common/FileIcon.h"
#include <shellapi.h>
#include "common/OVRegKey.h"

namespace {
const wchar_t kSubkey[] = L"FileIcon";
const wchar_t kIndexValue[] = L"iIndex";
const wchar_t kFileValue[] = L"csFile";
} // namespace

bool SFileIcon::Exchange(HKEY key, bool load, int)
{
    COVRegKey sub;
    if (load) {
        int storedIndex = -1;
        CString storedFile;
        if (!sub.OpenRead(key, kSubkey) || !sub.GetInt(kIndexValue, storedIndex) ||
            !sub.GetString(kFileValue, storedFile, false))
            return false;
        index = storedIndex;
        file = storedFile;
        return true;
    }
    if (!sub.Create(key, kSubkey))
        return false;
    const bool indexSaved = sub.SetInt(kIndexValue, index);
    const bool fileSaved = sub.SetString(kFileValue, file, 0);
    return indexSaved && fileSaved;
}

HICON SFileIcon::ExtractIcon() const
{
    if (file.IsEmpty() || index < 0)
        return nullptr;
    HICON icon = ::ExtractIconW(::GetModuleHandleW(nullptr), file, static_cast<UINT>(index));
    // 1 means "not an icon file"; only a real handle is an icon.
    return reinterpret_cast<UINT_PTR>(icon) > 1 ? icon : nullptr;
}
