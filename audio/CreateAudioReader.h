#pragma once
// Opens an audio file as a reader chosen by its extension: "wav" (case
// ignored) the own RIFF reader, "ogg" the Ogg Vorbis reader, anything else
// the DirectShow reader. With cache, the reader is wrapped in the whole-file
// cache. On failure the result is false and *out is left untouched.
#include "audio/IAudioReader.h"

[[nodiscard]] bool CreateAudioReader(LPCWSTR path, IAudioReader** out, bool cache);
