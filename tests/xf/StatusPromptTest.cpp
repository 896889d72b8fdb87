// The status bar's prompt (the label of command 37003) is read in the
// current language, as every other text.
#include <gtest/gtest.h>
#include "XfTestKit.h"
#include "tests/common/LanguageTestFiles.h"
#include "xf/xfCommands.h"
#include "xf/xfContentInterfaces.h"
#include "xf/xfResources.h"

using namespace xftest;

namespace {

class StatusPrompt : public HostTest
{
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        ClearLanguages();
        ASSERT_TRUE(
            langtest::WriteUtf16(langtest::FreshNlsFolder() + L"\\German.txt",
                                 langtest::LanguageText(L"German", L"Deutsch", false, L"Untitled\r\nOhne Titel\r\n")));
        ASSERT_TRUE(ScanLanguageFiles());
    }
    void TearDown() override
    {
        ClearLanguages();
        langtest::FreshNlsFolder();
        HostTest::TearDown();
    }
    CString StatusText()
    {
        CIPtr<IHybridContent> content;
        CIPtr<IxfToolBarLabel> label;
        if (!host.Root()->FindContent(ID_XF_STATUS_INFO, &content) || !content ||
            FAILED(label.QueryFrom(content, IID_IxfToolBarLabel)))
            return L"(no label)";
        return label->GetText();
    }
};

} // namespace

TEST_F(StatusPrompt, ShowsTheTextOfTheCurrentLanguage)
{
    table = {Item(XF_ITEM_LABEL, ID_XF_STATUS_INFO, XF_ITEMF_STRETCH), kEnd};
    Central().tables[kHostTable] = table.data();
    CxfFrame* root = Build(L"F{S(tb=60)F{P(id=1)}}", 400, 200);
    ASSERT_NE(nullptr, root);
    CxfFrame* paneFrame = root->FindPane(1)->GetFrame();
    paneFrame->SetMessageText(IDS_XF_UNTITLED);
    EXPECT_EQ(CString(L"Untitled"), StatusText());
    ASSERT_STREQ(L"German", SelectLanguageByName(L"German"));
    paneFrame->SetMessageText(IDS_XF_UNTITLED);
    EXPECT_EQ(CString(L"Ohne Titel"), StatusText());
    paneFrame->SetMessageText(0);
    EXPECT_EQ(CString(L""), StatusText());
}
