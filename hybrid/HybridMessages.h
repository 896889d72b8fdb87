#pragma once
// Private window messages and notification codes of the Hybrid control.
#include <windows.h>

enum : UINT {
    WM_HYBRID_RELAYOUT = WM_APP + 0x2A,      // coalesced relayout
    WM_HYBRID_ITEMPRESSED = WM_APP + 0x39,   // to the parent: wParam = the item cell's data
    WM_HYBRID_ENSUREVISIBLE = WM_APP + 0x4A, // wParam = cell, with a reference added
    WM_HYBRID_DRAWQUEUED = WM_APP + 0x6A,    // draw the redraw queue
    WM_HYBRID_SELCHANGED = WM_APP + 0x71,    // raise notification 8 once
    WM_HYBRID_PLACEIMPLANTED = WM_APP + 0x72,
    WM_HYBRID_NOTIFY = WM_APP + 0xCA, // to the parent: wParam = code, lParam = sender cell
};

// Notification codes the control raises itself.
enum : UINT {
    HN_LBUTTONDOWN_EMPTY = 0,
    HN_RBUTTONDOWN_EMPTY = 1,
    HN_LBUTTONDOWN = 2,
    HN_RBUTTONDOWN = 3,
    HN_RBUTTONUP_CELL = 3,
    HN_DBLCLK = 4,
    HN_COLUMNS_CHANGED = 5,
    HN_CURRENT = 6,
    HN_DEACTIVATED = 7,
    HN_SELCHANGED = 8,
    HN_CELL_SELECTION = 9,
    HN_CURRENT_BY_USER = 10,
    HN_MOUSE_ENTER = 11,
    HN_MOUSE_LEAVE = 12,
    HN_LBUTTONUP = 13,
    HN_RBUTTONUP = 14,
    HN_HOVER_SELECT = 15,
    HN_TOOLTIP = 16,
    HN_RUBBERBAND_START = 17,
    HN_RUBBERBAND_CHANGED = 18,
    HN_DRAG_START = 36,
    HN_DRAG_END = 37,
    HN_DRAG_MOVE = 38,
};

// Notification codes raised by contents through their cell.
enum : UINT {
    HN_LINK_CLICKED = 19, // also Space on a link
    HN_LINK_RBUTTONUP = 20,
    HN_COMBO_CHANGED = 21,
    HN_COMBO_OPENED = 22,
    HN_COMBO_CLOSED = 23,
    HN_BUTTON_CLICKED = 24,
    HN_BUTTON_PRESSED = 25,
    HN_BUTTON_RELEASED = 26,
    HN_EDIT_CHANGED = 27, // by a key
    HN_EDIT_ENTER = 28,
    HN_CHECKBOX_CHANGED = 29,
    HN_RADIO_CHANGED = 30,
    HN_SLIDER_TRACKING = 31,
    HN_SLIDER_POSITION = 32,
    HN_TREE_EXPANDING = 33,
    HN_TREE_COLLAPSING = 34,
    HN_HEADING_CLICKED = 35,
};

// Own timer ids of the control; registry timers count from 0.
enum : UINT_PTR {
    HYBRID_TIMER_HOVER = 10000,
    HYBRID_TIMER_AUTOSCROLL = 10001,
    HYBRID_TIMER_RELAYOUT = 10002, // the relayout held back by the rate limit
};
