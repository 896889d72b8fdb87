#pragma once
// One window whose text was translated into the current language: it
// remembers the English text so the window can be restored and translated
// again after a language change.
#include "platform/mfc/afx.h"

class CSingleTranslation
{
public:
    enum EKind { kUndecided = 0, kUnsortedCombo = 1 };

    // Translates the window at once.
    explicit CSingleTranslation(HWND hwnd);

    // Restores a text set earlier, then translates the window text (read at
    // its full length) and, for an unsorted combo box, its item texts.
    void Translate();
    // Puts the English text back (combo items stay as they are).
    void Restore();

    HWND GetHwnd() const { return m_hwnd; }
    const CString& GetUntranslatedText() const { return m_untranslatedText; }
    const CString& GetText() const { return m_text; }
    [[nodiscard]] bool IsChanged() const { return m_changed; }
    int GetKind() const { return m_kind; }

private:
    void TranslateComboItems();

    HWND m_hwnd;
    bool m_changed = false;
    CString m_untranslatedText;
    CString m_text;
    int m_kind = kUndecided;
};

// The full text of a window (not cut at any length).
CString ReadWindowText(HWND hwnd);
