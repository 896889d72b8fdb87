#include "app/ViririziruInfoPane.h"
#include "app/AppIds.h"
#include "app/ViririziruController.h"
#include "app/ViririziruPane.h"
#include "common/LocalizedString.h"
#include "common/TimeUtils.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/HybridMessages.h"
#include "xf/xfFrame.h"

IMPLEMENT_DYNAMIC(CViririziruInfoPane, CxfPane)

namespace {

// A label and a value text in one row of the column model.
void AddValueRow(CCellBuilder& builder, IHybridCell* parent, IHybridHeading* columns, UINT labelId, IHybridText** value)
{
    builder.SetParent(parent).SetColumnModel(columns).SetStyleBits(HCB_PERCENT).AddCell().BeginChildren();
    builder.SetTextID(labelId).AddText();
    builder.ReturnText(value).AddText();
    builder.EndChildren();
}

// A new group under the root with its title; its client cell in `client`.
CIPtr<CGroupHandler> AddGroup(CCellBuilder& builder, UINT titleId, CIPtr<IHybridCell>& client,
                              IHybridCell** groupCell = nullptr)
{
    CIPtr<CGroupHandler> group;
    group.Attach(new CGroupHandler(titleId, true, 0));
    builder.AddThinSeparator();
    builder.SetHandler(group).ReturnCell(groupCell).AddCell();
    (void)group->GetClientCell(&client); // none: client stays null, which the callers check
    return group;
}

} // namespace

CViririziruInfoPane::CViririziruInfoPane(CxfFrame* frame) : CxfPane(IDD_INFOPANE, frame)
{
}

CViririziruInfoPane::~CViririziruInfoPane() = default;

CViririziruInfoPane* CViririziruInfoPane::CreateIn(CxfFrame* frame)
{
    return CreatePaneIn<CViririziruInfoPane>(frame, IDD_INFOPANE);
}

void CViririziruInfoPane::OnInitPane(SxfContext* request)
{
    CxfPane::OnInitPane(request);
    if (!m_ctrl.Create(this, IDC_INFOPANE_CTRL, WS_VISIBLE))
        return;
    m_ctrl.SetDialogBkColor();
    m_ctrl.SetSingleSelect(true);
    CRect client;
    GetClientRect(&client);
    m_ctrl.MoveWindow(&client);

    BuildGroups();
    TranscriptionPane();

    // The combos exist only when the groups could be built.
    for (int i = 0; m_pTempoCombo && i < kTempoItems; ++i) {
        CString item;
        item.Format(L"%.1f x", static_cast<double>(TempoOfItem(i)));
        m_pTempoCombo->AddString(item);
    }
    if (m_pPreDelayCombo) {
        m_pPreDelayCombo->AddStringID(IDS_NO_DELAY);
        for (int i = 1; i <= kMaxPreDelaySec; ++i) {
            CString item;
            item.Format(L"%d", i);
            m_pPreDelayCombo->AddString(item);
        }
    }
    ShowFileFacts();
    UpdateActiveFragment(nullptr);
}

void CViririziruInfoPane::BuildGroups()
{
    CCellBuilder builder(&m_ctrl);
    // A: a label and its value; B: a label, a combo and its unit.
    CIPtr<IHybridHeading> twoColumns, threeColumns;
    builder.AddColumn(40).AddColumn(60).ReturnColumnModel(&twoColumns).CreateColumnModel();
    builder.AddColumn(40).AddColumn(30).AddColumn(30).ReturnColumnModel(&threeColumns).CreateColumnModel();

    CIPtr<IHybridCell> fileClient, listClient, activeClient;
    // The handlers live as long as their cells hold them.
    AddGroup(builder, IDS_FILE_INFO, fileClient);
    AddGroup(builder, IDS_FRAGMENT_LIST, listClient);
    m_pActiveGroupHandler = AddGroup(builder, IDS_ACTIVE_FRAGMENT_INFO, activeClient, &m_pActiveGroup);
    if (!fileClient || !listClient || !activeClient)
        return;

    builder.SetParent(fileClient).AddThinSeparator();
    AddValueRow(builder, fileClient, twoColumns, IDS_FILE_FORMAT, &m_pFormatText);
    AddValueRow(builder, fileClient, twoColumns, IDS_DURATION, &m_pDurationText);
    AddValueRow(builder, fileClient, twoColumns, IDS_PLAYBACK_POSITION, &m_pPositionText);
    AddValueRow(builder, fileClient, twoColumns, IDS_PLAYBACK_TIME, &m_pPlayTimeText);
    builder.SetParent(fileClient).AddThinSeparator();

    builder.SetParent(listClient).AddThinSeparator();
    builder.SetParent(listClient).ReturnCell(&m_pListGroup).AddCell();
    builder.SetParent(listClient).AddThinSeparator();

    // One row of the active fragment's group: its cells follow as children.
    auto beginRow = [&](const CIPtr<IHybridHeading>& columns) {
        builder.SetParent(activeClient).SetColumnModel(columns).SetStyleBits(HCB_PERCENT).AddCell().BeginChildren();
    };
    builder.SetParent(activeClient).AddThinSeparator();
    AddValueRow(builder, activeClient, twoColumns, IDS_FRAGMENT_TIME, &m_pFragmentTimeText);
    builder.SetParent(activeClient).AddThickSeparator();
    beginRow(twoColumns);
    builder.SetTextID(IDS_TEMPO_LABEL).AddText();
    builder.ReturnCombo(&m_pTempoCombo).AddCombo();
    builder.EndChildren();
    builder.SetParent(activeClient).AddThickSeparator();
    beginRow(threeColumns);
    builder.SetTextID(IDS_PRE_DELAY).AddText();
    builder.ReturnCombo(&m_pPreDelayCombo).AddCombo();
    builder.SetTextID(IDS_SECONDS).AddText();
    builder.EndChildren();
    builder.SetParent(activeClient).AddThickSeparator();
    beginRow(twoColumns);
    builder.AddText();
    builder.SetTextID(IDS_LOOP).ReturnCheckBox(&m_pLoopCheck).AddCheckBox();
    builder.EndChildren();
    builder.SetParent(activeClient).AddThickSeparator();
    beginRow(twoColumns);
    builder.SetTextID(IDS_COMMENT).AddText();
    builder.ReturnEdit(&m_pCommentEdit).AddEdit();
    builder.EndChildren();
    builder.SetParent(activeClient).AddThinSeparator();

    // The list lines: a fragment's times and its tempo.
    builder.AddColumn(70).AddColumn(30).ReturnColumnModel(&m_pListColumns).CreateColumnModel();
}

void CViririziruInfoPane::ShowFileFacts()
{
    CxfController* controller = FindControllerById(CONTROLLER_DOCUMENT);
    auto* document = dynamic_cast<CViririziruController*>(controller);
    IAudioReader* reader = document ? document->GetReader() : nullptr;
    if (!reader || !m_pDurationText || !m_pFormatText)
        return;
    m_pDurationText->SetText(FormatDurationMs(reader->GetDuration()));
    if (const SAudioFormat* format = reader->GetFormat()) {
        CLocalizedString text;
        text.Format(IDS_FORMAT_VALUE, static_cast<int>(format->nSamplesPerSec / 1000),
                    static_cast<int>(format->nBitsPerSample), static_cast<int>(format->nChannels));
        m_pFormatText->SetText(text);
    }
}

CViririziruPane* CViririziruInfoPane::TranscriptionPane()
{
    m_pTranscriptionPane = dynamic_cast<CViririziruPane*>(FindPane(PANE_TRANSCRIPTION));
    return m_pTranscriptionPane;
}

void CViririziruInfoPane::SetFragmentDisplay(IFragmentDisplay* display)
{
    m_pFragments = display;
}

void CViririziruInfoPane::UpdatePlayback(LONGLONG position, DWORD startTick)
{
    if (!m_pPositionText || !m_pPlayTimeText)
        return;
    if (position == -1) {
        m_pPositionText->SetText(L"");
        m_pPlayTimeText->SetText(L"");
        return;
    }
    m_pPositionText->SetText(FormatTimeMinSecMs(position));
    const DWORD elapsed = ::GetTickCount() - startTick;
    m_pPlayTimeText->SetText(FormatDurationSec(elapsed / 1000));
}

void CViririziruInfoPane::RequestListRefresh()
{
    if (GetSafeHwnd())
        PostMessage(WM_INFO_REBUILD_LIST);
}
