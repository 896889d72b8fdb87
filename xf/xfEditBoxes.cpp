#include "xf/xfEditBoxes.h"
#include "hybrid/ContentDrawing.h"

namespace {

const int kEditBoxWidth = 40;

HRESULT AnswerHasID(IxfHasID* self, void** out)
{
    return AnswerQueryInterface(IID_IxfHasID, out, {{IID_IxfHasID, self}});
}

} // namespace

STDMETHODIMP CxfEditComboBox::QueryInterface(REFIID riid, void** out)
{
    return IsEqualIID(riid, IID_IxfHasID) ? AnswerHasID(this, out) : CEditComboContent::QueryInterface(riid, out);
}

void CxfEditComboBox::OnAttach()
{
    CEditComboContent::OnAttach();
    if (m_item->nParam != 0)
        SetLength(static_cast<int>(m_item->nParam));
}

bool CxfEditComboBox::OnKeyDown(UINT virtualKey, UINT keyData)
{
    if (CEditComboContent::OnKeyDown(virtualKey, keyData))
        return true;
    if (virtualKey != VK_RETURN)
        return false;
    NotifyCell(HN_COMBO_CHANGED);
    return true;
}

STDMETHODIMP CxfDropListComboBox::QueryInterface(REFIID riid, void** out)
{
    return IsEqualIID(riid, IID_IxfHasID) ? AnswerHasID(this, out) : CComboContent::QueryInterface(riid, out);
}

void CxfDropListComboBox::OnAttach()
{
    CComboContent::OnAttach();
    if (m_item->nParam == 0)
        return;
    const CSize letter = MeasureStyleText(GetCtrl(), GetStyle(), L"M");
    SetLength(static_cast<int>(m_item->nParam) * letter.cx);
}

CxfEditBox::CxfEditBox(const SxfToolBarItem* item) : m_item(item)
{
    SetLength(kEditBoxWidth);
}

STDMETHODIMP CxfEditBox::QueryInterface(REFIID riid, void** out)
{
    return IsEqualIID(riid, IID_IxfHasID) ? AnswerHasID(this, out) : CEditContent::QueryInterface(riid, out);
}

void CxfEditBox::OnAttach()
{
    CEditContent::OnAttach();
    if (m_item->nParam != 0)
        SetLength(static_cast<int>(m_item->nParam));
}
