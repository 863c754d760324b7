// tvint.exe end to end with the agent's side of the channel played by
// fakeagent.exe: the requests byte for byte, the OK handshake, the log
// entries, the time-out questions, and starting the agent when it is not
// running.
#include <windows.h>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "MMapIPC_win.h"
#include "tvint_e2e.h"

using namespace tvint_test;

namespace
{
const char kActionTimeout[] =
    "The OK message for a launch action from the Tarvin Agent has timed out.\n\nWould you like to try "
    "again?\n\n"
    "   Click Yes to try again.\n   Click No to continue processing the launch file.\n"
    "   Click Cancel to stop processing the launch file.";
const char kLogTimeout[] =
    "The OK message for a log entry from the Tarvin Agent has timed out.\n\nWould you like to try again?\n\n"
    "   Click Yes to try again.\n   Click No to continue processing the launch file without logging.\n"
    "   Click Cancel to stop processing the launch file.";

typedef std::vector<std::string> Bodies;

// The class of the test's own channel ends.
const char kChannelClass[] = "TVIntTestChannel";

class WithAgent : public Interpreter
{
  protected:
    void SetUp() override
    {
        Interpreter::SetUp();
        m_record = m_dir.Path("agent requests.txt");
        EndAgents();
    }
    void TearDown() override
    {
        EndAgents();
    }

    void StartAgent(const std::string& options = "")
    {
        m_agent.reset(new CDrvProcess());
        ASSERT_TRUE(m_agent->Start(Program("fakeagent.exe").c_str(),
                                   ("-record=" + Quote(m_record) + " " + options).c_str()));
        DrvWindowQuery wanted = DrvQuery(AGENT_WINDOW_CLASS, NULL, TVD_MATCH_EXACT, m_agent->Pid());
        wanted.includeHidden = true;
        ASSERT_EQ(TVD_OK, DrvWaitFor([&]() { return DrvFindWindow(wanted) != NULL; }, kTimeout));
    }

    void Logging(bool on)
    {
        m_settings.Set(kAgentKey, "Log File", on ? 1 : 0);
    }

    // The identifier tvint.exe sends under: its main window in decimal.
    std::string InterpreterId()
    {
        HWND main = MainWindow();
        return main ? std::to_string((int)(INT_PTR)main) : "<none>";
    }

    Bodies Requests()
    {
        return AgentBodies(m_record);
    }

    // A copy of tvint.exe in a folder of its own, optionally with the fake
    // agent beside it under the agent's name.
    std::string PrivateCopy(bool withAgent)
    {
        std::string folder = m_dir.Path("app folder");
        CreateDirectoryA(folder.c_str(), NULL);
        std::string exe = folder + "\\tvint.exe";
        EXPECT_TRUE(CopyFileA(Program("tvint.exe").c_str(), exe.c_str(), FALSE));
        std::string agent = folder + "\\tvagent.exe";
        if (withAgent)
        {
            EXPECT_TRUE(CopyFileA(Program("fakeagent.exe").c_str(), agent.c_str(), FALSE));
        }
        return exe;
    }

    std::string m_record;
    std::unique_ptr<CDrvProcess> m_agent;
};
} // namespace

TEST_F(WithAgent, EachAgentActionIsOneRequestWrittenExactlyAndAnsweredBeforeTheNext)
{
    m_settings.Interpreter("Confirm Exit", 0);
    StartAgent();
    // The Wait keeps the interpreter's window there while the test reads its
    // identifier: the agent's lines themselves take a few milliseconds.
    Start({"Wait \"2000 ms\"", "Hide \"Untitled - Note Pad\"", "show calc", "ShowAll",
           "Message \"Backup done: 3 files, 0 errors\"", "// a comment does not concern the agent", "Exit"});
    std::string id = InterpreterId();
    EXPECT_EQ(0u, WaitExit());

    auto requests = ReadAgentRecord(m_record);
    Bodies expected = {"agent:hide=\"Untitled - Note Pad\"", "agent:show=\"calc\"", "agent:showall",
                       "agent:message=\"Backup done: 3 files, 0 errors\"", "agent:exit tarvin"};
    EXPECT_EQ(expected, Requests());
    for (const auto& r : requests)
        EXPECT_EQ(id, r.from);
    // The exit request ends the agent.
    DWORD code = 99;
    EXPECT_EQ(TVD_OK, m_agent->WaitExit(kTimeout, &code));
    EXPECT_EQ(0u, code);
}

// Launch lines, the fake agent's options and the user's answers -> the
// requests the agent received and the exit code. A missing OK asks; Yes
// sends again, No goes on (for a log entry: without logging), Cancel stops.
// A declined confirmation sends nothing but its log entry.
TEST_F(WithAgent, LaunchLinesGiveTheirRequestsQuestionsAndExitCode)
{
    const struct
    {
        const char* options;
        Scenario row;
        Bodies requests;
    } rows[] = {
        {"-ignore=1",
         Row("missing OK, yes", "", {"Hide \"first\"", "Hide \"second\""}, {{"Error", IDYES, kActionTimeout}},
             0, ""),
         {"agent:hide=\"first\"", "agent:hide=\"first\"", "agent:hide=\"second\""}},
        {"-silent=agent:log",
         Row("missing log OK, no", "", {"// one", "Hide \"two\"", "// three"}, {{"Error", IDNO, kLogTimeout}},
             0, "", {{"Agent\\Log File", 1}}),
         {"agent:log=\"// one\"", "agent:hide=\"two\""}},
        {"-silent=agent:log",
         Row("missing log OK, yes then cancel", "", {"// one", "// two"},
             {{"Error", IDYES, kLogTimeout}, {"Error", IDCANCEL, kLogTimeout}}, 1, "",
             {{"Agent\\Log File", 1}}),
         {"agent:log=\"// one\"", "agent:log=\"// one\""}},
        {"",
         Row("declined confirmations", "", {"Exit", "Shutdown", "Restart"}, {}, 0, "",
             {{"Agent\\Log File", 1},
              {"Confirm Exit", 1},
              {"Confirm Shutdown", 1},
              {"Confirm Restart", 1},
              {"Assume Answer", 1},
              {"Assume Timeout", 1}}),
         {"agent:log=\"User Cancelled exit Tarvin Agent\"", "agent:log=\"User Cancelled Shutdown\"",
          "agent:log=\"User Cancelled Restart\""}},
    };
    for (const auto& r : rows)
    {
        SCOPED_TRACE(r.row.name);
        DeleteFileA(m_record.c_str());
        StartAgent(r.options);
        RunRow(r.row);
        EXPECT_EQ(r.requests, Requests());
        EndAgents();
    }
}

TEST_F(WithAgent, AMissingOKAsksAndNoGoesOnWhileCancelStops)
{
    StartAgent("-silent");
    Start({"Hide \"first\"", "Show \"second\"", "ShowAll"});
    DWORD start = GetTickCount();
    EXPECT_EQ(kActionTimeout, Answer("Error", IDNO));
    EXPECT_GE(GetTickCount() - start, 800u);
    EXPECT_EQ(kActionTimeout, Answer("Error", IDCANCEL));
    EXPECT_EQ(1u, WaitExit());
    EXPECT_EQ((Bodies{"agent:hide=\"first\"", "agent:show=\"second\""}), Requests());
}

// A busy agent that has not read the request when the wait runs out is no
// lost OK: the request is taken back and sent again, served once, and nobody
// is asked.
TEST_F(WithAgent, ARequestTheAgentHasNotReadYetIsSentAgainWithoutAsking)
{
    StartAgent("-slowread=2500");
    Start({"Hide \"late\"", "Show \"late\""});
    EXPECT_EQ(0u, WaitExit());
    EXPECT_EQ((Bodies{"agent:hide=\"late\"", "agent:show=\"late\""}), Requests());
}

TEST_F(WithAgent, AnOKArrivingWhileTheQuestionIsOpenIsNeitherLostNorSentForAgain)
{
    std::string replies = m_dir.Path("replies.txt");
    StartAgent("-delay=1600 -replies=" + Quote(replies));
    Start({"Hide \"slow\"", "Hide \"next\""});
    HWND box = NULL;
    ASSERT_EQ(TVD_OK, DrvWaitMessageBox("Error", m_tvint->Pid(), kTimeout, &box));
    ASSERT_TRUE(WaitFile(replies));
    // Nothing goes on under the open question.
    EXPECT_EQ(TVD_TIMEOUT, DrvWaitFor([&]() { return ReadAgentRecord(m_record).size() > 1; }, 1500));
    EXPECT_TRUE(IsWindow(box));

    // Yes: the request was served meanwhile, so it is not sent again.
    ASSERT_TRUE(DrvPressButton(box, IDYES));
    EXPECT_EQ(0u, WaitExit());
    EXPECT_EQ((Bodies{"agent:hide=\"slow\"", "agent:hide=\"next\""}), Requests());
}

TEST_F(WithAgent, AnOKFromAnotherSenderIsNotTheAgentsOK)
{
    StartAgent("-silent");
    std::string marker = m_dir.Path("must not run.txt");
    WriteBytes(m_dir.Path("src.txt"), "x");
    Start({"Hide \"x\"", "Copy " + Quote(m_dir.Path("src.txt")) + "," + Quote(marker) + ",Overwrite"});
    std::string id = InterpreterId();
    ASSERT_TRUE(WaitAgentRequests(m_record, 1));

    // Another program answers OK in the agent's place, to the interpreter.
    ChannelEnd impostor(kChannelClass, "Impostor");
    ASSERT_TRUE(impostor.Ok());
    EXPECT_TRUE(impostor.SendMessage("OK", id.c_str(), MainWindow(), 0, 0));

    EXPECT_EQ(kActionTimeout, Answer("Error", IDCANCEL));
    EXPECT_EQ(1u, WaitExit());
    EXPECT_FALSE(Exists(marker));
}

// Neither a message for someone else nor an expired one (another
// interpreter's OK that came too late, say) stops the run with a box.
TEST_F(WithAgent, AMessageForSomeoneElseOrAnExpiredOneIsPassedOverSilently)
{
    Start({"Wait \"3000 ms\""});
    std::string id = InterpreterId();
    HWND main = MainWindow();

    ChannelEnd other(kChannelClass, "Other");
    ASSERT_TRUE(other.Ok());
    EXPECT_TRUE(other.SendMessage("OK", "SomeoneElse", main, 0, 0));
    EXPECT_EQ(TVD_TIMEOUT, DrvWaitMessageBox(NULL, m_tvint->Pid(), 1000, NULL));

    // Expired on arrival, whoever it was for: the read clears the slot.
    struct
    {
        const char* sender;
        std::string to;
    } stale[] = {{"Stale", id}, {"4242", "4243"}};
    for (const auto& s : stale)
    {
        SCOPED_TRACE(s.to);
        ChannelEnd late(kChannelClass, s.sender, true);
        ASSERT_TRUE(late.Ok());
        EXPECT_TRUE(late.SendMessage("OK", s.to.c_str(), main, 0, 0));
        EXPECT_EQ(TVD_TIMEOUT, DrvWaitMessageBox(NULL, m_tvint->Pid(), 700, NULL));
    }
    EXPECT_EQ(0u, WaitExit());
}

// A read that fails for a real reason (the channel's lock held past every
// retry) is reported once, however many notifications fail while the box is
// open, and the run keeps waiting for its OK: the time-out question follows.
TEST_F(WithAgent, AFailedReadIsReportedOnceAndTheRunKeepsWaitingForItsOK)
{
    StartAgent("-silent");
    Start({"Hide \"x\""});
    HWND main = MainWindow();
    ASSERT_TRUE(WaitAgentRequests(m_record, 1));

    HANDLE lock = OpenMutexA(SYNCHRONIZE, FALSE, MMAPIPC_MUTEX_NAME);
    ASSERT_TRUE(lock != NULL);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(lock, kTimeout));
    UINT notify = RegisterWindowMessageA(MMAPIPC_NOTIFY_NAME);
    for (int i = 0; i < 2; i++)
        EXPECT_TRUE(PostMessageA(main, notify, 0, 0));

    auto boxTexts = [&]() {
        HWND boxes[8];
        int n = DrvFindWindows(DrvQuery("#32770", NULL, TVD_MATCH_EXACT, m_tvint->Pid()), boxes, 8);
        Bodies texts;
        for (int i = 0; i < n && i < 8; i++)
        {
            char text[1024] = "";
            DrvMessageBoxText(boxes[i], text, sizeof(text));
            texts.push_back(text);
        }
        std::sort(texts.begin(), texts.end());
        return texts;
    };
    // Both reads fail (about 3.5 s each) before the time-out can ask.
    Bodies seen;
    DrvWaitFor(
        [&]() {
            seen = boxTexts();
            return std::find(seen.begin(), seen.end(), kActionTimeout) != seen.end();
        },
        2 * kTimeout);
    ReleaseMutex(lock);
    CloseHandle(lock);
    EXPECT_EQ((Bodies{"Interprocess communication read failed.\n   Error code: 14", kActionTimeout}), seen);

    EXPECT_EQ(kActionTimeout, Answer("Error", IDCANCEL));
    EXPECT_EQ(1u, WaitExit());
}

TEST_F(WithAgent, WithLoggingEveryActionIsLoggedAfterItIsDone)
{
    Logging(true);
    StartAgent();
    std::string marker = m_dir.Path("logged copy.txt");
    WriteBytes(m_dir.Path("source.txt"), "s");
    Start({"Wait \"800 ms\"", "// start", "Hide \"x\"",
           "Copy " + Quote(m_dir.Path("source.txt")) + "," + Quote(marker) + ",Overwrite",
           "Close \"no such window\""});
    DWORD start = GetTickCount();
    ASSERT_TRUE(WaitAgentRequests(m_record, 1));
    // The Wait is logged once it has elapsed.
    EXPECT_GE(GetTickCount() - start, 700u);
    EXPECT_EQ(0u, WaitExit());
    EXPECT_EQ(
        (Bodies{"agent:log=\"Wait for 800 ms\"", "agent:log=\"// start\"", "agent:hide=\"x\"",
                "agent:log=\"Hide windows called x\"", "agent:log=\"Copy source.txt to logged copy.txt\"",
                "agent:log=\"Close no such window\""}),
        Requests());
}

TEST_F(WithAgent, TheAgentIsStartedFromTheInterpretersFolderWhenItIsNotRunning)
{
    Logging(true);
    std::string exe = PrivateCopy(true);
    std::string record = m_dir.Path("app folder\\fakeagent.log");
    Start({"Hide \"y\""}, exe);
    EXPECT_EQ(0u, WaitExit());
    EXPECT_EQ((Bodies{"agent:hide=\"y\"", "agent:log=\"Hide windows called y\""}), AgentBodies(record));
    EXPECT_TRUE(FindAgent() != NULL);
}

TEST_F(WithAgent, WithoutAnAgentToStartItSaysSoAndTheTimeOutFollows)
{
    std::string exe = PrivateCopy(false);
    Start({"Hide \"z\""}, exe);
    EXPECT_EQ("Cannot start the Tarvin Agent.", Answer("Error", IDOK));
    EXPECT_EQ(kActionTimeout, Answer("Error", IDCANCEL));
    EXPECT_EQ(1u, WaitExit());
}
