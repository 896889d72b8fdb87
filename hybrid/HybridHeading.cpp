#include "hybrid/HybridHeading.h"
#include "hybrid/HybridCtrl.h"

CHybridHeading::CHybridHeading(CHybridCtrl* control) : m_control(control), m_refs(0)
{
}

CHybridHeading::~CHybridHeading()
{
}

STDMETHODIMP CHybridHeading::QueryInterface(REFIID riid, void** out)
{
    return AnswerQueryInterface(riid, out, {{IID_IUnknown, static_cast<IUnknown*>(this)}});
}

STDMETHODIMP_(ULONG) CHybridHeading::AddRef()
{
    return m_refs.AddRef();
}
STDMETHODIMP_(ULONG) CHybridHeading::Release()
{
    return m_refs.Release(this);
}

void CHybridHeading::InsertColumn(int index, int width)
{
    if (index < 0)
        return;
    SItem item{width, width};
    // An index past the end grows the array up to it.
    if (index >= m_columns.GetSize())
        m_columns.SetAtGrow(index, item);
    else
        m_columns.InsertAt(index, item);
}

int CHybridHeading::GetCount()
{
    return static_cast<int>(m_columns.GetSize());
}

// Setters check index and range: a column outside the model or a negative
// width changes nothing, instead of writing outside the array.
void CHybridHeading::SetWidth(int index, int width)
{
    if (index < 0 || index >= GetCount() || width < 0)
        return;
    if (m_columns[index].width == width)
        return;
    m_columns[index].width = width;
    Changed();
}

int CHybridHeading::GetWidth(int index)
{
    return index >= 0 && index < GetCount() ? m_columns[index].width : 0;
}

int CHybridHeading::GetTotalWidth()
{
    int total = 0;
    for (int i = 0; i < GetCount(); ++i)
        total += m_columns[i].width;
    return total;
}

void CHybridHeading::SetSecondValue(int index, int value)
{
    if (index < 0 || index >= GetCount() || value < 0)
        return;
    if (m_columns[index].secondValue == value)
        return;
    m_columns[index].secondValue = value;
    Changed();
}

int CHybridHeading::GetSecondValue(int index)
{
    return index >= 0 && index < GetCount() ? m_columns[index].secondValue : 0;
}

void CHybridHeading::Changed()
{
    if (m_control)
        m_control->UpdateLayout(false);
}
