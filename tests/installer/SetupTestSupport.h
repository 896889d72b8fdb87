#pragma once
// Scratch trees for the installer tests: a source folder with files and
// subfolders, a destination whose name holds a blank, and file checks.
#include <windows.h>
#include <string>
#include <vector>

namespace setuptest {

struct STree
{
    std::wstring root; // fresh, empty at start
    std::wstring Path(const wchar_t* relative) const { return root + L"\\" + relative; }
};

// A fresh folder under the temporary folder (an earlier run's is removed).
STree FreshFolder(const wchar_t* name);
// Fills `folder` with the source set: two files at the top (one of three
// copy blocks), one in a subfolder, and an empty subfolder.
void MakeSourceSet(const std::wstring& folder);
// Relative names of the source set's files and folders.
extern const wchar_t* const kSourceFiles[3];
bool Exists(const std::wstring& path);
bool SameBytes(const std::wstring& a, const std::wstring& b);
// Number of entries (files and folders) under `folder`, recursively.
int CountEntries(const std::wstring& folder);
// Fills the product record with this test program's names.
void UseTestProduct();

} // namespace setuptest
