#pragma once
// Table-driven settings: each row binds a registry value name to a variable;
// SerializeRegTable walks a table to load every variable or save it.
#include "platform/mfc/afx.h"
#include "common/PtrArrays.h"

// An object that saves or loads itself under an open registry key. The index
// distinguishes elements of an array (implementers choose their names).
struct SRegAutoSaveItem
{
    virtual ~SRegAutoSaveItem() = default;
    [[nodiscard]] virtual bool Exchange(HKEY key, bool load, int index) = 0;
};

// Row types of a settings table.
enum ERegRowType : DWORD {
    RRT_END = 0,      // ends the table
    RRT_INT = 1,      // 32-bit value, REG_DWORD
    RRT_BOOL = 2,     // 32-bit value, REG_DWORD
    RRT_BINARY = 3,   // block of `size` bytes, REG_BINARY
    RRT_STRING = 4,   // CString, REG_SZ
    RRT_OBJECTS = 5,  // `count` objects `size` bytes apart, each an SRegAutoSaveItem
    RRT_OBJARRAY = 6, // CovPtrArray<SRegAutoSaveItem> (or an owning CGCPtrArray)
    RRT_COLOUR = 7,   // 32-bit value, REG_DWORD
};

typedef SRegAutoSaveItem* (*RegItemFactory)();
typedef SRegAutoSaveItem* (*RegElementOf)(void* first, DWORD index, DWORD stride);

// One row; fields a type does not use stay zero.
struct SRegTableEntry
{
    LPCWSTR name;
    void* data;
    DWORD type;
    DWORD size = 0;                   // RRT_BINARY: bytes of the block; RRT_OBJECTS: stride
    DWORD count = 0;                  // RRT_OBJECTS: element count
    RegItemFactory factory = nullptr; // RRT_OBJARRAY: makes one empty element
    // RRT_OBJECTS: the interface of element i. Without it the element's
    // address is taken as the interface, which holds only for types whose
    // first base is SRegAutoSaveItem; RegObjectsRow fills it in.
    RegElementOf element = nullptr;
};

template <class T>
SRegTableEntry RegObjectsRow(LPCWSTR name, T* first, DWORD count)
{
    SRegTableEntry row = {name,
                          first,
                          RRT_OBJECTS,
                          sizeof(T),
                          count,
                          nullptr,
                          [](void* data, DWORD i, DWORD stride) -> SRegAutoSaveItem* {
                              return static_cast<T*>(static_cast<void*>(static_cast<BYTE*>(data) + size_t(i) * stride));
                          }};
    return row;
}

// Loads (load true) or saves every row of `table` under root\subkey, or
// under root itself when subkey is null. Loading needs an existing key;
// saving creates it. False when the key cannot be opened.
// A loaded row keeps its variable's default unless the stored value has the
// row's own type and a size it can use (REG_DWORD of 4 bytes, REG_BINARY of
// exactly `size` bytes, REG_SZ).
[[nodiscard]] bool SerializeRegTable(const SRegTableEntry* table, HKEY root, LPCWSTR subkey, bool load);
