#pragma once
// The framework's own command ids and resources.
#include <windows.h>

const UINT ID_XF_SITE_LABEL = 37002;  // opens the maker's web site
const UINT ID_XF_STATUS_INFO = 37003; // the status bar's information label
const UINT ID_XF_PANE_TITLE = 37004;  // the title label of a caption band
const UINT ID_XF_NULL = 37005;        // its update request runs a frame's visibility callback
const UINT ID_XF_NEXT_FRAME = 37006;  // next frame of an MDI area
const UINT ID_XF_PREV_FRAME = 37007;  // previous frame of an MDI area
const UINT ID_XF_FILE_OPEN = 37012;
const UINT ID_XF_FILE_SAVE = 37013;
const UINT ID_XF_FILE_SAVE_AS = 37014;
const UINT ID_XF_FOCUS_PLACEHOLDER = 37015; // a control with this id hands its keys to its parent
const UINT ID_XF_CLOSE_PANE = 37016;        // the close button of a caption band

// The framework's accelerator table: searched before every frame's own.
const UINT IDR_XF_ACCEL = 7016;

// Strings.
const UINT IDS_XF_CANT_OPEN_FILE = 1034; // "Can't open file."
const UINT IDS_XF_FILE_NOT_FOUND = 7029; // a document path that does not exist
const UINT IDS_XF_SAVE_CHANGES = 10248;  // "Save the changes to %s?"
