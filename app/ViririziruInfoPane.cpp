#include "app/ViririziruInfoPane.h"
#include "app/AppIds.h"
#include "app/ViririziruController.h"
#include "app/ViririziruPane.h"
#include "common/LocalizedString.h"
#include "common/TimeUtils.h"
#include <algorithm>
#include "hybrid/CellBuilder.h"
#include "hybrid/ContentDrawing.h"
#include "hybrid/HybridMessages.h"
#include "hybrid/TextContent.h"
#include "xf/xfFrame.h"

IMPLEMENT_DYNAMIC(CViririziruInfoPane, CxfPane)

namespace {

// Rows of labels and values: the label column keeps the width it is given
// (FitColumns), the value column takes the rest.
const DWORD kLabelRowBits = HCB_PERCENT | HCB_FIXED_FIRST;
// Labels and values wrap where their column is too narrow for them, so
// that no text is cut off.
const DWORD kWrapBits = HTB_MULTILINE;
// What the group borders and their gaps take from the control's width.
const int kGroupIndent = 2 * (5 + 6);
// Space after the longest label, and the least room a label keeps.
const int kLabelGap = 8;
const int kLeastLabel = 40;

// A label and a value text in one row of the column model.
void AddValueRow(CCellBuilder& builder, IHybridCell* parent, IHybridHeading* columns, UINT labelId, IHybridText** value)
{
    builder.SetParent(parent).SetColumnModel(columns).SetStyleBits(kLabelRowBits).AddCell().BeginChildren();
    builder.SetTextID(labelId).SetStyleBits(0, kWrapBits).AddText();
    builder.ReturnText(value).SetStyleBits(0, kWrapBits).AddText();
    builder.EndChildren();
}

// The widest of the texts in the control's own font, with the text cells'
// margins.
int WidestText(CHybridCtrl& ctrl, std::initializer_list<UINT> ids)
{
    int widest = 0;
    for (UINT id : ids) {
        CLocalizedString text(id);
        widest = std::max(widest, static_cast<int>(MeasureStyleText(&ctrl, ctrl.GetDefaultStyle(), text).cx));
    }
    return widest;
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

    // Columns are fitted to the texts now in place, then to every new size.
    m_labelWidth = WidestText(m_ctrl, {IDS_FILE_FORMAT, IDS_DURATION, IDS_PLAYBACK_POSITION, IDS_PLAYBACK_TIME,
                                       IDS_FRAGMENT_TIME, IDS_TEMPO_LABEL, IDS_PRE_DELAY, IDS_COMMENT}) +
                   kLabelGap;
    m_secondsWidth = WidestText(m_ctrl, {IDS_SECONDS}) + kLabelGap;
    CString widestTempo;
    widestTempo.Format(L"%.2f x", 8.88);
    m_tempoWidth = static_cast<int>(MeasureStyleText(&m_ctrl, m_ctrl.GetDefaultStyle(), widestTempo).cx) + kLabelGap;
    CRect client;
    GetClientRect(&client);
    FitColumns(client.Width());
    m_ctrl.MoveWindow(&client);
}

void CViririziruInfoPane::FitColumns(int width)
{
    if (!m_pLabelColumns || !m_pDelayColumns || !m_pListColumns)
        return;
    // The pre-delay combo keeps room for its longest item ("no delay"); the
    // labels take their longest text where the width allows, and wrap
    // into what is left where it does not.
    const int inner = width - kGroupIndent;
    const int comboRoom =
        m_pPreDelayCombo && m_pPreDelayCombo->GetCell() ? m_pPreDelayCombo->GetCell()->GetPreferredWidth() : 0;
    const int label = std::max(kLeastLabel, std::min(m_labelWidth, inner - comboRoom - m_secondsWidth));
    m_pLabelColumns->SetWidth(0, label);
    m_pDelayColumns->SetWidth(0, label);
    m_pDelayColumns->SetWidth(2, m_secondsWidth);
    m_pListColumns->SetWidth(1, m_tempoWidth);
}

void CViririziruInfoPane::BuildGroups()
{
    CCellBuilder builder(&m_ctrl);
    // Label and value; label, pre-delay combo and "Sec"; a list line's
    // times and tempo. The fixed columns get their widths in FitColumns.
    builder.AddColumn(0).AddColumn(100).ReturnColumnModel(&m_pLabelColumns).CreateColumnModel();
    builder.AddColumn(0).AddColumn(100).AddColumn(0).ReturnColumnModel(&m_pDelayColumns).CreateColumnModel();
    builder.AddColumn(100).AddColumn(0).ReturnColumnModel(&m_pListColumns).CreateColumnModel();
    const CIPtr<IHybridHeading>& twoColumns = m_pLabelColumns;

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
    auto beginRow = [&](const CIPtr<IHybridHeading>& columns, DWORD bits) {
        builder.SetParent(activeClient).SetColumnModel(columns).SetStyleBits(bits).AddCell().BeginChildren();
    };
    builder.SetParent(activeClient).AddThinSeparator();
    AddValueRow(builder, activeClient, twoColumns, IDS_FRAGMENT_TIME, &m_pFragmentTimeText);
    builder.SetParent(activeClient).AddThickSeparator();
    beginRow(twoColumns, kLabelRowBits);
    builder.SetTextID(IDS_TEMPO_LABEL).SetStyleBits(0, kWrapBits).AddText();
    builder.ReturnCombo(&m_pTempoCombo).AddCombo();
    builder.EndChildren();
    builder.SetParent(activeClient).AddThickSeparator();
    beginRow(m_pDelayColumns, HCB_PERCENT | HCB_FIXED_ENDS);
    builder.SetTextID(IDS_PRE_DELAY).SetStyleBits(0, kWrapBits).AddText();
    builder.ReturnCombo(&m_pPreDelayCombo).AddCombo();
    builder.SetTextID(IDS_SECONDS).AddText();
    builder.EndChildren();
    builder.SetParent(activeClient).AddThickSeparator();
    beginRow(twoColumns, kLabelRowBits);
    builder.AddText();
    builder.SetTextID(IDS_LOOP).ReturnCheckBox(&m_pLoopCheck).AddCheckBox();
    builder.EndChildren();
    builder.SetParent(activeClient).AddThickSeparator();
    beginRow(twoColumns, kLabelRowBits);
    builder.SetTextID(IDS_COMMENT).SetStyleBits(0, kWrapBits).AddText();
    builder.ReturnEdit(&m_pCommentEdit).AddEdit();
    builder.EndChildren();
    builder.SetParent(activeClient).AddThinSeparator();
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
