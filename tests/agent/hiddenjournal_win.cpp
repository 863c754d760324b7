// The journal of hidden windows: kept in step with the list, and read back at
// start to show what an agent that did not end normally left hidden.
#include <windows.h>
#include <map>
#include <memory>
#include <string>

#include "HiddenWindows.h"
#include "hiddenjournal.h"
#include "dirutils_win.h"
#include "agent_testutil.h"
#include "strutils.h"

using agenttest::CTestWindow;

namespace
{
const std::string kHeader = "<?TarvinHidden version=\"1.00\"?>\r\n";

std::string Line(HWND hwnd, DWORD pid, int owned, const char* cls, const char* title)
{
    tagHIDDEN_LINE line;
    line.hwnd = (unsigned long)(ULONG_PTR)hwnd;
    line.pid = pid;
    line.owned = owned;
    StrCopy(line.className, cls);
    StrCopy(line.title, title);
    char text[HIDDEN_LINE_SIZE];
    EXPECT_TRUE(FormatHiddenLine(text, sizeof(text), &line));
    return std::string(text) + "\r\n";
}

std::string Listed(HWND hwnd, int owned, const char* title)
{
    return Line(hwnd, GetCurrentProcessId(), owned, agenttest::TestClass(), title);
}
} // namespace

TEST(HiddenJournal, FollowsEveryChangeOfTheList)
{
    ScratchDir dir;
    const std::string path = dir.Path("Tarvin Hidden.dat");
    CTestWindow a("Journal \"A\"");
    CTestWindow tool("Journal tool", a, WS_EX_TOOLWINDOW);
    auto b = std::make_unique<CTestWindow>("Journal B");

    CHiddenWindows list;
    list.Hide(a);
    EXPECT_FALSE(FileExists(path.c_str())) << "no journal was asked for";
    list.SetJournal(path.c_str());
    EXPECT_EQ(kHeader + Listed(a, 0, "Journal \"A\"") + Listed(tool, 1, "Journal tool"), ReadBytes(path));
    list.Hide(*b);
    EXPECT_EQ(kHeader + Listed(a, 0, "Journal \"A\"") + Listed(tool, 1, "Journal tool") +
                  Listed(*b, 0, "Journal B"),
              ReadBytes(path));
    list.Show(0);
    EXPECT_EQ(kHeader + Listed(*b, 0, "Journal B"), ReadBytes(path));
    // A refresh that drops nothing leaves the file alone; one that drops a
    // closed window rewrites it.
    DeleteFileA(path.c_str());
    list.Refresh();
    EXPECT_FALSE(FileExists(path.c_str()));
    b.reset();
    list.Refresh();
    EXPECT_EQ(kHeader, ReadBytes(path));
}

namespace
{
// What the journal said as each watched window was being hidden.
std::string g_watchedJournal;
std::map<HWND, WNDPROC> g_watchedProcs;
std::map<HWND, bool> g_listedWhenHidden;

LRESULT CALLBACK WatchHideProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SHOWWINDOW && !wParam)
    {
        std::string handle = "hwnd=\"" + std::to_string((unsigned long)(ULONG_PTR)hwnd) + "\"";
        g_listedWhenHidden[hwnd] = ReadBytes(g_watchedJournal).find(handle) != std::string::npos;
    }
    return CallWindowProcA(g_watchedProcs[hwnd], hwnd, msg, wParam, lParam);
}

void WatchHide(HWND hwnd)
{
    g_watchedProcs[hwnd] = (WNDPROC)SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)WatchHideProc);
}

void CountWarning(void* context)
{
    ++*(int*)context;
}
} // namespace

// A window and the tool window it owns are both in the journal before either
// is hidden. A journal that cannot be written is warned about once and
// written when the next retry can.
TEST(HiddenJournal, EveryWindowIsListedBeforeItIsHiddenAndAFailedWriteIsRetried)
{
    ScratchDir dir;
    g_watchedJournal = dir.Path("Tarvin Hidden.dat");
    CTestWindow head("Watched head");
    CTestWindow tool("Watched tool", head, WS_EX_TOOLWINDOW);
    WatchHide(head);
    WatchHide(tool);
    int warnings = 0;
    CHiddenWindows list;
    list.SetJournal(g_watchedJournal.c_str(), CountWarning, &warnings);
    list.Hide(head);
    EXPECT_TRUE(g_listedWhenHidden[head]);
    EXPECT_TRUE(g_listedWhenHidden[tool]);
    list.ShowAll();
    for (HWND w : {head.Get(), tool.Get()})
        SetWindowLongPtrA(w, GWLP_WNDPROC, (LONG_PTR)g_watchedProcs[w]);

    const std::string later = dir.Path("later");
    const std::string path = later + "\\Tarvin Hidden.dat";
    CTestWindow a("Unlisted A"), b("Unlisted B");
    list.SetJournal(path.c_str(), CountWarning, &warnings);
    list.Hide(a);
    list.Hide(b);
    list.RetryJournal();
    EXPECT_EQ(1, warnings);
    ASSERT_TRUE(CreateDirectoryA(later.c_str(), nullptr));
    list.RetryJournal();
    EXPECT_EQ(kHeader + Listed(a, 0, "Unlisted A") + Listed(b, 0, "Unlisted B"), ReadBytes(path));
    EXPECT_EQ(1, warnings);
}

TEST(HiddenJournal, RestoreShowsOnlyTheWindowsStillTheSame)
{
    ScratchDir dir;
    const std::string path = dir.Path("Tarvin Hidden.dat");
    CTestWindow head("Left head"), stranger("Left stranger"), renamed("Left renamed"), shown("Left shown");
    CTestWindow tool("Left tool", head, WS_EX_TOOLWINDOW);
    CTestWindow active("Left active");
    {
        CHiddenWindows list;
        list.SetJournal(path.c_str());
        for (HWND w : {head.Get(), stranger.Get(), renamed.Get(), shown.Get()})
            list.Hide(w);
        // The agent dies here: the records go without a show.
        list.Clear();
    }
    ShowWindow(shown, SW_SHOWNOACTIVATE);
    SetActiveWindow(active);
    SetWindowTextA(renamed, "Renamed meanwhile"); // the title is for people; it is not compared
    std::string journal = ReadBytes(path);
    ASSERT_NE(std::string::npos, journal.find(Listed(stranger, 0, "Left stranger")));
    // The stranger's line claims another process; one more names a window of
    // another class, one a handle that is gone, and one is malformed.
    journal.replace(journal.find(Listed(stranger, 0, "Left stranger")),
                    Listed(stranger, 0, "Left stranger").size(),
                    Line(stranger, GetCurrentProcessId() + 4, 0, agenttest::TestClass(), "Left stranger"));
    CTestWindow button("Left button");
    ShowWindow(button, SW_HIDE);
    journal += Line(button, GetCurrentProcessId(), 0, "Button", "Left button");
    journal += Line((HWND)(ULONG_PTR)0x7FFFFF00, GetCurrentProcessId(), 0, agenttest::TestClass(), "Gone");
    journal += "<window hwnd=\"x\" pid=\"1\" />\r\n";
    WriteBytes(path, journal);

    unsigned listed = 0;
    EXPECT_EQ(3u, RestoreJournalWindows(path.c_str(), &listed));
    EXPECT_EQ(7u, listed);
    EXPECT_EQ("11100", wintest::Shown({head, tool, renamed, stranger, button}));
    EXPECT_NE(tool.Get(), GetActiveWindow());
    EXPECT_EQ(kHeader, ReadBytes(path));

    // An empty journal, a missing one and a damaged one restore nothing; the
    // damaged one is left for the list to overwrite.
    EXPECT_EQ(0u, RestoreJournalWindows(path.c_str(), &listed));
    EXPECT_EQ(0u, listed);
    EXPECT_EQ(0u, RestoreJournalWindows(dir.Path("none.dat").c_str(), &listed));
    ShowWindow(stranger, SW_HIDE);
    const std::string damaged = "<?TarvinHidden version=\"2.00\"?>\r\n" + Listed(stranger, 0, "x");
    WriteBytes(path, damaged);
    EXPECT_EQ(0u, RestoreJournalWindows(path.c_str(), &listed));
    EXPECT_FALSE(IsWindowVisible(stranger));
    EXPECT_EQ(damaged, ReadBytes(path));
}
