#pragma once
// CStaticHyperLink: a static text drawn as an underlined link (blue, purple
// once used) with a hand cursor and a tooltip. A click, by kind: 0 posts
// WM_HYPERLINK_CLICKED (control id in wParam) to the parent, 1 shows the
// target as a help page beside the program, 2 opens the target, 3 starts
// an e-mail to it. Without a target the link's own text serves, for that
// click only.
#include "platform/mfc/afxwin.h"

constexpr UINT WM_HYPERLINK_CLICKED = WM_APP + 0xC8;

enum EHyperLinkKind : int {
    LINK_NOTIFY = 0,
    LINK_HELP = 1,
    LINK_OPEN = 2,
    LINK_MAIL = 3,
};

// What one click does, worked out before it is done.
struct SHyperLinkAction
{
    int kind;
    CString target; // help: the page's full path; e-mail: "mailto:" + address
    CString parameters;
    CString directory;
};

class CStaticHyperLink : public CStatic
{
public:
    CStaticHyperLink();

    void SetLink(int kind, LPCWSTR target, LPCWSTR parameters = nullptr, LPCWSTR directory = nullptr);
    // A help page: kind 1 with the current directory as directory.
    void SetLink(LPCWSTR helpFile);

    int GetKind() const { return m_kind; }
    const CString& GetTarget() const { return m_target; }
    [[nodiscard]] bool IsVisited() const { return m_visited; }
    COLORREF GetTextColour() const { return m_visited ? m_visitedColour : m_linkColour; }
    const CString& GetToolTipText() const { return m_toolTipText; }
    [[nodiscard]] bool HasToolTip() const { return m_toolTip.GetSafeHwnd() != nullptr; }

    // The action of a click now.
    SHyperLinkAction GetClickAction() const;
    // Carries out a click: the action, then the visited look.
    void Click();

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    // Does the action; false (after the message box) when the system could
    // not open the target.
    [[nodiscard]] virtual bool Perform(const SHyperLinkAction& action);
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetUp();
    HBRUSH OnCtlColour(HDC dc);

    COLORREF m_linkColour;
    COLORREF m_visitedColour;
    COLORREF m_bkColour;
    bool m_visited;
    bool m_useTextAsTarget;
    bool m_setUpDone;
    HCURSOR m_handCursor;
    CFont m_underlined;
    CToolTipCtrl m_toolTip;
    CString m_toolTipText;
    CString m_target;
    CString m_parameters;
    CString m_directory;
    int m_kind;
};
