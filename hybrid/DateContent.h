#pragma once
// CDateContent: a calendar date (type letter 'd') edited through three
// other contents: a day field, a month list and a year field. Attached
// without fields handed to it, it builds them as a row of its own cell.
// It draws nothing; its time is the C runtime's 64-bit time (initially 0).
#include "hybrid/ContentBase.h"
#include "hybrid/IHybridCombo.h"
#include "hybrid/IHybridDate.h"
#include "hybrid/IHybridEdit.h"

class CDateContent : public CContentBase<IHybridDate>
{
public:
    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    WCHAR GetType() override { return L'd'; }
    [[nodiscard]] bool CanFocus() override { return false; }
    // Builds the fields when none were handed over, then fills the month
    // list with the first three letters of each month's name, upper case,
    // and selects January.
    void OnAttach() override;

    // The local midnight of the date the fields show, when the day is 1 to
    // 31 and the year 1970 to 2038 (a day past the month's end rolls over);
    // otherwise, or when the runtime can't convert it, the time stays.
    int64_t GetTime() override;
    // Shows the local date of the time; a time the runtime can't break
    // down leaves the fields empty.
    void SetTime(int64_t time) override;

    // Fields built by the caller; before OnAttach.
    void SetFields(IHybridEdit* day, IHybridCombo* month, IHybridEdit* year);
    [[nodiscard]] bool GetDayField(IHybridEdit** out) { return ReturnInterface(m_day, out); }
    [[nodiscard]] bool GetMonthList(IHybridCombo** out) { return ReturnInterface(m_month, out); }
    [[nodiscard]] bool GetYearField(IHybridEdit** out) { return ReturnInterface(m_year, out); }

private:
    void BuildFields();

    CIPtr<IHybridCombo> m_month;
    CIPtr<IHybridEdit> m_day;
    CIPtr<IHybridEdit> m_year;
    int64_t m_time = 0;
};
