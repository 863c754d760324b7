// tvint.exe end to end, the program around the engine: the command line and
// its errors, exit codes, the continue question, the status strip, the file
// association, the uninstall mutex and the confirmation before Shutdown and
// Restart (only ever declined here: accepting would end the whole prefix).
#include <windows.h>
#include <shellapi.h>
#include <algorithm>
#include <string>
#include <vector>

#include "tvint_e2e.h"
#include "wintestutil.h"

using namespace tvint_test;

namespace
{
const char kNoFileText[] = "This application must be run with a -file parameter";

class Tvint : public Interpreter
{
  protected:
    // A line that leaves a mark when it runs.
    std::string MarkLine(const std::string& marker)
    {
        std::string source = m_dir.Path("mark source.txt");
        if (!Exists(source))
            WriteBytes(source, "mark");
        return "Copy " + Quote(source) + "," + Quote(marker) + ",Overwrite";
    }
};

// The status strip's place at the top left of the screen.
wintest::Pixels ScreenPixels()
{
    return wintest::GrabPixels(NULL, 0, 0, 320, 18);
}
} // namespace

// --- Command line, file errors, exit codes ------------------------------------

// A command line without a quoted file, or a file that cannot be run: a box
// that says why, nothing run, exit code 1.
TEST_F(Tvint, WithoutAFileToRunItSaysWhyAndExitsWithOne)
{
    std::string file = WriteFile({"// fine"});
    std::string missing = m_dir.Path("no such.launch");
    std::string empty = WriteFile({});
    std::string blank = WriteFile({"   ", "\t"});
    std::string marker = m_dir.Path("must not run.txt");
    std::string tooLong = WriteFile({MarkLine(marker), "Message \"" + std::string(1100, 'x') + "\""});
    const struct
    {
        std::string args;
        std::string text;
    } cases[] = {
        {"", kNoFileText},
        {"-file=" + file, kNoFileText},
        {"-file=\"\"", kNoFileText},
        {"-file = " + Quote(file), kNoFileText},
        {"-files", kNoFileText},
        {"-file=" + Quote(missing), "The launch file cannot be opened:\n   " + missing},
        {"-file=" + Quote(empty), "The launch file has no lines:\n   " + empty},
        {"-file=" + Quote(blank), "The launch file has no lines:\n   " + blank},
        {"-file=" + Quote(tooLong), "The launch file has a line longer than 1035 characters:\n   " + tooLong},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.args);
        StartArgs(c.args);
        EXPECT_EQ(c.text, Answer("Error", IDOK));
        EXPECT_EQ(1u, WaitExit());
    }
    EXPECT_FALSE(Exists(marker));
}

TEST_F(Tvint, RunsAFileGivenInDoubleOrSingleQuotes)
{
    std::string marker = m_dir.Path("single.txt");
    std::string file = WriteFile({MarkLine(marker)});
    for (const std::string& quoted : {Quote(file), "'" + file + "'"})
    {
        DeleteFileA(marker.c_str());
        StartArgs("-file=" + quoted);
        EXPECT_EQ(0u, WaitExit());
        EXPECT_TRUE(Exists(marker)) << quoted;
    }
}

// --- Registration -------------------------------------------------------------

TEST_F(Tvint, RegistersLaunchFilesSoTheShellRunsThem)
{
    ASSERT_EQ(0u, Run({"// register"}));
    EXPECT_EQ("Tarvin.LaunchFile", e2etest::ClassesDefault(".launch"));
    EXPECT_EQ("Tarvin File", e2etest::ClassesDefault("Tarvin.LaunchFile"));
    EXPECT_EQ(Quote(Program("tvint.exe")) + " -file=\"%1\"",
              e2etest::ClassesDefault("Tarvin.LaunchFile\\shell\\Open\\command"));

    // Double-clicked in the shell: the path with its spaces arrives whole.
    std::string marker = m_dir.Path("from the shell.txt");
    std::string file = WriteFile({MarkLine(marker)});
    INT_PTR result = (INT_PTR)ShellExecuteA(NULL, "open", file.c_str(), NULL, NULL, SW_SHOWNORMAL);
    EXPECT_GT(result, 32);
    EXPECT_TRUE(WaitFile(marker));
}

// --- Status strip ---------------------------------------------------------------

TEST_F(Tvint, TheStripShowsEachActionAtTheTopLeftAndHidesAfterTheStatusTime)
{
    m_settings.Interpreter("Show Status", 1);
    m_settings.Interpreter("Status Window", 1);
    std::string marker = m_dir.Path("strip.txt");
    Start({MarkLine(marker), "Wait \"2500 ms\""});
    HWND strip = MainWindow();
    ASSERT_TRUE(strip);
    ASSERT_EQ(TVD_OK, DrvWaitFor([&]() { return IsWindowVisible(strip) != 0; }, kTimeout));
    // While it runs it holds the suite's mutex.
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "__TVAGENT_UNINSTALL_MUTEX__");
    EXPECT_TRUE(mutex != NULL);
    if (mutex)
        CloseHandle(mutex);

    RECT rc;
    GetWindowRect(strip, &rc);
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(0, rc.top);
    EXPECT_EQ(320, rc.right - rc.left);
    EXPECT_EQ(18, rc.bottom - rc.top);
    LONG_PTR exStyle = GetWindowLongPtrA(strip, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_NE(GetForegroundWindow(), strip);

    // Painted: the icon at the left, dark blue text, white elsewhere.
    ASSERT_EQ(TVD_OK, DrvWaitFor(
                          [&]() {
                              return ScreenPixels().Count({20, 0, 320, 18}, RGB(0, 0, 204)) > 20;
                          },
                          3000));
    wintest::Pixels shot = ScreenPixels();
    EXPECT_GT(shot.Count({1, 1, 17, 17}, RGB(255, 255, 255)), 0);
    EXPECT_LT(shot.Count({1, 1, 17, 17}, RGB(255, 255, 255)), 16 * 16);
    EXPECT_EQ(0, shot.Count({1, 1, 17, 17}, RGB(0, 0, 204)));
    EXPECT_EQ(RGB(255, 255, 255), shot.At(315, 9));

    // The strip goes after the status time while the Wait still runs.
    DWORD shown = GetTickCount();
    EXPECT_EQ(TVD_OK, DrvWaitHidden(strip, kTimeout));
    EXPECT_TRUE(m_tvint->IsRunning());
    EXPECT_LT(GetTickCount() - shown, 2400u);
    EXPECT_EQ(0u, WaitExit());
}

// Lines that run back to back do not each repaint the strip, but wherever
// the run stops (a Wait, a question, the end) the strip shows the line it
// stopped at, exactly as after that line alone.
TEST_F(Tvint, AfterManyQuickLinesTheStripShowsTheLineTheRunStopsAt)
{
    m_settings.Interpreter("Show Status", 1);
    m_settings.Interpreter("Status Window", 20);
    std::vector<std::string> quick;
    for (int i = 0; i < 500; i++)
        quick.push_back("// quick line " + std::to_string(i));
    struct Case
    {
        const char* name;
        std::vector<std::string> tail;
        bool question;
    };
    const Case cases[] = {
        {"a Wait", {"// almost there", "Wait \"20000 ms\""}, false},
        {"a question", {"// before the question", "NoSuchAction"}, true},
        {"the end", {"// the very last line"}, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        auto stop = [&]() {
            if (c.question)
                Answer("Error", IDNO);
            else
                m_tvint->Kill();
            WaitExit();
        };
        auto painted = [&]() { return ScreenPixels().Count({20, 0, 320, 18}, RGB(0, 0, 204)) > 20; };

        // The strip after the stopping line alone.
        Start(c.tail);
        if (c.question)
        {
            ASSERT_EQ(TVD_OK, DrvWaitMessageBox("Error", m_tvint->Pid(), kTimeout, NULL));
        }
        ASSERT_EQ(TVD_OK, DrvWaitFor(painted, kTimeout));
        wintest::Pixels alone = ScreenPixels();
        stop();

        std::vector<std::string> lines = quick;
        lines.insert(lines.end(), c.tail.begin(), c.tail.end());
        Start(lines);
        if (c.question)
        {
            ASSERT_EQ(TVD_OK, DrvWaitMessageBox("Error", m_tvint->Pid(), kTimeout, NULL));
        }
        EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return ScreenPixels() == alone; }, kTimeout));
        stop();
    }
}

TEST_F(Tvint, WithShowStatusOffTheStripNeverShowsAndTheRunEndsAtOnce)
{
    std::string marker = m_dir.Path("quick.txt");
    Start({"Wait \"300 ms\"", MarkLine(marker)});
    HWND strip = MainWindow();
    ASSERT_TRUE(strip);
    bool everVisible = false;
    DWORD marked = 0;
    DrvWaitFor(
        [&]() {
            everVisible |= IsWindowVisible(strip) != 0;
            if (!marked && Exists(marker))
                marked = GetTickCount();
            return !m_tvint->IsRunning();
        },
        kTimeout, 5);
    DWORD ended = GetTickCount();
    EXPECT_FALSE(everVisible);
    EXPECT_EQ(0u, WaitExit());
    ASSERT_NE(0u, marked);
    EXPECT_LT(ended - marked, 1000u);

    // With the strip on, the program stays for the status time after the
    // last line.
    m_settings.Interpreter("Show Status", 1);
    m_settings.Interpreter("Status Window", 2);
    DeleteFileA(marker.c_str());
    Start({MarkLine(marker)});
    ASSERT_TRUE(WaitFile(marker));
    DWORD start = GetTickCount();
    EXPECT_EQ(0u, WaitExit());
    EXPECT_GE(GetTickCount() - start, 1800u);
}

// --- Confirmation before Shutdown and Restart -----------------------------------

// Without "Allow Assume" the question waits for the user; with it, it
// answers No by itself when its count-down ends. Either way the run goes on.
TEST_F(Tvint, TheShutdownQuestionWaitsAndTheRestartQuestionCountsDown)
{
    const struct
    {
        const char* line;
        const char* caption;
        std::vector<std::pair<const char*, DWORD>> settings;
        const char* countdown;
    } cases[] = {
        {"Shutdown",
         "Confirm Shutdown",
         {{"Confirm Shutdown", 1}, {"Allow Assume", 0}, {"Assume Timeout", 1}},
         ""},
        {"Restart",
         "Confirm Restart",
         {{"Confirm Restart", 1}, {"Assume Answer", 1}, {"Assume Timeout", 2}},
         "Assuming no in 2 seconds."},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.line);
        RegSettings settings;
        for (const auto& setting : c.settings)
            settings.Interpreter(setting.first, setting.second);
        std::string marker = m_dir.Path(std::string("after ") + c.line + ".txt");
        Start({c.line, MarkLine(marker)});
        HWND dialog = NULL;
        ASSERT_EQ(TVD_OK, DrvWaitWindow(DrvQuery("#32770", c.caption, TVD_MATCH_EXACT, m_tvint->Pid()),
                                        kTimeout, &dialog));
        char countdown[256] = "x";
        DrvGetText(GetDlgItem(dialog, 102), countdown, sizeof(countdown));
        EXPECT_STREQ(c.countdown, countdown);
        DWORD start = GetTickCount();
        if (*c.countdown)
        {
            EXPECT_EQ(TVD_OK, DrvWaitDestroyed(dialog, kTimeout));
            EXPECT_GE(GetTickCount() - start, 1000u);
        }
        else
        {
            // Well past the one second a count-down would have taken.
            EXPECT_EQ(TVD_TIMEOUT, DrvWaitDestroyed(dialog, 2000));
            ASSERT_TRUE(DrvPressButton(dialog, IDNO));
        }
        EXPECT_EQ(0u, WaitExit());
        EXPECT_TRUE(Exists(marker));
    }
}

// --- -check: findings without running anything -------------------------------

TEST_F(Tvint, CheckReportsFindingsByLineAndRunsNothing)
{
    std::string marker = m_dir.Path("must not run.txt");
    std::string missing = m_dir.Path("not there.exe");
    struct
    {
        std::vector<std::string> lines;
        DWORD code;
        std::vector<std::string> findings; // ":<line>: ..." parts, in order
    } cases[] = {
        {{MarkLine(marker), "Wait \"10 ms\""}, 0, {}},
        {{MarkLine(marker), "Launch " + Quote(missing)},
         1,
         {":2: warning: \"" + missing + "\" does not exist (yet)"}},
        {{"Lanch x", "", MarkLine(marker), "Wait soon", "Kill \"a"},
         2,
         // Numbered as the editor's list shows them: the blank line is no row.
         {":1: error: unknown action \"Lanch\"", ":3: error: the time to wait is not a number",
          ":4: error: unbalanced quote"}},
    };
    for (const auto& c : cases)
    {
        std::string file = WriteFile(c.lines);
        SCOPED_TRACE(file);
        m_tvint.reset(new CDrvProcess());
        ASSERT_TRUE(
            m_tvint->StartCaptured(Program("tvint.exe").c_str(), ("-check -file=" + Quote(file)).c_str()));
        EXPECT_EQ(c.code, WaitExit());
        std::string out = m_tvint->Output();
        size_t at = 0;
        for (const std::string& finding : c.findings)
        {
            at = out.find(file + finding, at);
            EXPECT_NE(std::string::npos, at) << finding << " in:\n" << out;
        }
        EXPECT_EQ(c.findings.size(), (size_t)std::count(out.begin(), out.end(), '\n')) << out;
        EXPECT_FALSE(Exists(marker));
    }

    // A path with an apostrophe in double quotes, -check after it (as a
    // shell verb puts it): checked, not run.
    std::string folder = m_dir.Path("O'Brien files");
    CreateDirectoryA(folder.c_str(), NULL);
    std::string quoted = folder + "\\a.launch";
    WriteLaunchFile(quoted, {MarkLine(marker)});
    m_tvint.reset(new CDrvProcess());
    ASSERT_TRUE(
        m_tvint->StartCaptured(Program("tvint.exe").c_str(), ("-file=" + Quote(quoted) + " -check").c_str()));
    EXPECT_EQ(0u, WaitExit());
    EXPECT_FALSE(Exists(marker));

    // No -file, with an output: said there, no box.
    m_tvint.reset(new CDrvProcess());
    ASSERT_TRUE(m_tvint->StartCaptured(Program("tvint.exe").c_str(), "-check"));
    EXPECT_EQ(2u, WaitExit());
    EXPECT_NE(std::string::npos, std::string(m_tvint->Output()).find("must be run with a -file parameter"));

    // Started without a console or an output handle, as the shell starts it:
    // the findings come in one box.
    std::string file = WriteFile({"Wait soon", "Launch " + Quote(missing)});
    m_tvint.reset(new CDrvProcess());
    ASSERT_TRUE(
        m_tvint->StartDetached(Program("tvint.exe").c_str(), ("-check -file=" + Quote(file)).c_str()));
    std::string text = Answer("Tarvin Interpretor", IDOK);
    EXPECT_NE(std::string::npos, text.find(file + ":1: error: the time to wait")) << text;
    EXPECT_NE(std::string::npos, text.find(file + ":2: warning: ")) << text;
    EXPECT_EQ(2u, WaitExit());
}
