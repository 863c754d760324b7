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

typedef std::vector<std::string> Bodies;

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
