#include "LaunchCheck.h"
#include "LaunchFile.h"
#include "testutil.h"

#include <set>
#include <string>
#include <vector>

namespace
{
struct Findings
{
    std::vector<std::string> lines; // "<line> E|W <message>"
    std::set<std::string> existing;
};

void Record(int line, bool error, const char* message, void* ctx)
{
    static_cast<Findings*>(ctx)->lines.push_back(std::to_string(line) + (error ? " E " : " W ") + message);
}

bool Exists(const char* path, void* ctx)
{
    return static_cast<Findings*>(ctx)->existing.count(path) != 0;
}

LaunchCheckHooks Hooks(Findings& f)
{
    return {Exists, Record, &f};
}
} // namespace

TEST(LaunchCheck, FindsWhatWouldFailOrBeIgnoredAndNothingElse)
{
    struct
    {
        const char* line;
        int level;
        const char* finding; // part of the one message expected, or null for none
    } cases[] = {
        // What the editor writes is clean.
        {"Launch \"C:\\app.exe\",\"C:\\\",\"-x, -y\",Maximized", LCHECK_CLEAN, nullptr},
        {"Copy \"C:\\in\\*.txt\",\"C:\\out\",NoOverwrite", LCHECK_CLEAN, nullptr},
        {"move \"C:\\in\\a.txt\" , \"C:\\out\" , askmove", LCHECK_CLEAN, nullptr},
        {"Delete \"C:\\in\\*.tmp\",Delete", LCHECK_CLEAN, nullptr},
        {"Wait \"250 ms\"", LCHECK_CLEAN, nullptr},
        {"Message \"Done, all of it\"", LCHECK_CLEAN, nullptr},
        {"// anything \" at all,,,", LCHECK_CLEAN, nullptr},
        {"ShowAll", LCHECK_CLEAN, nullptr},
        {"launch notepad.exe", LCHECK_CLEAN, nullptr},            // found on the path at run time
        {"Open \"http://example.org/a\"", LCHECK_CLEAN, nullptr}, // an address
        // Errors.
        {"Lanch \"C:\\app.exe\"", LCHECK_ERRORS, "unknown action \"Lanch\""},
        {"Launch\t\"C:\\app.exe\"", LCHECK_ERRORS, "unknown action"},
        {"/ / not a comment", LCHECK_ERRORS, "unknown action \"/\""},
        {"Kill \"notepad.exe", LCHECK_ERRORS, "unbalanced quote"},
        {"Wait", LCHECK_ERRORS, "Wait needs its first parameter"},
        {"Wait \"soon\"", LCHECK_ERRORS, "not a number of milliseconds: \"soon\""},
        {"Copy \"C:\\app.exe\"", LCHECK_ERRORS, "Copy needs its second parameter"},
        {"Hide \"\"", LCHECK_ERRORS, "Hide needs its first parameter"},
        {"Copy \"C:\\app.exe\",\"C:\\out\",Overwrit", LCHECK_ERRORS, "\"Overwrit\" is not an option of Copy"},
        {"Launch \"C:\\app.exe\",,,Hidden", LCHECK_ERRORS, "\"Hidden\" is not an option of Launch"},
        {"Message Hello, world", LCHECK_ERRORS, "Message takes at most 1 parameter"},
        {"Exit now", LCHECK_ERRORS, "Exit takes no parameters"},
        // Targets not there now: warnings.
        {"Launch \"C:\\missing.exe\"", LCHECK_WARNINGS, "\"C:\\missing.exe\" does not exist (yet)"},
        {"Delete \"C:\\in\\*.bak\",Delete", LCHECK_WARNINGS, "does not exist"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.line);
        Findings f;
        f.existing = {"C:\\app.exe", "C:\\in\\*.txt", "C:\\in\\a.txt", "C:\\in\\*.tmp"};
        EXPECT_EQ(c.level, CheckLaunchLine(c.line, 7, Hooks(f)));
        if (!c.finding)
        {
            EXPECT_TRUE(f.lines.empty()) << f.lines[0];
            continue;
        }
        ASSERT_EQ(1u, f.lines.size());
        EXPECT_EQ(0u, f.lines[0].find(c.level == LCHECK_ERRORS ? "7 E " : "7 W ")) << f.lines[0];
        EXPECT_NE(std::string::npos, f.lines[0].find(c.finding)) << f.lines[0];
    }
}

TEST(LaunchCheck, NumbersLinesAsAnEditorDoesAndReportsTheWorst)
{
    ScratchDir dir;
    std::string path = dir.Path("a.launch");
    std::string longLine = "Message \"" + std::string(1100, 'x') + "\"";
    // CR LF, LF and a lone CR each end one line; blank lines and lines of
    // spaces are no rows of the editor's list and are not counted.
    WriteBytes(path, "// first\r\n\r\n \t\nBogus\nWait \"1 ms\"\rLaunch \"C:\\nope.exe\"\r\n\n\n" + longLine +
                         "\r\nExit");
    Findings f;
    EXPECT_EQ(LCHECK_ERRORS, CheckLaunchFile(path.c_str(), Hooks(f)));
    ASSERT_EQ(3u, f.lines.size());
    EXPECT_EQ("2 E unknown action \"Bogus\"", f.lines[0]);
    EXPECT_EQ(0u, f.lines[1].find("4 W ")) << f.lines[1];
    EXPECT_EQ("5 E the line is too long for the interpreter (at most 1034 characters)", f.lines[2]);

    // The checker refuses exactly the lines the interpreter's loader refuses.
    struct Length
    {
        size_t characters;
        const char* end;
    };
    for (const Length& c :
         {Length{1034, "\r\n"}, Length{1035, "\r\n"}, Length{1035, "\n"}, Length{1035, ""}, Length{1036, ""}})
    {
        SCOPED_TRACE(std::to_string(c.characters) + (c.end[0] ? " with a break" : " at the end"));
        WriteBytes(path, "// " + std::string(c.characters - 3, 'x') + c.end);
        CLaunchFile file;
        f.lines.clear();
        EXPECT_EQ(file.Load(path.c_str()) == 1, CheckLaunchFile(path.c_str(), Hooks(f)) == LCHECK_CLEAN);
    }

    WriteBytes(path, "Launch \"C:\\nope.exe\"");
    f.lines.clear();
    EXPECT_EQ(LCHECK_WARNINGS, CheckLaunchFile(path.c_str(), Hooks(f)));
    f.lines.clear();
    EXPECT_EQ(LCHECK_ERRORS, CheckLaunchFile(dir.Path("none.launch").c_str(), Hooks(f)));
    EXPECT_EQ("0 E the file cannot be opened", f.lines.at(0));
}
