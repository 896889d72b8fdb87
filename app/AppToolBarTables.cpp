#include "app/AppCentral.h"
#include "app/AppIds.h"
#include "xf/xfToolBarItem.h"

namespace {

// Key colours of the bitmap pictures.
const COLORREF kSilver = 0xC0C0C0;
const COLORREF kWhite = 0xFFFFFF;

// The menu bar: one band of the main menu.
const SxfToolBarItem kMenuBar[] = {
    {XF_ITEM_MENU, IDR_MAINMENU, 0, -1, 0, 0, 0, nullptr, 0},
    {XF_ITEM_END, 0, 0, 0, 0, 0, 0, nullptr, 0},
};

// The main toolbar: open; play; remove; zoom.
const SxfToolBarItem kMainToolBar[] = {
    {XF_ITEM_BUTTON2, ID_CMD_OPEN, 0, IDP_OPEN, 0, 0, 0, nullptr, 0},
    {XF_ITEM_SEPARATOR, 0, XF_ITEMF_ALT, 0, 0, 0, 0, nullptr, 0},
    {XF_ITEM_BUTTON, ID_CMD_PLAY, 0, IDB_PLAY, IDS_PLAY, kSilver, 0, nullptr, 0},
    {XF_ITEM_BUTTON, ID_CMD_TO_FRAGMENT_BEGIN, 0, IDB_TO_FRAGMENT_BEGIN, 0, kSilver, 0, nullptr, 0},
    {XF_ITEM_BUTTON, ID_CMD_PLAY_ORIGINAL, 0, IDB_PLAY_ORIGINAL, 0, kSilver, 0, nullptr, 0},
    {XF_ITEM_SEPARATOR, 0, XF_ITEMF_ALT, 0, 0, 0, 0, nullptr, 0},
    {XF_ITEM_BUTTON2, ID_CMD_REMOVE, 0, IDP_REMOVE, 0, 0, 0, nullptr, 0},
    {XF_ITEM_SEPARATOR, 0, XF_ITEMF_ALT, 0, 0, 0, 0, nullptr, 0},
    {XF_ITEM_BUTTON2, ID_CMD_ZOOM_WHOLE, 0, IDP_ZOOM_WHOLE, IDS_WHOLE_FILE, 0, 0, nullptr, 0},
    {XF_ITEM_BUTTON2, ID_CMD_ZOOM_SELECTION, 0, IDP_ZOOM_SELECTION, 0, 0, 0, nullptr, 0},
    {XF_ITEM_BUTTON2, ID_CMD_ZOOM_IN, 0, IDP_ZOOM_IN, 0, 0, 0, nullptr, 0},
    {XF_ITEM_BUTTON2, ID_CMD_ZOOM_OUT, 0, IDP_ZOOM_OUT, 0, 0, 0, nullptr, 0},
    {XF_ITEM_END, 0, 0, 0, 0, 0, 0, nullptr, 0},
};

// The status bar: the information label (stretching), "Volume:", the slider.
const SxfToolBarItem kStatusBar[] = {
    {XF_ITEM_LABEL, 37003, XF_ITEMF_STRETCH, 0, 0, 0, 0, nullptr, 0},
    {XF_ITEM_LABEL, 0, 0, 0, IDS_VOLUME, 0, 0, nullptr, 0},
    {XF_ITEM_SLIDER, ID_CMD_VOLUME, XF_ITEMF_ALT, 0, 0, 0, 0, nullptr, 0},
    {XF_ITEM_SEPARATOR, 0, 0, 0, 0, 0, 0, nullptr, 0},
    {XF_ITEM_END, 0, 0, 0, 0, 0, 0, nullptr, 0},
};

// Above the documents: the list of open frames and the Close button.
const SxfToolBarItem kDocumentBar[] = {
    {XF_ITEM_FRAMELIST, 0, XF_ITEMF_STRETCH, 0, 0, 0, 0, nullptr, 0},
    {XF_ITEM_BUTTON, ID_CMD_CLOSE, 0, IDB_CLOSE_DOC, 0, kWhite, 0, nullptr, 0},
    {XF_ITEM_END, 0, 0, 0, 0, 0, 0, nullptr, 0},
};

} // namespace

const SxfToolBarItem* GetAppToolBarItems(int number)
{
    switch (number) {
    case 1: return kMenuBar;
    case 2: return kMainToolBar;
    case 3: return kStatusBar;
    case 4: return kDocumentBar;
    default: return nullptr;
    }
}
