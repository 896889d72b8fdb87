#pragma once
// Resource ids of the audio views' cursors, bitmaps and texts. Read by the
// resource compiler too: plain defines only.

// Cursors
#define IDC_FRAGMENT_CREATE 1044 // pointing over empty fragment space
#define IDC_FRAGMENT_EDGE 1045   // pointing at a fragment's edge line
#define IDC_ZOOM_ENDS 10001      // two arrows pointing at each other
#define IDC_WAVE_IBEAM 10002

// Bitmaps
#define IDB_LOOP_ACTIVE 1057    // 10 x 10, black transparent
#define IDB_LOOP 1059           // 10 x 10, white transparent
#define IDB_BALLOON_CURSOR 8003 // 14 x 12, pointer bottom left
#define IDB_BALLOON_CURSOR_LEFT 8004
#define IDB_BALLOON_POSITION 8005
#define IDB_BALLOON_POSITION_LEFT 8008
#define IDB_SCROLLER_END_GRIP 8009 // 8 x 13
#define IDB_SCROLLER_GRIP 8010     // 15 x 13

// Strings
#define IDS_FRAGMENT_HINT 1013
#define IDS_FRAGMENT_TOO_SHORT 1033
#define IDS_BALLOON_SKIN 8030
#define IDS_BALLOON_SKIN_LEFT 8032
#define IDS_CHANGE_ZOOM 8033
#define IDS_SCROLL 8034
#define IDS_READING_FILE 8035
#define IDS_BUILDING_PEAKS 8036
