// What the display contents measure and draw: text wrapping and ellipses
// measured with the font in use, the progress label and bar, and one
// control with one of each content painted into a bitmap whose pixels are
// checked at known points.
#include <gtest/gtest.h>
#include "HybridTestKit.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/HybridResources.h"
#include "hybrid/IHybridButton.h"
#include "hybrid/IHybridProgress.h"
#include "hybrid/IHybridSlider.h"
#include "hybrid/ProgressContent.h"
#include "hybrid/TextContent.h"

using namespace hybridtest;

namespace {

// Width of a text in the control's default style font.
int ExtentOf(CHybridCtrl& ctrl, const CString& text)
{
    CClientDC dc(&ctrl);
    HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), ctrl.GetDefaultStyle()->GetFont()->GetSafeHandle());
    SIZE extent{0, 0};
    ::GetTextExtentPoint32W(dc.GetSafeHdc(), text, text.GetLength(), &extent);
    ::SelectObject(dc.GetSafeHdc(), old);
    return extent.cx;
}

CString Label(IHybridProgress*)
{
    return L"owner's";
}

bool IsDark(COLORREF c)
{
    return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 100;
}

// Whether any pixel of the rectangle is dark (text or a mark was drawn).
bool AnyDark(const CCanvas& canvas, const CRect& rect)
{
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (IsDark(canvas.At(x, y)))
                return true;
    return false;
}

} // namespace

TEST(HybridText, WrapsAtBreaksWithinTheMeasuredWidth)
{
    CTestHost host(200, 300);
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridText> text, narrow;
    const wchar_t* words = L"alpha beta gamma/delta epsilon zeta eta theta iota kappa";
    builder.SetStyleBits(0, HTB_MULTILINE).SetText(words).ReturnText(&text).AddText();
    builder.SetStyleBits(0, HTB_MULTILINE).SetText(L"WWWW wide").ReturnText(&narrow).AddText();
    host.Pump();
    auto* content = static_cast<CTextContent*>(text.Get());
    const int available = 200 - host.Ctrl().GetDefaultStyle()->GetMargin1() - 10;
    const std::vector<CString>& lines = content->GetLines();
    ASSERT_GT(lines.size(), 1u);
    CString joined;
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_LT(ExtentOf(host.Ctrl(), lines[i]), available) << i;
        // Lines end at a break: a space was trimmed, a slash is kept.
        if (i + 1 < lines.size()) {
            EXPECT_NE(L' ', lines[i][lines[i].GetLength() - 1]);
            joined += lines[i] + (lines[i].Right(1) == L"/" ? L"" : L" ");
        } else {
            joined += lines[i];
        }
    }
    EXPECT_STREQ(words, joined);
    // The height is one line height per line.
    IHybridCell* cell = text->GetCell();
    EXPECT_EQ(static_cast<int>(lines.size()) * (host.Ctrl().GetDefaultStyle()->GetTextHeight() + 2),
              CTestHost::RectOf(cell).Height());

    // Too narrow for even two characters: what was cut stays, the rest is dropped.
    host.Resize(18, 300);
    host.Pump();
    EXPECT_TRUE(static_cast<CTextContent*>(narrow.Get())->GetLines().empty());
}

TEST(HybridText, SingleLineWidthAndEllipses)
{
    CTestHost host(300, 100);
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridText> text;
    CIPtr<IHybridCell> cell;
    builder.SetText(L"Fragment one").ReturnText(&text).ReturnCell(&cell).AddText();
    host.Pump();
    IHybridStyle* style = host.Ctrl().GetDefaultStyle();
    EXPECT_EQ(style->GetMargin1() + ExtentOf(host.Ctrl(), L"Fragment one") + 2 + style->GetMargin2(),
              text->GetPreferredWidth());
    // The same text again changes nothing; a new one is measured again.
    text->SetText(L"Fragment one");
    text->SetNumber(42);
    EXPECT_STREQ(L"42", text->GetText());
    EXPECT_EQ(style->GetMargin1() + ExtentOf(host.Ctrl(), L"42") + 2 + style->GetMargin2(), text->GetPreferredWidth());
    // Drawn with prefix processing, the '&' underlines and takes no room.
    CIPtr<IHybridText> prefixed;
    builder.SetText(L"&Fragment one").SetStyleBits(0, HTB_PREFIX).ReturnText(&prefixed).AddText();
    host.Pump();
    EXPECT_EQ(style->GetMargin1() + ExtentOf(host.Ctrl(), L"Fragment one") + 2 + style->GetMargin2(),
              prefixed->GetPreferredWidth());

    // Middle ellipsis: n = length * width / textWidth - 5 characters, half
    // from each end; a negative count shows the joint only.
    EXPECT_STREQ(L"abcde ... vwxyz", CTextContent::MiddleEllipsis(L"abcdefghijklmnopqrstuvwxyz", 60, 104));
    EXPECT_STREQ(L" ... ", CTextContent::MiddleEllipsis(L"abcdefghij", 10, 100));
    EXPECT_STREQ(L"fits", CTextContent::MiddleEllipsis(L"fits", 100, 50));
}

TEST(HybridProgress, LabelAndBarArithmetic)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridProgress> progress;
    builder.ReturnProgress(&progress).AddProgress();
    ASSERT_TRUE(progress);
    auto* content = static_cast<CProgressContent*>(progress.Get());
    EXPECT_STREQ(L"0 %", content->GetLabel());
    progress->SetTotal(1000);
    progress->SetPos(1);
    EXPECT_EQ(1, content->BarWidth(200)); // any progress shows one pixel
    EXPECT_STREQ(L"0 %", content->GetLabel());
    progress->SetPos(1005);
    EXPECT_EQ(1000, progress->GetPos());
    EXPECT_STREQ(L"100 %", content->GetLabel());
    progress->SetTotal(1000); // the same total keeps the position
    EXPECT_EQ(1000, progress->GetPos());
    progress->SetTotal(10000000000LL);
    EXPECT_EQ(0, progress->GetPos());
    progress->SetPos(5000000000LL);
    EXPECT_STREQ(L"50 %", content->GetLabel());
    EXPECT_EQ(100, content->BarWidth(200));
    progress->SetTextCallback(Label);
    EXPECT_STREQ(L"owner's", content->GetLabel());
}

TEST(HybridContents, OneOfEachPaintedAtKnownPoints)
{
    const int width = 240;
    CTestHost host(width, 260);
    CHybridCtrl& ctrl = host.Ctrl();
    CCellBuilder builder(&ctrl);
    CIPtr<IHybridCell> text, button, check, radio, slider, progress, picture, hot;
    CIPtr<IHybridSlider> sliderContent;
    CIPtr<IHybridProgress> progressContent;
    CIPtr<IHybridButton> hotButton;
    builder.SetText(L"Text").ReturnCell(&text).AddText();
    builder.SetText(L"Button").ReturnCell(&button).AddButton();
    builder.SetText(L"Check").SetChecked(1).ReturnCell(&check).AddCheckBox();
    builder.SetText(L"Radio").SetChecked(1).ReturnCell(&radio).AddRadioButton();
    builder.ReturnSlider(&sliderContent).SetSliderRange(0, 10).ReturnCell(&slider).AddSlider();
    builder.SetStyleBits(0, HPB_NOTEXT).ReturnProgress(&progressContent).ReturnCell(&progress).AddProgress();
    builder.SetPictureResource(IDB_HYBRID_THUMB_H, 0xFFFFFF).ReturnCell(&picture).AddPicture();
    builder.SetText(L"Hot").SetStyleBits(0, 0x1).ReturnButton(&hotButton).ReturnCell(&hot).AddButton();
    sliderContent->SetPos(10);
    progressContent->SetTotal(4);
    progressContent->SetPos(2);
    hotButton->SetLatched(true);
    host.Pump();

    CCanvas canvas(width, 260);
    ctrl.DrawAll(canvas.dc());
    const COLORREF window = ctrl.GetBkColor();

    // Text: the background around it, glyphs inside.
    const CRect t = CTestHost::RectOf(text);
    EXPECT_EQ(window, canvas.At(t.right - 2, t.top + 1));
    EXPECT_TRUE(AnyDark(canvas, CRect(t.left, t.top, t.left + 30, t.bottom)));
    // Button: the system push-button face around its centred caption.
    const CRect b = CTestHost::RectOf(button);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas.At(b.left + 4, b.CenterPoint().y));
    EXPECT_TRUE(AnyDark(canvas, CRect(b.CenterPoint().x - 10, b.top + 2, b.CenterPoint().x + 10, b.bottom - 2)));
    // Check box and radio button: a mark in the box, the label after it.
    const CRect c = CTestHost::RectOf(check);
    const int cy = c.top + (c.Height() - 13) / 2;
    EXPECT_TRUE(AnyDark(canvas, CRect(c.left + 3, cy + 3, c.left + 10, cy + 10)));
    EXPECT_TRUE(AnyDark(canvas, CRect(c.left + 16, c.top, c.left + 40, c.bottom)));
    const CRect r = CTestHost::RectOf(radio);
    const int ry = r.top + (r.Height() - 13) / 2;
    EXPECT_TRUE(AnyDark(canvas, CRect(r.left + 5, ry + 5, r.left + 8, ry + 8)));
    // Slider at its maximum: the thumb face at the right end, the groove left.
    const CRect s = CTestHost::RectOf(slider);
    EXPECT_EQ(RGB(192, 192, 192), canvas.At(s.right - 7, s.CenterPoint().y));
    EXPECT_EQ(RGB(0xA3, 0xA3, 0xA3), canvas.At(s.left + 20, s.top + s.Height() / 2 - 2));
    // Progress at half: blue edge on the bar's left half, the rest light.
    const CRect p = CTestHost::RectOf(progress);
    ASSERT_GT(p.Height(), 0);
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(p.left + 2, p.top));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas.At(p.right - 2, p.top));
    // Picture: the thumb bitmap centred, its white key left out.
    const CRect pic = CTestHost::RectOf(picture);
    EXPECT_EQ(26, pic.Height());
    EXPECT_EQ(RGB(192, 192, 192), canvas.At(pic.CenterPoint().x, pic.top + 13));
    EXPECT_EQ(window, canvas.At(pic.left + 2, pic.top + 13));
    // A latched toolbar button shows its skin (4 x 4, middle pixels stretched).
    const CRect h = CTestHost::RectOf(hot);
    EXPECT_EQ(RGB(132, 160, 220), canvas.At(h.left + 10, h.CenterPoint().y - 1));
}
