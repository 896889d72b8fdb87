#pragma once
// CGroupHandler: turns the cell it is attached to into a titled group box
// with a drawn border. The title row carries a small button that collapses
// and expands the group's body; the caller fills the client cell. A group
// starts expanded.
#include "common/LocalizedString.h"
#include "hybrid/HybridHandler.h"
#include "hybrid/IHybridButton.h"
#include "hybrid/IHybridText.h"

// Cell data of the group's expand button.
constexpr DWORD_PTR GROUP_EXPAND_BUTTON_DATA = 40000;

class CGroupHandler : public CHybridHandler
{
public:
    // The title from the string table (current language) or as a text;
    // bold titles use standard style 2; borderSet 0 or 1.
    CGroupHandler(UINT titleId, bool boldTitle, UINT borderSet);
    CGroupHandler(LPCWSTR title, bool boldTitle, UINT borderSet);

    LRESULT OnNotify(UINT code, IHybridCell* sender, bool* handled) override;
    // Builds the group under the cell.
    void Attach(CHybridCtrl* control, IHybridCell* cell) override;

    void SetTitle(LPCWSTR text);
    // Shows or hides the body (animated) and switches the button's picture.
    void Expand(bool expand);
    [[nodiscard]] bool IsExpanded();
    // Where the caller puts its cells (a referenced copy; false before Attach).
    [[nodiscard]] bool GetClientCell(IHybridCell** out);
    [[nodiscard]] bool GetBodyCell(IHybridCell** out);
    [[nodiscard]] bool GetExpandButton(IHybridButton** out);

private:
    bool m_boldTitle;
    CLocalizedString m_title;
    CIPtr<IHybridCell> m_clientCell;
    CIPtr<IHybridCell> m_bodyCell;
    CIPtr<IHybridText> m_titleText;
    CIPtr<IHybridButton> m_expandButton;
    UINT m_borderSet;
};
