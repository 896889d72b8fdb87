#pragma once
// The project file of an audio file: its fragments and the view (scroll
// position and zoom), a text tree with the root "Viririziru_Root" holding
// the fragments' group "Selections" and the group "Settings".
#include "platform/mfc/afx.h"

struct IFragmentDisplay;
struct ITimeContainer;

// Reads `path` into the display and the container. False when there is no
// readable, whole project file (then nothing was changed); an existing file
// that cannot be read is first moved aside to `path` + ".bak" (replacing an
// older one), so that the next save does not destroy it; a file that loads
// with fragments left out is copied there for the same reason. When that
// move or copy fails, *mustNotSave (when given) is set: the file at `path`
// is then the only copy and must not be saved over.
[[nodiscard]] bool LoadProjectFile(LPCWSTR path, IFragmentDisplay* fragments, ITimeContainer* time,
                                   bool* mustNotSave = nullptr);

// Writes the display's fragments and the container's view to `path`, safely:
// on failure the former file stays whole and the result is false.
[[nodiscard]] bool SaveProjectFile(LPCWSTR path, IFragmentDisplay* fragments, ITimeContainer* time);
