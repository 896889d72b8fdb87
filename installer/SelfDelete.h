#pragma once
// Starting programs and the batch file that deletes the program after it
// has ended.
#include "platform/mfc/afx.h"

// Starts `programPath` (quoted on its command line, so blanks are safe)
// with the arguments, hidden, in its own folder; waits for it to end when
// asked. False when it could not be started.
[[nodiscard]] bool RunProcess(LPCWSTR programPath, bool wait, LPCWSTR arguments = nullptr);

// Name of the self-delete batch in the temporary folder.
constexpr const wchar_t* kSelfDeleteBatchName = L"DeleteMe.bat";
// The batch text: keeps trying to delete the program, giving up after a
// bounded number of tries about a second apart, then removes the folder
// (when empty; never a drive root) and itself.
// How often the batch tries to delete the program, about a second apart.
constexpr int kSelfDeleteTries = 60;
CString FormatSelfDeleteScript(LPCWSTR programPath, LPCWSTR folder, LPCWSTR batchPath, int tries = kSelfDeleteTries);
// Writes the batch for the given program and folder as ANSI text and starts
// it hidden at idle priority. False when it cannot be written or started,
// or when a path does not survive the ANSI code page (a '?' put in its place
// would be a wildcard to del).
[[nodiscard]] bool StartSelfDelete(LPCWSTR programPath, LPCWSTR folder, LPCWSTR batchPath,
                                   int tries = kSelfDeleteTries);
// The same for the running program, its folder and "DeleteMe.bat" in the
// temporary folder.
[[nodiscard]] bool ScheduleSelfDelete();
