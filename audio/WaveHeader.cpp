#include "audio/WaveHeader.h"

SWaveHeader::SWaveHeader(DWORD size) : WAVEHDR()
{
    lpData = static_cast<LPSTR>(GlobalAlloc(GPTR, size));
    capacity = lpData ? size : 0;
    dwBufferLength = capacity;
    dwBytesRecorded = 0;
    dwUser = 0;
    dwFlags = 0;
    dwLoops = 0;
}

SWaveHeader::~SWaveHeader()
{
    if (lpData)
        GlobalFree(lpData);
}
