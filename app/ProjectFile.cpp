#include "app/ProjectFile.h"

#include "common/FileUtils.h"
#include "common/TextTree.h"
#include "app/ITimeContainer.h"
#include "app/ViewInterfaces.h"

namespace {

const wchar_t kRoot[] = L"Viririziru_Root";
const wchar_t kSelections[] = L"Selections";
const wchar_t kSettings[] = L"Settings";
const wchar_t kScrollPos[] = L"ScrollPos";
const wchar_t kZoom[] = L"Zoom";

// Keeps the file as it is at `path` + ".bak", moved or copied there. An
// older copy gives way even when it was made read-only. False when no copy
// could be kept.
bool KeepAside(LPCWSTR path, bool move)
{
    const CString aside = CString(path) + L".bak";
    ::SetFileAttributesW(aside, FILE_ATTRIBUTE_NORMAL);
    if (move)
        return ::MoveFileExW(path, aside, MOVEFILE_REPLACE_EXISTING) != FALSE;
    return ::CopyFileW(path, aside, FALSE) != FALSE;
}

} // namespace

bool LoadProjectFile(LPCWSTR path, IFragmentDisplay* fragments, ITimeContainer* time, bool* mustNotSave)
{
    if (mustNotSave)
        *mustNotSave = false;
    CTextTree tree(kRoot);
    if (!tree.LoadTextTree(path)) {
        if (FileExists(path) && !KeepAside(path, true) && mustNotSave)
            *mustNotSave = true;
        return false;
    }
    if (fragments && tree.EnterGroup(kSelections)) {
        // Fragments left out would be gone with the next save: the file as
        // it was is kept beside it.
        if (!fragments->Load(&tree) && !KeepAside(path, false) && mustNotSave)
            *mustNotSave = true;
        (void)tree.EndGroup(); // the group entered above: always open
    }
    if (time && tree.EnterGroup(kSettings)) {
        LONGLONG value = 0;
        // Only what the program writes is taken: a negative position is
        // not, nor one beyond the end of the file.
        const LONGLONG length = time->GetLength();
        if (tree.GetInt64(kScrollPos, value) && value >= 0 && (length <= 0 || value <= length))
            time->SetPosition(value);
        if (tree.GetInt64(kZoom, value) && value >= 0)
            time->SetScale(value);
        (void)tree.EndGroup(); // the group entered above: always open
    }
    return true;
}

bool SaveProjectFile(LPCWSTR path, IFragmentDisplay* fragments, ITimeContainer* time)
{
    CTextTree tree(kRoot);
    // A value the tree refuses would be missing from the file: no save then.
    bool built = true;
    if (fragments) {
        built = tree.BeginGroup(kSelections) && built;
        built = fragments->Save(&tree) && built;
        built = tree.EndGroup() && built;
    }
    built = tree.BeginGroup(kSettings) && built;
    built = tree.SetInt64(kScrollPos, time ? time->GetPosition() : 0) && built;
    built = tree.SetInt64(kZoom, time ? time->GetScale() : 500) && built;
    built = tree.EndGroup() && built;
    return built && tree.SaveTextTree(path);
}
