#pragma once
// ISampleCallback: how the sink filter of a DirectShow graph hands decoded
// samples (and the end of the stream) to the reader that owns the graph.
#include <windows.h>
#include <strmif.h>
#include "platform/mfc/afxiface.h"

// {74940FC9-0984-4AF6-B3D6-438CFA680B60}
RAVELIN_IID(ISampleCallback, 0x74940FC9, 0x0984, 0x4AF6, 0xB3, 0xD6, 0x43, 0x8C, 0xFA, 0x68, 0x0B, 0x60)

struct ISampleCallback : public IUnknown
{
    // One rendered sample; start and stop are stream times (100 ns) with the
    // segment start already added. Called on the graph's streaming thread.
    virtual HRESULT OnSample(IMediaSample* sample, REFERENCE_TIME start, REFERENCE_TIME stop, BOOL flag) = 0;
    // The graph reported that the stream is complete.
    virtual void OnEndOfStream() = 0;
};
