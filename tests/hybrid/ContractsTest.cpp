// Reference-count and query contracts of contents, cells, handlers and
// styles, and a content's behaviour without a cell.
#include <gtest/gtest.h>
#include "HybridTestKit.h"
#include "hybrid/Style.h"
#include "hybrid/HybridHeading.h"

using namespace hybridtest;

TEST(HybridContracts, ContentsAndCellsStartAtZeroHandlersAtOne)
{
    const int alive = CBoxContent::s_alive;
    CBoxContent* content = new CBoxContent(1, 1);
    EXPECT_EQ(1u, content->AddRef());
    EXPECT_EQ(0u, content->Release()); // deleted exactly here
    EXPECT_EQ(alive, CBoxContent::s_alive);

    CHybridCell* cell = new CHybridCell(nullptr, nullptr);
    EXPECT_EQ(1u, cell->AddRef());
    EXPECT_EQ(0u, cell->Release());

    CRecordingHandler* handler = new CRecordingHandler;
    EXPECT_EQ(2u, handler->AddRef());
    EXPECT_EQ(1u, handler->Release());
    EXPECT_EQ(0u, handler->Release());

    IHybridStyle* style = new CStyle;
    EXPECT_EQ(1u, style->AddRef());
    EXPECT_EQ(0u, style->Release());
}

TEST(HybridContracts, QueryInterfaceRules)
{
    CIPtr<CBoxContent> content(new CBoxContent(1, 1));
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_INVALIDARG, content->QueryInterface(IID_IHybridContent, nullptr));
    EXPECT_EQ(E_NOINTERFACE, content->QueryInterface(IID_ITimerCallback, &out));
    EXPECT_EQ(nullptr, out);
    IUnknown* unknown = nullptr;
    IHybridContent* primary = nullptr;
    ASSERT_EQ(S_OK, content->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    ASSERT_EQ(S_OK, content->QueryInterface(IID_IHybridContent, reinterpret_cast<void**>(&primary)));
    EXPECT_EQ(static_cast<void*>(unknown), static_cast<void*>(primary));
    unknown->Release();
    primary->Release();
    // The timer part answers for the same object.
    ITimerCallback* timer = content;
    EXPECT_TRUE(IsSameObject(timer, static_cast<IHybridContent*>(content)));

    CIPtr<IHybridCell> cell(new CHybridCell(nullptr, nullptr));
    EXPECT_EQ(E_NOINTERFACE, cell->QueryInterface(IID_IHybridContent, &out));

    CIPtr<IHybridHandler> handler;
    handler.Attach(new CRecordingHandler);
    CIPtr<ITimerCallback> handlerTimer;
    EXPECT_EQ(S_OK, handlerTimer.QueryFrom(handler, IID_ITimerCallback));
    EXPECT_TRUE(IsSameObject(handlerTimer, handler));

    CIPtr<IHybridHeading> heading(new CHybridHeading(nullptr));
    EXPECT_EQ(E_NOINTERFACE, heading->QueryInterface(IID_IHybridHeading, &out));
}

TEST(HybridContracts, ContentWithoutCellAnswersNeutrally)
{
    CIPtr<CBoxContent> content(new CBoxContent(1, 1));
    EXPECT_EQ(nullptr, content->GetCtrl());
    EXPECT_EQ(nullptr, content->GetStyle());
    EXPECT_EQ(nullptr, content->GetCell());
    EXPECT_EQ(0u, content->GetStyleBits());
    EXPECT_FALSE(content->IsSelected());
    EXPECT_FALSE(content->IsShown());
    EXPECT_FALSE(content->IsEnabled());
    EXPECT_FALSE(content->HasMouseCapture());
    EXPECT_TRUE(content->GetRect().IsRectEmpty());
    content->Invalidate();
    content->Show(true, true);
    content->Enable(true);
    content->SetCellStyleBits(1, 2);
    content->CaptureMouse();
    EXPECT_EQ(0, content->NotifyCell(24));
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST(HybridContracts, CellDefaultsAndMargins)
{
    CTestHost host;
    host.Ctrl().SetBkColor(RGB(10, 20, 30), false);
    CIPtr<IHybridCell> parent = host.AddContainer(nullptr, 2);
    parent->SetBkColor(RGB(1, 2, 3), false);
    CIPtr<IHybridCell> child = host.AddBox(parent, 5, 5);
    EXPECT_EQ(RGB(1, 2, 3), child->GetBkColor());
    EXPECT_EQ(RGB(10, 20, 30), host.AddBox(nullptr, 1, 1)->GetBkColor());
    EXPECT_EQ(host.Ctrl().GetDefaultStyle(), child->GetStyle());

    child->SetStyleBits(HCB_ITEM, 0);
    EXPECT_EQ(0x01010101u, child->GetMargins());
    child->SetMargins(0x00030002);
    EXPECT_EQ(0x00040003u, child->GetMargins());
    child->SetStyleBits(HCB_ITEM | HCB_NOFRAME, 0);
    EXPECT_EQ(0x00030002u, child->GetMargins());

    // A locked cell's selection does not change, not even its children's.
    parent->SetStyleBits(0, 0);
    parent->LockSelection(true);
    parent->SetSelected(true, false);
    EXPECT_FALSE(parent->IsSelected());
    EXPECT_FALSE(child->IsSelected());
    parent->LockSelection(false);
    parent->SetSelected(true, false);
    EXPECT_TRUE(parent->IsSelected());
    EXPECT_TRUE(child->IsSelected());
}

TEST(HybridContracts, StylesMeasureTheirFonts)
{
    CIPtr<IHybridStyle> style(new CStyle);
    EXPECT_EQ(0, style->GetTextHeight()) << "no font, no height";
    LOGFONTW font{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    style->SetFont(&font);
    EXPECT_GT(style->GetTextHeight(), 0);

    CTestHost host;
    IHybridStyle* large = host.Ctrl().GetLargeStyle();
    IHybridStyle* normal = host.Ctrl().GetDefaultStyle();
    ASSERT_TRUE(large && normal);
    EXPECT_GT(large->GetTextHeight(), normal->GetTextHeight());
    EXPECT_EQ(nullptr, host.Ctrl().GetStdStyle(4));
}

TEST(HybridContracts, DetachedFreeContainerLetsItsChildrenGo)
{
    CTestHost host;
    const int alive = CBoxContent::s_alive;
    CIPtr<IHybridCell> owner = host.AddContainer(nullptr, 5);
    CIPtr<IHybridCell> a = host.AddBox(owner, 1, 1);
    CIPtr<IHybridCell> b = host.AddBox(owner, 1, 1);
    host.Pump();
    ASSERT_EQ(alive + 2, CBoxContent::s_alive);

    host.Ctrl().DetachCell(owner);
    // The children left the tree with their owner: no control, no parent,
    // their contents freed, and only our own references left on the cells.
    EXPECT_EQ(alive, CBoxContent::s_alive);
    EXPECT_EQ(nullptr, a->GetCtrl());
    EXPECT_FALSE(a->HasParent());
    EXPECT_FALSE(b->HasParent());
    EXPECT_EQ(2u, a->AddRef());
    a->Release();
    EXPECT_EQ(2u, owner->AddRef());
    owner->Release();
}
