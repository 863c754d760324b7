// The interpreter engine in-process, for what tvint.exe's end-to-end tests
// cannot see: the result codes, the texts, Kill
// without a process list, requests cut to the channel, Shutdown and Restart
// through a stand-in, and the confirmation dialog's layout and font.
#include <windows.h>
#include <shellapi.h>
#include <stdlib.h>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "TVInt.h"
#include "TaskList.h"
#include "confirmDlg.h"
#include "interpreter_res.h"
#include "MMapIPC_win.h"
#include "ShellFileOp.h"
#include "fakeshell.h"
#include "dirutils.h"
#include "tvint_testutil.h"

using namespace tvint_test;

namespace
{
const char kHelperClass[] = "TVIntTestWindow";
const DWORD kDialogTimeout = 10000;

// Runs in a second thread while the test thread sits in a modal loop (a
// message box or the confirmation dialog) and acts on the window it waits
// for. The thread is always joined, whatever the test's outcome.
class DialogHelper
{
  public:
    DialogHelper(const char* caption, std::function<void(HWND)> act)
        : m_caption(caption), m_act(std::move(act)), m_found(false), m_thread([this]() { Run(); })
    {
    }
    ~DialogHelper()
    {
        Join();
    }
    void Join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    bool Found() const
    {
        return m_found;
    }

  private:
    void Run()
    {
        HWND dialog = NULL;
        if (DrvWaitWindow(DrvQuery("#32770", m_caption.c_str(), TVD_MATCH_EXACT, GetCurrentProcessId()),
                          kDialogTimeout, &dialog) != TVD_OK)
            return;
        m_found = true;
        m_act(dialog);
    }

    std::string m_caption;
    std::function<void(HWND)> m_act;
    std::atomic<bool> m_found;
    std::thread m_thread;
};

// --- A stand-in for shutting down -------------------------------------------

struct ShutdownCall
{
    int calls = 0;
    UINT flags = 0;
    BOOL result = TRUE;
};
ShutdownCall g_shutdown;

BOOL WINAPI FakeExitWindowsEx(UINT flags, DWORD)
{
    g_shutdown.calls++;
    g_shutdown.flags = flags;
    return g_shutdown.result;
}

class FakeShutdown
{
  public:
    explicit FakeShutdown(BOOL result = TRUE) : m_fake(g_pfnExitWindowsEx, FakeExitWindowsEx)
    {
        g_shutdown = ShutdownCall();
        g_shutdown.result = result;
    }

  private:
    Replaced<PFN_EXITWINDOWSEX> m_fake;
};

// --- Fixture ---------------------------------------------------------------

class Engine : public ::testing::Test
{
  protected:
    std::string File(const std::vector<std::string>& lines)
    {
        std::string path = m_dir.Path("test" + std::to_string(++m_files) + ".launch");
        WriteLaunchFile(path, lines);
        return path;
    }

    // An engine on a file of the given lines; no channel, nothing confirmed.
    void Load(CTVInt& engine, const std::vector<std::string>& lines, int confirm = 0, int assumeYes = 0,
              unsigned countdown = 0, CMMapIPC* channel = NULL)
    {
        ASSERT_EQ(1, engine.Init(GetModuleHandleA(NULL), GetDesktopWindow(), File(lines).c_str(), channel,
                                 confirm, confirm, confirm, assumeYes, countdown));
    }

    // Runs a one-line file: the code of its only step.
    int RunLine(CTVInt& engine, const std::string& line)
    {
        Load(engine, {line});
        return engine.Step();
    }

    ScratchDir m_dir;
    int m_files = 0;
};

} // namespace

// --- Loading and stepping ----------------------------------------------------

TEST_F(Engine, StepsThroughTheLinesThenStaysPastTheEnd)
{
    CTVInt engine(GetModuleHandleA(NULL));
    Load(engine, {"// first", "Wait \"25 ms\""});
    EXPECT_EQ(-1, engine.GetIndex());
    EXPECT_EQ(TVINT_DONE, engine.Step());
    EXPECT_STREQ("// first", engine.GetError());
    EXPECT_EQ(TVINT_WAIT, engine.Step());
    EXPECT_EQ(25, engine.GetResult());
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(TVINT_END, engine.Step()) << i;
    EXPECT_EQ(2, engine.GetIndex());
}

TEST_F(Engine, ActionsTheProgramCarriesOutGiveTheirCodeTextAndResult)
{
    struct
    {
        const char* line;
        int code;
        const char* text;
        int result;
        const char* pattern;
    } cases[] = {
        {"Close \"Untitled - Note Pad\"", TVINT_CLOSE, "Close Untitled - Note Pad", 0, "untitled - note pad"},
        {"DESTROY Calc", TVINT_DESTROY, "Destroy Calc", 0, "calc"},
        {"Wait \"1500 ms\"", TVINT_WAIT, "Wait for 1500 ms", 1500, ""},
        {"wait 250", TVINT_WAIT, "Wait for 250", 250, ""},
        {"Wait \"abc\"", TVINT_WAIT, "Wait for abc", 0, ""},
        {"Wait", TVINT_WAIT, "Wait for ", 0, ""},
        {"Wait \"99999999999999999999 ms\"", TVINT_WAIT, "Wait for 99999999999999999999 ms", 0x7FFFFFFF, ""},
        {"Screensaver", TVINT_DONE, "Screen saver started", 0, ""},
        {"// a comment, \"quoted\"", TVINT_DONE, "// a comment, \"quoted\"", 0, ""},
        {"/ / not a comment", TVINT_UNKNOWN, "Unrecognized Command: Line: \"0\"", 0, ""},
        {"Launch\t\"x.exe\"", TVINT_UNKNOWN, "Unrecognized Command: Line: \"0\"", 0, ""},
        {"copy \"C:\\no such\\x.txt\" , \"C:\\b\" , NOOVERWRITE", TVINT_DONE, "Copy x.txt to b", 0, ""},
        {"Delete \"C:\\no such\\x.txt\",AskDelete", TVINT_DONE, "Delete x.txt", 0, ""},
        // A wildcard is resolved before the shell is asked: matching nothing is a failure.
        {"Delete \"C:\\no such\\*.txt\",AskDelete", TVINT_FAILED, "Error Deleting C:\\no such\\*.txt", 0, ""},
        {"Move \"C:\\no such\\x.txt\",\"C:\\b\",AskOverwrite", TVINT_DONE, "Move x.txt to b", 0, ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.line);
        FakeShell shell(0);
        CTVInt engine(GetModuleHandleA(NULL));
        EXPECT_EQ(c.code, RunLine(engine, c.line));
        EXPECT_STREQ(c.text, engine.GetError());
        EXPECT_EQ(c.result, engine.GetResult());
        EXPECT_STREQ(c.pattern, engine.GetResultText());
    }
}

// --- Kill ----------------------------------------------------------------------

TEST_F(Engine, KillWithoutAProcessListIsAnErrorNotANoMatch)
{
    CDrvProcess target;
    e2etest::StartTarget(target, "-title=\"Kill Survivor\"", "Kill Survivor");
    struct
    {
        PFN_TAKETASKLIST take;
        const char* what;
    } cases[] = {{[](CTaskList*) { return -1; }, "no list"}, {[](CTaskList*) { return 0; }, "an empty list"}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        Replaced<PFN_TAKETASKLIST> take(g_pfnTakeTaskList, c.take);
        CTVInt engine(GetModuleHandleA(NULL));
        EXPECT_EQ(TVINT_KILLFAILED, RunLine(engine, "Kill \"C:\\apps\\tvtarget.exe\""));
        EXPECT_STREQ("Error while killing tvtarget.exe", engine.GetError());
    }
    EXPECT_TRUE(target.IsRunning());
}

TEST_F(Engine, KillNeverEndsTheInterpreterItself)
{
    // This test program stands in for the interpreter: a Kill matching its
    // own name must leave it running (the test goes on) and say so.
    char self[MAX_PATH];
    ASSERT_TRUE(GetModuleFileNameA(NULL, self, sizeof(self)));
    char name[MAX_PATH];
    GetFileNameFromPath(self, name, sizeof(name));
    CTVInt engine(GetModuleHandleA(NULL));
    EXPECT_EQ(TVINT_DONE, RunLine(engine, "Kill " + Quote(name)));
    EXPECT_EQ(std::string("Kill ") + name + ": no such process is running", engine.GetError());
}

// --- Copy, Delete, Move: what the shell is asked to do ------------------------

// A Move with no folder to go to fails the same way whether its wildcard
// matches one file or several: before, several went to the drive's root
// ("\1.txt") and one was handed to the shell as "".
TEST_F(Engine, MoveToNoFolderFailsForOneFileAndForSeveral)
{
    std::string folder = m_dir.Path("in");
    CreateDirectoryA(folder.c_str(), NULL);
    std::string drive = folder.substr(0, 2);
    WriteBytes(folder + "\\1.txt", "one");
    for (int matches : {1, 2})
    {
        if (matches == 2)
            WriteBytes(folder + "\\2.txt", "two");
        for (const std::string& dest : {std::string(""), std::string("\"\""), drive, "\"" + drive + "\""})
        {
            std::string line = "Move \"" + folder + "\\*.txt\"," + dest + ",AskNone";
            SCOPED_TRACE(line);
            FakeShell shell(0);
            CTVInt engine(GetModuleHandleA(NULL));
            EXPECT_EQ(TVINT_FAILED, RunLine(engine, line));
            std::string shown = dest.size() > 2 ? drive : dest == drive ? drive : "";
            EXPECT_EQ("Error Moving " + folder + "\\*.txt to " + shown, engine.GetError());
            EXPECT_EQ(0, g_shell.calls) << g_shell.to;
        }
    }
    EXPECT_EQ("one", ReadBytes(folder + "\\1.txt"));
    EXPECT_EQ("two", ReadBytes(folder + "\\2.txt"));
}

// --- Requests to the agent ----------------------------------------------------

TEST_F(Engine, ALongTitleIsCutSoTheRequestFitsTheChannelWithItsClosingQuote)
{
    ChannelEnd agent(AGENT_WINDOW_CLASS, AGENT_CHANNEL_ID);
    ASSERT_TRUE(agent.Ok());
    ChannelEnd channel(kHelperClass, "4243");
    ASSERT_TRUE(channel.Ok());
    CTVInt engine(GetModuleHandleA(NULL));
    std::string title(1020, 't');
    Load(engine, {"Hide \"" + title + "\""}, 0, 0, 0, &channel);
    ASSERT_EQ(TVINT_SENT, engine.Step());
    std::string from, body;
    ASSERT_TRUE(agent.Read(&from, &body));
    EXPECT_EQ(0u, body.find("agent:hide=\"ttt"));
    EXPECT_EQ('"', body.back());
    EXPECT_LT(body.size(), (size_t)MMAPIPC_MSG_SIZE - 40);
    EXPECT_EQ(body, std::string(engine.GetRequest()));

    // The log entry of that action fits too.
    EXPECT_EQ(1, engine.SendLog());
    ASSERT_TRUE(agent.Read(&from, &body));
    EXPECT_EQ(0u, body.find("agent:log=\"Hide windows called ttt"));
    EXPECT_EQ('"', body.back());
}

// --- Exit, Shutdown, Restart and their confirmation ---------------------------

// Unconfirmed, the system is asked at once (a refused shutdown is not
// reported as under way); confirmed, the question answers by itself when its
// count-down of one second runs out.
TEST_F(Engine, ShutdownRestartAndExitAskTheSystemOrTheUser)
{
    const UINT shut = EWX_SHUTDOWN | EWX_FORCEIFHUNG, reboot = EWX_REBOOT | EWX_FORCEIFHUNG;
    struct
    {
        const char* line;
        int confirm, assumeYes;
        BOOL system; // what the system answers
        int code;
        const char* text;
        int calls;
        UINT flags;
    } cases[] = {
        {"Shutdown", 0, 0, TRUE, TVINT_DONE, "Shutting down Windows...", 1, shut},
        {"Shutdown", 0, 0, FALSE, TVINT_FAILED, "Error shutting down Windows", 1, shut},
        {"restart", 0, 0, TRUE, TVINT_DONE, "Restarting Windows...", 1, reboot},
        {"restart", 0, 0, FALSE, TVINT_FAILED, "Error restarting Windows", 1, reboot},
        {"Shutdown", 1, 0, TRUE, TVINT_DONE, "User Cancelled Shutdown", 0, 0},
        {"Restart", 1, 0, TRUE, TVINT_DONE, "User Cancelled Restart", 0, 0},
        {"Restart", 1, 1, TRUE, TVINT_DONE, "Restarting Windows...", 1, reboot},
        {"Exit", 1, 0, TRUE, TVINT_DONE, "User Cancelled exit Tarvin Agent", 0, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.line) + (c.confirm ? " confirmed" : "") +
                     (c.assumeYes ? " assuming yes" : ""));
        FakeShutdown shutdown(c.system);
        CTVInt engine(GetModuleHandleA(NULL));
        Load(engine, {c.line}, c.confirm, c.assumeYes, 1);
        DWORD start = GetTickCount();
        EXPECT_EQ(c.code, engine.Step());
        DWORD elapsed = GetTickCount() - start;
        EXPECT_TRUE(c.confirm ? elapsed >= 900 && elapsed < 8000 : elapsed < 900) << elapsed;
        EXPECT_STREQ(c.text, engine.GetError());
        EXPECT_EQ(c.calls, g_shutdown.calls);
        EXPECT_EQ(c.flags, g_shutdown.flags);
    }
}

// What the user sees and does, not where the resource puts it: control sizes
// follow the fonts of the machine.
TEST(ConfirmDialog, ShowsTheQuestionCountsDownAndTakesTheUsersAnswer)
{
    tagDONFIRMTIMEOUT_DATA data = {GetModuleHandleA(NULL),
                                   GetDesktopWindow(),
                                   "Confirm Shutdown",
                                   "Are you sure you want to shutdown your computer?",
                                   0,
                                   3,
                                   LoadIconA(NULL, (LPCSTR)IDI_QUESTION)};
    // Checked on the helper's thread while the dialog is up.
    DialogHelper helper("Confirm Shutdown", [&](HWND dlg) {
        HWND text = GetDlgItem(dlg, IDC_CONFIRM_TEXT);
        EXPECT_EQ("Are you sure you want to shutdown your computer?", wintest::TextOf(text));
        EXPECT_TRUE(IsWindowVisible(text));
        LOGFONTA lf = {};
        GetObjectA((HFONT)SendMessageA(text, WM_GETFONT, 0, 0), sizeof(lf), &lf);
        EXPECT_EQ(FW_BOLD, lf.lfWeight);
        EXPECT_TRUE(SendMessageA(GetDlgItem(dlg, IDC_CONFIRM_ICON), STM_GETICON, 0, 0));
        EXPECT_EQ("&Yes", wintest::TextOf(GetDlgItem(dlg, IDYES)));
        EXPECT_EQ("&No", wintest::TextOf(GetDlgItem(dlg, IDNO)));
        // Enter gives the cautious answer.
        EXPECT_EQ(MAKELRESULT(IDNO, DC_HASDEFID), SendMessageA(dlg, DM_GETDEFID, 0, 0));
        // A question of its own on the taskbar, in the middle of the screen.
        EXPECT_TRUE(GetWindowLongPtrA(dlg, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        RECT window;
        GetWindowRect(dlg, &window);
        EXPECT_LE(abs((window.left + window.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 2);
        EXPECT_LE(abs((window.top + window.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 2);

        HWND countdown = GetDlgItem(dlg, IDC_CONFIRM_COUNTDOWN);
        EXPECT_EQ("Assuming no in 3 seconds.", wintest::TextOf(countdown));
        EXPECT_EQ(
            TVD_OK,
            DrvWaitFor([&]() { return wintest::TextOf(countdown) == "Assuming no in 2 seconds."; }, 3000));
        DrvPressButton(dlg, IDYES);
    });
    EXPECT_EQ(1, ShowConfirmTimeout(&data));
    helper.Join();
    ASSERT_TRUE(helper.Found()); // by its caption
}

TEST(ConfirmDialog, WithoutACountDownItWaitsForTheUser)
{
    struct
    {
        int bAssumeYes;
        UINT how; // a button id, or WM_CLOSE
        int expected;
    } cases[] = {{1, IDNO, 0}, {0, IDYES, 1}, {1, WM_CLOSE, 0}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.how);
        tagDONFIRMTIMEOUT_DATA data = {
            GetModuleHandleA(NULL), GetDesktopWindow(), "Confirm Restart", "Sure?", c.bAssumeYes, 0, NULL};
        std::string countdown = "unread";
        bool stillThere = false;
        DialogHelper helper("Confirm Restart", [&](HWND dlg) {
            countdown = wintest::TextOf(GetDlgItem(dlg, IDC_CONFIRM_COUNTDOWN));
            // Longer than a count-down of one second would last.
            stillThere = DrvWaitDestroyed(dlg, 1500) == TVD_TIMEOUT;
            if (c.how == WM_CLOSE)
                PostMessageA(dlg, WM_CLOSE, 0, 0);
            else
                DrvPressButton(dlg, (int)c.how);
        });
        EXPECT_EQ(c.expected, ShowConfirmTimeout(&data));
        helper.Join();
        EXPECT_EQ("", countdown);
        EXPECT_TRUE(stillThere);
    }
}
