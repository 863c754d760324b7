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

} // namespace

// --- Command line, file errors, exit codes ------------------------------------

// --- Registration -------------------------------------------------------------

// --- Status strip ---------------------------------------------------------------

// --- Confirmation before Shutdown and Restart -----------------------------------

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
