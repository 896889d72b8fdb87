// Control wrappers whose members do more than forward one message.
#include "MfcWinTest.h"
#include <gtest/gtest.h>

TEST(MfcControls, ScrollBarLimitToolTipToolsAndListText)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"P", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));

    CScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | SBS_VERT, CRect(280, 0, 296, 200), &parent, 1));
    SCROLLINFO si{};
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 500;
    si.nPage = 100;
    bar.SetScrollInfo(&si);
    EXPECT_EQ(401, bar.GetScrollLimit()); // max - page + 1
    bar.SetScrollPos(1000);
    EXPECT_EQ(401, bar.GetScrollPos()); // the control clamps to the same limit
    SCROLLINFO read{};
    EXPECT_TRUE(bar.GetScrollInfo(&read));
    EXPECT_EQ(100u, read.nPage);

    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&parent, TTS_ALWAYSTIP));
    EXPECT_EQ(&parent, CWnd::FromHandle(::GetWindow(tip.m_hWnd, GW_OWNER)));
    tip.Activate(TRUE);
    CRect area(0, 0, 50, 20);
    EXPECT_TRUE(tip.AddTool(&parent, L"Hint", &area, 39002));
    EXPECT_EQ(1, tip.GetToolCount());
    TOOLINFOW ti;
    wchar_t buf[32] = {};
    tip.GetToolInfo(ti, &parent, 39002);
    ti.lpszText = buf;
    tip.SendMessage(TTM_GETTEXTW, 32, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(L"Hint", buf);
    tip.DelTool(&parent, 39002);
    EXPECT_EQ(0, tip.GetToolCount());

    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_NOTIFY, CRect(0, 30, 100, 130), &parent, 2));
    list.AddString(L"first");
    list.AddString(L"zweite Zeile");
    CString text;
    list.GetText(1, text);
    EXPECT_EQ(CString(L"zweite Zeile"), text);
    list.GetText(5, text); // no such item
    EXPECT_TRUE(text.IsEmpty());
    parent.DestroyWindow();
    EXPECT_EQ(nullptr, tip.m_hWnd); // owned popups go with their owner
}
