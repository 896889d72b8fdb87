#pragma once
// The installer's entry from the program's start-up: the command line
// switches "/OVInst" (install) and "/OVUninst" (uninstall).
#include <windows.h>
#include "installer/SetupHooks.h"

// Looks for "/OVInst" and "/OVUninst" anywhere in the command line (exact
// case); "/OVInst" wins when both are present. False when neither is there:
// the program starts normally. True when a switch was handled (the wizard
// or the uninstaller has run modally): the caller ends the program without
// a main window and without saving settings.
// The application's hooks are handed over first (SetSetupHooks).
[[nodiscard]] bool RunSetupFromCommandLine(LPCWSTR commandLine, const SSetupHooks& hooks);
// The same for the process's own command line.
[[nodiscard]] bool RunSetupFromCommandLine(const SSetupHooks& hooks);
