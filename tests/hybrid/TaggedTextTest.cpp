// Tagged "TEXT" resources of the test program (TaggedText.rc), one UTF-16
// with its byte-order mark and one ANSI: the text cells they make, in order,
// with their standard styles and style bits.
#include <gtest/gtest.h>
#include "HybridTestKit.h"
#include "common/VersionInfo.h"
#include "hybrid/IHybridText.h"
#include "hybrid/TaggedText.h"
#include "hybrid/TextContent.h"

using namespace hybridtest;

namespace {

struct SLine
{
    CString text;
    int style;  // standard style number; 0: the builder's default
    DWORD high; // the high style bits
};

std::vector<SLine> Lines(CHybridCtrl& ctrl)
{
    CCellArray cells;
    CCellCollector collector(cells);
    ctrl.EnumCells(collector, HCE_ALL);
    std::vector<SLine> lines;
    for (int i = 0; i < cells.GetSize(); ++i) {
        IHybridCell* cell = cells.GetAt(i);
        CIPtr<IHybridText> text;
        if (!cell || FAILED(text.QueryFrom(cell->GetContentPtr(), IID_IHybridText)) || !text)
            continue;
        int style = 0;
        for (int n : {HCS_NORMAL, HCS_BOLD, HCS_LARGE})
            if (cell->GetStyle() == ctrl.GetStdStyle(n))
                style = n;
        lines.push_back({text->GetText(), style, static_cast<DWORD>(cell->GetStyleBits() >> 32)});
    }
    return lines;
}

// Text and style bits of every line; the style of lines with high bits, or
// of every line when `allStyles`.
void ExpectLines(const std::vector<SLine>& expected, const std::vector<SLine>& lines, bool allStyles)
{
    ASSERT_EQ(expected.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(expected[i].text, lines[i].text) << "line " << i;
        EXPECT_EQ(expected[i].high, lines[i].high) << "line " << i;
        if (allStyles || expected[i].high) {
            EXPECT_EQ(expected[i].style, lines[i].style) << "line " << i;
        }
    }
}

const DWORD kWrap = HTB_MULTILINE;
const DWORD kLink = HTB_MULTILINE | HTB_LINK | HTB_OPEN;

} // namespace

TEST(HybridTaggedText, Utf16TextWithProductNameLinkAndAStrayClosingTag)
{
    CTestHost host;
    AddTaggedTextResource(&host.Ctrl(), 7901);
    const std::vector<SLine> lines = Lines(host.Ctrl());
    const CString title = L"Licence of " + CVersionInfo().GetProductName();
    ASSERT_FALSE(CVersionInfo().GetProductName().IsEmpty());
    const std::vector<SLine> expected = {
        {title, HCS_BOLD, kWrap},
        {L"", HCS_NORMAL, kWrap}, // the title line's own end
        {L"Plain words \x00e9", HCS_NORMAL, kWrap},
        {L" ", HCS_NORMAL, 0}, // the blank line of CR LF CR LF
        {L"See ", HCS_NORMAL, kWrap},
        {L"http://example.invalid/", HCS_NORMAL, kLink},
        {L" now", HCS_NORMAL, kWrap},
        {L" and more", HCS_NORMAL, kWrap}, // after the stray closing tag
        {L"", HCS_NORMAL, kWrap},          // the text ends with a line break
    };
    ExpectLines(expected, lines, false);
}

TEST(HybridTaggedText, AnsiTextWithNestedStylesAndALoneLineFeed)
{
    CTestHost host;
    AddTaggedTextResource(&host.Ctrl(), 7902);
    ExpectLines({{L"Intro ", HCS_NORMAL, kWrap},
                 {L"Big ", HCS_LARGE, kWrap},
                 {L"bold", HCS_BOLD, kWrap},
                 {L" after", HCS_LARGE, kWrap},
                 {L"", HCS_NORMAL, kWrap},
                 {L"end", HCS_NORMAL, kWrap}},
                Lines(host.Ctrl()), true);
}

TEST(HybridTaggedText, AMissingResourceGivesOneEmptyCell)
{
    CTestHost host;
    AddTaggedTextResource(&host.Ctrl(), 7999);
    const std::vector<SLine> lines = Lines(host.Ctrl());
    ASSERT_EQ(1u, lines.size());
    EXPECT_TRUE(lines[0].text.IsEmpty());
}
