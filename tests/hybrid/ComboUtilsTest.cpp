// The combo utilities dialogs use to fill and read combos, each on a real
// combo content (or a system combo box) in one table.
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "hybrid/ComboContent.h"
#include "hybrid/ComboUtils.h"

namespace {

// A list read by count and text by index, as the recent-file list is.
struct STextList
{
    std::vector<CString> texts;
    int GetCount() const { return static_cast<int>(texts.size()); }
    CString GetAt(int i) const { return texts[static_cast<size_t>(i)]; }
};

// A combo content with the given items.
CIPtr<IHybridCombo> Combo(std::initializer_list<LPCWSTR> items)
{
    CIPtr<IHybridCombo> combo(new CComboContent);
    for (LPCWSTR item : items)
        combo->AddString(item);
    return combo;
}

// "text:data" of every item, '|' between, then "@" and the selection.
std::wstring Items(IHybridCombo* combo)
{
    std::wstring out;
    for (int i = 0; i < combo->GetCount(); ++i)
        out += (i ? L"|" : L"") + std::wstring(combo->GetString(i)) + L":" + std::to_wstring(combo->GetItemData(i));
    return out + L"@" + std::to_wstring(combo->GetCurSel());
}

} // namespace

TEST(ComboUtils, FillAndReadCombos)
{
    const LPCWSTR texts[] = {L"alpha", L"beta"};
    const DWORD data[] = {7, 9};
    const int numbers[] = {-3, 0, 120};

    const std::pair<const char*, std::function<bool()>> cases[] = {
        {"GetComboSelectedInt: the selected item's leading integer, else 0",
         [] {
             CIPtr<IHybridCombo> combo = Combo({L"12 bars", L"tempo", L"-3x"});
             const int none = GetComboSelectedInt(combo);
             combo->SetCurSel(0, false);
             const int twelve = GetComboSelectedInt(combo);
             combo->SetCurSel(1, false);
             const int word = GetComboSelectedInt(combo);
             combo->SetCurSel(2, false);
             return none == 0 && twelve == 12 && word == 0 && GetComboSelectedInt(combo) == -3 &&
                    GetComboSelectedInt(nullptr) == 0;
         }},
        {"SelectComboItemByInt: the first item that reads as the value; none leaves the selection",
         [] {
             CIPtr<IHybridCombo> combo = Combo({L"5", L"12 bars", L"12", L"x"});
             SelectComboItemByInt(combo, 12);
             const int first = combo->GetCurSel();
             SelectComboItemByInt(combo, 7);
             SelectComboItemByInt(nullptr, 5);
             return first == 1 && combo->GetCurSel() == 1;
         }},
        {"FillComboFromList: the list replaces the old items",
         [] {
             CIPtr<IHybridCombo> combo = Combo({L"old"});
             FillComboFromList(combo, STextList{{L"a.wav", L"b.wav"}});
             FillComboFromList(static_cast<IHybridCombo*>(nullptr), STextList{{L"c"}});
             return Items(combo) == L"a.wav:0|b.wav:0@-1";
         }},
        {"FillComboBoxFromList: a system combo box, the count answered",
         [] {
             HWND box = ::CreateWindowExW(0, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_POPUP, 0, 0, 100, 100, nullptr,
                                          nullptr, ::GetModuleHandleW(nullptr), nullptr);
             ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"old"));
             const int count = FillComboBoxFromList(box, STextList{{L"a.wav", L"b.wav", L"c.wav"}});
             wchar_t last[16] = {};
             ::SendMessageW(box, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(last));
             ::DestroyWindow(box);
             return count == 3 && std::wstring(last) == L"c.wav";
         }},
        {"FillComboTexts: added after the old items, then the index selected; -1 selects nothing",
         [&] {
             CIPtr<IHybridCombo> combo = Combo({L"old"});
             FillComboTexts(combo, texts, 2, 2);
             CIPtr<IHybridCombo> unselected = Combo({});
             FillComboTexts(unselected, texts, 2, -1);
             FillComboTexts(unselected, nullptr, 2, 0);
             return Items(combo) == L"old:0|alpha:0|beta:0@2" && Items(unselected) == L"alpha:0|beta:0@-1";
         }},
        {"FillComboTextsWithData: each text keeps its own value",
         [&] {
             CIPtr<IHybridCombo> combo = Combo({L"old"});
             FillComboTextsWithData(combo, texts, data, 2, 1);
             return Items(combo) == L"old:0|alpha:7|beta:9@1";
         }},
        {"FillComboNumbers: written as decimal numbers",
         [&] {
             CIPtr<IHybridCombo> combo = Combo({});
             FillComboNumbers(combo, numbers, 3, 0);
             FillComboNumbers(combo, nullptr, 3, 1);
             return Items(combo) == L"-3:0|0:0|120:0@0";
         }},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(c.second()) << c.first;
}
