#pragma once
// The helper set of the system's COM-style objects (ids, CRefCount,
// AnswerQueryInterface, CIPtr, ReturnInterface, IsSameObject). They live in
// the platform layer so that the filter bases under it count references the
// same way; this is the name the rest of the code includes.
#include "platform/mfc/afxiface.h"
