#include "audio/AudioSettings.h"

#include "common/RegSettings.h"

SAudioSettings& AudioSettings()
{
    static SAudioSettings settings;
    return settings;
}

bool SerializeAudioSettings(HKEY parent, bool load)
{
    SAudioSettings& s = AudioSettings();
    const SRegTableEntry table[] = {
        {L"iMaxPeakFileSize", &s.iMaxPeakFileSize, RRT_BOOL},
        {L"dwWaveInputDeviceID", &s.dwWaveInputDeviceID, RRT_BOOL},
        {L"dwWaveOutputDeviceID", &s.dwWaveOutputDeviceID, RRT_BOOL},
        {nullptr, nullptr, RRT_END},
    };
    return SerializeRegTable(table, parent, L"VAF", load) || load;
}

void SetMaxPeakFileSize(int megabytes)
{
    AudioSettings().iMaxPeakFileSize = megabytes;
}

int GetMaxPeakFileSize()
{
    return AudioSettings().iMaxPeakFileSize;
}
