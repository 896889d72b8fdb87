#pragma once
// The playback tempo's limits. The playback thread's read buffer fits tempos
// up to 8.0, and a tempo of 0 or below would never advance; every place that
// sets, steps or reads a tempo keeps it within these bounds.

constexpr float kMinTempo = 0.05f;
constexpr float kMaxTempo = 8.0f;

// Also maps a NaN to the lower bound.
inline float ClampTempo(float tempo)
{
    if (!(tempo >= kMinTempo))
        return kMinTempo;
    return tempo > kMaxTempo ? kMaxTempo : tempo;
}

// The tempo slider of the fragment menu runs from 1 to 40 in steps of 0.05.
constexpr int kTempoSliderMin = 1;
constexpr int kTempoSliderMax = 40;

inline float TempoFromSliderValue(int value)
{
    return ClampTempo(static_cast<float>(value) * 2 / 40);
}

// Rounded to the nearest step: in single precision 0.7 is 0.69999999,
// which truncation would put a step lower.
inline int SliderValueFromTempo(float tempo)
{
    const float steps = tempo * 40 / 2;
    return static_cast<int>(steps + 0.5f);
}
