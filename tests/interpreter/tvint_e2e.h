// The fixture of tvint.exe's end-to-end tests: writes a launch file, starts
// the real program on it, answers its boxes as a user would and reads its
// exit code.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "agentproto.h"
#include "tvint_testutil.h"

namespace tvint_test
{
const char kMainClass[] = "_TVINT_HIDDENMAINWND";
const char kMainTitle[] = "Tarvin Interpretor";

// A running agent's window, hidden or not.
inline HWND FindAgent()
{
    DrvWindowQuery wanted = DrvQuery(AGENT_WINDOW_CLASS, NULL);
    wanted.includeHidden = true;
    return DrvFindWindow(wanted);
}

// Ends the agents left from a test, whoever started them.
inline void EndAgents()
{
    for (HWND agent; (agent = FindAgent()) != NULL;)
    {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, DrvWindowProcess(agent));
        if (!process)
            break;
        TerminateProcess(process, 0);
        WaitForSingleObject(process, kTimeout);
        CloseHandle(process);
        DrvWaitFor([&]() { return !IsWindow(agent); }, kTimeout);
    }
}

// A box the user answers: its caption (any when null), the button pressed
// and its text ("*": not read, as for the shell's own dialogs).
struct Box
{
    const char* caption;
    int button;
    std::string text;
};

// One row of an end-to-end table: the files there before ("name=bytes",
// "name\\" a folder; '|' between them), the launch lines, the boxes answered
// in order, the exit code, the files after ("name=bytes"; "-name": absent;
// "name\\": a folder; "#folder=N": N files in it) and the settings for the
// row (the interpreter's). Names are below the row's own folder, written
// {dir} in lines and texts.
struct Scenario
{
    const char* name;
    std::string before;
    std::vector<std::string> lines;
    std::vector<Box> boxes;
    DWORD exitCode;
    std::string after;
    std::vector<std::pair<const char*, DWORD>> settings;
};

inline Scenario Row(const char* name, const std::string& before, const std::vector<std::string>& lines,
                    const std::vector<Box>& boxes, DWORD exitCode, const std::string& after,
                    const std::vector<std::pair<const char*, DWORD>>& settings = {})
{
    return {name, before, lines, boxes, exitCode, after, settings};
}

inline std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> parts;
    for (size_t at = 0; at < text.size();)
    {
        size_t bar = std::min(text.find('|', at), text.size());
        parts.push_back(text.substr(at, bar - at));
        at = bar + 1;
    }
    return parts;
}

class Interpreter : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        // Most tests do not look at the strip; without it a run ends at once.
        m_settings.Interpreter("Show Status", 0);
    }

    // The launch file lives in a folder whose name has a space.
    std::string WriteFile(const std::vector<std::string>& lines)
    {
        std::string folder = m_dir.Path("launch files");
        CreateDirectoryA(folder.c_str(), NULL);
        std::string path = folder + "\\run " + std::to_string(++m_runs) + ".launch";
        WriteLaunchFile(path, lines);
        return path;
    }

    // Starts tvint.exe (or the given copy of it) on a file of these lines.
    void Start(const std::vector<std::string>& lines, const std::string& exe = "")
    {
        m_tvint.reset(new CDrvProcess());
        std::string args = "-file=" + Quote(WriteFile(lines));
        ASSERT_TRUE(m_tvint->Start(exe.empty() ? Program("tvint.exe").c_str() : exe.c_str(), args.c_str()))
            << GetLastError();
    }

    DWORD WaitExit(DWORD timeoutMs = kTimeout)
    {
        DWORD code = 0xDEAD;
        EXPECT_EQ(TVD_OK, m_tvint->WaitExit(timeoutMs, &code)) << "tvint.exe did not end";
        return code;
    }

    DWORD Run(const std::vector<std::string>& lines)
    {
        Start(lines);
        if (!m_tvint)
            return 0xDEAD;
        return WaitExit();
    }

    // Waits for a box of tvint.exe (any caption when null), presses the
    // button and returns its text ("" for the shell's own dialogs, whose text
    // is not a window text).
    std::string Answer(const char* caption, int button)
    {
        return e2etest::AnswerBox(m_tvint->Pid(), caption, button);
    }

    // The interpreter's main window (the status strip), shown or not.
    HWND MainWindow()
    {
        DrvWindowQuery wanted = DrvQuery(kMainClass, kMainTitle, TVD_MATCH_EXACT, m_tvint->Pid());
        wanted.includeHidden = true;
        HWND hwnd = NULL;
        DrvWaitFor(
            [&]() {
                hwnd = DrvFindWindow(wanted);
                return hwnd != NULL;
            },
            kTimeout);
        return hwnd;
    }

    static std::string ContinueQuestion(const std::string& text)
    {
        return "An error occured:\n\n" + text + "\n\nWould you like to continue to process this launch file?";
    }

    // Runs one row in a folder of its own; the row's settings are put back
    // after it.
    void RunRow(const Scenario& row)
    {
        SCOPED_TRACE(row.name);
        const std::string dir = m_dir.Path("row " + std::to_string(++m_rows));
        auto expand = [&](std::string text) {
            for (size_t at; (at = text.find("{dir}")) != std::string::npos;)
                text.replace(at, 5, dir);
            return text;
        };
        auto path = [&](const std::string& name) {
            std::string full = dir + "\\" + name;
            for (size_t at = dir.size() + 1; (at = full.find('\\', at)) != std::string::npos; at++)
                CreateDirectoryA(full.substr(0, at).c_str(), NULL);
            return full;
        };
        RegSettings settings;
        for (const auto& setting : row.settings)
            settings.Interpreter(setting.first, setting.second);
        CreateDirectoryA(dir.c_str(), NULL);
        for (const std::string& file : Split(row.before))
        {
            size_t eq = file.find('=');
            std::string full = path(file.substr(0, eq));
            if (eq != std::string::npos)
                WriteBytes(full, file.substr(eq + 1));
        }
        std::vector<std::string> lines;
        for (const std::string& line : row.lines)
            lines.push_back(expand(line));
        Start(lines);
        if (!m_tvint)
            return;
        for (const Box& box : row.boxes)
        {
            std::string text = Answer(box.caption, box.button);
            if (box.text != "*")
            {
                EXPECT_EQ(expand(box.text), text);
            }
        }
        EXPECT_EQ(row.exitCode, WaitExit());
        for (const std::string& file : Split(row.after))
        {
            size_t eq = file.find('=');
            if (file.back() == '\\')
                EXPECT_TRUE(Exists(path(file))) << file;
            else if (file[0] == '-')
                EXPECT_FALSE(Exists(path(file.substr(1)))) << file;
            else if (file[0] == '#')
                EXPECT_EQ(file.substr(eq + 1),
                          std::to_string(wintest::CountFiles(path(file.substr(1, eq - 1)))))
                    << file;
            else
                EXPECT_EQ(file.substr(eq + 1), ReadBytes(path(file.substr(0, eq)))) << file;
        }
    }

    ScratchDir m_dir;
    RegSettings m_settings;
    std::unique_ptr<CDrvProcess> m_tvint;
    int m_runs = 0;
    int m_rows = 0;
};
} // namespace tvint_test
