// tvint.exe and the real tvagent.exe together: the interpreter starts the
// agent from its own folder, the agent hides and shows real windows (with
// their owned tool windows), shows messages, logs every action and ends on
// an Exit line.
#include "tvint_e2e.h"

#include <algorithm>
#include <map>

using namespace tvint_test;

namespace
{
const char kSuiteKey[] = "Software\\Norvale\\Tarvin 2";

class RealAgent : public Interpreter
{
  protected:
    void SetUp() override
    {
        Interpreter::SetUp();
        ASSERT_EQ(nullptr, FindAgent()) << "an agent is already running";
        // A files folder of its own, with nothing that waits for a user.
        m_files = m_dir.Path("files");
        CreateDirectoryA(m_files.c_str(), NULL);
        WriteBytes(m_files + "\\Tarvin.log", "<?TarvinLogFile version='1.00'?>\r\n");
        WriteBytes(m_files + "\\Tarvin Keys.keys", "<?TarvinTarvinKeys version=\"1.00\"?>\r\n");
        m_settings.Save(kSuiteKey, "Files Folder");
        wintest::SetRegString(kSuiteKey, "Files Folder", m_files);
        m_settings.Set(kSuiteKey, "First Run", 0);
        m_settings.Set(kAgentKey, "No Splash", 1);
        m_settings.Set(kAgentKey, "Show Wizard", 0);
        m_settings.Set(kAgentKey, "Exit Message", 0);
        m_settings.Set(kAgentKey, "Log File", 100);
        m_settings.Interpreter("Confirm Exit", 0);
    }

    void TearDown() override
    {
        EndAgents(); // left by a failed test
    }

    // The interpreter's entries in the agent's log, in order.
    std::vector<std::string> InterpreterEntries()
    {
        std::vector<std::string> entries;
        for (const std::string& line : Lines(ReadBytes(m_files + "\\Tarvin.log")))
        {
            const char tag[] = "name=\"Tarvin Interpreter\" description=\"";
            size_t at = line.find(tag);
            if (at == std::string::npos)
                continue;
            at += sizeof(tag) - 1;
            entries.push_back(line.substr(at, line.find('"', at) - at));
        }
        return entries;
    }

    // Runs an Exit line and waits for the agent to end.
    void ExitAgent()
    {
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DrvWindowProcess(FindAgent()));
        ASSERT_TRUE(process != NULL);
        EXPECT_EQ(0u, Run({"Exit"}));
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, kTimeout));
        CloseHandle(process);
    }

    std::string m_files;
};

// Launch files at once, each a run of Hide/Show pairs with a log entry for
// every line: the interpreters share the channel's one slot with the agent,
// and every request gets its own OK: each file runs to its end without a
// time-out question, logs every line once and leaves its window shown.
TEST_F(RealAgent, InterpretersTalkingToTheAgentAtOnceAllFinish)
{
    // The agent is up before the others start, so none starts one of its own.
    // Its first request can go out while the agent is still setting up its
    // channel; that start-up is not what this test is about, so the
    // interpreter's offer to send the entry again is taken. The log keeps
    // every line of all the runs.
    m_settings.Set(kAgentKey, "Log File", 1000);
    Start({"// start the agent"});
    for (;;)
    {
        HWND box = NULL;
        DrvWaitFor(
            [&]() {
                return DrvWaitMessageBox(NULL, m_tvint->Pid(), 0, &box) == TVD_OK || !m_tvint->IsRunning();
            },
            kTimeout);
        if (!box)
            break;
        EXPECT_TRUE(DrvPressButton(box, IDYES));
        DrvWaitDestroyed(box, kTimeout);
    }
    EXPECT_EQ(0u, WaitExit());
    ASSERT_TRUE(FindAgent() != NULL);

    // Each file's lines as the log must show them, by its window's title.
    std::map<std::string, std::vector<std::string>> logged;
    const int kPairs = 25;
    for (int count : {2, 4})
    {
        SCOPED_TRACE(std::to_string(count) + " interpreters");
        std::vector<std::unique_ptr<CDrvProcess>> targets, runs;
        std::vector<HWND> windows;
        for (int i = 0; i < count; i++)
        {
            std::string title = "tv run " + std::to_string(count) + "." + std::to_string(i);
            targets.emplace_back(new CDrvProcess());
            HWND window = NULL;
            ASSERT_TRUE(
                targets.back()->Start(Program("tvtarget.exe").c_str(), ("-title=" + Quote(title)).c_str()));
            ASSERT_EQ(TVD_OK, DrvWaitWindow(DrvQuery(TARGET_CLASS, title.c_str()), kTimeout, &window));
            windows.push_back(window);
            std::vector<std::string> lines;
            for (int pair = 0; pair < kPairs; pair++)
            {
                lines.insert(lines.end(), {"Hide " + Quote(title), "Show " + Quote(title)});
                logged[title].insert(logged[title].end(),
                                     {"Hide windows called " + title, "Show windows called " + title});
            }
            runs.emplace_back(new CDrvProcess());
            ASSERT_TRUE(runs.back()->Start(Program("tvint.exe").c_str(),
                                           ("-file=" + Quote(WriteFile(lines))).c_str()));
        }
        // A time-out question of any of them is the failure: its text is
        // reported and the run stopped.
        for (auto& run : runs)
        {
            HWND box = NULL;
            DrvWaitFor(
                [&]() { return !run->IsRunning() || DrvWaitMessageBox(NULL, run->Pid(), 0, &box) == TVD_OK; },
                4 * kTimeout);
            if (box)
            {
                char text[512] = "";
                DrvMessageBoxText(box, text, sizeof(text));
                ADD_FAILURE() << text;
                DrvPressButton(box, IDCANCEL);
            }
            DWORD code = 0xDEAD;
            EXPECT_EQ(TVD_OK, run->WaitExit(kTimeout, &code));
            EXPECT_EQ(0u, code);
        }
        for (HWND window : windows)
            EXPECT_TRUE(IsWindowVisible(window));
    }

    // Every line of each file logged once, in its file's order (the log
    // reaches its file when the agent ends).
    ExitAgent();
    std::map<std::string, std::vector<std::string>> entries;
    for (const std::string& entry : InterpreterEntries())
    {
        size_t at = entry.find("tv run ");
        if (at != std::string::npos)
            entries[entry.substr(at)].push_back(entry);
    }
    EXPECT_EQ(logged, entries);
}
} // namespace
