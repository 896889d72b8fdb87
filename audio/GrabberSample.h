#pragma once
// IGrabberSample: control interface of the sink filter (CRenderer): which
// media type it accepts, which one it got, and where its samples go.
#include <windows.h>
#include <strmif.h>
#include "platform/mfc/afxiface.h"

#include "audio/SampleCallback.h"

// {11352BC8-E53C-4F98-AF0A-3ADEB6289B58}
RAVELIN_IID(IGrabberSample, 0x11352BC8, 0xE53C, 0x4F98, 0xAF, 0x0A, 0x3A, 0xDE, 0xB6, 0x28, 0x9B, 0x58)

struct IGrabberSample : public IUnknown
{
    // Copies `mt` as the accepted type; null resets it to empty (accept all).
    [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetAcceptedMediaType(const AM_MEDIA_TYPE* mt) = 0;
    // The input pin's connection type (caller frees its format block);
    // VFW_E_NOT_CONNECTED before the pin is connected.
    [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE GetConnectedMediaType(AM_MEDIA_TYPE* mt) = 0;
    // Keeps `callback` (counted) in place of the old one; null clears it.
    [[nodiscard]] virtual HRESULT STDMETHODCALLTYPE SetCallback(ISampleCallback* callback) = 0;
};
