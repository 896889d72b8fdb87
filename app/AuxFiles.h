#pragma once
// Where the files that belong to an audio file are kept: the folder
// "AuxFiles" beside the program, one name per audio file made from its name
// and size, so that opening the same file again finds them.
#include "platform/mfc/afx.h"
#include "common/AppFolder.h"

// The folder (created when missing), a backslash, the audio file's name with
// its extension, "_", its size in bytes (low 32 bits, signed; 0 when it
// cannot be read), "." and `extension`. A name that would make the path
// longer than MAX_PATH less 5 (room for ".tmp" and ".bak" behind it) is cut
// and given "~" and eight hex digits of its hash before the "_".
// Empty for a null path or extension.
// When the folder cannot be made, the folder's own path.
CString MakeAuxFilePath(LPCWSTR audioPath, LPCWSTR extension);
