#pragma once
// The audio engine's settings: process-wide 32-bit values, kept under the
// subkey "VAF" of the application's registry key. They start at their
// defaults; a value missing from the registry keeps its default.
#include <windows.h>

struct SAudioSettings
{
    int iMaxPeakFileSize = 20;               // space limit of the peak files, in MiB
    DWORD dwWaveInputDeviceID = 0xFFFFFFFF;  // -1: the system's choice
    DWORD dwWaveOutputDeviceID = 0xFFFFFFFF; // -1: the wave mapper (playback always uses it)
};

// The process's settings record.
SAudioSettings& AudioSettings();

// Loads (load true) or saves the settings under parent\VAF; nothing happens
// when that key cannot be opened (load) or created (save). False when the
// settings could not be saved (loading keeps what it cannot read).
[[nodiscard]] bool SerializeAudioSettings(HKEY parent, bool load);

void SetMaxPeakFileSize(int megabytes);
int GetMaxPeakFileSize();
