#pragma once
// Resource ids of the program's module that the toolkit's contents draw.
enum : UINT {
    IDB_HYBRID_TREE_EXPANDED = 6008, // tree node expander pictures, white key
    IDB_HYBRID_TREE_LEAF = 6009,
    IDB_HYBRID_TREE_COLLAPSED = 6012,
    IDB_HYBRID_THUMB_V = 6017, // vertical slider thumb, 26 x 13
    IDB_HYBRID_THUMB_V_TRACK = 6018,
    IDB_HYBRID_THUMB_V_DISABLED = 6020,
    IDB_HYBRID_THUMB_H = 6021, // horizontal slider thumb, 13 x 26
    IDB_HYBRID_THUMB_H_TRACK = 6022,
    IDB_HYBRID_THUMB_H_DISABLED = 6023,
    IDB_HYBRID_HOT_SKIN_LATCHED = 10036, // toolbar-look button skins, red key
    IDB_HYBRID_HOT_SKIN = 10037,
    IDC_HYBRID_LINK = 10024,          // cursor over a link
    IDC_HYBRID_DROP = 6003,           // cursor of a drag the parent answered 2
    IDS_HYBRID_HOT_SKIN_GRID = 10249, // "SimpleMosaic{1,2,1,1,2,1}"
};
