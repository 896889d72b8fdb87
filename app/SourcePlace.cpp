#include "app/SourcePlace.h"

#include <algorithm>
#include <cstdlib>

LONGLONG CSourcePlace::Find(IAudioReader* reader, const short* frames, LONGLONG n, LONGLONG guess, LONGLONG reach,
                            double* mismatch)
{
    const size_t samples = static_cast<size_t>(n * m_channels);
    double energy = 0;
    for (size_t i = 0; i < samples; ++i)
        energy += static_cast<double>(frames[i]) * frames[i];
    if (!reader || n <= 0 || energy <= 0)
        return -1; // silence sounds like anything
    const LONGLONG first = std::max<LONGLONG>(0, guess - reach);
    const LONGLONG last = std::min(reader->GetFrameCount() - n, guess + reach);
    const LONGLONG candidates = Read(reader, first, last - first + 1, n);
    double best = -1;
    LONGLONG bestAt = -1;
    for (LONGLONG at = 0; at < candidates; ++at) {
        const short* src = &m_near[static_cast<size_t>(at * m_channels)];
        double cost = 0;
        for (size_t i = 0; i < samples && (best < 0 || cost <= best); ++i) {
            const double d = static_cast<double>(src[i]) - frames[i];
            cost += d * d;
        }
        const bool nearer = bestAt < 0 || std::llabs(first + at - guess) < std::llabs(first + bestAt - guess);
        if (best < 0 || cost < best || (cost == best && nearer)) {
            best = cost;
            bestAt = at;
        }
    }
    if (bestAt < 0)
        return -1;
    *mismatch = best / energy;
    return first + bestAt;
}

LONGLONG CSourcePlace::Read(IAudioReader* reader, LONGLONG first, LONGLONG starts, LONGLONG n)
{
    if (starts <= 0 || !reader->Seek(first))
        return 0;
    m_near.resize(static_cast<size_t>((starts + n - 1) * m_channels));
    const DWORD want = static_cast<DWORD>(m_near.size() * sizeof(short));
    DWORD have = 0;
    for (DWORD got = 0; have < want; have += got)
        if (!reader->Read(reinterpret_cast<char*>(m_near.data()) + have, want - have, &got) || got == 0)
            break;
    const LONGLONG frames = static_cast<LONGLONG>(have) / static_cast<LONGLONG>(m_channels * sizeof(short));
    return std::max<LONGLONG>(0, std::min(starts, frames - n + 1));
}
