#pragma once
// The controller of one open audio file's frame: makes the file's reader,
// refuses sample widths other than 16 bits, and holds the reader for the
// panes of its frame until the frame closes.
#include "audio/IAudioReader.h"
#include "common/Interfaces.h"
#include "xf/xfDocController.h"

class CViririziruController : public CxfDocController
{
    DECLARE_DYNAMIC(CViririziruController)
public:
    CViririziruController();
    ~CViririziruController() override;

    // False when no reader could be made for the path, or (after telling the
    // user) when its samples are not 16 bits wide; nothing of the file then
    // stays open.
    [[nodiscard]] bool OpenDocument(LPCWSTR path, SxfContext* request) override;
    // Stops the reader's background work and lets it go.
    void OnStop() override;

    // The held reader, without a reference added; null before an open.
    IAudioReader* GetReader() const { return m_pReader; }

    // An empty handler that no message-map entry names.
    void OnUnmappedCommand();

protected:
    void OnClose();
    void OnUpdateClose(CCmdUI* cmdUI);
    DECLARE_MESSAGE_MAP()

private:
    // Aborts the reader's background work (cache loading, peaks) before the
    // reference goes, so that no thread or open file outlives it.
    void ReleaseReader();

    CIPtr<IAudioReader> m_pReader;
};
