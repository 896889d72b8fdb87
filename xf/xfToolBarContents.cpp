#include "xf/xfToolBarContents.h"
#include "platform/mfc/afxmenu.h"
#include "hybrid/CellBuilder.h"
#include "xf/xfEditBoxes.h"
#include "xf/xfFrameListContent.h"
#include "xf/xfHorMenuElement.h"
#include "xf/xfMDIClient.h"
#include "xf/xfSlider.h"
#include "xf/xfTabContent.h"
#include "xf/xfToolBar.h"
#include "xf/xfToolBarButton.h"
#include "xf/xfToolBarLabel.h"
#include "xf/xfToolBarSeparator.h"

namespace {

const int kFlowKind = 3;

// A menu band makes one element for the top-level entry nParam, or one per
// entry when nParam is -1; a menu that does not load, or an index past its
// last entry, makes none.
void CreateMenuBand(const SxfToolBarItem& item, std::vector<CIPtr<IHybridContent>>& out)
{
    int count = 0;
    {
        CMenu menu;
        if (!menu.LoadMenu(item.nID))
            return;
        count = ::GetMenuItemCount(menu);
    }
    int first = 0, end = count;
    if (item.nParam >= 0) {
        if (item.nParam >= count)
            return;
        first = static_cast<int>(item.nParam);
        end = first + 1;
    }
    for (int i = first; i < end; ++i)
        out.push_back(CIPtr<IHybridContent>(static_cast<IxfHorMenuElement*>(new CxfHorMenuElement(item.nID, i))));
}

} // namespace

void CreateItemContents(CxfToolBar* bar, const SxfToolBarItem& item, std::vector<CIPtr<IHybridContent>>& out)
{
    CIPtr<IHybridContent> content;
    switch (item.nType) {
    case XF_ITEM_FRAMELIST: {
        CIPtr<IxfFrameListContent> list(new CxfFrameListContent(&item));
        if (CxfMDIClient* area = bar ? bar->FindMDIClient(-1) : nullptr)
            area->SetFrameList(list);
        content = static_cast<IHybridContent*>(list.Get());
        break;
    }
    case XF_ITEM_COMBO:
        if (item.dwFlags & XF_ITEMF_ALT)
            content = static_cast<IHybridCombo*>(new CxfDropListComboBox(&item));
        else
            content = static_cast<IHybridCombo*>(new CxfEditComboBox(&item));
        break;
    case XF_ITEM_EDIT: content = static_cast<IHybridEdit*>(new CxfEditBox(&item)); break;
    case XF_ITEM_SEPARATOR: content = new CxfToolBarSeparator(&item); break;
    case XF_ITEM_MENU: CreateMenuBand(item, out); return;
    case XF_ITEM_LABEL: content = static_cast<IxfToolBarLabel*>(new CxfToolBarLabel(&item)); break;
    case XF_ITEM_TABS: content = static_cast<IxfTab*>(new CxfTabContent(&item)); break;
    case XF_ITEM_BRAND: content = static_cast<IxfEmptyInterface*>(new CxfBrandLabel(&item)); break;
    case XF_ITEM_SLIDER: content = static_cast<IHybridSlider*>(new CxfSlider(&item)); break;
    case XF_ITEM_CUSTOM: {
        auto callback = reinterpret_cast<PFN_XF_CUSTOM_ITEM>(item.nParam);
        IHybridContent* made = nullptr;
        if (callback && callback(&made, &item) && made)
            content.Attach(made);
        break;
    }
    case XF_ITEM_BUTTON:
    case XF_ITEM_BUTTON2:
        content = static_cast<IHybridButton*>(new CxfToolBarButton(&item, bar ? bar->GetTopFrame() : nullptr));
        break;
    default: break;
    }
    if (content)
        out.push_back(content);
}

void CreateFlowRow(CHybridCtrl* control, IHybridCell* owner, IHybridCell** row)
{
    CIPtr<IHybridHeading> columns;
    CCellBuilder builder(control);
    builder.AddColumn(100).ReturnColumnModel(&columns).CreateColumnModel();
    builder.SetParent(owner)
        .SetColumnModel(columns)
        .SetStyleBits(HCB_PERCENT | HCB_VTOP, 0)
        .AddCell()
        .BeginChildren()
        .SetSubContentKind(kFlowKind)
        .ReturnCell(row)
        .AddCell()
        .EndChildren();
}
