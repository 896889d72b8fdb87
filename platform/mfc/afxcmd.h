#pragma once
// Command targets, message maps and command-UI objects.
//
// A class that handles messages or commands puts DECLARE_MESSAGE_MAP() in its
// declaration and a map in one .cpp:
//
//     BEGIN_MESSAGE_MAP(CMyWnd, CWnd)
//         ON_WM_SIZE()
//         ON_COMMAND(ID_FILE_OPEN, &CMyWnd::OnFileOpen)
//         ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, &CMyWnd::OnUpdateFileOpen)
//     END_MESSAGE_MAP()
//
// Each entry carries a small dispatcher compiled inside the map of the class
// that declares it, so the handler's name and signature are checked by the
// compiler there. A lookup walks the map of the most derived class first, then
// its bases; the first matching entry wins.
//
// Commands travel through OnCmdMsg(id, code, extra, handlerInfo):
//   code CN_COMMAND            run the ON_COMMAND handler (extra unused)
//   code CN_UPDATE_COMMAND_UI  run the ON_UPDATE_COMMAND_UI handler with the
//                              CCmdUI* in extra
//   other codes                control notifications (ON_CONTROL, ON_BN_CLICKED...)
// With a non-null handlerInfo nothing runs: OnCmdMsg only tells whether a
// handler exists and where.
//
// Window-message entries (ON_WM_*, ON_MESSAGE) are in afxmsg.h.
#include <windows.h>
#include "platform/mfc/afxobj.h"

class CCmdTarget;
class CCmdUI;
class CMenu;
class CWnd;

// Everything a map entry's dispatcher sees of one message or command.
struct AFX_MSGARGS
{
    UINT message; // window message; WM_COMMAND for commands and notifications
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;        // command or control id
    int nCode;       // command code (CN_COMMAND, CN_UPDATE_COMMAND_UI, notification)
    void* pExtra;    // CCmdUI* for updates, AFX_NOTIFY* for WM_NOTIFY
    LRESULT lResult; // the message's result, set by the dispatcher
};

// Runs the handler on pTarget; false means "not handled, go on looking".
typedef bool (*AFX_PMSGDISPATCH)(CCmdTarget* pTarget, AFX_MSGARGS& args);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;                // window message, WM_COMMAND or WM_NOTIFY
    UINT nCode;                   // command or notification code (commands and notifications only)
    UINT nID;                     // first id of the range (commands and notifications only)
    UINT nLastID;                 // last id of the range
    AFX_PMSGDISPATCH pfnDispatch; // null ends the map
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)(); // null for the root map
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled by OnCmdMsg when it is asked only whether a handler exists.
struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
    const AFX_MSGMAP_ENTRY* pEntry;
};

// pExtra of a WM_NOTIFY dispatch.
struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI (-1)
#define CN_NOTIFY_ENTRY 0x004E0000 // internal: routes a WM_NOTIFY (outside the 16-bit codes)

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

// The map's opening and closing halves are fragments of one function and
// one array: laid out by hand, as no formatter can see them whole.
// clang-format off
#define AFX_BEGIN_MAP_BODY(theClass, baseClass) \
    { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    AFX_BEGIN_MAP_BODY(theClass, baseClass)

#define BEGIN_TEMPLATE_MESSAGE_MAP(theClass, type_name, baseClass) \
    template <typename type_name> \
    const AFX_MSGMAP* theClass<type_name>::GetMessageMap() const { return GetThisMessageMap(); } \
    template <typename type_name> \
    const AFX_MSGMAP* theClass<type_name>::GetThisMessageMap() \
    AFX_BEGIN_MAP_BODY(theClass<type_name>, baseClass)

#define END_MESSAGE_MAP() \
            {0, 0, 0, 0, nullptr}}; \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, _messageEntries}; \
        return &messageMap; \
    }
// clang-format on

// ---- command entries --------------------------------------------------------

// void memberFxn()
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, (UINT)CN_COMMAND, (UINT)(id), (UINT)(id), [](CCmdTarget* t, AFX_MSGARGS&) -> bool { \
         (static_cast<ThisClass*>(t)->*(memberFxn))(); \
         return true; \
     }},

// BOOL memberFxn(UINT nID): FALSE lets routing go on to the next target
#define ON_COMMAND_EX(id, memberFxn) \
    {WM_COMMAND, (UINT)CN_COMMAND, (UINT)(id), (UINT)(id), [](CCmdTarget* t, AFX_MSGARGS& a) -> bool { \
         return (static_cast<ThisClass*>(t)->*(memberFxn))(a.nID) != FALSE; \
     }},

// BOOL memberFxn(UINT nID), for every id from id to idLast: FALSE lets
// routing go on
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, (UINT)CN_COMMAND, (UINT)(id), (UINT)(idLast), [](CCmdTarget* t, AFX_MSGARGS& a) -> bool { \
         return (static_cast<ThisClass*>(t)->*(memberFxn))(a.nID) != FALSE; \
     }},

// void memberFxn(UINT nID), for every id from id to idLast
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, (UINT)CN_COMMAND, (UINT)(id), (UINT)(idLast), [](CCmdTarget* t, AFX_MSGARGS& a) -> bool { \
         (static_cast<ThisClass*>(t)->*(memberFxn))(a.nID); \
         return true; \
     }},

// void memberFxn(CCmdUI* pCmdUI)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    {WM_COMMAND, (UINT)CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), [](CCmdTarget* t, AFX_MSGARGS& a) -> bool { \
         return AfxRunUpdateHandler(static_cast<CCmdUI*>(a.pExtra), \
                                    [t](CCmdUI* p) { (static_cast<ThisClass*>(t)->*(memberFxn))(p); }); \
     }},

// void memberFxn(CCmdUI* pCmdUI), for every id from id to idLast
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, (UINT)CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast), [](CCmdTarget* t, AFX_MSGARGS& a) -> bool { \
         return AfxRunUpdateHandler(static_cast<CCmdUI*>(a.pExtra), \
                                    [t](CCmdUI* p) { (static_cast<ThisClass*>(t)->*(memberFxn))(p); }); \
     }},

// Control notification (WM_COMMAND with a control handle): void memberFxn()
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    {WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), [](CCmdTarget* t, AFX_MSGARGS&) -> bool { \
         (static_cast<ThisClass*>(t)->*(memberFxn))(); \
         return true; \
     }},

// void memberFxn(UINT nID)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    {WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(idLast), [](CCmdTarget* t, AFX_MSGARGS& a) -> bool { \
         (static_cast<ThisClass*>(t)->*(memberFxn))(a.nID); \
         return true; \
     }},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)

// WM_NOTIFY from control id: void memberFxn(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    {WM_NOTIFY, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), [](CCmdTarget* t, AFX_MSGARGS& a) -> bool { \
         AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(a.pExtra); \
         (static_cast<ThisClass*>(t)->*(memberFxn))(n->pNMHDR, n->pResult); \
         return true; \
     }},

// ---- command-UI objects -----------------------------------------------------

// The state of one user-interface element (menu item or control) for one
// command id. An update handler calls Enable, SetCheck, SetRadio or SetText;
// the base class applies them to a menu item (m_pMenu, m_nIndex) or to a
// control window (m_pOther). Derived classes drive other kinds of elements.
class CCmdUI
{
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0; // position of the item in m_pMenu
    CMenu* m_pMenu = nullptr;
    CWnd* m_pOther = nullptr;
    BOOL m_bEnableChanged = FALSE;   // Enable was called during the update
    BOOL m_bContinueRouting = FALSE; // a handler may set it to pass the update on

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1); // 0 unchecked, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCWSTR lpszText);

    // Offers the update to pTarget. When nobody handles it, Enable is not
    // called by a handler and bDisableIfNoHndler is set, the element is
    // enabled exactly when some command handler for m_nID is reachable.
    // Returns TRUE when an update handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    CCmdUI(const CCmdUI&) = delete;
    CCmdUI& operator=(const CCmdUI&) = delete;
};

// Runs an update handler the way the class library does: the update counts
// as handled unless the handler asked to continue routing.
template <typename F>
[[nodiscard]] bool AfxRunUpdateHandler(CCmdUI* pCmdUI, F&& call)
{
    pCmdUI->m_bContinueRouting = FALSE;
    call(pCmdUI);
    return !pCmdUI->m_bContinueRouting;
}

// ---- command targets --------------------------------------------------------

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Offers a command to this target's message map (most derived class
    // first). Overrides route on to other targets. TRUE when handled (or, with
    // pHandlerInfo, when a handler exists).
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // Looks up the first entry of the map chain for a window message (commands
    // and notifications excluded). Null when none.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message) const;
    // Looks up the first entry for a command or notification of id with code.
    const AFX_MSGMAP_ENTRY* FindCommandEntry(UINT message, UINT nCode, UINT nID) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
