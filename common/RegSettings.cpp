#include "common/RegSettings.h"

#include "common/OVRegKey.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The Exchange routines answer false only when a save failed: a value
// missing on load keeps its default and is no failure.
bool ExchangeDWord(COVRegKey& key, const SRegTableEntry& row, bool load)
{
    DWORD* value = static_cast<DWORD*>(row.data);
    if (!value)
        return true;
    if (load)
        (void)key.GetDWORD(row.name, value); // a missing value keeps the default
    else
        return key.SetDWORD(row.name, *value);
    return true;
}

bool ExchangeBinary(COVRegKey& key, const SRegTableEntry& row, bool load)
{
    if (!row.data || !row.name || !*row.name || row.size == 0)
        return true;
    BYTE* block = static_cast<BYTE*>(row.data);
    if (!load)
        return RegSetValueExW(key.GetHandle(), row.name, 0, REG_BINARY, block, row.size) == ERROR_SUCCESS;
    // Only a REG_BINARY is the block: a missing value or one of another
    // type leaves the default. A REG_BINARY of another length (a longer one
    // fails with ERROR_MORE_DATA and reports its real length) holds no usable
    // block: the whole variable is zero-filled.
    std::vector<BYTE> stored(row.size);
    DWORD type = REG_NONE;
    DWORD bytes = row.size;
    const LONG rc = RegQueryValueExW(key.GetHandle(), row.name, nullptr, &type, stored.data(), &bytes);
    if ((rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) || type != REG_BINARY)
        return true;
    if (rc == ERROR_SUCCESS && bytes == row.size)
        memcpy(block, stored.data(), row.size);
    else
        memset(block, 0, row.size);
    return true;
}

bool ExchangeString(COVRegKey& key, const SRegTableEntry& row, bool load)
{
    CString* text = static_cast<CString*>(row.data);
    if (load)
        (void)key.GetString(row.name, *text, false); // failure keeps the default
    else
        return key.SetString(row.name, *text, 0);
    return true;
}

void ExchangeObjects(COVRegKey& key, const SRegTableEntry& row, bool load)
{
    for (DWORD i = 0; i < row.count; ++i) {
        SRegAutoSaveItem* item = row.element ? row.element(row.data, i, row.size)
                                             : static_cast<SRegAutoSaveItem*>(static_cast<void*>(
                                                   static_cast<BYTE*>(row.data) + size_t(i) * row.size));
        item->Exchange(key.GetHandle(), load, static_cast<int>(i));
    }
}

void ExchangeObjectArray(COVRegKey& key, const SRegTableEntry& row, bool load)
{
    auto* array = static_cast<CovPtrArray<SRegAutoSaveItem>*>(row.data);
    if (!load) {
        for (int i = 0; i < array->GetSize(); ++i) {
            SRegAutoSaveItem* item = array->GetAt(i);
            if (!item)
                break;
            item->Exchange(key.GetHandle(), false, i);
        }
        return;
    }
    if (!row.factory)
        return;
    for (DWORD k = 0;; ++k) {
        wchar_t name[260] = {};
        if (RegEnumKeyW(key.GetHandle(), k, name, 260) != ERROR_SUCCESS)
            break;
        SRegAutoSaveItem* item = row.factory();
        if (!item)
            break;
        item->Exchange(key.GetHandle(), true, _wtoi(name));
        array->Add(item);
    }
}

} // namespace

bool SerializeRegTable(const SRegTableEntry* table, HKEY root, LPCWSTR subkey, bool load)
{
    COVRegKey key;
    if (subkey) {
        if (!key.Open(root, subkey, load))
            return false;
    } else {
        if (!root)
            return false;
        key.Attach(root, load);
    }
    // Every row is tried; the result tells whether any save failed.
    bool ok = true;
    for (const SRegTableEntry* row = table; row && row->type != RRT_END; ++row) {
        switch (row->type) {
        case RRT_INT:
        case RRT_BOOL:
        case RRT_COLOUR: ok = ExchangeDWord(key, *row, load) && ok; break;
        case RRT_BINARY: ok = ExchangeBinary(key, *row, load) && ok; break;
        case RRT_STRING:
            if (row->data)
                ok = ExchangeString(key, *row, load) && ok;
            break;
        case RRT_OBJECTS:
            if (row->data)
                ExchangeObjects(key, *row, load);
            break;
        case RRT_OBJARRAY:
            if (row->data)
                ExchangeObjectArray(key, *row, load);
            break;
        default: break; // unknown types are skipped
        }
    }
    return ok;
}
