#pragma once
// The program's own folder and the folder of its auxiliary files.
#include "platform/mfc/afxstr.h"

// The folder of the running executable, with a trailing backslash.
CString GetAppFolder();

// The "AuxFiles" folder inside the program's folder, without a trailing
// backslash. Only forms the path: the folder is neither created nor checked.
CString GetAuxFolder();
