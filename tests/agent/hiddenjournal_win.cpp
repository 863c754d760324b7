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
