// The real tvagent.exe under Wine: single instance, the interpreter's
// requests through the channel (this program plays the interpreter), the
// main window's commands, the tray icon, and what the agent leaves behind.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "channeltestutil.h"
#include "testutil.h"
#include "strutils.h"
#include "e2e/driver.h"
#include "agent/agent_testutil.h"
#include "e2e/e2e_testutil.h"

namespace
{
const DWORD kTimeout = 15000;
const char kAgentKey[] = "Software\\Norvale\\Tarvin 2\\Agent";
const char kLogHeader[] = "<?TarvinLogFile version='1.00'?>\r\n";
const char kKeysHeader[] = "<?TarvinTarvinKeys version=\"1.00\"?>\r\n";
const char kJournalHeader[] = "<?TarvinHidden version=\"1.00\"?>\r\n";

using agenttest::FindTop;
typedef agenttest::CTestWindow Target;

// The agent hides and shows this program's windows, which needs our message
// loop running while we wait.
bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs = kTimeout)
{
    return agenttest::PumpUntil(cond, timeoutMs);
}

bool Visible(HWND hwnd)
{
    return IsWindowVisible(hwnd) != 0;
}

std::string BoxText(HWND box)
{
    char buf[512] = "";
    if (box)
        DrvMessageBoxText(box, buf, sizeof(buf));
    return buf;
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        n++;
    return n;
}

// The tray's icon windows, oldest first.
std::vector<HWND> TrayIcons()
{
    DrvTrayIcon icons[32];
    int n = DrvTrayIcons(icons, 32);
    std::vector<HWND> out;
    for (int i = 0; i < n && i < 32; i++)
        out.push_back(icons[i].window);
    return out;
}

void PostKeys(HWND window, std::initializer_list<WPARAM> keys)
{
    for (WPARAM key : keys)
    {
        PostMessageA(window, WM_KEYDOWN, key, 0);
        PostMessageA(window, WM_KEYUP, key, 0);
    }
}

// The agent started fresh, with the log on; this program plays the
// interpreter's end of the channel.
class AgentE2E : public agenttest::AgentProcessTest
{
  protected:
    void SetUp() override
    {
        AgentProcessTest::SetUp();
        wintest::SetRegDword(kAgentKey, "Log File", 100);
        ASSERT_TRUE(m_ipc.Ok());
    }

    // Sends a request as the interpreter does; true when "OK" came back
    // within waitMs.
    bool Request(const char* body, DWORD waitMs = 5000)
    {
        if (!m_ipc.SendMessage(body, AGENT_CHANNEL_ID, m_agent, 0, 0))
        {
            ADD_FAILURE() << "send failed: " << m_ipc.GetError();
            return false;
        }
        bool ok = false;
        PumpUntil(
            [&]() {
                if (m_ipc.ReadMessage(0))
                    ok = strcmp(m_ipc.GetMessage(), AGENT_REPLY_OK) == 0;
                return ok;
            },
            waitMs);
        return ok;
    }

    // A visible dialog of the agent with that caption (null: any).
    HWND WaitBox(const char* caption, DWORD timeoutMs = kTimeout)
    {
        HWND box = nullptr;
        PumpUntil(
            [&]() {
                box = FindTop(Pid(), "#32770", caption);
                return box && IsWindowVisible(box);
            },
            timeoutMs);
        return box && IsWindowVisible(box) ? box : nullptr;
    }

    void Dismiss(HWND box, UINT msg = WM_COMMAND, WPARAM wParam = IDOK)
    {
        PostMessageA(box, msg, wParam, 0);
        EXPECT_TRUE(PumpUntil([&]() { return !IsWindow(box); }));
    }

    // Posts a command of the main window and waits for the wizard it opens.
    void ExpectWizardAfter(const std::function<void()>& act)
    {
        act();
        HWND wizard = WaitBox("Tarvin 2 Startup Wizard");
        ASSERT_TRUE(wizard);
        Dismiss(wizard, WM_CLOSE, 0);
    }

    int ExitByMenu()
    {
        PostMessageA(m_agent, WM_COMMAND, 200, 0);
        return WaitExit();
    }

    wintest::ChannelEnd m_ipc{"TVAgentE2EChannel", "TVInt"};
};

// The tray icon is added at start, and put there afresh (the old one goes)
// after a taskbar restart and at a second start, which ends at once while the
// running agent opens its wizard. A double click on the icon opens the wizard
// too, whose box switches it on and off; the icon goes at exit.
TEST_F(AgentE2E, TrayIconAndASecondStart)
{
    size_t before = TrayIcons().size();
    ASSERT_TRUE(Start());
    std::vector<HWND> icons;
    ASSERT_TRUE(PumpUntil([&]() { return (icons = TrayIcons()).size() == before + 1; }));
    auto expectNewIcon = [&](HWND old) {
        EXPECT_TRUE(
            PumpUntil([&]() { return (icons = TrayIcons()).size() == before + 1 && !IsWindow(old); }));
    };
    DWORD_PTR result;
    UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    ASSERT_TRUE(SendMessageTimeoutA(m_agent, taskbarCreated, 0, 0, SMTO_NORMAL, kTimeout, &result));
    expectNewIcon(icons.back());
    ExpectWizardAfter([&]() { PostMessageA(icons.back(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(8, 8)); });

    HWND oldIcon = icons.back();
    CDrvProcess second;
    ASSERT_TRUE(second.Start((agenttest::ProgramDir() + "tvagent.exe").c_str(), ""));
    DWORD code = 99;
    EXPECT_TRUE(PumpUntil([&]() { return second.WaitExit(0, &code) == TVD_OK; }));
    EXPECT_EQ(0u, code);
    HWND wizard = WaitBox("Tarvin 2 Startup Wizard");
    ASSERT_TRUE(wizard);
    expectNewIcon(oldIcon);
    // "Show Wizard" is 0 here, so the box starts checked.
    HWND box = GetDlgItem(wizard, 1605);
    EXPECT_EQ("Don't show this wizard at Tarvin startup.", wintest::TextOf(box));
    EXPECT_EQ(BST_CHECKED, SendMessageA(box, BM_GETCHECK, 0, 0));
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(1, agenttest::StoredDword(kAgentKey, "Show Wizard"));
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(0, agenttest::StoredDword(kAgentKey, "Show Wizard"));
    Dismiss(wizard, WM_CLOSE, 0);
    EXPECT_EQ(0, ExitByMenu());
    EXPECT_TRUE(PumpUntil([&]() { return TrayIcons().size() == before; }));
}

// Hide and Show match any part of the title in any case; Show All and the
// agent's exit bring every hidden window back.
TEST_F(AgentE2E, HideShowAndShowAllByTitle)
{
    ASSERT_TRUE(Start());
    Target a("Alpha Notes - Editor"), b("alpha sheet"), c("Gamma Viewer");
    ASSERT_TRUE(Visible(a) && Visible(b) && Visible(c));

    ASSERT_TRUE(Request("agent:hide=\"ALPHA\""));
    EXPECT_TRUE(PumpUntil([&]() { return !Visible(a) && !Visible(b); }));
    EXPECT_TRUE(Visible(c));
    ASSERT_TRUE(Request("agent:show=\"sheet\""));
    EXPECT_TRUE(PumpUntil([&]() { return Visible(b); }));
    EXPECT_FALSE(Visible(a));
    ASSERT_TRUE(Request("agent:hide=\"gamma\""));
    EXPECT_TRUE(PumpUntil([&]() { return !Visible(c); }));
    ASSERT_TRUE(Request("AGENT:SHOWALL"));
    EXPECT_TRUE(PumpUntil([&]() { return Visible(a) && Visible(c); }));

    // An empty title part matches nothing, but is still understood.
    ASSERT_TRUE(Request("agent:hide=\"\""));
    EXPECT_FALSE(PumpUntil([&]() { return !Visible(a) || !Visible(b) || !Visible(c); }, 500));

    ASSERT_TRUE(Request("agent:hide=\"alpha\""));
    ASSERT_TRUE(PumpUntil([&]() { return !Visible(a) && !Visible(b); }));
    EXPECT_EQ(0, ExitByMenu());
    EXPECT_TRUE(PumpUntil([&]() { return Visible(a) && Visible(b); }));
}

// With the log off an exit request ends the agent at once, so a malformed
// one taken for it would leave the last request unanswered.
TEST_F(AgentE2E, UnknownAndMalformedRequestsGetNoReply)
{
    wintest::SetRegDword(kAgentKey, "Log File", 0);
    ASSERT_TRUE(Start());
    const char* bad[] = {
        "agent:exit",             // ten characters: no selector
        "agent:bogus",            // unknown selector
        "agent:message=unquoted", // argument without quotes
        "agent:hide=\"unclosed",  // no closing quote
        "agent:log='single'",     // the log selector takes a double quote
        "agnt:showall",           // not addressed to the agent's vocabulary
    };
    for (const char* body : bad)
        EXPECT_FALSE(Request(body, 1200)) << body;
    EXPECT_TRUE(Request("agent:showall")) << "the agent stopped serving";
}

// The box comes after the reply, its text cut to the argument's buffer, and
// requests are served while it is open.
TEST_F(AgentE2E, MessageRequestShowsABoxAfterReplying)
{
    ASSERT_TRUE(Start());
    const struct
    {
        std::string text, shown;
    } cases[] = {{"Backup finished", "Backup finished"}, {std::string(600, 'x'), std::string(259, 'x')}};
    for (const auto& c : cases)
    {
        ASSERT_TRUE(Request(("agent:message=\"" + c.text + "\"").c_str()));
        HWND box = WaitBox("Message");
        ASSERT_TRUE(box);
        EXPECT_EQ(c.shown, BoxText(box));
        EXPECT_TRUE(Request("agent:showall"));
        Dismiss(box);
    }
}

// An exit request ends the agent. With the log on it stays for the exit's
// own log entry, which the interpreter sends next, or goes on its own after
// a few seconds; with the log size 0 nothing is logged. A main window closed
// by another program ends the agent the same way, its exit logged.
TEST_F(AgentE2E, ExitRequestEndsTheAgentAndTheLogIsWritten)
{
    const struct
    {
        DWORD logSize;
        bool entry;
        bool closed; // the main window gets WM_CLOSE instead of the request
    } cases[] = {{100, true, false}, {100, false, false}, {0, false, false}, {100, false, true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.logSize) + (c.entry ? " with the exit's entry" : " without it") +
                     (c.closed ? ", window closed" : ""));
        WriteBytes(File("Tarvin.log"), kLogHeader);
        wintest::SetRegDword(kAgentKey, "Log File", c.logSize);
        ASSERT_TRUE(Start());
        ASSERT_TRUE(Request("agent:log=\"Nightly copy done\""));
        if (c.closed)
            PostMessageA(m_agent, WM_CLOSE, 0, 0);
        else
            ASSERT_TRUE(Request("agent:exit tarvin"));
        EXPECT_TRUE(!c.entry || Request("agent:log=\"Exiting Tarvin Agent\""));
        EXPECT_EQ(0, WaitExit());

        std::string log = ReadBytes(File("Tarvin.log"));
        EXPECT_EQ(0u, log.find(kLogHeader)) << log;
        if (!c.logSize)
        {
            EXPECT_EQ(std::string::npos, log.find("<logitem")) << log;
            continue;
        }
        size_t started = log.find("name=\"Tarvin 2 Agent\" description=\"Tarvin Agent started\"");
        size_t logged =
            log.find("<logitem severity=\"0\" name=\"Tarvin Interpreter\" description=\"Nightly copy done\"");
        size_t exiting = log.find("name=\"Tarvin Interpreter\" description=\"Exiting Tarvin Agent\"");
        size_t exited = log.find("name=\"Tarvin 2 Agent\" description=\"Tarvin Agent exit\"");
        ASSERT_NE(std::string::npos, started) << log;
        ASSERT_NE(std::string::npos, exited) << log;
        EXPECT_LT(started, logged);
        EXPECT_LT(logged, exited);
        EXPECT_TRUE(!c.entry || exiting < exited) << log;
    }
}

// Killed with windows hidden, the agent brings them back at its next start,
// from the journal in the files folder; a listed handle that now names a
// window of another process is left alone.
TEST_F(AgentE2E, WindowsHiddenByAKilledAgentComeBackAtTheNextStart)
{
    agenttest::CTargetProcess one, two, stranger;
    ASSERT_TRUE(one.Start("-title=\"Journal One\""));
    ASSERT_TRUE(two.Start("-title=\"Journal Two\""));
    ASSERT_TRUE(stranger.Start("-title=\"Journal Stranger\" -hidden"));
    HWND first = one.WaitWindow("Journal One");
    HWND second = two.WaitWindow("Journal Two");
    HWND other = nullptr;
    ASSERT_TRUE(
        PumpUntil([&]() { return (other = agenttest::FindTopLevel("Journal Stranger", stranger.Pid())); }));
    ASSERT_TRUE(first && second);

    ASSERT_TRUE(Start());
    ASSERT_TRUE(Request("agent:hide=\"journal one\""));
    ASSERT_TRUE(Request("agent:hide=\"journal two\""));
    ASSERT_TRUE(PumpUntil([&]() { return !Visible(first) && !Visible(second); }));
    const std::string journal = File("Tarvin Hidden.dat");
    std::string listed;
    EXPECT_TRUE(PumpUntil([&]() {
        listed = ReadBytes(journal);
        return listed.find("title=\"Journal Two\"") != std::string::npos;
    }));
    EXPECT_EQ(0u, listed.find(kJournalHeader)) << listed;
    EXPECT_NE(std::string::npos, listed.find("title=\"Journal One\"")) << listed;

    m_process->Kill(1);
    ASSERT_EQ(1, WaitExit());
    EXPECT_FALSE(Visible(first) || Visible(second));
    // The stranger's handle, listed under the first target's process.
    char line[160];
    StrFormat(line, sizeof(line),
              "<window hwnd=\"%lu\" pid=\"%lu\" owned=\"0\" class=\"TVTargetWindow\" />\r\n",
              (unsigned long)(ULONG_PTR)other, (unsigned long)one.Pid());
    WriteBytes(journal, ReadBytes(journal) + line);

    // Showing another process's window lets the agent answer sent messages
    // meanwhile, so the start can look finished before the journal is emptied.
    ASSERT_TRUE(Start());
    EXPECT_TRUE(PumpUntil([&]() { return ReadBytes(journal) == kJournalHeader; })) << ReadBytes(journal);
    EXPECT_TRUE(Visible(first) && Visible(second));
    EXPECT_FALSE(Visible(other));

    // Normal show and exit keep the journal in step.
    ASSERT_TRUE(Request("agent:hide=\"journal one\""));
    ASSERT_TRUE(PumpUntil([&]() { return ReadBytes(journal).find("Journal One") != std::string::npos; }));
    ASSERT_TRUE(Request("agent:showall"));
    EXPECT_TRUE(PumpUntil([&]() { return ReadBytes(journal).find("Journal One") == std::string::npos; }));
    ASSERT_TRUE(Request("agent:hide=\"journal two\""));
    EXPECT_EQ(0, ExitByMenu());
    EXPECT_TRUE(Visible(second));
    EXPECT_EQ(kJournalHeader, ReadBytes(journal));
    std::string log = ReadBytes(File("Tarvin.log"));
    EXPECT_EQ(1u, Count(log, "Restored 2 of 3 windows left hidden when the agent last ended")) << log;
}

// At logoff or shutdown the system asks, then tells, and may end the agent as
// soon as it has answered: by then the windows are back, the icon is gone
// and the keys and the log (with its exit entry) are on disk. Left alone
// after that, the agent ends by itself and adds nothing.
TEST_F(AgentE2E, SessionEndDoesTheExitStepsBeforeItIsAnswered)
{
    for (bool killed : {true, false})
    {
        SCOPED_TRACE(killed ? "ended by the system" : "left to end");
        WriteBytes(File("Tarvin.log"), kLogHeader);
        WriteBytes(File("Tarvin Keys.keys"), kKeysHeader);
        size_t iconsBefore = TrayIcons().size();
        ASSERT_TRUE(Start());
        ASSERT_TRUE(PumpUntil([&]() { return TrayIcons().size() == iconsBefore + 1; }));
        Target draft("Session Draft");
        ASSERT_TRUE(Request("agent:log=\"Before logoff\""));
        ASSERT_TRUE(Request("agent:hide=\"session draft\""));
        ASSERT_TRUE(PumpUntil([&]() { return !Visible(draft); }));
        DeleteFileA(File("Tarvin Keys.keys").c_str());

        // Sent as the system sends them; SMTO_NORMAL lets the agent show our
        // window meanwhile.
        auto send = [&](UINT msg, WPARAM wParam) {
            DWORD_PTR answer = 0;
            EXPECT_TRUE(
                SendMessageTimeoutA(m_agent, msg, wParam, ENDSESSION_LOGOFF, SMTO_NORMAL, kTimeout, &answer));
            return answer;
        };
        // An end that another program refused changes nothing.
        EXPECT_EQ((DWORD_PTR)TRUE, send(WM_QUERYENDSESSION, 0));
        send(WM_ENDSESSION, FALSE);
        EXPECT_FALSE(Visible(draft));
        EXPECT_EQ(iconsBefore + 1, TrayIcons().size());
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File("Tarvin Keys.keys").c_str()));
        EXPECT_TRUE(Request("agent:log=\"Logoff cancelled\""));

        EXPECT_EQ((DWORD_PTR)TRUE, send(WM_QUERYENDSESSION, 0));
        send(WM_ENDSESSION, TRUE);
        EXPECT_TRUE(Visible(draft));
        EXPECT_EQ(iconsBefore, TrayIcons().size());
        if (killed)
            m_process->Kill(1);
        EXPECT_EQ(killed ? 1 : 0, WaitExit());

        EXPECT_EQ(kKeysHeader, ReadBytes(File("Tarvin Keys.keys")));
        std::string log = ReadBytes(File("Tarvin.log"));
        size_t before = log.find("description=\"Before logoff\"");
        size_t cancelled = log.find("description=\"Logoff cancelled\"");
        size_t exited = log.find("name=\"Tarvin 2 Agent\" description=\"Tarvin Agent exit\"");
        ASSERT_NE(std::string::npos, before) << log;
        ASSERT_NE(std::string::npos, cancelled) << log;
        EXPECT_LT(cancelled, exited);
        EXPECT_EQ(1u, Count(log, "Tarvin Agent exit")) << log;
    }
}

// The Preferences dialog open as the agent ends, whichever way it ends: the
// page on show writes what it shows first (the Launch File page's boxes, an
// up-down change on the Screen Saver page), while the agent is still whole.
TEST_F(AgentE2E, OpenPreferencesAreWrittenOnEveryWayOut)
{
    const char* interp = "Software\\Norvale\\Tarvin 2\\Interpreter";
    wintest::RegRestorer reg;
    reg.Save(interp, "Confirm Exit");
    for (const char* name : {"Run Screen Saver", "Screen Saver Corner", "Screen Saver Time"})
        reg.Save(kAgentKey, name);
    enum Way
    {
        kMenu,
        kRequest,
        kClosed,
        kSessionEnd
    };
    const struct
    {
        Way way;
        int page;
    } cases[] = {{kMenu, 224}, {kRequest, 224}, {kClosed, 224}, {kSessionEnd, 224}, {kMenu, 221}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE("way " + std::to_string(c.way) + ", page " + std::to_string(c.page));
        wintest::SetRegDword(kAgentKey, "Log File", 0);
        wintest::SetRegDword(interp, "Confirm Exit", 1);
        wintest::SetRegDword(kAgentKey, "Screen Saver Time", 5);
        ASSERT_TRUE(Start());
        PostMessageA(m_agent, WM_COMMAND, c.page, 0);
        HWND prefs = WaitBox("Preferences");
        ASSERT_TRUE(prefs);
        if (c.page == 224)
            SendMessageA(DrvFindChildById(prefs, 1321), BM_CLICK, 0, 0);
        else
            SendMessageA(DrvFindChildById(prefs, 1307), UDM_SETPOS32, 0, 42);
        DWORD_PTR answer = 0;
        switch (c.way)
        {
            case kMenu:
                PostMessageA(m_agent, WM_COMMAND, 200, 0);
                break;
            case kRequest:
                ASSERT_TRUE(Request("agent:exit tarvin"));
                break;
            case kClosed:
                PostMessageA(m_agent, WM_CLOSE, 0, 0);
                break;
            case kSessionEnd:
                SendMessageTimeoutA(m_agent, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, kTimeout,
                                    &answer);
                SendMessageTimeoutA(m_agent, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, kTimeout,
                                    &answer);
                break;
        }
        EXPECT_EQ(0, WaitExit());
        if (c.page == 224)
            EXPECT_EQ(0, wintest::StoredDword(interp, "Confirm Exit"));
        else
            EXPECT_EQ(42, wintest::StoredDword(kAgentKey, "Screen Saver Time"));
    }
}

TEST_F(AgentE2E, MainWindowCommands)
{
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Visible(m_agent));
    EXPECT_EQ("Tarvin 2 Agent", wintest::TextOf(m_agent));

    // About: the main window shows on top, stays, and a click hides it.
    PostMessageA(m_agent, WM_COMMAND, 204, 0);
    EXPECT_TRUE(PumpUntil(
        [&]() { return Visible(m_agent) && (GetWindowLongA(m_agent, GWL_EXSTYLE) & WS_EX_TOPMOST); }));
    PostMessageA(m_agent, WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(PumpUntil([&]() { return !Visible(m_agent); }));

    // Ids without a handler do nothing.
    for (int id : {202, 203, 207, 209, 215, 219})
        PostMessageA(m_agent, WM_COMMAND, id, 0);
    EXPECT_TRUE(Request("agent:showall"));
    EXPECT_FALSE(Visible(m_agent));
    EXPECT_EQ(nullptr, WaitBox(nullptr, 300));

    ExpectWizardAfter([&]() { PostMessageA(m_agent, WM_COMMAND, 212, 0); });
    EXPECT_EQ(0, ExitByMenu());
}

TEST_F(AgentE2E, SplashThenWizardThenNoExitNotice)
{
    wintest::SetRegDword(kAgentKey, "No Splash", 0);
    wintest::SetRegDword(kAgentKey, "Show Wizard", 1);
    wintest::SetRegDword(kAgentKey, "Exit Message", 1);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(PumpUntil([&]() { return Visible(m_agent); }));
    // The splash ends by itself and the wizard follows.
    HWND wizard = WaitBox("Tarvin 2 Startup Wizard");
    ASSERT_TRUE(wizard);
    EXPECT_FALSE(Visible(m_agent));

    // Closing the wizard asks for the notice, which comes at a tick.
    PostMessageA(wizard, WM_COMMAND, IDCANCEL, 0);
    HWND notice = WaitBox("Tarvin 2 Agent is minimized");
    ASSERT_TRUE(notice);
    SendMessageA(GetDlgItem(notice, 1701), BM_CLICK, 0, 0);
    EXPECT_EQ(0, agenttest::StoredDword(kAgentKey, "Exit Message"));

    // The wizard replaces an open notice.
    ExpectWizardAfter([&]() { PostMessageA(m_agent, WM_COMMAND, 212, 0); });
    EXPECT_TRUE(PumpUntil([&]() { return !IsWindow(notice); }));
}

// Entries of the user menu (a left click on the tray icon): a target moved
// away is found beside the agent under its name; one found nowhere, and one
// without a file name (not looked for in the files folder, which would be
// opened in its place), are reported.
TEST_F(AgentE2E, UserMenuEntryTargetsAreLookedForAndReported)
{
    e2etest::WriteMenu(File("Tarvin.menu"),
                       {e2etest::MenuItem("Moved", "C:\\nowhere\\tvtarget.exe", "-title=MovedTarget"),
                        e2etest::MenuItem("Gone", "C:\\nowhere\\tv_no_such_program.exe", ""),
                        e2etest::MenuItem("Folder", "C:\\nowhere\\", "")});
    ASSERT_TRUE(Start());
    for (int downs : {1, 2, 3})
    {
        SCOPED_TRACE(downs);
        std::vector<HWND> icons;
        ASSERT_TRUE(PumpUntil([&]() { return !(icons = TrayIcons()).empty(); }));
        PostMessageA(icons.back(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 8));
        PostMessageA(icons.back(), WM_LBUTTONUP, 0, MAKELPARAM(8, 8));
        HWND menu = nullptr;
        ASSERT_TRUE(PumpUntil([&]() {
            menu = FindTop(Pid(), "#32768", nullptr);
            return menu && Visible(menu);
        }));
        for (int i = 0; i < downs; i++)
            PostKeys(menu, {VK_DOWN});
        PostKeys(menu, {VK_RETURN});
        if (downs == 1)
        {
            HWND target = nullptr;
            EXPECT_TRUE(PumpUntil(
                [&]() { return (target = FindTop(0, "TVTargetWindow", "MovedTarget")) != nullptr; }));
            PostMessageA(target, WM_CLOSE, 0, 0);
            continue;
        }
        HWND box = WaitBox("Tarvin 2");
        ASSERT_TRUE(box);
        EXPECT_EQ("Cannot find the target file.", BoxText(box));
        Dismiss(box);
    }
}

// A request that waited past its time to live, as the first one does when
// the agent is still starting, is cleared from the slot without a box.
TEST_F(AgentE2E, ExpiredRequestIsDroppedSilently)
{
    ASSERT_TRUE(Start());
    CMMapMsg msg;
    ASSERT_TRUE(msg.SetMessageSize(MMAPIPC_MSG_SIZE));
    msg.SetMessage("agent:message=\"too late\"");
    msg.SetFromId("TVInt");
    msg.SetToId(AGENT_CHANNEL_ID);
    msg.SetTTL(250);
    msg.SetTimeSent(GetTickCount() - 60000);
    ASSERT_TRUE(msg.BuildMessage());
    wintest::SlotView slot;
    ASSERT_TRUE(slot.Ok());
    ASSERT_TRUE(slot.Write(msg.GetMsgStr()));
    PostMessageA(m_agent, m_ipc.GetNotifyMsg(), (WPARAM)m_ipc.Window(), 0);
    EXPECT_TRUE(PumpUntil([&]() { return slot.IsClear(); }));
    EXPECT_EQ(nullptr, WaitBox(nullptr, 1500));
    EXPECT_TRUE(Request("agent:showall"));
}

// Malformed texts written straight into the slot, each announced as a peer
// would (some from a window that is none); the agent drops them all without a
// box and goes on serving. Random frames are the fuzz targets' part.
TEST_F(AgentE2E, HostileSlotContentsAreSurvived)
{
    ASSERT_TRUE(Start());
    // Its channel is open once it answers; the texts below are sent, not
    // posted, and would otherwise be read during its start-up.
    ASSERT_TRUE(Request("agent:showall"));
    wintest::SlotView slot;
    ASSERT_TRUE(slot.Ok());
    UINT notify = RegisterWindowMessageA(MMAPIPC_NOTIFY_NAME);
    char live[96];
    StrFormat(live, sizeof(live), "<TVAgent:TVInt:%lu:30>", GetTickCount());
    const std::string texts[] = {
        std::string(MMAPIPC_MSG_SIZE, 'A'), // no terminating zero anywhere
        std::string(MMAPIPC_MSG_SIZE, '<'),
        std::string("\x01\xff\x80junk"),
        "<TVAgent:TVInt:4294967295:99999999999999999999>agent:hide=\"x",
        "<TVAgent::-1:12x>agent:log=",
        "<::::>AGENT:SHOW=\"\"\"",
        "<TVAgent:TVInt:0:0>agent:showa",
        std::string(live) + "agent:hide=\"" + std::string(MMAPIPC_MSG_SIZE, 'z'),
        std::string(live) + "agent:log=\"" + std::string(900, '\x7f') + "\"",
    };
    for (const std::string& text : texts)
        for (WPARAM from : {(WPARAM)m_ipc.Window(), (WPARAM)0x12345679})
        {
            // Only a text of the slot's exact size goes without a zero.
            bool over = text.size() > MMAPIPC_MSG_SIZE;
            ASSERT_TRUE(slot.Write(over ? text.substr(0, MMAPIPC_MSG_SIZE - 1) : text));
            DWORD_PTR result;
            // Sent, so each text is read before the next is written.
            ASSERT_TRUE(SendMessageTimeoutA(m_agent, notify, from, 0, SMTO_NORMAL, kTimeout, &result))
                << text.substr(0, 80);
            EXPECT_EQ(nullptr, WaitBox(nullptr, 0)) << text.substr(0, 80);
        }
    slot.Write("");
    EXPECT_EQ(nullptr, WaitBox(nullptr, 500));
    EXPECT_TRUE(Request("agent:showall"));
}

// A brand-new profile: no files folder and no first run yet. The first run
// sets up an empty log and an empty keys file, so the agent starts without a
// single box (the splash and the wizard stay off here: they are no boxes).
TEST_F(AgentE2E, NewProfileStartsQuietly)
{
    m_files = m_dir.Path("new user\\Tarvin Files");
    wintest::SetRegString(kSuiteKey, "Files Folder", m_files);
    wintest::DeleteRegValue(kSuiteKey, "First Run");
    ASSERT_TRUE(Start());
    // The channel answers only once start-up is over, and a box would hold it up.
    EXPECT_TRUE(Request("agent:showall"));
    EXPECT_EQ(nullptr, FindTop(Pid(), "#32770", nullptr));
    for (const char* name : {"Tarvin.log", "Tarvin Keys.keys", "Tarvin.menu"})
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File(name).c_str())) << name;
}

// A missing or damaged log or keys file is reported once at start-up, and the
// agent then runs on. A request that comes while such a box is open, before
// the channel is set up, brings no second box: its sender tries again.
TEST_F(AgentE2E, MissingOrDamagedFilesAreReportedAtStartUp)
{
    const std::string otherVersion =
        "<?TarvinTarvinKeys version=\"2.00\"?>\r\n"
        "<key vcode=\"84\" mods=\"3\" action=\"7\" target=\"\" scope=\"all\">\r\n";
    const std::string withKey =
        std::string(kKeysHeader) + "<key vcode=\"84\" mods=\"3\" action=\"7\" target=\"\">\r\n";
    const struct
    {
        const char* file;
        const char* content; // null: the file is missing
        const char* caption;
        const char* text;
        bool held; // open in another program without sharing while the agent starts
    } cases[] = {
        {"Tarvin.log", nullptr, "Tarvin 2", "Cannot open log file.\n\nA new log file will be created.",
         false},
        {"Tarvin.log", "not a log\r\n", "Tarvin 2",
         "Cannot read log file.\n\nThe log file may be damaged. A new log file will be created.", false},
        {"Tarvin Keys.keys", nullptr, "Error", "Unable to load your Tarvin Keys.", false},
        {"Tarvin Keys.keys", otherVersion.c_str(), "Error", "Unable to load your Tarvin Keys.", false},
        {"Tarvin Keys.keys", withKey.c_str(), "Error", "Unable to load your Tarvin Keys.", true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.file) + (c.held ? " held" : c.content ? " damaged" : " missing"));
        WriteBytes(File("Tarvin.log"), kLogHeader);
        WriteBytes(File("Tarvin Keys.keys"), kKeysHeader);
        if (c.content)
            WriteBytes(File(c.file), c.content);
        else
            DeleteFileA(File(c.file).c_str());
        HANDLE held =
            c.held ? CreateFileA(File(c.file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                   : INVALID_HANDLE_VALUE;

        ASSERT_TRUE(Start());
        HWND box = WaitBox(c.caption);
        ASSERT_TRUE(box);
        EXPECT_EQ(c.text, BoxText(box));
        EXPECT_FALSE(Request("agent:showall", 500));
        // Nothing but the one box.
        EXPECT_FALSE(PumpUntil(
            [&]() {
                HWND other = FindTop(Pid(), "#32770", nullptr);
                return other && other != box && Visible(other);
            },
            500));
        Dismiss(box);
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        EXPECT_TRUE(Request("agent:showall"));
        Stop();
        // A keys file the agent could not read is the user's still: with no
        // key added it is left byte for byte.
        if (c.content && !strcmp(c.file, "Tarvin Keys.keys"))
        {
            EXPECT_EQ(c.content, ReadBytes(File(c.file)));
            std::string log = ReadBytes(File("Tarvin.log"));
            EXPECT_EQ(1u, Count(log, "Tarvin Keys.keys could not be read at start and was left as it was"))
                << log;
        }
    }
}
} // namespace
