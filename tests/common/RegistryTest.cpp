// Registry key access, settings tables and key-tree deletion, on scratch keys
// under the program's key in the private prefix.
#include <gtest/gtest.h>

#include "common/OVRegKey.h"
#include "common/RegSettings.h"
#include "common/StrArrayEx.h"

#include <cstring>
#include <vector>

namespace {

const wchar_t kScratch[] = L"Software\\Velmora\\Ravelin\\CommonRegistryTest";

class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override { DeleteRegKeyTree(HKEY_CURRENT_USER, kScratch); }
    void TearDown() override
    {
        DeleteRegKeyTree(HKEY_CURRENT_USER, kScratch);
        HKEY key = nullptr;
        EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kScratch, 0, KEY_READ, &key))
            << "scratch key left behind";
    }

    static CString Sub(LPCWSTR name) { return CString(kScratch) + L"\\" + name; }

    static bool KeyExists(const CString& path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    static void WriteRaw(LPCWSTR name, DWORD type, const void* data, DWORD bytes)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyW(HKEY_CURRENT_USER, kScratch, &key));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes));
        RegCloseKey(key);
    }
};

// A self-saving element: one scrambled string and one number under its own
// subkey.
struct SItem : SRegAutoSaveItem
{
    CString text;
    DWORD number = 0;
    int loadedIndex = -1;

    bool Exchange(HKEY key, bool load, int index) override
    {
        CString sub;
        sub.Format(L"%d", index);
        COVRegKey k;
        if (!k.Open(key, sub, load))
            return false;
        if (load) {
            loadedIndex = index;
            return k.GetString(L"csText", text, true) && k.GetDWORD(L"dwNumber", &number);
        }
        return k.SetString(L"csText", text, 1) && k.SetDWORD(L"dwNumber", number);
    }
};

// A fixed-array element: its values sit in the table's own key, named by
// its index (the key's subkeys belong to the growable array).
struct SValueItem : SRegAutoSaveItem
{
    CString text;
    DWORD number = 0;

    bool Exchange(HKEY key, bool load, int index) override
    {
        CString textName, numberName;
        textName.Format(L"fixedText%d", index);
        numberName.Format(L"fixedNumber%d", index);
        COVRegKey k;
        k.Attach(key, load);
        if (load)
            return k.GetString(textName, text, true) && k.GetDWORD(numberName, &number);
        return k.SetString(textName, text, 1) && k.SetDWORD(numberName, number);
    }
};

SRegAutoSaveItem* MakeItem()
{
    return new SItem;
}

// Every row type, filled with distinctive values.
struct SSettings
{
    int iVolume = 0;
    BOOL bLoop = FALSE;
    COLORREF colour = 0;
    RECT rWindow = {};
    CString csPlain;
    SValueItem fixed[3];
    CGCPtrArray<SRegAutoSaveItem> growable{true};

    std::vector<SRegTableEntry> Table()
    {
        return {
            {L"iVolume", &iVolume, RRT_INT},
            {L"bLoop", &bLoop, RRT_BOOL},
            {L"colour", &colour, RRT_COLOUR},
            {L"rWindow", &rWindow, RRT_BINARY, sizeof rWindow},
            {L"csPlain", &csPlain, RRT_STRING},
            RegObjectsRow(L"fixed", fixed, 3),
            {L"growable", &growable, RRT_OBJARRAY, 0, 0, &MakeItem},
            {nullptr, nullptr, RRT_END},
        };
    }
};

TEST_F(RegistryTest, EveryRowTypeRoundTrips)
{
    SSettings saved;
    saved.iVolume = -42;
    saved.bLoop = TRUE;
    saved.colour = RGB(1, 2, 3);
    saved.rWindow = {10, 20, 300, 400};
    saved.csPlain = L"C:\\Music\\\u00e9t\u00e9 \u266b.mp3";
    for (int i = 0; i < 3; ++i) {
        saved.fixed[i].text.Format(L"fixed %d", i);
        saved.fixed[i].number = 100u + i;
    }
    for (int i = 0; i < 2; ++i) {
        SItem* item = new SItem;
        item->text.Format(L"grown %d", i);
        item->number = 200u + i;
        saved.growable.Add(item);
    }
    ASSERT_TRUE(SerializeRegTable(saved.Table().data(), HKEY_CURRENT_USER, kScratch, false));

    COVRegKey element;
    CString stored;
    ASSERT_TRUE(element.OpenRead(HKEY_CURRENT_USER, Sub(L"1")) && element.GetString(L"csText", stored, false));
    EXPECT_EQ(CString(L"X"), stored.Left(1)) << "element strings are stored scrambled";

    SSettings loaded;
    ASSERT_TRUE(SerializeRegTable(loaded.Table().data(), HKEY_CURRENT_USER, kScratch, true));
    EXPECT_EQ(-42, loaded.iVolume);
    EXPECT_EQ(TRUE, loaded.bLoop);
    EXPECT_EQ(RGB(1, 2, 3), loaded.colour);
    EXPECT_EQ(0, memcmp(&saved.rWindow, &loaded.rWindow, sizeof(RECT)));
    EXPECT_EQ(saved.csPlain, loaded.csPlain);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(saved.fixed[i].text, loaded.fixed[i].text);
        EXPECT_EQ(saved.fixed[i].number, loaded.fixed[i].number);
    }
    ASSERT_EQ(2, loaded.growable.GetSize());
    for (int i = 0; i < 2; ++i) {
        auto* item = static_cast<SItem*>(loaded.growable.GetAt(i));
        EXPECT_EQ(i, item->loadedIndex); // from the subkey's name
        EXPECT_EQ(static_cast<SItem*>(saved.growable.GetAt(i))->text, item->text);
        EXPECT_EQ(200u + i, item->number);
    }

    // Loading appends to a growable array instead of replacing it.
    ASSERT_TRUE(SerializeRegTable(loaded.Table().data(), HKEY_CURRENT_USER, kScratch, true));
    EXPECT_EQ(4, loaded.growable.GetSize());
}

TEST_F(RegistryTest, MissingValuesKeepDefaultsAndMissingKeyLoadsNothing)
{
    SSettings settings;
    settings.iVolume = 7;
    settings.csPlain = L"default";
    EXPECT_FALSE(SerializeRegTable(settings.Table().data(), HKEY_CURRENT_USER, kScratch, true));
    EXPECT_FALSE(KeyExists(kScratch)) << "loading must not create the key";

    DWORD other = 5;
    WriteRaw(L"unrelated", REG_DWORD, &other, sizeof other);
    ASSERT_TRUE(SerializeRegTable(settings.Table().data(), HKEY_CURRENT_USER, kScratch, true));
    EXPECT_EQ(7, settings.iVolume);
    EXPECT_EQ(CString(L"default"), settings.csPlain);
    EXPECT_EQ(0, settings.growable.GetSize());
}

// Each row keeps its default unless the stored value has the row's own type
// and a size the row can use; what fits is read. A block of another length
// is the exception: it loads as zeros (below).
TEST_F(RegistryTest, RowsKeepTheirDefaultUnlessTheStoredValueFits)
{
    DWORD value;
    BYTE block[24];
    const BYTE defaultBlock[24] = {1, 2, 3};
    CString text;
    SRegTableEntry table[] = {{L"dwValue", &value, RRT_INT},
                              {L"rBlock", block, RRT_BINARY, sizeof block},
                              {L"csText", &text, RRT_STRING},
                              {nullptr, nullptr, RRT_END}};
    const struct
    {
        LPCWSTR row;
        DWORD type;
        std::vector<BYTE> bytes;
    } misfits[] = {
        {L"dwValue", REG_SZ, {'7', 0, 0, 0}}, // "7" would read as 0x37
        {L"dwValue", REG_BINARY, {0xAB}},     // would mix with the default
        {L"dwValue", REG_DWORD, {0x01, 0x02}},
        {L"dwValue", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 20}},
        {L"dwValue", REG_BINARY, {9, 9, 9, 9}},
        {L"dwValue", REG_BINARY, {9, 9, 9, 9, 9, 9, 9, 9}},
        {L"rBlock", REG_SZ, std::vector<BYTE>(24, 0x41)},
        {L"rBlock", REG_DWORD, {1, 0, 0, 0}},
        {L"csText", REG_SZ, {'a'}}, // half a code unit
        {L"csText", REG_SZ, {'a', 0, 'b'}},
        {L"csText", REG_BINARY, {'a', 0, 0, 0}},
        {L"csText", REG_EXPAND_SZ, {'a', 0, 0, 0}},
    };
    for (const auto& raw : misfits) {
        WriteRaw(raw.row, raw.type, raw.bytes.data(), static_cast<DWORD>(raw.bytes.size()));
        value = 20;
        memcpy(block, defaultBlock, sizeof block);
        text = L"default";
        ASSERT_TRUE(SerializeRegTable(table, HKEY_CURRENT_USER, kScratch, true));
        EXPECT_EQ(20u, value) << raw.row << ": type " << raw.type << ", " << raw.bytes.size() << " bytes";
        EXPECT_EQ(0, memcmp(block, defaultBlock, sizeof block)) << raw.row << ": type " << raw.type;
        EXPECT_STREQ(L"default", text) << raw.row << ": type " << raw.type;
    }
    COVRegKey key; // the last misfit of the number row stays
    ASSERT_TRUE(key.OpenRead(HKEY_CURRENT_USER, kScratch));
    DWORD direct = 5;
    BOOL flag = 5;
    EXPECT_FALSE(key.GetDWORD(L"dwValue", &direct));
    EXPECT_FALSE(key.GetBool(L"dwValue", flag));
    EXPECT_EQ(5u, direct);
    EXPECT_EQ(5, flag);
    key.Close();

    // Values of the right type and size are read.
    const DWORD stored = 0xFFFFFFAB;
    WriteRaw(L"dwValue", REG_DWORD, &stored, sizeof stored);
    const std::vector<BYTE> exact(24, 0x5A);
    WriteRaw(L"rBlock", REG_BINARY, exact.data(), 24);
    WriteRaw(L"csText", REG_SZ, L"", 2);
    ASSERT_TRUE(SerializeRegTable(table, HKEY_CURRENT_USER, kScratch, true));
    EXPECT_EQ(stored, value);
    EXPECT_EQ(0, memcmp(block, exact.data(), sizeof block));
    EXPECT_TRUE(text.IsEmpty()) << "an empty string is a string";
}

// A binary block stored with another length than the row's size, shorter,
// longer or empty, loads as the row's size in zero bytes.
TEST_F(RegistryTest, BlockOfAnotherLengthLoadsAsZeros)
{
    BYTE block[24];
    SRegTableEntry table[] = {{L"rBlock", block, RRT_BINARY, sizeof block}, {nullptr, nullptr, RRT_END}};
    const BYTE zeros[24] = {};
    for (size_t length : {size_t(16), size_t(40), size_t(0), size_t(23), size_t(25)}) {
        const std::vector<BYTE> stored(length, 0x5A);
        WriteRaw(L"rBlock", REG_BINARY, stored.data(), static_cast<DWORD>(length));
        memset(block, 0x11, sizeof block);
        ASSERT_TRUE(SerializeRegTable(table, HKEY_CURRENT_USER, kScratch, true));
        EXPECT_EQ(0, memcmp(block, zeros, sizeof block)) << length << " bytes stored";
    }
}

TEST_F(RegistryTest, NullSubkeyWorksOnTheGivenKeyAndLeavesItOpen)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyW(HKEY_CURRENT_USER, kScratch, &key));
    int saved = 99;
    SRegTableEntry table[] = {{L"iValue", &saved, RRT_INT}, {nullptr, nullptr, RRT_END}};
    ASSERT_TRUE(SerializeRegTable(table, key, nullptr, false));
    int loaded = 0;
    table[0].data = &loaded;
    ASSERT_TRUE(SerializeRegTable(table, key, nullptr, true));
    EXPECT_EQ(99, loaded);
    // Still open: the table routine did not close the caller's handle.
    DWORD v = 0, size = sizeof v;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, L"iValue", nullptr, nullptr, reinterpret_cast<BYTE*>(&v), &size));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));
}

TEST_F(RegistryTest, StringsPlainScrambledRefusedAndLimited)
{
    COVRegKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kScratch));
    const wchar_t* text = L"P\u00e4ssw\u00f6rd: {x|y} \u00ff";
    ASSERT_TRUE(key.SetString(L"plain", text, 0));
    ASSERT_TRUE(key.SetString(L"secret", text, 1));
    ASSERT_TRUE(key.SetString(L"other", text, 2));
    ASSERT_TRUE(key.SetDWORD(L"number", 3));
    ASSERT_TRUE(key.SetString(L"fits", CString(L'a', 4095), 0));
    ASSERT_TRUE(key.SetString(L"long", CString(L'b', 4096), 0));
    EXPECT_FALSE(key.SetString(L"", text, 0));
    CString out;
    EXPECT_FALSE(key.GetString(L"plain", out, false)) << "created for writing only";
    key.Close();
    // A value stored without its terminator is not read past its end.
    const wchar_t noTerminator[3] = {L'a', L'b', L'c'};
    WriteRaw(L"raw", REG_SZ, noTerminator, sizeof noTerminator);

    ASSERT_TRUE(key.OpenRead(HKEY_CURRENT_USER, kScratch));
    ASSERT_TRUE(key.GetString(L"plain", out, false));
    EXPECT_STREQ(text, out);
    ASSERT_TRUE(key.GetString(L"secret", out, false));
    EXPECT_EQ('X', out[0]) << "stored scrambled";
    ASSERT_TRUE(key.GetString(L"secret", out, true));
    EXPECT_STREQ(text, out);
    ASSERT_TRUE(key.GetString(L"other", out, false));
    EXPECT_TRUE(out.IsEmpty());
    ASSERT_TRUE(key.GetString(L"raw", out, false));
    EXPECT_STREQ(L"abc", out);
    EXPECT_TRUE(key.GetString(L"fits", out, false));
    EXPECT_EQ(4095, out.GetLength());
    out = L"unchanged";
    EXPECT_FALSE(key.GetString(L"long", out, false));
    EXPECT_FALSE(key.GetString(L"number", out, false));
    EXPECT_FALSE(key.GetString(L"missing", out, false));
    EXPECT_FALSE(key.GetString(L"plain", out, true)) << "not a scrambled form";
    EXPECT_STREQ(L"unchanged", out);

    BOOL flag = 7;
    EXPECT_TRUE(key.GetBool(L"number", flag));
    EXPECT_EQ(1, flag);
    int n = 0;
    EXPECT_TRUE(key.GetInt(L"number", n));
    EXPECT_EQ(3, n);
}

TEST_F(RegistryTest, DeleteRegKeyTreeRemovesNestedKeysAndGivesUpOnTooDeepATree)
{
    for (LPCWSTR path : {L"a\\b\\c", L"a\\d", L"e"}) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyW(HKEY_CURRENT_USER, Sub(path), &key));
        RegSetValueExW(key, L"v", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"), 4);
        RegCloseKey(key);
    }
    EXPECT_EQ(ERROR_SUCCESS, DeleteRegKeyTree(HKEY_CURRENT_USER, kScratch));
    EXPECT_FALSE(KeyExists(kScratch));
    EXPECT_NE(ERROR_SUCCESS, DeleteRegKeyTree(HKEY_CURRENT_USER, kScratch));

    CString path = kScratch;
    for (int i = 0; i < 70; ++i)
        path += L"\\n";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyW(HKEY_CURRENT_USER, path, &key));
    RegCloseKey(key);

    // The bottom of the tree is beyond the nesting limit: the deletion ends
    // and reports the failure.
    EXPECT_NE(ERROR_SUCCESS, DeleteRegKeyTree(HKEY_CURRENT_USER, kScratch));
    EXPECT_TRUE(KeyExists(kScratch));

    // From a level nearer the bottom the rest goes.
    CString inner = kScratch;
    for (int i = 0; i < 10; ++i)
        inner += L"\\n";
    EXPECT_EQ(ERROR_SUCCESS, DeleteRegKeyTree(HKEY_CURRENT_USER, inner));
    EXPECT_EQ(ERROR_SUCCESS, DeleteRegKeyTree(HKEY_CURRENT_USER, kScratch));
}

TEST_F(RegistryTest, DeleteRegKeyTreeRefusesAMissingSubkeyName)
{
    HKEY child = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyW(HKEY_CURRENT_USER, Sub(L"keep\\inner"), &child));
    RegCloseKey(child);
    HKEY parent = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kScratch, 0, KEY_ALL_ACCESS, &parent));
    DWORD one = 1;
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExW(parent, L"v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one));

    // No name would mean the given key itself: everything under it would go,
    // and the caller's handle would be closed.
    EXPECT_NE(ERROR_SUCCESS, DeleteRegKeyTree(parent, L""));
    EXPECT_NE(ERROR_SUCCESS, DeleteRegKeyTree(parent, nullptr));
    EXPECT_TRUE(KeyExists(Sub(L"keep\\inner")));
    DWORD v = 0, size = sizeof v;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(parent, L"v", nullptr, nullptr, reinterpret_cast<BYTE*>(&v), &size))
        << "the caller's handle stays open";
    RegCloseKey(parent);
}

TEST_F(RegistryTest, StringArrayPersistsAsNumberedValues)
{
    const CString listKey = Sub(L"RecentFiles");
    CStrArrayEx five;
    for (LPCWSTR s : {L"one", L"two", L"three", L"four", L"five"})
        five.Add(s);
    ASSERT_TRUE(five.SaveToRegistry(HKEY_CURRENT_USER, listKey));
    CStrArrayEx two;
    two.Add(L"alpha");
    two.Add(L"beta");
    ASSERT_TRUE(two.SaveToRegistry(HKEY_CURRENT_USER, listKey));

    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, listKey, 0, KEY_READ, &key));
    DWORD values = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    EXPECT_EQ(2u, values) << "only \"0\" and \"1\" remain";

    CStrArrayEx loaded;
    loaded.Add(L"kept");
    ASSERT_TRUE(loaded.LoadFromRegistry(HKEY_CURRENT_USER, listKey));
    ASSERT_EQ(3, loaded.GetSize()) << "loading appends";
    EXPECT_EQ(CString(L"alpha"), loaded.GetAt(1));
    EXPECT_EQ(CString(L"beta"), loaded.GetAt(2));

    CStrArrayEx none;
    EXPECT_FALSE(none.LoadFromRegistry(HKEY_CURRENT_USER, Sub(L"NoSuchKey")));
    EXPECT_EQ(0, none.GetSize());

    // As a growable table row element, each list lives in a numbered subkey.
    HKEY parent = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyW(HKEY_CURRENT_USER, kScratch, &parent));
    EXPECT_TRUE(two.Exchange(parent, false, 3));
    CStrArrayEx back;
    EXPECT_TRUE(back.Exchange(parent, true, 3));
    RegCloseKey(parent);
    ASSERT_EQ(2, back.GetSize());
    EXPECT_EQ(CString(L"beta"), back.GetAt(1));
    EXPECT_TRUE(KeyExists(Sub(L"3")));
}

} // namespace
