#include "hybrid/HybridCalendar.h"
#include "common/Calendar.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/LayoutString.h"
#include "hybrid/MonthGrid.h"

namespace {

const COLORREF kWorkdayColour = 0xFFDCDC;
const COLORREF kWeekendColour = 0xFFF0F0;
const int kOctober = 9;
const DWORD kRowBits = HCB_PERCENT;

// Packed margins: left 1 in column 0 only, then top, right, bottom.
DWORD DayMargins(int column, int top)
{
    return (column == 0 ? 1u : 0u) | static_cast<DWORD>(top) << 8 | 1u << 16 | 1u << 24;
}

CString Number(int value)
{
    CString text;
    text.Format(L"%d", value);
    return text;
}

} // namespace

IHybridHandler* CreateCalendarHandler()
{
    return new CHybridCalendar;
}

void CHybridCalendar::Attach(CHybridCtrl* control, IHybridCell* cell)
{
    CHybridHandler::Attach(control, cell);
    if (!control || !cell)
        return;
    BuildLists();
    BuildHeader();
    for (int year = CALENDAR_FIRST_YEAR; year < CALENDAR_END_YEAR; ++year)
        m_yearList->AddString(Number(year));
    m_yearList->SetCurSel(0, true);
    for (int month = 0; month < 12; ++month) {
        CString name;
        name.LoadString(GetMonthNameId(month));
        m_monthList->AddString(name);
    }
    m_monthList->SetCurSel(kOctober, true);
    RebuildDays();
}

void CHybridCalendar::BuildLists()
{
    CCellBuilder builder(m_control);
    CIPtr<IHybridHeading> columns;
    builder.AddColumn(50).AddColumn(50).ReturnColumnModel(&columns).CreateColumnModel();
    builder.SetParent(m_cell).SetStyleBits(kRowBits).SetColumnModel(columns).AddCell().BeginChildren();
    builder.SetStdStyle(HCS_NORMAL).ReturnCombo(&m_yearList).AddCombo();
    builder.SetStdStyle(HCS_NORMAL).ReturnCombo(&m_monthList).AddCombo();
    builder.EndChildren();
}

// The numbered row goes under the calendar's own cell: the layout string
// fills the row given to it rather than making cells in the root list.
void CHybridCalendar::BuildHeader()
{
    // The week rows lay out in percentages: each column's share is a
    // seventh, rounded so that the seven add up to the whole row.
    CCellBuilder builder(m_control);
    for (int i = 0; i < 7; ++i)
        builder.AddColumn(100 * (i + 1) / 7 - 100 * i / 7);
    builder.ReturnColumnModel(&m_weekColumns).CreateColumnModel();
    builder.SetParent(m_cell).SetStyleBits(kRowBits).SetColumnModel(m_weekColumns).ReturnCell(&m_headerRow).AddCell();
    IHybridCell* row = m_headerRow;
    for (int i = 0; i < 7; ++i) {
        CIPtr<IHybridCell> text;
        const CString number = Number(i + 1);
        BuildFromLayoutString(m_control, L"C(%p){T(%n%t%s%C%c)}", &row, i, static_cast<LPCWSTR>(number), 2, &text,
                              i < 5 ? kWorkdayColour : kWeekendColour);
        if (text)
            text->SetMargins(DayMargins(i, 1));
    }
}

LRESULT CHybridCalendar::OnNotify(UINT code, IHybridCell* sender, bool* handled)
{
    CHybridHandler::OnNotify(code, sender, handled);
    if (code == HN_COMBO_CHANGED)
        RebuildDays();
    return 0;
}

void CHybridCalendar::RebuildDays()
{
    if (!m_control || !m_cell)
        return;
    m_control->DetachCells(m_dayRows, true);
    if (!m_yearList || !m_monthList)
        return;
    const int year = CALENDAR_FIRST_YEAR + m_yearList->GetCurSel();
    const int month = m_monthList->GetCurSel();
    if (month < 0 || m_yearList->GetCurSel() < 0)
        return;
    for (const CalendarWeek& week : BuildMonthGrid(year, month)) {
        CCellBuilder builder(m_control);
        CIPtr<IHybridCell> row;
        builder.SetParent(m_cell).SetStyleBits(kRowBits).SetColumnModel(m_weekColumns).ReturnCell(&row).AddCell();
        for (int column = 0; column < 7; ++column) {
            CIPtr<IHybridCell> day;
            builder.SetParent(row)
                .SetIndex(column)
                .SetTextNumber(week[column].day)
                .SetMargins(DayMargins(column, 0))
                .ReturnCell(&day)
                .AddText();
            if (day && week[column].greyed)
                day->Enable(false);
        }
        if (row)
            m_dayRows.Add(row);
    }
}
