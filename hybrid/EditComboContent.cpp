#include "hybrid/EditComboContent.h"
#include <algorithm>
#include "hybrid/ButtonContent.h"
#include "hybrid/CellBuilder.h"

void CEditComboContent::SetCell(IHybridCell* cell)
{
    CComboContent::SetCell(cell);
    CHybridCtrl* control = cell ? cell->GetCtrl() : nullptr;
    if (!control || m_editCell)
        return;
    CCellBuilder builder(control);
    builder.SetParent(cell)
        .SetSubContentKind(5)
        .SetStyle(cell->GetStyle())
        .ReturnCell(&m_editCell)
        .ReturnEdit(&m_edit)
        .AddEdit();
    if (m_editCell)
        builder.SetParent(m_editCell)
            .SetPictureResource(IDB_HYBRID_COMBO_BUTTON, 0x0000FF)
            .SetStyleBits(0, HBB_STRIP)
            .ReturnCell(&m_buttonCell)
            .AddButton();
}

void CEditComboContent::OnLayout()
{
    CIPtr<IHybridSubContent> sub;
    CIPtr<IFreeHybridSubContent> free;
    if (!m_editCell || !m_buttonCell || !m_editCell->GetSubContent(&sub) || !sub ||
        FAILED(free.QueryFrom(sub, IID_IFreeHybridSubContent)) || !free)
        return;
    CRect rect = GetRect();
    if (m_width)
        rect.right = rect.left + m_width;
    free->SetCellRect(m_buttonCell, rect.Width() - ::GetSystemMetrics(SM_CXVSCROLL), 2, rect.Width() - 2,
                      rect.Height() - 2);
}

void CEditComboContent::OnEnable(bool enabled)
{
    if (m_buttonCell)
        m_buttonCell->Enable(enabled);
}

void CEditComboContent::OnRelease()
{
    m_edit = nullptr;
    m_editCell = nullptr;
    if (CIPtr<IHybridCell> button = m_buttonCell) {
        m_buttonCell = nullptr;
        if (CHybridCtrl* control = button->GetCtrl())
            control->DetachCell(button);
    }
}

LRESULT CEditComboContent::OnChildNotify(UINT code, IHybridCell*, bool* handled)
{
    *handled = true;
    if (code == HN_BUTTON_PRESSED)
        ShowDropDown(true, false);
    return 0;
}

IStretchContent* CEditComboContent::SetLength(int length)
{
    m_width = std::max(length, EDIT_COMBO_MIN_LENGTH);
    OnLayout();
    return this;
}

void CEditComboContent::OnCurrentChanged()
{
    if (m_edit)
        m_edit->SetText(m_current == -1 ? L"" : GetString(m_current));
}

void CEditComboContent::ResetContent()
{
    m_items.RemoveAll();
    m_current = -1;
    SetEditText(L"");
}

int CEditComboContent::AddString(LPCWSTR text)
{
    return static_cast<int>(m_items.Add(text ? text : L""));
}

void CEditComboContent::ShowDropDown(bool show, bool lostActivation)
{
    if (!GetCtrl())
        return;
    CComboContent::ShowDropDown(show, lostActivation);
}

LPCWSTR CEditComboContent::GetEditText()
{
    return m_edit ? m_edit->GetText() : nullptr;
}

void CEditComboContent::SetEditText(LPCWSTR text)
{
    if (m_edit && text)
        m_edit->SetText(text);
}
