#include "hybrid/DateContent.h"
#include <ctime>
#include <cwchar>
#include "common/TimeUtils.h"
#include "hybrid/CellBuilder.h"

namespace {

const int kFirstYear = 1970;
const int kEndYear = 2039; // the 32-bit time ends in January 2038
const int kMonths = 12;

CString Number(int value)
{
    CString text;
    text.Format(L"%d", value);
    return text;
}

} // namespace

STDMETHODIMP CDateContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IHybridDate)});
}

void CDateContent::SetFields(IHybridEdit* day, IHybridCombo* month, IHybridEdit* year)
{
    m_day = day;
    m_month = month;
    m_year = year;
}

void CDateContent::BuildFields()
{
    CHybridCtrl* control = GetCtrl();
    if (!control || !m_cell)
        return;
    CCellBuilder builder(control);
    CIPtr<IHybridHeading> columns;
    builder.AddColumn(30).AddColumn(60).AddColumn(45).ReturnColumnModel(&columns).CreateColumnModel();
    builder.SetParent(m_cell).SetColumnModel(columns).AddCell().BeginChildren();
    builder.SetStdStyle(1).ReturnEdit(&m_day).AddEdit();
    builder.SetStdStyle(1).ReturnCombo(&m_month).AddCombo();
    builder.SetStdStyle(1).ReturnEdit(&m_year).AddEdit();
    builder.EndChildren();
}

void CDateContent::OnAttach()
{
    if (!m_day && !m_month && !m_year)
        BuildFields();
    if (!m_month)
        return;
    for (int month = 0; month < kMonths; ++month) {
        CString name = GetMonthName(month).Left(3);
        name.MakeUpper();
        m_month->AddString(name);
    }
    m_month->SetCurSel(0, true);
}

int64_t CDateContent::GetTime()
{
    if (!m_day)
        return m_time;
    const int day = static_cast<int>(std::wcstol(m_day->GetText() ? m_day->GetText() : L"", nullptr, 10));
    const int year = m_year && m_year->GetText() ? static_cast<int>(std::wcstol(m_year->GetText(), nullptr, 10)) : 0;
    const int month = m_month ? m_month->GetCurSel() : -1;
    if (year < kFirstYear || year >= kEndYear || day < 1 || day >= 32 || month < 0 || month >= kMonths)
        return m_time;
    std::tm date{};
    date.tm_year = year - 1900;
    date.tm_mon = month;
    date.tm_mday = day;
    date.tm_isdst = -1;
    const __time64_t time = _mktime64(&date);
    if (time != -1)
        m_time = time;
    return m_time;
}

void CDateContent::SetTime(int64_t time)
{
    m_time = time;
    if (!m_day)
        return;
    std::tm date{};
    const __time64_t value = time;
    if (_localtime64_s(&date, &value) != 0) {
        m_day->SetText(L"");
        if (m_month)
            m_month->SetCurSel(-1, true);
        if (m_year)
            m_year->SetText(L"");
        return;
    }
    m_day->SetText(Number(date.tm_mday));
    if (m_month)
        m_month->SetCurSel(date.tm_mon, true);
    if (m_year)
        m_year->SetText(Number(date.tm_year + 1900));
}
