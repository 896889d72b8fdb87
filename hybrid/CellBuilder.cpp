#include "hybrid/CellBuilder.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/HybridHeading.h"
#include "hybrid/IHeadingContent.h"
#include "hybrid/IHybridButton.h"
#include "hybrid/IHybridCheckBox.h"
#include "hybrid/IHybridCombo.h"
#include "hybrid/IHybridEdit.h"
#include "hybrid/IHybridImplantedWnd.h"
#include "hybrid/IHybridPicture.h"
#include "hybrid/IHybridRadioButton.h"
#include "hybrid/IHybridSlider.h"
#include "hybrid/IHybridText.h"
#include "hybrid/IHybridTreeItem.h"
#include "hybrid/Style.h"

namespace {

const int kUnsetRange = -1;
const DWORD kVerticalPlacementBits = HCB_VPLACEMENT;

} // namespace

CCellBuilder::CCellBuilder(CHybridCtrl* control)
    : m_control(control), m_text(nullptr), m_pictureFile(nullptr), m_textId(-1), m_lowBits(0), m_highBits(0),
      m_subContentKind(0), m_pictureId(0), m_pictureMask(0), m_bkColor(HYBRID_COLOR_UNSET), m_data(0), m_leftGap(0),
      m_rightGap(0), m_sliderMin(kUnsetRange), m_sliderMax(kUnsetRange), m_cellTarget(nullptr), m_buttonTarget(nullptr),
      m_columnModelTarget(nullptr), m_editTarget(nullptr), m_progressTarget(nullptr), m_sliderTarget(nullptr),
      m_comboTarget(nullptr), m_checkBoxTarget(nullptr), m_radioTarget(nullptr), m_treeItemTarget(nullptr),
      m_implantedTarget(nullptr), m_textTarget(nullptr), m_headingTarget(nullptr), m_pictureTarget(nullptr),
      m_index(-1), m_create(true), m_hidden(false), m_checked(0), m_margins(0), m_fontWeight(0), m_fontPercent(100),
      m_textColor(0), m_selBkColor(HYBRID_COLOR_UNSET), m_selTextColor(HYBRID_COLOR_UNSET), m_styleTarget(nullptr),
      m_progressText(nullptr), m_childCounter(0), m_pictureIcon(nullptr), m_pictureBitmap(nullptr), m_window(nullptr)
{
}

void CCellBuilder::ClearCellFields()
{
    m_text = nullptr;
    m_pictureFile = nullptr;
    m_textId = -1;
    m_lowBits = m_highBits = 0;
    m_style = nullptr;
    m_columnModel = nullptr;
    m_subContentKind = 0;
    m_pictureId = 0;
    m_pictureMask = 0;
    m_bkColor = HYBRID_COLOR_UNSET;
    m_parent = nullptr;
    m_content = nullptr;
    m_data = 0;
    m_leftGap = m_rightGap = 0;
    m_cellTarget = nullptr;
    m_handler = nullptr;
    m_insertBefore = nullptr;
    m_index = -1;
    m_create = true;
    m_hidden = false;
    m_margins = 0;
    m_newCell = nullptr;
    m_newContent = nullptr;
    m_pictureIcon = nullptr;
    m_pictureBitmap = nullptr;
}

CCellBuilder& CCellBuilder::SetTextID(UINT id)
{
    m_textBuffer.LoadString(id);
    m_text = m_textBuffer;
    m_textId = static_cast<int>(id);
    return *this;
}

CCellBuilder& CCellBuilder::SetTextNumber(int number)
{
    m_textBuffer.Format(L"%d", number);
    m_text = m_textBuffer;
    return *this;
}

CCellBuilder& CCellBuilder::SetStdStyle(int number)
{
    if (IHybridStyle* style = m_control ? m_control->GetStdStyle(number) : nullptr)
        m_style = style;
    return *this;
}

CCellBuilder& CCellBuilder::SetStyleBits(DWORD low, DWORD high)
{
    m_lowBits = low;
    m_highBits = high;
    if (low & HCB_SHOWSELECTED)
        m_hidden = true;
    return *this;
}

CCellBuilder& CCellBuilder::SetParentTreeItem(IUnknown* item)
{
    CIPtr<IHybridTreeItem> tree;
    if (item && SUCCEEDED(tree.QueryFrom(item, IID_IHybridTreeItem)) && tree) {
        CIPtr<IHybridCell> children;
        if (tree->GetChildrenCell(&children))
            m_parent = children;
    }
    return *this;
}

CCellBuilder& CCellBuilder::AddColumns(int count)
{
    for (int i = 0; i < count; ++i)
        m_columnWidths.Add(0);
    return *this;
}

bool CCellBuilder::CreateCell(WCHAR letter)
{
    if (!m_create || !m_control)
        return false;
    CIPtr<IHybridCell> parent = m_parent;
    int position = 0;
    if (!parent && !m_levels.empty() && m_levels.back().parent) {
        parent = m_levels.back().parent;
        position = m_childCounter++;
    } else if (!m_parent) {
        position = m_childCounter++;
    }
    CIPtr<IHybridSubContent> sub;
    if (parent) {
        if (!parent->GetSubContent(&sub) || !sub) {
            parent->SetSubContent(nullptr, 2);
            parent->GetSubContent(&sub);
        }
    } else {
        sub = m_control->GetRootSubContent();
    }
    if (!sub)
        return false;
    if (m_index != -1) {
        position = m_index;
        m_childCounter = m_index + 1;
    }
    CIPtr<IHybridCell> cell;
    if (!sub->InsertChild(position, &cell, m_insertBefore) || !cell)
        return false;
    m_newCell = cell;
    ReturnInterface(cell, m_cellTarget);
    if (m_columnModel || m_subContentKind)
        cell->SetSubContent(m_columnModel, m_subContentKind);
    if (m_leftGap || m_rightGap) {
        CIPtr<IHybridSubContent> own;
        if (!cell->GetSubContent(&own) || !own) {
            cell->SetSubContent(nullptr, 2);
            cell->GetSubContent(&own);
        }
        if (own)
            own->SetLeftGap(m_leftGap)->SetRightGap(m_rightGap);
    }
    if (m_lowBits || m_highBits) {
        uint64_t bits = cell->GetStyleBits();
        if (m_lowBits & kVerticalPlacementBits)
            bits &= ~static_cast<uint64_t>(kVerticalPlacementBits);
        bits |= (static_cast<uint64_t>(m_highBits) << 32) | m_lowBits;
        cell->SetStyleBits(static_cast<DWORD>(bits), static_cast<DWORD>(bits >> 32));
    }
    if (m_data)
        cell->SetData(m_data);
    if (m_margins)
        cell->SetMargins(m_margins);
    if (m_bkColor != HYBRID_COLOR_UNSET)
        cell->SetBkColor(m_bkColor, false);
    if (m_style)
        cell->SetStyle(m_style);
    if (m_handler)
        cell->SetHandler(m_handler);
    if (letter != L'C') {
        cell->CreateContent(letter, cell->GetStyleBits());
        m_newContent = cell->GetContentPtr();
    }
    if (m_hidden)
        cell->Show(false, false);
    m_lastCell = cell;
    m_treeAnchor = cell;
    return true;
}

template <class I>
bool CCellBuilder::HandOut(REFIID iid, I** target, CIPtr<I>& object)
{
    if (!m_newContent || FAILED(object.QueryFrom(m_newContent, iid)) || !object)
        return false;
    ReturnInterface(object, target);
    return true;
}

// The finishers keep the chain going: a caller that needs the cell asks for
// it with ReturnCell and finds it null when none was made.
CCellBuilder& CCellBuilder::AddCell()
{
    (void)CreateCell(L'C');
    ClearCellFields();
    return *this;
}

CCellBuilder& CCellBuilder::AddContent()
{
    CIPtr<IHybridContent> content = m_content;
    if (CreateCell(L'C') && content) {
        content->SetCell(m_newCell);
        m_newCell->SetContent(content);
        content->OnAttach();
    }
    ClearCellFields();
    return *this;
}

CCellBuilder& CCellBuilder::AddText()
{
    CIPtr<IHybridText> text;
    if (CreateCell(L'T') && HandOut(IID_IHybridText, m_textTarget, text)) {
        if (m_text)
            text->SetText(m_text);
    }
    m_textTarget = nullptr;
    ClearCellFields();
    return *this;
}

CCellBuilder& CCellBuilder::AddEdit()
{
    CIPtr<IHybridEdit> edit;
    if (CreateCell(L'E') && HandOut(IID_IHybridEdit, static_cast<IHybridEdit**>(nullptr), edit)) {
        if (m_text)
            edit->SetText(m_text);
        ReturnInterface(edit, m_editTarget);
        m_editTarget = nullptr;
    }
    ClearCellFields();
    return *this;
}

CCellBuilder& CCellBuilder::AddCombo()
{
    CIPtr<IHybridCombo> combo;
    if (CreateCell(L'c') && HandOut(IID_IHybridCombo, m_comboTarget, combo)) {
        m_comboTarget = nullptr;
        if (m_text)
            combo->SetEditText(m_text);
    }
    ClearCellFields();
    return *this;
}

CCellBuilder& CCellBuilder::AddButton()
{
    CIPtr<IHybridButton> button;
    if (CreateCell(L'B') && HandOut(IID_IHybridButton, static_cast<IHybridButton**>(nullptr), button)) {
        if (m_pictureId)
            button->SetImage(m_pictureId, m_pictureMask);
        if (m_text)
            button->SetText(m_text);
        ReturnInterface(button, m_buttonTarget);
        m_buttonTarget = nullptr;
    }
    ClearCellFields();
    return *this;
}

CCellBuilder& CCellBuilder::AddHeading()
{
    CIPtr<IHeadingContent> heading;
    if (CreateCell(L'h') && HandOut(IID_IHeadingContent, static_cast<IHeadingContent**>(nullptr), heading)) {
        if (m_textId)
            heading->SetTextID(m_textId);
        if (m_text)
            heading->SetText(m_text);
        ReturnInterface(heading, m_headingTarget);
    }
    ClearCellFields();
    return *this;
}

CCellBuilder& CCellBuilder::AddSeparator()
{
    (void)CreateCell(L's');
    ClearCellFields();
    return *this;
}

CCellBuilder& CCellBuilder::AddThinSeparator()
{
    m_highBits |= HSB_THIN_SEPARATOR;
    return AddSeparator();
}

CCellBuilder& CCellBuilder::AddThickSeparator()
{
    m_highBits |= HSB_THICK_SEPARATOR;
    return AddSeparator();
}

CCellBuilder& CCellBuilder::AddPicture()
{
    CIPtr<IHybridPicture> picture;
    if (CreateCell(L'P') && HandOut(IID_IHybridPicture, static_cast<IHybridPicture**>(nullptr), picture)) {
        if (m_pictureFile)
            picture->SetFile(m_pictureFile);
        else if (m_pictureId)
            picture->SetBitmap(static_cast<int>(m_pictureId), m_pictureMask);
        else if (m_pictureIcon)
            picture->SetIcon(m_pictureIcon);
        else if (m_pictureBitmap)
            picture->SetBitmapHandle(m_pictureBitmap);
        ReturnInterface(picture, m_pictureTarget);
        m_pictureTarget = nullptr;
    }
    ClearCellFields();
    return *this;
}

CCellBuilder& CCellBuilder::AddProgress()
{
    CIPtr<IHybridProgress> progress;
    if (CreateCell(L'p') && HandOut(IID_IHybridProgress, m_progressTarget, progress)) {
        m_progressTarget = nullptr;
        if (m_progressText)
            progress->SetTextCallback(m_progressText);
    }
    m_progressText = nullptr;
    ClearCellFields();
    return *this;
}

CCellBuilder& CCellBuilder::AddSlider()
{
    CIPtr<IHybridSlider> slider;
    if (CreateCell(L'L') && m_sliderTarget && HandOut(IID_IHybridSlider, m_sliderTarget, slider)) {
        m_sliderTarget = nullptr;
        if (m_sliderMin != kUnsetRange && m_sliderMax != kUnsetRange)
            slider->SetRange(m_sliderMin, m_sliderMax);
        m_sliderMin = m_sliderMax = kUnsetRange;
    }
    ClearCellFields();
    return *this;
}

CCellBuilder& CCellBuilder::AddCheckBox()
{
    CIPtr<IHybridCheckBox> box;
    if (CreateCell(L'x') && HandOut(IID_IHybridCheckBox, m_checkBoxTarget, box)) {
        m_checkBoxTarget = nullptr;
        if (m_text)
            box->SetText(m_text);
        if (m_checked)
            box->SetCheck(1, true);
    }
    m_checked = 0;
    ClearCellFields();
    return *this;
}

CCellBuilder& CCellBuilder::AddRadioButton()
{
    CIPtr<IHybridRadioButton> radio;
    if (CreateCell(L'r') && HandOut(IID_IHybridRadioButton, m_radioTarget, radio)) {
        m_radioTarget = nullptr;
        if (m_text)
            radio->SetText(m_text);
        if (m_checked)
            radio->SetCheck(true, true);
    }
    m_checked = 0;
    ClearCellFields();
    return *this;
}

CCellBuilder& CCellBuilder::AddTreeItem()
{
    CIPtr<IHybridTreeItem> item;
    if (CreateCell(L't') && HandOut(IID_IHybridTreeItem, m_treeItemTarget, item))
        m_treeItemTarget = nullptr;
    ClearCellFields();
    return *this;
}

CCellBuilder& CCellBuilder::AddImplantedWnd()
{
    CIPtr<IHybridImplantedWnd> implanted;
    if (CreateCell(L'i') && m_window &&
        HandOut(IID_IHybridImplantedWnd, static_cast<IHybridImplantedWnd**>(nullptr), implanted)) {
        implanted->SetWnd(m_window);
        ReturnInterface(implanted, m_implantedTarget);
        m_implantedTarget = nullptr;
    }
    ClearCellFields();
    return *this;
}

CCellBuilder& CCellBuilder::CreateColumnModel()
{
    CIPtr<IHybridHeading> model(new CHybridHeading(m_control));
    for (int i = 0; i < m_columnWidths.GetSize(); ++i)
        model->InsertColumn(i, static_cast<int>(m_columnWidths.GetAt(i)));
    m_columnWidths.RemoveAll();
    ReturnInterface(model, m_columnModelTarget);
    m_columnModelTarget = nullptr;
    return *this;
}

CCellBuilder& CCellBuilder::CreateStyle()
{
    CIPtr<IHybridStyle> style(new CStyle);
    LOGFONTW font{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    if (m_fontWeight)
        font.lfWeight = m_fontWeight;
    if (m_fontPercent != 100)
        font.lfHeight = font.lfHeight * m_fontPercent / 100;
    style->SetFont(&font);
    if (m_textColor != HYBRID_COLOR_UNSET)
        style->SetTextColor(m_textColor);
    if (m_selTextColor != HYBRID_COLOR_UNSET)
        style->SetSelTextColor(m_selTextColor);
    if (m_bkColor != HYBRID_COLOR_UNSET)
        style->SetBkColor(m_bkColor);
    if (m_selBkColor != HYBRID_COLOR_UNSET)
        style->SetSelBkColor(m_selBkColor);
    ReturnInterface(style, m_styleTarget);
    m_styleTarget = nullptr;
    m_fontWeight = 0;
    m_fontPercent = 100;
    m_textColor = m_selTextColor = m_selBkColor = HYBRID_COLOR_UNSET;
    ClearCellFields();
    return *this;
}

void CCellBuilder::BeginLevel(IHybridCell* parent)
{
    m_levels.push_back(SLevel{parent, m_treeAnchor, m_childCounter});
    m_treeAnchor = nullptr;
    m_childCounter = 0;
}

CCellBuilder& CCellBuilder::BeginChildren()
{
    BeginLevel(m_lastCell);
    return *this;
}

CCellBuilder& CCellBuilder::EndChildren()
{
    if (m_levels.empty())
        return *this;
    m_childCounter = m_levels.back().savedCounter;
    m_treeAnchor = m_levels.back().savedAnchor;
    m_levels.pop_back();
    return *this;
}

CCellBuilder& CCellBuilder::BeginTreeItemCell()
{
    CIPtr<IHybridTreeItem> tree;
    CIPtr<IHybridCell> itemCell;
    if (m_treeAnchor && SUCCEEDED(tree.QueryFrom(m_treeAnchor->GetContentPtr(), IID_IHybridTreeItem)) &&
        tree->GetItemCell(&itemCell))
        BeginLevel(itemCell);
    return *this;
}

CCellBuilder& CCellBuilder::BeginTreeItemChildren()
{
    CIPtr<IHybridTreeItem> tree;
    CIPtr<IHybridCell> children;
    if (m_lastCell && m_treeAnchor && SUCCEEDED(tree.QueryFrom(m_treeAnchor->GetContentPtr(), IID_IHybridTreeItem)) &&
        tree->GetChildrenCell(&children))
        BeginLevel(children);
    return *this;
}
