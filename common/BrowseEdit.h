#pragma once
// CBrowseEdit: a button edit whose button opens a file or folder picker
// and writes the choice into the edit, then posts WM_BROWSE_FILE or
// WM_BROWSE_FOLDER to the parent. Kinds: 0 open a file, 1 save a file,
// 2 pick a folder, 3 the button does nothing.
#include "common/ButtonEdit.h"
#include "common/FileIcon.h"

constexpr UINT WM_BROWSE_FILE = WM_APP + 0x1D;
constexpr UINT WM_BROWSE_FOLDER = WM_APP + 0x1E;

enum EBrowseKind : int {
    BROWSE_OPEN_FILE = 0,
    BROWSE_SAVE_FILE = 1,
    BROWSE_FOLDER = 2,
    BROWSE_NONE = 3,
};

class CBrowseEdit : public CButtonEdit
{
public:
    // The button's tool tip shows toolTip, or the string toolTipId read
    // through the translation; without a text the button has no tool tip.
    explicit CBrowseEdit(int kind = BROWSE_OPEN_FILE, LPCWSTR toolTip = nullptr);
    CBrowseEdit(int kind, UINT toolTipId);

    void SetKind(int kind) { m_kind = kind; }
    int GetKind() const { return m_kind; }
    SFileIcon& GetFileIcon() { return m_fileIcon; }

protected:
    void OnButton() override;

private:
    int m_kind;
    SFileIcon m_fileIcon;
    UINT m_filterId;
};
