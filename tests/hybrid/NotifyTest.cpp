// The notification path: content -> handler -> parent cells -> control ->
// attached handler or the parent window (WM_APP+0xCA).
#include <gtest/gtest.h>
#include "HybridTestKit.h"

using namespace hybridtest;

TEST(HybridNotify, ClimbsFromContentThroughHandlersToTheParentWindow)
{
    CTestHost host;
    CBoxContent* outerContent = nullptr;
    CIPtr<IHybridCell> outer = host.AddBox(nullptr, 10, 10, RGB(0, 0, 0), 0, 0, &outerContent);
    outer->SetSubContent(nullptr, 2);
    CIPtr<CRecordingHandler> handler;
    handler.Attach(new CRecordingHandler);
    outer->SetHandler(handler);
    EXPECT_TRUE(handler->IsAttached());
    CBoxContent* innerContent = nullptr;
    CIPtr<IHybridCell> inner = host.AddBox(outer, 10, 10, RGB(0, 0, 0), 0, 0, &innerContent);
    host.Pump();
    host.TakeNotifications();

    // Raised by the inner cell itself: its own content is skipped, the
    // parent's content and handler see it, then the parent window.
    EXPECT_EQ(0, innerContent->NotifyCell(24));
    EXPECT_TRUE(innerContent->m_notified.empty());
    ASSERT_EQ(1u, outerContent->m_notified.size());
    EXPECT_EQ(24u, outerContent->m_notified[0]);
    ASSERT_EQ(1u, handler->m_codes.size());
    EXPECT_TRUE(IsSameObject(handler->m_senders[0], inner));
    std::vector<SNotification> got = host.TakeNotifications();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(24u, got[0].code);
    EXPECT_TRUE(IsSameObject(got[0].sender, inner));

    // Code 18 also reaches the sender's own content.
    inner->Notify(HN_RUBBERBAND_CHANGED, inner);
    ASSERT_EQ(1u, innerContent->m_notified.size());
    EXPECT_EQ(18u, innerContent->m_notified[0]);

    // The handler stops a code and answers it; a pointer-sized answer
    // survives the trip.
    handler->m_stopCode = HN_TOOLTIP;
    handler->m_answer = reinterpret_cast<LRESULT>(L"tip text");
    host.TakeNotifications();
    LPCWSTR tip = reinterpret_cast<LPCWSTR>(inner->Notify(HN_TOOLTIP, inner));
    EXPECT_STREQ(L"tip text", tip);
    EXPECT_TRUE(host.TakeNotifications().empty());

    // Style bit 25 stops code 17 with the answer 1, other codes go on.
    outer->SetStyleBits(static_cast<DWORD>(outer->GetStyleBits()) | HCB_STOP_RUBBERBAND, 0);
    handler->m_codes.clear();
    EXPECT_EQ(1, inner->Notify(HN_RUBBERBAND_START, inner));
    EXPECT_TRUE(handler->m_codes.empty());
    EXPECT_TRUE(host.TakeNotifications().empty());
    inner->Notify(30, inner);
    EXPECT_EQ(1u, host.TakeNotifications().size());

    outer->SetHandler(nullptr);
    EXPECT_FALSE(handler->IsAttached());
}

TEST(HybridNotify, HandlerOnTheControlReplacesTheParentMessage)
{
    CTestHost host;
    CIPtr<IHybridCell> cell = host.AddBox(nullptr, 10, 10);
    CIPtr<CRecordingHandler> handler;
    handler.Attach(new CRecordingHandler);
    host.Ctrl().SetHandler(handler);
    EXPECT_FALSE(handler->IsAttached()); // attached to the control: no cell
    host.TakeNotifications();
    cell->Notify(24, cell);
    EXPECT_TRUE(host.TakeNotifications().empty());
    ASSERT_EQ(1u, handler->m_codes.size());
    EXPECT_EQ(24u, handler->m_codes[0]);

    // Setting the same handler again changes nothing.
    host.Ctrl().SetHandler(handler);
    cell->Notify(25, cell);
    EXPECT_EQ(2u, handler->m_codes.size());
    host.Ctrl().SetHandler(nullptr);
    cell->Notify(26, cell);
    EXPECT_EQ(1u, host.TakeNotifications().size());
}

TEST(HybridNotify, SelectionChangesRaiseOneCodeEight)
{
    CTestHost host;
    std::vector<CIPtr<IHybridCell>> items;
    for (int i = 0; i < 5; ++i)
        items.push_back(host.AddBox(nullptr, 10, 10, RGB(0, 0, 0), HCB_ITEM));
    host.Pump();
    host.TakeNotifications();
    for (auto& item : items)
        item->SetSelected(true, true);
    host.Pump();
    int eights = 0, nines = 0;
    for (const SNotification& n : host.TakeNotifications()) {
        eights += n.code == HN_SELCHANGED;
        nines += n.code == HN_CELL_SELECTION;
    }
    EXPECT_EQ(1, eights);
    EXPECT_EQ(5, nines);
}

TEST(HybridNotify, TimersNeverReachAReleasedContent)
{
    CTestHost host;
    CBoxContent* content = nullptr;
    const int alive = CBoxContent::s_alive;
    CIPtr<IHybridCell> cell = host.AddBox(nullptr, 10, 10, RGB(0, 0, 0), 0, 0, &content);
    UINT_PTR id = host.Ctrl().SetTimerCallback(10, content);
    EXPECT_EQ(0u, id);
    host.Pump(60);
    EXPECT_FALSE(content->m_timerIds.empty());
    EXPECT_EQ(id, content->m_timerIds[0]);

    // Detaching the cell stops the content's timer and frees the content.
    host.Ctrl().DetachCell(cell);
    EXPECT_EQ(alive, CBoxContent::s_alive);
    host.Pump(60);

    // The freed slot is reused.
    CBoxContent* other = nullptr;
    CIPtr<IHybridCell> cell2 = host.AddBox(nullptr, 10, 10, RGB(0, 0, 0), 0, 0, &other);
    EXPECT_EQ(0u, host.Ctrl().SetTimerCallback(10, other));
    EXPECT_EQ(1u, host.Ctrl().SetTimerCallback(10, other));
    host.Ctrl().KillTimerCallback(0);
    host.Ctrl().KillTimerCallback(1);
    host.Ctrl().KillTimerCallback(7); // nothing there: nothing happens
}
