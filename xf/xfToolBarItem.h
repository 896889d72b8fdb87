#pragma once
// Toolbar item tables: a table is a static array of records ended by a
// record whose type is 0. The factory hands tables out by number; a toolbar
// makes one content per record, and each content keeps a copy of its record.
#include <windows.h>

// Content kinds of a record.
enum : UINT {
    XF_ITEM_END = 0,
    XF_ITEM_BUTTON = 1,
    XF_ITEM_BUTTON2 = 2,
    XF_ITEM_FRAMELIST = 3,
    XF_ITEM_COMBO = 4,
    XF_ITEM_EDIT = 5,
    XF_ITEM_SEPARATOR = 6,
    XF_ITEM_MENU = 7,
    XF_ITEM_LABEL = 8,
    XF_ITEM_TABS = 9,
    XF_ITEM_BRAND = 10,
    XF_ITEM_SLIDER = 11,
    XF_ITEM_CUSTOM = 100,
};

// Flag bits of a record.
enum : DWORD {
    XF_ITEMF_STRETCH = 0x1, // takes a share of the bar's spare length
    XF_ITEMF_BOLD = 0x2,
    XF_ITEMF_TOP = 0x4,      // cell placed at the top instead of centred
    XF_ITEMF_ALT = 0x100000, // drop-list combo; framed label; skinned separator; slider style bit
    XF_ITEMF_HIDEEMPTY = 0x200000,
    XF_ITEMF_LINK = 0x400000,
    XF_ITEMF_CENTRE = 0x800000,
};

struct IHybridContent;
struct SxfToolBarItem;

// The factory callback of a custom item (type 100): true with a new content
// in *out, or false for none.
typedef bool (*PFN_XF_CUSTOM_ITEM)(IHybridContent** out, const SxfToolBarItem* item);

struct SxfToolBarItem
{
    UINT nType;
    UINT nID; // command id (menu resource id for a menu band)
    DWORD dwFlags;
    INT_PTR nParam; // pointer-sized: a custom item's callback lives here
    UINT nParam2;
    COLORREF crMask;
    int nSubMenu;
    LPWSTR pszToolTip; // 0 in tables; a copy's cached tool tip
    INT_PTR bToolTipLoaded;

    // A copy's tool tip: the part after the first line break of string nID
    // (the whole string when nothing follows it), looked up once and cached
    // in the record; null when the string is missing, empty or has no break.
    LPCWSTR GetToolTipText();
};

// A content's own copy of its record: the cache starts empty and is freed
// with the copy.
class CxfItemCopy
{
public:
    explicit CxfItemCopy(const SxfToolBarItem* item);
    ~CxfItemCopy();
    CxfItemCopy(const CxfItemCopy&) = delete;
    CxfItemCopy& operator=(const CxfItemCopy&) = delete;

    SxfToolBarItem* operator->() { return &m_item; }
    const SxfToolBarItem* operator->() const { return &m_item; }
    const SxfToolBarItem& Get() const { return m_item; }
    [[nodiscard]] bool HasFlag(DWORD flag) const { return (m_item.dwFlags & flag) != 0; }
    LPCWSTR GetToolTipText() { return m_item.GetToolTipText(); }

private:
    SxfToolBarItem m_item;
};
