// Where a benchmark finds its sound files: a Unix folder (the test data the
// build generates) read through Wine's Z: drive.
#pragma once

#include <string>

// The folder given as the first argument, else RAVELIN_TESTDATA; empty when neither.
std::string TestDataFolder(int argc, wchar_t** argv);
// "/a/b" as "Z:\a\b".
std::wstring WindowsPath(const std::string& unixPath);
