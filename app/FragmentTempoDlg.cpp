#include "app/FragmentTempoDlg.h"

#include "common/DrawRoutines.h"
#include "common/KeyRoutines.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/HybridMessages.h"
#include "hybrid/IHybridText.h"

namespace {

constexpr UINT kListId = 6028;
constexpr UINT kBlinkTimer = 1;
constexpr int kRowCount = 20;
constexpr DWORD_PTR kKeyTextData = 50001;
constexpr int kLastBlink = 6;

// Row i (1 to 20) plays at i x 0.1.
float RowTempo(int i)
{
    return static_cast<float>(i * static_cast<double>(0.1f));
}

CString KeyText(int i)
{
    CString text;
    if (i < 10)
        text.Format(L"%d", i);
    else if (i == 10)
        text = L"0";
    else
        text.Format(L"%c", i + 86);
    return text;
}

} // namespace

CFragmentTempoDlg::CFragmentTempoDlg(CWnd* parent, float tempo) : CLocalizedDlg(IDD, parent), m_tempo(tempo)
{
}

BOOL CFragmentTempoDlg::OnInitDialog()
{
    CLocalizedDlg::OnInitDialog();
    if (!m_list.Create(this, kListId, WS_TABSTOP)) {
        // Without its list there is nothing to choose from: the dialog ends
        // as cancelled and the tempo stays.
        EndDialog(IDCANCEL);
        return TRUE;
    }
    m_list.SetSingleSelect(true);
    BuildRows();
    FitHeight();
    CenterWindow(CWnd::GetDesktopWindow());
    m_ready = true;
    return TRUE;
}

void CFragmentTempoDlg::BuildRows()
{
    CCellBuilder builder(&m_list);
    CIPtr<IHybridHeading> model;
    builder.AddColumn(50).AddColumn(50).ReturnColumnModel(&model).CreateColumnModel();
    CIPtr<IHybridCell> header;
    builder.SetColumnModel(model).SetStyleBits(0x200).ReturnCell(&header).AddCell().BeginChildren();
    builder.SetTextID(1014).SetStyleBits(0, 1).AddHeading();
    builder.SetTextID(1015).SetStyleBits(0, 1).AddHeading().EndChildren();
    for (int i = 1; i <= kRowCount; ++i) {
        const float tempo = RowTempo(i);
        COLORREF background = ::GetSysColor(COLOR_WINDOW);
        if (i % 2)
            background = ShadeColour(background, 20);
        CIPtr<IHybridCell> row;
        builder.SetColumnModel(model)
            .SetBkColor(background)
            .SetStyleBits(0x1)
            .SetData(i)
            .ReturnCell(&row)
            .AddCell()
            .BeginChildren();
        const int style = i == 10 ? 2 : 1;
        CString tempoText;
        tempoText.Format(L"%.1f x", static_cast<double>(tempo));
        const CString key = KeyText(i);
        builder.SetStdStyle(style).SetData(kKeyTextData).SetText(key).AddText();
        builder.SetStdStyle(style).SetText(tempoText).AddText().EndChildren();
        if (tempo == m_tempo)
            row->SetSelected(true, false);
        m_rows.Add(row);
    }
}

void CFragmentTempoDlg::FitHeight()
{
    CRect client;
    GetClientRect(&client);
    m_list.MoveWindow(0, 0, client.Width(), 1, FALSE);
    m_list.RecalcLayout(true);
    CRect window;
    GetWindowRect(&window);
    const int frame = window.Height() - client.Height();
    SetWindowPos(nullptr, 0, 0, window.Width(), m_list.GetContentHeight() + frame,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CFragmentTempoDlg::PreTranslateMessage(MSG* msg)
{
    if (m_ready && msg->message == WM_KEYDOWN) {
        const WCHAR c = GetCharFromKeyMsg(msg);
        CString typed;
        typed.Format(L"%c", c);
        for (INT_PTR i = 0; c && i < m_rows.GetSize(); ++i) {
            IHybridCell* row = m_rows.GetAt(i);
            CIPtr<IHybridText> key;
            if (FindTextContentByData(row, kKeyTextData, &key) && key &&
                CompareStringOrdinal(typed, -1, key->GetText(), -1, TRUE) == CSTR_EQUAL) {
                Pick(row);
                return TRUE;
            }
        }
        // The list takes every key it is given, Enter too: the dialog's
        // default answer is given here.
        if (msg->wParam == VK_RETURN) {
            OnOK();
            return TRUE;
        }
    }
    return CLocalizedDlg::PreTranslateMessage(msg);
}

void CFragmentTempoDlg::Pick(IHybridCell* row)
{
    m_picked = row;
    SetTimer(kBlinkTimer, 50, nullptr);
}

void CFragmentTempoDlg::OnBlink()
{
    if (!m_picked)
        return;
    if (m_blinks == kLastBlink) {
        KillTimer(kBlinkTimer);
        m_tempo = RowTempo(static_cast<int>(m_picked->GetData()));
        EndDialog(IDOK);
    }
    m_picked->SetSelected(m_blinks % 2 == 0, false);
    ++m_blinks;
}

LRESULT CFragmentTempoDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_ready && message == WM_HYBRID_NOTIFY) {
        auto* cell = reinterpret_cast<IHybridCell*>(lParam);
        // A row that became selected is picked (the one left gives code 9 too).
        if (wParam == HN_CELL_SELECTION && cell && cell->IsSelected() && m_rows.Find(cell) >= 0)
            Pick(cell);
        return 0;
    }
    if (message == WM_TIMER && wParam == kBlinkTimer) {
        OnBlink();
        return 0;
    }
    if (message == WM_SIZE && m_list.GetSafeHwnd())
        m_list.MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return CLocalizedDlg::WindowProc(message, wParam, lParam);
}
