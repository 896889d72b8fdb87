#pragma once
// Helpers of the text-tree tests: file bytes in the written encoding, the
// plain files of a folder, and node-by-node comparison of two documents.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/TextTree.h"

#include <cstdint>
#include <string>
#include <vector>

namespace texttreetest {

// UTF-16LE bytes of `text`, after the mark FF FE when asked.
inline std::vector<uint8_t> Utf16(const std::wstring& text, bool mark = true)
{
    std::vector<uint8_t> bytes;
    if (mark)
        bytes = {0xFF, 0xFE};
    for (wchar_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

// Names of the plain files in `folder`.
inline std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    while (FindNextFileW(h, &data));
    FindClose(h);
    return names;
}

inline std::string Narrow(const CString& text)
{
    std::string out;
    for (int i = 0; i < text.GetLength(); ++i)
        out += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
    return out;
}

// Same names, values, kinds and child order all the way down.
inline ::testing::AssertionResult SameTree(const SNode& a, const SNode& b)
{
    if (a.name != b.name || a.value != b.value || a.isGroup != b.isGroup
        || a.value.GetLength() != b.value.GetLength())
        return ::testing::AssertionFailure()
            << "node " << Narrow(a.name) << " differs from " << Narrow(b.name);
    if (a.children.GetSize() != b.children.GetSize())
        return ::testing::AssertionFailure()
            << "children of " << Narrow(a.name) << ": " << a.children.GetSize() << " vs "
            << b.children.GetSize();
    for (INT_PTR i = 0; i < a.children.GetSize(); ++i) {
        ::testing::AssertionResult same = SameTree(*a.children.GetAt(i), *b.children.GetAt(i));
        if (!same)
            return same;
    }
    return ::testing::AssertionSuccess();
}

} // namespace texttreetest
