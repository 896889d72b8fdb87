#pragma once
// Resource ids of the program's module that the framework's bars and
// contents draw.
#include <windows.h>

enum : UINT {
    IDD_XF_POPUPMENU = 7002,      // the popup menus' dialog
    IDD_XF_TRACKER = 7003,        // the drag tracker
    IDD_XF_DROP_INDICATOR = 7004, // the docking indicator strip
    IDB_XF_CHECK = 7009,          // check mark of a menu row, white key
    IDB_XF_RADIO = 7010,
    IDB_XF_NOCHECK = 7011,       // empty
    IDB_XF_SUBMENU_ARROW = 7012, // white key
    IDB_XF_CLOSE_PANE = 7013,    // close button of a caption band, three columns, white key
    IDB_XF_DROPDOWN = 7015,      // drop-down arrow of a toolbar button, white key
    IDB_XF_DROPDOWN_DISABLED = 7017,
    IDB_XF_TAB_BOTTOM_SEL = 7018, // tab skins by side, red key
    IDB_XF_TAB_BOTTOM = 7019,
    IDB_XF_TAB_RIGHT_SEL = 7020,
    IDB_XF_TAB_RIGHT = 7021,
    IDB_XF_TAB_TOP_SEL = 7022,
    IDB_XF_TAB_TOP = 7023,
    IDB_XF_SIZE_GRIP = 7024, // the status bar's grip, red key
    IDB_XF_SEPARATOR = 7025, // red key
    IDB_XF_CHECK_HOT = 7026, // red key
    IDB_XF_RADIO_HOT = 7027,
    IDS_XF_TAB_BOTTOM_SKIN = 7030, // "SimpleMosaic{4,4,4,2,2,6}"
    IDS_XF_TAB_RIGHT_SKIN = 7031,  // "SimpleMosaic{2,2,6,4,3,5}"
    IDS_XF_TAB_TOP_SKIN = 7032,    // "SimpleMosaic{4,3,5,6,2,2}"
    IDS_XF_SEPARATOR_SKIN = 7033,  // "SimpleMosaic{5,0,5,3,4,3}"
    IDS_XF_UNTITLED = 10247,       // "Untitled"
};
