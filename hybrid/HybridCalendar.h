#pragma once
// CHybridCalendar: a handler that turns its cell into a month calendar: a
// year list (2003 to 2099) and a month list, a row of the numbered weekday
// columns, and the week rows of the selected month, rebuilt whenever a
// list's selection changes (code 21). Other months' days are greyed.
#include "hybrid/CellArray.h"
#include "hybrid/HybridHandler.h"
#include "hybrid/IHybridCombo.h"
#include "hybrid/IHybridHeading.h"
#include "hybrid/IHybridStyle.h"

constexpr int CALENDAR_FIRST_YEAR = 2003;
constexpr int CALENDAR_END_YEAR = 2100; // the year list stops before it

class CHybridCalendar : public CHybridHandler
{
public:
    LRESULT OnNotify(UINT code, IHybridCell* sender, bool* handled) override;
    void Attach(CHybridCtrl* control, IHybridCell* cell) override;

    [[nodiscard]] bool GetYearList(IHybridCombo** out) { return ReturnInterface(m_yearList, out); }
    [[nodiscard]] bool GetMonthList(IHybridCombo** out) { return ReturnInterface(m_monthList, out); }
    // The week rows now shown (each a cell of seven day cells).
    const CCellArray& GetDayRows() const { return m_dayRows; }
    // The row of the seven numbered columns.
    [[nodiscard]] bool GetHeaderRow(IHybridCell** out) { return ReturnInterface(m_headerRow, out); }

private:
    void BuildLists();
    void BuildHeader();
    void RebuildDays();

    CIPtr<IHybridHeading> m_columnModels[2]; // reserved
    CIPtr<IHybridStyle> m_styles[2];         // reserved
    CIPtr<IHybridCell> m_spareCell;          // reserved
    CCellArray m_dayRows;
    CIPtr<IHybridCombo> m_yearList;
    CIPtr<IHybridCombo> m_monthList;
    CIPtr<IHybridCell> m_headerRow;
    CIPtr<IHybridHeading> m_weekColumns;
};

// A new calendar handler holding its creator's reference.
IHybridHandler* CreateCalendarHandler();
