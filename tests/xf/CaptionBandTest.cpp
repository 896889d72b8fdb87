// Caption bands: a pane with the layout key "title" gets a one-line
// toolbar on top of its frame with the frame's title, and a close button
// when the pane is closable.
#include <gtest/gtest.h>
#include "XfTestKit.h"
#include "common/LocalizedString.h"
#include "xf/xfCommands.h"
#include "xf/xfResources.h"
#include "xf/xfToolBar.h"

using namespace xftest;

namespace {

class CaptionBands : public HostTest
{
protected:
    // The frame's only bar as a toolbar, or null.
    static CxfToolBar* Band(CxfFrame* frame)
    {
        return frame->GetBarCount() == 1 ? dynamic_cast<CxfToolBar*>(frame->GetBar(0)) : nullptr;
    }
    static CString LabelText(CxfFrame* frame)
    {
        CIPtr<IxfToolBarLabel> label;
        return frame->GetCaptionLabel(&label) ? CString(label->GetText()) : CString(L"(none)");
    }
};

} // namespace

TEST_F(CaptionBands, TitledPanesGetABandClosableOnesAClosingButton)
{
    // Pane 51 is closable and its frame has a title of its own; pane 2 is
    // not closable; pane 3 names no title.
    CxfFrame* root =
        Build(L"F(ver){F(title=10247,width=40p){P(id=51,title)}F(width=30p){P(id=2,title)}F{P(id=3)}}", 600, 300);
    ASSERT_NE(nullptr, root);
    PumpLayout();
    CxfFrame* closable = root->FindPane(51)->GetFrame();
    CxfFrame* plain = root->FindPane(2)->GetFrame();
    CxfFrame* untitled = root->FindPane(3)->GetFrame();

    // The closable pane: bar 1001 on top, no gripper, the title label and
    // the close button, whose click posts the close command.
    CxfToolBar* band = Band(closable);
    ASSERT_NE(nullptr, band);
    EXPECT_EQ(XF_TABLE_CLOSABLE_CAPTION, band->GetBarID());
    EXPECT_EQ(CxfFrame::SideTop, band->m_dock.side);
    EXPECT_FALSE(band->HasGripper());
    EXPECT_EQ(CxfToolBar::BkMenu, band->GetBkKind());
    ASSERT_EQ(2, band->GetItemCells().GetSize());
    EXPECT_EQ(ID_XF_PANE_TITLE, band->GetItemCells()[0]->GetData());
    EXPECT_EQ(ID_XF_CLOSE_PANE, band->GetItemCells()[1]->GetData());
    // The close button's picture loads and has a visible width.
    EXPECT_GT(band->GetItemCells()[1]->GetContentPtr()->GetPreferredWidth(), 6);
    ClickCell(band, band->GetItemCells()[1]);
    EXPECT_EQ(static_cast<WPARAM>(ID_XF_CLOSE_PANE), TakeCommand(root->m_hWnd));
    // The pane's own area starts below the band.
    EXPECT_EQ(band->GetDockExtent(), RectInParent(root->FindPane(51)->m_hWnd).top);

    // The title the frame had before its band existed shows at once, and
    // the label follows the window text from then on.
    CLocalizedString untitledText;
    untitledText.LoadString(10247);
    EXPECT_EQ(CString(untitledText), LabelText(closable));
    closable->SetTitle(L"Waveform");
    EXPECT_EQ(CString(L"Waveform"), LabelText(closable));
    root->FindPane(51)->SetTitle(L"Fragments");
    EXPECT_EQ(CString(L"Fragments"), LabelText(closable));

    // The pane that is not closable: bar 1000, the label only, blank until
    // a title is set.
    band = Band(plain);
    ASSERT_NE(nullptr, band);
    EXPECT_EQ(XF_TABLE_CAPTION, band->GetBarID());
    ASSERT_EQ(1, band->GetItemCells().GetSize());
    EXPECT_EQ(ID_XF_PANE_TITLE, band->GetItemCells()[0]->GetData());
    EXPECT_EQ(CString(L" "), LabelText(plain));
    plain->SetTitle(L"Information");
    EXPECT_EQ(CString(L"Information"), LabelText(plain));

    // No "title": no band, no label.
    EXPECT_EQ(0, untitled->GetBarCount());
    EXPECT_EQ(CString(L"(none)"), LabelText(untitled));
}
