#include "app/ViririziruController.h"
#include "app/AppIds.h"
#include "app/ViririziruPane.h"
#include "audio/CreateAudioReader.h"
#include "xf/xfFrame.h"
#include "xf/xfMDIClient.h"

IMPLEMENT_DYNAMIC(CViririziruController, CxfDocController)

BEGIN_MESSAGE_MAP(CViririziruController, CxfDocController)
    ON_COMMAND(ID_CMD_CLOSE, &CViririziruController::OnClose)
    ON_UPDATE_COMMAND_UI(ID_CMD_CLOSE, &CViririziruController::OnUpdateClose)
END_MESSAGE_MAP()

CViririziruController::CViririziruController()
{
    m_nId = CONTROLLER_DOCUMENT;
}

CViririziruController::~CViririziruController()
{
    ReleaseReader();
}

bool CViririziruController::OpenDocument(LPCWSTR path, SxfContext*)
{
    ReleaseReader();
    CIPtr<IAudioReader> reader;
    if (!CreateAudioReader(path, &reader, true))
        return false;
    const SAudioFormat* format = reader->GetFormat();
    if (format && format->nBitsPerSample == 16) {
        m_pReader = reader;
        return true;
    }
    // Said here, where the width is known; the opener then says that the
    // file did not open.
    if (m_pFrame)
        m_pFrame->MessageBox(IDS_ONLY_16_BIT, MB_OK);
    reader->Abort();
    return false;
}

void CViririziruController::OnStop()
{
    // The frame stops its controller before its panes: the playback that
    // reads from the reader ends first (the pane saves its project later).
    if (CxfPane* pane = m_pFrame ? m_pFrame->FindPane(PANE_TRANSCRIPTION) : nullptr)
        if (pane->IsKindOf(RUNTIME_CLASS(CViririziruPane)))
            static_cast<CViririziruPane*>(pane)->StopPlayback();
    ReleaseReader();
    CxfDocController::OnStop();
}

void CViririziruController::ReleaseReader()
{
    if (m_pReader) {
        m_pReader->Abort();
        m_pReader = nullptr;
    }
}

void CViririziruController::OnClose()
{
    if (CxfMDIClient* area = m_pFrame ? m_pFrame->FindMDIClient(MDI_MAIN) : nullptr)
        area->CloseActiveFrame();
}

void CViririziruController::OnUnmappedCommand()
{
}

void CViririziruController::OnUpdateClose(CCmdUI*)
{
    // Close stays enabled while a file is open.
}
