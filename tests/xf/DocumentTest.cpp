// Documents in MDI areas: opening by path (an open path found again, letter
// case ignored), missing and unreadable files, keyboard switching between
// documents, the registry of areas, the save question when a document frame
// closes, and the document controller's Save, Save As and Open commands with
// their real file dialogs.
#include <gtest/gtest.h>
#include <algorithm>
#include <cwctype>
#include "DialogAnswerer.h"
#include "XfTestKit.h"
#include "common/ProductInfo.h"
#include "tests/support/TestSupport.h"
#include "xf/xfCommands.h"
#include "xf/xfMDIClient.h"
#include "xf/xfMessages.h"

using namespace xftest;

namespace {

const int kDoc = 45;
const int kDocWithArea = 46;

std::wstring Upper(std::wstring s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
    return s;
}

bool Contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

class Documents : public HostTest
{
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        dir = testsupport::ScratchDir(L"xf-documents");
        song = dir + L"\\song.wav";
        other = dir + L"\\other.mp3";
        shout = dir + L"\\SHOUT.WAV";
        unreadable = dir + L"\\broken.bad";
        for (const std::wstring& p : {song, other, shout, unreadable})
            ASSERT_TRUE(testsupport::WriteFileBytes(p, "data", 4));
        Central().layouts[kDoc] = L"F(controller=20){P(id=5)}";
        Central().layouts[kDocWithArea] = L"F(controller=21){M(mdiID=7){F{P(id=6)}}}";
        ASSERT_NE(nullptr,
                  Build(L"R(controller=1){M(mdiID=1,KeySwitchable){F(controller=2){P(id=1)}}}", 600, 400, false));
        area = host.Root()->FindMDIClient(1);
        ASSERT_NE(nullptr, area);
    }
    CTestDocController* Doc(CxfFrame* frame) { return static_cast<CTestDocController*>(frame->GetController()); }
    // The area's child frames that are shown.
    std::vector<CxfFrame*> Shown()
    {
        std::vector<CxfFrame*> shown;
        for (int i = 0; i < area->GetChildCount(); ++i)
            if (area->GetChild(i)->IsShown())
                shown.push_back(area->GetChild(i));
        return shown;
    }
    // Runs the command through the top-level frame, as a menu would.
    void Command(UINT id)
    {
        host.Root()->PostMessage(WM_COMMAND, id);
        PumpFor(100);
    }
    CxfMDIClient* area = nullptr;
    std::wstring dir, song, other, shout, unreadable;
};

} // namespace

TEST_F(Documents, AnOpenPathIsFoundAgainWhateverItsLetterCase)
{
    UINT error = 0;
    CxfFrame* first = area->OpenDocumentFrame(kDoc, song.c_str(), &error);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(0u, error);
    EXPECT_TRUE(Log().Has("opendoc " + std::string(CStringA(song.c_str()))));
    EXPECT_EQ(CString(song.c_str()), Doc(first)->GetPathName());
    EXPECT_EQ(CString(L"song.wav"), Doc(first)->GetTitle());
    CString caption;
    host.GetWindowText(caption);
    EXPECT_EQ(CString(L"song.wav - ") + SProductInfo::GetName(), caption);

    CxfFrame* second = area->OpenDocumentFrame(kDoc, other.c_str(), &error);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(std::vector<CxfFrame*>{second}, Shown());
    EXPECT_TRUE(second->IsActive());

    const int made = Log().controllersMade;
    const int frames = area->GetChildCount();
    EXPECT_EQ(first, area->OpenDocumentFrame(kDoc, Upper(song).c_str(), &error));
    EXPECT_EQ(made, Log().controllersMade);
    EXPECT_EQ(frames, area->GetChildCount());
    EXPECT_EQ(std::vector<CxfFrame*>{first}, Shown());
    EXPECT_TRUE(first->IsActive());
    EXPECT_FALSE(second->IsActive());
}

TEST_F(Documents, MissingUnreadableAndEmptyPaths)
{
    const int frames = area->GetChildCount();
    UINT error = 0;
    EXPECT_EQ(nullptr, area->OpenDocumentFrame(kDoc, (dir + L"\\gone.wav").c_str(), &error));
    EXPECT_EQ(IDS_XF_FILE_NOT_FOUND, error);
    EXPECT_EQ(nullptr, area->OpenDocumentFrame(kDoc, (dir + L"\\gone.wav").c_str(), nullptr));
    EXPECT_EQ(frames, area->GetChildCount());

    // A file that exists but cannot be opened: no frame, no error id.
    error = 0;
    EXPECT_EQ(nullptr, area->OpenDocumentFrame(kDoc, unreadable.c_str(), &error));
    EXPECT_EQ(0u, error);
    PumpFor(20);
    EXPECT_EQ(frames, area->GetChildCount());

    // An empty path builds a new frame without asking for any file.
    Log().events.clear();
    CxfFrame* empty = area->OpenDocumentFrame(kDoc, L"", &error);
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ(frames + 1, area->GetChildCount());
    EXPECT_FALSE(Doc(empty)->HasPath());
    EXPECT_TRUE(std::none_of(Log().events.begin(), Log().events.end(),
                             [](const std::string& e) { return e.rfind("opendoc", 0) == 0; }));
    EXPECT_NE(empty, area->OpenDocumentFrame(kDoc, L"", &error));
}

TEST_F(Documents, CtrlTabSwitchesBetweenTheDocumentsOfTheSwitchableArea)
{
    CxfFrame* start = area->GetChild(0);
    CxfFrame* a = area->OpenDocumentFrame(kDoc, song.c_str(), nullptr);
    CxfFrame* b = area->OpenDocumentFrame(kDoc, other.c_str(), nullptr);
    ASSERT_TRUE(a && b);
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    const HWND target = b->GetPane()->GetDlgItem(1000)->m_hWnd;
    ::PostMessageW(target, WM_KEYDOWN, VK_TAB, 1);
    PumpFor(60);
    EXPECT_EQ(std::vector<CxfFrame*>{start}, Shown()); // after the last comes the first
    keys[VK_SHIFT] = 0x80;
    ::SetKeyboardState(keys);
    ::PostMessageW(target, WM_KEYDOWN, VK_TAB, 1);
    PumpFor(60);
    EXPECT_EQ(std::vector<CxfFrame*>{b}, Shown());
    keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_TRUE(b->IsActive());
}

TEST_F(Documents, WithTwoAreasAndNoneSwitchableTheSwitchIsSwallowed)
{
    ASSERT_NE(nullptr, Build(L"R{M(mdiID=1){F(controller=2){P(id=1)}F(controller=3){P(id=2)}}M(mdiID=2){F{P(id=3)}}}",
                             600, 400, false));
    area = host.Root()->FindMDIClient(1);
    ASSERT_NE(nullptr, area);
    const std::vector<CxfFrame*> before = Shown();
    EXPECT_TRUE(host.Root()->OnCmdMsg(ID_XF_NEXT_FRAME, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(before, Shown());
}

TEST_F(Documents, AnAreaLeavesTheRegistryItJoinedWhenItsDocumentCloses)
{
    CxfFrame* doc = area->OpenDocumentFrame(kDocWithArea, L"", nullptr);
    ASSERT_NE(nullptr, doc);
    CxfMDIClient* inner = host.Root()->FindMDIClient(7);
    ASSERT_NE(nullptr, inner);
    EXPECT_EQ(inner, doc->GetChild(0)->GetChild(0)->FindMDIClient(-1));
    // The closing frame leaves the tree before it stops: the inner area
    // must still leave the top-level frame's registry, not its own.
    doc->PostMessage(XFM_CLOSEFRAME);
    PumpFor(60);
    EXPECT_EQ(nullptr, host.Root()->FindMDIClient(7));
    EXPECT_EQ(area, host.Root()->FindMDIClient(1));
}

TEST_F(Documents, ClosingAModifiedDocumentAsksFirst)
{
    auto open = [&] {
        CxfFrame* f = area->OpenDocumentFrame(kDoc, song.c_str(), nullptr);
        Doc(f)->SetModified(true);
        return f;
    };
    auto close = [&](CxfFrame* f, int answer) {
        CDialogAnswerer answerer({{answer, L""}});
        f->PostMessage(XFM_CLOSEFRAME);
        PumpUntil([&] { return !answerer.Seen().empty(); }, 5000);
        PumpFor(100);
        return answerer.Seen();
    };
    const int frames = area->GetChildCount();

    CxfFrame* f = open();
    HWND wnd = f->m_hWnd;
    std::vector<std::wstring> seen = close(f, IDCANCEL);
    ASSERT_EQ(1u, seen.size());
    EXPECT_TRUE(Contains(seen[0], L"Save the changes to song.wav?")) << seen[0];
    EXPECT_TRUE(::IsWindow(wnd));
    EXPECT_TRUE(Doc(f)->IsModified());

    // Yes with a failing save keeps the frame and the changes.
    Doc(f)->failSave = true;
    close(f, IDYES);
    EXPECT_TRUE(::IsWindow(wnd));
    EXPECT_EQ(std::vector<std::wstring>{song}, Doc(f)->saves);
    EXPECT_TRUE(Doc(f)->IsModified());

    // No closes without saving.
    Doc(f)->failSave = false;
    Doc(f)->saves.clear();
    close(f, IDNO);
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_EQ(frames, area->GetChildCount());

    // Yes saves in place, then closes.
    f = open();
    wnd = f->m_hWnd;
    ASSERT_TRUE(testsupport::WriteFileBytes(song, "data", 4));
    close(f, IDYES);
    EXPECT_FALSE(::IsWindow(wnd));
    const std::vector<uint8_t> bytes = testsupport::ReadFileBytes(song);
    EXPECT_EQ("saved", std::string(bytes.begin(), bytes.end()));

    // An unmodified document closes without a question.
    f = area->OpenDocumentFrame(kDoc, song.c_str(), nullptr);
    wnd = f->m_hWnd;
    EXPECT_TRUE(close(f, IDCANCEL).empty());
    EXPECT_FALSE(::IsWindow(wnd));
}

TEST_F(Documents, SaveInPlaceOrThroughTheSaveDialog)
{
    CTestDocController* doc = Doc(area->OpenDocumentFrame(kDoc, shout.c_str(), nullptr));
    {
        CDialogAnswerer none({}); // any dialog would be cancelled
        // Not modified: Save is disabled and does nothing.
        Command(ID_XF_FILE_SAVE);
        EXPECT_FALSE(doc->Save(false));
        // .WAV is the save extension wav: saved in place, no dialog.
        doc->SetModified(true);
        Command(ID_XF_FILE_SAVE);
        EXPECT_TRUE(none.Seen().empty());
    }
    EXPECT_EQ(std::vector<std::wstring>{shout}, doc->saves);
    EXPECT_FALSE(doc->IsModified());

    // Save As always asks; the document takes the new path once written.
    const std::wstring copy = dir + L"\\copy.wav";
    {
        CDialogAnswerer answerer({{IDOK, copy}});
        Command(ID_XF_FILE_SAVE_AS);
        ASSERT_EQ(1u, answerer.Seen().size());
        EXPECT_TRUE(Contains(answerer.Seen()[0], L"Audio (*.wav)")) << answerer.Seen()[0];
    }
    EXPECT_EQ(0, doc->GetPathName().CompareNoCase(copy.c_str())) << static_cast<LPCWSTR>(doc->GetPathName());
    EXPECT_EQ(CString(L"copy.wav"), doc->GetTitle());
    EXPECT_TRUE(testsupport::ReadFileBytes(copy).size() == 5);

    // A failed or cancelled Save As leaves the document where it was.
    doc->failSave = true;
    {
        CDialogAnswerer answerer({{IDOK, dir + L"\\elsewhere.wav"}});
        EXPECT_FALSE(doc->Save(true));
        EXPECT_EQ(1u, answerer.Seen().size());
    }
    EXPECT_EQ(0, doc->GetPathName().CompareNoCase(copy.c_str()));
    EXPECT_EQ(CString(L"copy.wav"), doc->GetTitle());
    doc->failSave = false;
    {
        CDialogAnswerer answerer({{IDCANCEL, L""}});
        EXPECT_FALSE(doc->Save(true));
        EXPECT_EQ(1u, answerer.Seen().size());
    }
    EXPECT_EQ(0, doc->GetPathName().CompareNoCase(copy.c_str()));

    // A document whose extension is not the save extension asks for a path.
    CTestDocController* mp3 = Doc(area->OpenDocumentFrame(kDoc, other.c_str(), nullptr));
    mp3->SetModified(true);
    CDialogAnswerer answerer({{IDCANCEL, L""}});
    EXPECT_FALSE(mp3->Save(false));
    EXPECT_EQ(1u, answerer.Seen().size());
    EXPECT_TRUE(mp3->saves.empty());
    EXPECT_TRUE(mp3->IsModified());
}

TEST_F(Documents, TheOpenCommand)
{
    CTestDocController* doc = Doc(area->OpenDocumentFrame(kDoc, L"", nullptr));
    {
        // Cancelled: no message after the dialog.
        CDialogAnswerer answerer({{IDCANCEL, L""}});
        Command(ID_XF_FILE_OPEN);
        PumpFor(300);
        ASSERT_EQ(1u, answerer.Seen().size());
        EXPECT_TRUE(Contains(answerer.Seen()[0], L"Audio (*.wav;*.mp3)")) << answerer.Seen()[0];
    }
    {
        // A file that cannot be opened: "Can't open file."
        CDialogAnswerer answerer({{IDOK, unreadable}, {IDOK, L""}});
        EXPECT_FALSE(doc->OnOpenCommand());
        ASSERT_EQ(2u, answerer.Seen().size());
        EXPECT_TRUE(Contains(answerer.Seen()[1], L"Can't open file.")) << answerer.Seen()[1];
        EXPECT_FALSE(doc->HasPath());
    }
    CDialogAnswerer answerer({{IDOK, song}});
    doc->SetModified(true);
    EXPECT_TRUE(doc->OnOpenCommand());
    EXPECT_EQ(0, doc->GetPathName().CompareNoCase(song.c_str()));
    EXPECT_FALSE(doc->IsModified());
}
