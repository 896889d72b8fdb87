// The main window and the ways a file gets opened: dropped files, the start
// page, refused files, a file opened twice; keys that must not close it.
#include <shlobj.h>
#include <commctrl.h>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include "AppTestKit.h"
#include "DialogAnswerer.h"
#include "app/AppIds.h"
#include "app/AppSettings.h"
#include "common/RecentList.h"
#include "app/MainController.h"
#include "app/MainFrame.h"
#include "app/StartPagePane.h"
#include "app/ViririziruController.h"
#include "hybrid/HybridIIDs.h"
#include "hybrid/IHybridText.h"
#include "tests/support/TestSupport.h"
#include "xf/xfFrame.h"
#include "xf/xfMDIClient.h"
#include "hybrid/IHybridSlider.h"

using namespace apptest;
using xftest::CDialogAnswerer;

namespace {

class MainWindow : public AppTest
{
protected:
    // Drops the paths on the main window as the shell does.
    void Drop(const std::vector<std::wstring>& paths)
    {
        size_t chars = 1;
        for (const auto& p : paths)
            chars += p.size() + 1;
        HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
        ASSERT_TRUE(memory);
        auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        wchar_t* names = reinterpret_cast<wchar_t*>(drop + 1);
        for (const auto& p : paths) {
            wcscpy(names, p.c_str());
            names += p.size() + 1;
        }
        ::GlobalUnlock(memory);
        MainFrame()->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
        PumpFor(100);
    }

    std::wstring PathOf(CxfFrame* document)
    {
        return static_cast<CViririziruController*>(document->GetController())->GetPathName().GetString();
    }

    std::vector<std::wstring> StartPageLines()
    {
        std::vector<std::wstring> out;
        const CCellArray& cells = StartPage()->GetFileCells();
        for (INT_PTR i = 0; i < cells.GetSize(); ++i) {
            CIPtr<IHybridContent> content;
            CIPtr<IHybridText> text;
            if (cells.GetAt(i)->GetContent(&content) &&
                SUCCEEDED(content->QueryInterface(IID_IHybridText, reinterpret_cast<void**>(&text))))
                out.push_back(text->GetText());
        }
        return out;
    }

    // A left click in the middle of the start page's line.
    void ClickLine(IHybridCell* cell)
    {
        CRect rect;
        cell->GetRect(&rect);
        const LPARAM at = MAKELPARAM(rect.left + 4, rect.CenterPoint().y);
        CHybridCtrl& ctrl = StartPage()->GetCtrl();
        // The pointer is over the text: a link reacts only then. It goes
        // back where it was afterwards, for the cases that follow.
        POINT before;
        ::GetCursorPos(&before);
        CPoint screen(rect.left + 4, rect.CenterPoint().y);
        ctrl.ClientToScreen(&screen);
        ::SetCursorPos(screen.x, screen.y);
        ctrl.SendMessage(WM_MOUSEMOVE, 0, at);
        ctrl.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(ctrl.GetSafeHwnd()),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        ctrl.SendMessage(WM_LBUTTONUP, 0, at);
        PumpFor(100);
        ::SetCursorPos(before.x, before.y);
    }

    std::wstring m_dir = testsupport::ScratchDir(L"app-main");
};

} // namespace

TEST_F(MainWindow, StartsWithTheStartPageAndAVolumeSliderThatFollowsAndSetsTheVolume)
{
    WriteDword(L"iVolume", 60);
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Controller());
    EXPECT_EQ(1, Area()->GetChildCount());

    CIPtr<IHybridContent> content;
    ASSERT_TRUE(Root()->FindContent(ID_CMD_VOLUME, &content));
    CIPtr<IHybridSlider> slider;
    ASSERT_TRUE(SUCCEEDED(content->QueryInterface(IID_IHybridSlider, reinterpret_cast<void**>(&slider))));
    PumpUntil([&slider] { return slider->GetPos() == 60; });
    EXPECT_EQ(60, slider->GetPos());

    // The slider sets the volume; the volume keys move the slider.
    slider->SetPos(25);
    Command(ID_CMD_VOLUME);
    EXPECT_EQ(25, GetVolume());
    Command(ID_CMD_VOLUME_UP);
    PumpUntil([&slider] { return slider->GetPos() == 26; });
    EXPECT_EQ(26, slider->GetPos());
}

TEST_F(MainWindow, EscapeAndEnterLeaveItOpenAndExitClosesIt)
{
    ASSERT_TRUE(Start());
    HWND window = MainFrame()->GetSafeHwnd();
    for (UINT key : {VK_ESCAPE, VK_RETURN}) {
        ::SetFocus(window);
        ::PostMessageW(::GetFocus() ? ::GetFocus() : window, WM_KEYDOWN, key, 0);
        PumpFor(100);
        MainFrame()->SendMessage(WM_COMMAND, key == VK_ESCAPE ? IDCANCEL : IDOK, 0);
        EXPECT_TRUE(::IsWindow(window));
        EXPECT_TRUE(::IsWindowVisible(window));
    }
    Command(ID_CMD_EXIT);
    PumpUntil([window] { return !::IsWindow(window); });
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_GE(DrainQuits(), 1);
}

TEST_F(MainWindow, OfDroppedFilesOnlyTheFirstOpensAndALongPathIsReadWhole)
{
    ASSERT_TRUE(Start());
    Drop({Tone(), MakeWav(m_dir, L"second.wav", 16), MakeWav(m_dir, L"third.wav", 16)});
    ASSERT_EQ(1u, Documents().size());
    EXPECT_EQ(Tone(), PathOf(Documents()[0]));
    EXPECT_EQ(std::vector<std::wstring>{Tone()}, Recent());
    EXPECT_EQ(std::vector<std::wstring>{L"tone440_10s.wav"}, StartPageLines());

    // Longer than any fixed name buffer: three folders of 200 characters.
    std::wstring path = L"\\\\?\\" + m_dir;
    for (wchar_t letter : {L'a', L'b', L'c'}) {
        path += L"\\" + std::wstring(200, letter);
        ::CreateDirectoryW(path.c_str(), nullptr);
    }
    path += L"\\long.wav";
    ASSERT_TRUE(::CopyFileW(Tone().c_str(), path.c_str(), FALSE));
    ASSERT_GT(path.size(), 600u);
    Drop({path});
    ASSERT_EQ(2u, Documents().size());
    EXPECT_TRUE(path == PathOf(Documents()[0]) || path == PathOf(Documents()[1]));
    EXPECT_EQ((std::vector<std::wstring>{path, Tone()}), Recent());
}

TEST_F(MainWindow, ClosingLetsTheFileGoAndTheSamePathTwiceGivesOneFrame)
{
    ASSERT_TRUE(Start());
    const std::wstring copy = m_dir + L"\\closing.wav";
    ASSERT_TRUE(::CopyFileW(Tone().c_str(), copy.c_str(), FALSE));
    Controller()->OpenAudioFile(copy.c_str());
    ASSERT_EQ(1u, Documents().size());
    Command(ID_CMD_CLOSE);
    PumpUntil([this] { return Documents().empty(); });
    EXPECT_TRUE(Documents().empty());
    EXPECT_EQ(1, Area()->GetChildCount()); // the start page stays
    // The reader's loading stops; its file is closed soon after.
    EXPECT_TRUE(PumpUntil([&copy] { return ::DeleteFileW(copy.c_str()) != FALSE; }));

    Controller()->OpenAudioFile(Tone().c_str());
    Controller()->OpenAudioFile(MakeWav(m_dir, L"other.wav", 16).c_str());
    const size_t recent = Recent().size();
    std::wstring upper = Tone();
    for (auto& c : upper)
        c = static_cast<wchar_t>(towupper(c));
    Controller()->OpenAudioFile(upper.c_str());
    ASSERT_EQ(2u, Documents().size());
    // The one already open is shown again and moves to the front of the list.
    EXPECT_TRUE(Documents()[0]->IsShown());
    EXPECT_FALSE(Documents()[1]->IsShown());
    EXPECT_EQ(recent, Recent().size());
    EXPECT_EQ(0, _wcsicmp(Tone().c_str(), Recent().at(0).c_str()));
}

TEST_F(MainWindow, RefusedFilesLeaveNoFrameAndLeaveTheRecentList)
{
    const std::wstring fake = m_dir + L"\\x.wav";
    const char text[] = "this is no sound at all\r\n";
    ASSERT_TRUE(testsupport::WriteFileBytes(fake, text, sizeof text - 1));
    GetRecentList().Add(fake.c_str());
    GetRecentList().Add(Tone().c_str());
    ASSERT_TRUE(Start());
    EXPECT_EQ((std::vector<std::wstring>{L"tone440_10s.wav", L"x.wav"}), StartPageLines());
    {
        CDialogAnswerer answerer({{IDOK, L""}}, MainFrame()->GetSafeHwnd());
        Drop({fake});
        PumpUntil([&answerer] { return !answerer.Seen().empty(); });
        ASSERT_EQ(1u, answerer.Seen().size());
        EXPECT_NE(std::wstring::npos, answerer.Seen()[0].find(L"Can't open file."));
        EXPECT_EQ(0u, answerer.Seen()[0].find(L"Velmora Ravelin"));
    }
    EXPECT_TRUE(Documents().empty());
    EXPECT_EQ(std::vector<std::wstring>{Tone()}, Recent());
    EXPECT_EQ(std::vector<std::wstring>{L"tone440_10s.wav"}, StartPageLines());

    // Sample widths other than 16 bits: the document says why, then the
    // opener says that the file did not open, with the refused document's
    // frame (its "Untitled" tab) gone by then.
    const std::wstring eight = MakeWav(m_dir, L"eight.wav", 8);
    {
        CDialogAnswerer answerer({{IDOK, L""}, {IDOK, L""}}, MainFrame()->GetSafeHwnd());
        std::mutex lock;
        std::vector<std::pair<HWND, int>> framesBehind; // per message box
        std::atomic<bool> stop{false};
        CxfMDIClient* area = Area();
        const HWND main = MainFrame()->GetSafeHwnd();
        std::thread watch([&] {
            // The UI thread waits in the message box (owned by the main
            // window) meanwhile: the frame tree holds still while it is read.
            while (!stop) {
                for (HWND w = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
                     w = ::FindWindowExW(nullptr, w, L"#32770", nullptr))
                    if (w != main && ::GetWindow(w, GW_OWNER) == main && ::IsWindowVisible(w)) {
                        std::lock_guard<std::mutex> hold(lock);
                        if (framesBehind.empty() || framesBehind.back().first != w)
                            framesBehind.emplace_back(w, area->GetChildCount());
                    }
                ::Sleep(10);
            }
        });
        Controller()->OpenAudioFile(eight.c_str());
        PumpUntil([&answerer] { return answerer.Seen().size() >= 2; }, 4000);
        stop = true;
        watch.join();
        ASSERT_EQ(2u, answerer.Seen().size());
        EXPECT_EQ(0u, answerer.Seen()[0].find(L"Velmora Ravelin"));
        EXPECT_NE(std::wstring::npos, answerer.Seen()[0].find(L"Only 16 bit files are supported at the moment."));
        EXPECT_EQ(0u, answerer.Seen()[1].find(L"Velmora Ravelin"));
        EXPECT_NE(std::wstring::npos, answerer.Seen()[1].find(L"Can't open file."));
        ASSERT_EQ(2u, framesBehind.size());
        EXPECT_EQ(1, framesBehind[1].second) << "only the start page's frame";
    }
    EXPECT_TRUE(Documents().empty());
    EXPECT_EQ(1, Area()->GetChildCount());
    EXPECT_EQ(std::vector<std::wstring>{Tone()}, Recent());
    // The refused file is let go at once: it can be replaced.
    EXPECT_TRUE(::DeleteFileW(eight.c_str()));

    // The readers refuse 24-bit samples themselves: the open fails as a whole.
    const std::wstring wide = MakeWav(m_dir, L"wide.wav", 24);
    {
        CDialogAnswerer answerer({{IDOK, L""}}, MainFrame()->GetSafeHwnd());
        Controller()->OpenAudioFile(wide.c_str());
        PumpUntil([&answerer] { return !answerer.Seen().empty(); });
        ASSERT_EQ(1u, answerer.Seen().size());
        EXPECT_NE(std::wstring::npos, answerer.Seen()[0].find(L"Can't open file."));
    }
    EXPECT_TRUE(Documents().empty());
    EXPECT_TRUE(::DeleteFileW(wide.c_str()));
}

TEST_F(MainWindow, StartPageListsRecentFilesNewestFirstAndOpensOneByClick)
{
    const std::wstring a = MakeWav(m_dir, L"a.wav", 16);
    const std::wstring sub = m_dir + L"\\sub";
    ::CreateDirectoryW(sub.c_str(), nullptr);
    const std::wstring a2 = MakeWav(sub, L"a.wav", 16);
    GetRecentList().Add(a.c_str());
    GetRecentList().Add(a2.c_str());
    GetRecentList().Add(Tone().c_str());
    ASSERT_TRUE(Start());
    // Two files of the same name show two equal lines; each opens its own.
    EXPECT_EQ((std::vector<std::wstring>{L"tone440_10s.wav", L"a.wav", L"a.wav"}), StartPageLines());

    ClickLine(StartPage()->GetFileCells().GetAt(2));
    ASSERT_EQ(1u, Documents().size());
    EXPECT_EQ(a, PathOf(Documents()[0]));
    EXPECT_EQ((std::vector<std::wstring>{a, Tone(), a2}), Recent());
    EXPECT_EQ((std::vector<std::wstring>{L"a.wav", L"tone440_10s.wav", L"a.wav"}), StartPageLines());
}

TEST_F(MainWindow, StartPageOpenLineRunsTheOpenCommand)
{
    ASSERT_TRUE(Start());
    EXPECT_TRUE(StartPageLines().empty());
    CIPtr<IHybridText> openLine;
    ASSERT_TRUE(FindTextContentByData(StartPage()->GetCtrl().GetRootCell(), static_cast<DWORD_PTR>(-1), &openLine));
    CIPtr<IHybridContent> content;
    ASSERT_TRUE(SUCCEEDED(openLine->QueryInterface(IID_IHybridContent, reinterpret_cast<void**>(&content))));
    IHybridCell* cell = content->GetCell();
    ASSERT_TRUE(cell);
    EXPECT_STREQ(L"Open File...", openLine->GetText());
    {
        // The file dialog of the Open command: the chosen file opens.
        CDialogAnswerer answerer({{IDOK, Tone()}}, MainFrame()->GetSafeHwnd());
        ClickLine(cell);
        PumpUntil([this] { return !Documents().empty(); });
        ASSERT_EQ(1u, answerer.Seen().size());
    }
    ASSERT_EQ(1u, Documents().size());
    EXPECT_EQ(Tone(), PathOf(Documents()[0]));
    EXPECT_EQ(std::vector<std::wstring>{Tone()}, Recent());
}

namespace {

// The open file dialog of this process: the dialog that holds a shell view.
HWND FileDialog()
{
    struct SFind
    {
        static BOOL CALLBACK Each(HWND w, LPARAM found)
        {
            DWORD process = 0;
            ::GetWindowThreadProcessId(w, &process);
            if (process == ::GetCurrentProcessId() && ::IsWindowVisible(w) &&
                ::FindWindowExW(w, nullptr, L"SHELLDLL_DefView", nullptr)) {
                *reinterpret_cast<HWND*>(found) = w;
                return FALSE;
            }
            return TRUE;
        }
    };
    HWND found = nullptr;
    ::EnumWindows(SFind::Each, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<std::wstring> ListedNames(HWND dialog)
{
    std::vector<std::wstring> names;
    HWND view = ::FindWindowExW(dialog, nullptr, L"SHELLDLL_DefView", nullptr);
    HWND list = view ? ::FindWindowExW(view, nullptr, L"SysListView32", nullptr) : nullptr;
    const int n = list ? static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < n; ++i) {
        wchar_t text[MAX_PATH] = {};
        LVITEMW item{};
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        ::SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
        names.push_back(text);
    }
    return names;
}

} // namespace

TEST_F(MainWindow, TheOpenDialogOffersAudioFilesThenAllFiles)
{
    // Open...: two filters, "Audio files" (.mp3 and .wav) and "All Files";
    // the dialog lists a folder's files through each.
    const std::wstring folder = m_dir + L"\\kinds";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : {L"a.ogg", L"b.mp3", L"c.wav", L"d.txt"})
        ASSERT_TRUE(testsupport::WriteFileBytes(folder + L"\\" + name, "x", 1));
    ASSERT_TRUE(Start());
    std::vector<std::wstring> filters, audio, all;
    std::thread user([&] {
        // The folder typed into the name box and Enter: the dialog goes
        // there; its list is read once it shows the folder's files.
        HWND dialog = nullptr;
        for (int tries = 0; tries < 500 && !dialog; ++tries, ::Sleep(20))
            dialog = FileDialog();
        if (!dialog)
            return;
        HWND box = ::GetDlgItem(dialog, 0x470); // the filter box
        const int count = static_cast<int>(::SendMessageW(box, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[200] = {};
            if (::SendMessageW(box, CB_GETLBTEXTLEN, i, 0) < 200)
                ::SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            filters.push_back(text);
        }
        ::SetDlgItemTextW(dialog, 0x47C, folder.c_str()); // the name box
        ::SetDlgItemTextW(dialog, 0x480, folder.c_str());
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        const auto listedOnce = [dialog](const wchar_t* name, size_t count) {
            for (int tries = 0; tries < 250; ++tries, ::Sleep(20)) {
                const std::vector<std::wstring> names = ListedNames(dialog);
                if (names.size() >= count && std::find(names.begin(), names.end(), name) != names.end())
                    return names;
            }
            return std::vector<std::wstring>{};
        };
        audio = listedOnce(L"c.wav", 1);
        // The second filter chosen as the user does.
        ::SendMessageW(box, CB_SETCURSEL, 1, 0);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELENDOK), reinterpret_cast<LPARAM>(box));
        all = listedOnce(L"d.txt", 4);
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Command(ID_CMD_OPEN);
    user.join();
    EXPECT_EQ((std::vector<std::wstring>{L"Audio files (*.mp3;*.wav)", L"All Files (*.*)"}), filters);
    std::sort(audio.begin(), audio.end());
    EXPECT_EQ((std::vector<std::wstring>{L"b.mp3", L"c.wav"}), audio);
    std::sort(all.begin(), all.end());
    EXPECT_EQ((std::vector<std::wstring>{L"a.ogg", L"b.mp3", L"c.wav", L"d.txt"}), all);
}
