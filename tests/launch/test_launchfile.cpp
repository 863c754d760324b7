#include "LaunchFile.h"
#include "strutils.h"
#include "testutil.h"

#include <vector>

namespace
{
std::string Param(const char* line, int n, int* result = nullptr)
{
    CLaunchAction action(line);
    char out[LAUNCH_LINE_SIZE];
    int r = action.GetParam(n, out, sizeof(out));
    if (result)
        *result = r;
    return out;
}

std::string Describe(const char* line)
{
    CLaunchAction action(line);
    char out[LAUNCH_DESCRIPTION_SIZE];
    action.GetDescription(out, sizeof(out));
    return out;
}

std::vector<std::string> Lines(CLaunchFile& file)
{
    std::vector<std::string> lines;
    for (int i = 0; i < file.GetCount(); i++)
        lines.push_back(file.GetAction(i)->GetString());
    return lines;
}
} // namespace

TEST(LaunchAction, KeywordsGiveActionCodes)
{
    struct
    {
        const char* line;
        int code;
        const char* name;
    } cases[] = {
        {"LAUNCH \"a.exe\"", LA_LAUNCH, "Launch"},
        {"  kill x", LA_KILL, "Kill"},
        {"//launch x", LA_COMMENT, "Comment"},
        {"// anything", LA_COMMENT, "Comment"},
        {"/ /x", LA_UNKNOWN, "Unknown"},
        {"launch\t\"a\"", LA_UNKNOWN, "Unknown"},
        {"Wait", LA_WAIT, "Wait"},
        {"ShowAll", LA_SHOWALL, "ShowAll"},
        {"show \"x\"", LA_SHOW, "Show"},
        {"screensaver", LA_SCREENSAVER, "Screensaver"},
        {"MESSAGE \"hi\"", LA_MESSAGE, "Message"},
        {"restart", LA_RESTART, "Restart"},
        {"exit", LA_EXIT, "Exit"},
        {"launcher x", LA_UNKNOWN, "Unknown"},
        {"", LA_UNKNOWN, "Unknown"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.line);
        CLaunchAction action(c.line);
        EXPECT_EQ(action.GetAction(), c.code);
        EXPECT_STREQ(action.GetActionName(), c.name);
    }
}

TEST(LaunchAction, ParametersFollowQuotesAndCommas)
{
    const char* line = "LAUNCH \"C:\\Program Files\\a.exe\",\"\",\"-x, -y\",maximized";
    EXPECT_EQ(Param(line, 1), "C:\\Program Files\\a.exe");
    int r = 0;
    EXPECT_EQ(Param(line, 2, &r), "");
    EXPECT_EQ(r, 1);
    EXPECT_EQ(Param(line, 3), "-x, -y");
    EXPECT_EQ(Param(line, 4), "maximized");
    EXPECT_EQ(Param(line, 5, &r), "");
    EXPECT_EQ(r, 0);

    EXPECT_EQ(Param("launch notepad.exe", 1), "notepad.exe");
    Param("launch notepad.exe", 2, &r);
    EXPECT_EQ(r, 0);

    // An unclosed quote makes every parameter missing.
    EXPECT_EQ(Param("Kill \"never closed", 1, &r), "");
    EXPECT_EQ(r, 0);

    Param("Wait", 1, &r);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Param("Wait \"250 ms\"", 1), "250 ms");
    EXPECT_EQ(Param("copy  a , \"b\"  ,  Overwrite ", 3), "Overwrite");
    EXPECT_EQ(Param("copy  a , \"b\"  ,  Overwrite ", 2), "b");
    // Inner quotes stay; only a leading quote strips the first and last byte.
    EXPECT_EQ(Param("message say \"hi\"", 1), "say \"hi\"");
    EXPECT_EQ(Param("message \"a\"b", 1), "a\"");
    EXPECT_EQ(Param("message \"\"", 1, &r), "");
    EXPECT_EQ(r, 1);

    CLaunchAction comment("// note, with comma");
    char out[LAUNCH_LINE_SIZE];
    EXPECT_EQ(comment.TrimCommand(out, sizeof(out)), 1);
    EXPECT_STREQ(out, "");
    CLaunchAction bare("showall");
    EXPECT_EQ(bare.TrimCommand(out, sizeof(out)), 0);
    CLaunchAction hide(" hide \"x\" ");
    EXPECT_EQ(hide.TrimCommand(out, sizeof(out)), 1);
    EXPECT_STREQ(out, " \"x\"");
}

TEST(LaunchAction, DescriptionsUseTheExactTexts)
{
    struct
    {
        const char* line;
        const char* text;
    } cases[] = {
        {"// hello", "// hello"},
        {"Launch \"a.exe\",\"C:\\\",\"-p\",Maximized", "\"a.exe -p\", Maximized"},
        {"Open \"doc.txt\",\"\",\"\",sideways", "\"doc.txt \", "},
        {"Print \"d\",\"\",\"\",minimized", "\"d \", Minimized"},
        {"Kill \"note\"", "Executables called \"note\""},
        {"Copy \"a\",\"b\",Overwrite", "\"a\" to \"b\", Overwrite"},
        {"Copy \"a\",\"b\",nooverwrite", "\"a\" to \"b\", Do not overwrite"},
        {"Copy \"a\",\"b\",AskOverwrite", "\"a\" to \"b\", Confirm overwrite"},
        {"Delete \"*.tmp\",Delete", "\"*.tmp\", Do not confirm"},
        {"Delete \"*.tmp\",AskDelete", "\"*.tmp\", Confirm delete"},
        {"Move \"a\",\"b\",AskMove", "\"a\" to \"b\", Confirm move, Do not confirm overwrite"},
        {"Move \"a\",\"b\",AskMoveOverwrite", "\"a\" to \"b\", Confirm move, Confirm overwrite"},
        {"Move \"a\",\"b\",AskNone", "\"a\" to \"b\", Do not confirm move, Do not confirm overwrite"},
        {"Move \"a\",\"b\",NoOverwrite", "\"a\" to \"b\", Do not confirm move, Do not overwrite"},
        {"Move \"a\",\"b\",AskOverwrite", "\"a\" to \"b\", Do not confirm move, Confirm overwrite"},
        {"Hide \"Untitled\"", "Windows named \"Untitled\""},
        {"Destroy \"x\"", "Windows named \"x\""},
        {"ShowAll", "Show all hidden windows"},
        {"Screensaver", "Start the screen saver"},
        {"Wait \"250 ms\"", "Wait for 250 ms"},
        {"Shutdown", "Shut down my computer"},
        {"Restart", "Restart my computer"},
        {"Exit", "Exit the Tarvin Agent"},
        {"Message \"Hello, world\"", "\"Hello, world\""},
        {"frobnicate now", "Unrecognized action: \"frobnicate now\""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(Describe(c.line), c.text);
    }
}

TEST(LaunchAction, LongLinesAreCutAndDescriptionsBounded)
{
    std::string huge(3000, 'h');
    CLaunchAction action(("Move \"" + huge + "\",\"" + huge + "\",AskMove").c_str());
    EXPECT_EQ(strlen(action.GetString()), 1035u);
    char small[40];
    memset(small, '#', sizeof(small));
    action.GetDescription(small, 32);
    EXPECT_EQ(strlen(small), 31u);
    EXPECT_EQ(small[32], '#');

    // The editor's fields hold 259 characters: a parameter and the command
    // text are cut to the buffer they are given, and nothing past it is
    // written.
    std::string wide(400, 'w');
    CLaunchAction copy(("Copy \"" + huge.substr(0, 400) + "\",\"" + wide + "\",Overwrite").c_str());
    char field[260 + 8];
    memset(field, '#', sizeof(field));
    EXPECT_EQ(1, copy.GetParam(2, field, 260));
    EXPECT_EQ(std::string(259, 'w'), field);
    EXPECT_EQ(std::string(8, '#'), std::string(field + 260, 8));
    memset(field, '#', sizeof(field));
    EXPECT_EQ(1, copy.TrimCommand(field, 260));
    EXPECT_EQ(" \"" + huge.substr(0, 257), field);
    EXPECT_EQ(std::string(8, '#'), std::string(field + 260, 8));
    memset(field, '#', sizeof(field));
    EXPECT_EQ(0, copy.GetParam(9, field, 1));
    EXPECT_EQ('\0', field[0]);
    EXPECT_EQ('#', field[1]);
}

TEST(LaunchFile, LoadTrimsAndSaveRoundTrips)
{
    ScratchDir dir;
    std::string path = dir.Path("a.launch");
    WriteBytes(path, "  Launch \"notepad.exe\"  \r\n\r\n \t \n// note\rWait \"100 ms\"\n\nbogus line");
    CLaunchFile file;
    ASSERT_EQ(file.Load(path.c_str()), 1);
    std::vector<std::string> expected = {"Launch \"notepad.exe\"", "// note", "Wait \"100 ms\"",
                                         "bogus line"};
    EXPECT_EQ(Lines(file), expected);

    std::string saved = dir.Path("b.launch");
    ASSERT_EQ(file.Save(saved.c_str()), 0);
    EXPECT_EQ(ReadBytes(saved), "Launch \"notepad.exe\"\r\n// note\r\nWait \"100 ms\"\r\nbogus line\r\n");
    CLaunchFile again;
    ASSERT_EQ(again.Load(saved.c_str()), 1);
    EXPECT_EQ(Lines(again), expected);

    // An empty model saves an empty file, which loads as an empty model.
    CLaunchFile empty;
    ASSERT_EQ(empty.Save(saved.c_str()), 0);
    EXPECT_EQ(ReadBytes(saved), "");
    EXPECT_EQ(again.Load(saved.c_str()), 1);
    EXPECT_EQ(again.GetCount(), 0);
}

TEST(LaunchFile, ReportsErrorsAndKeepsWhatWasRead)
{
    ScratchDir dir;
    CLaunchFile file;
    EXPECT_EQ(file.Load(dir.Path("missing.launch").c_str()), 0);
    EXPECT_EQ(file.GetLastError(), 2);

    std::string path = dir.Path("long.launch");
    WriteBytes(path, "Exit\r\n" + std::string(1035, 'x') + "\r\nShowAll\r\n");
    EXPECT_EQ(file.Load(path.c_str()), 0);
    EXPECT_EQ(file.GetLastError(), 301);
    EXPECT_EQ(Lines(file), std::vector<std::string>{"Exit"});

    // A save that cannot be written says so and leaves the old file alone.
    std::string bad = (dir.Root() / "missing folder" / "x.launch").string();
    EXPECT_EQ(file.Save(bad.c_str()), 2);
    EXPECT_EQ(file.GetLastError(), 2);
}

TEST(LaunchFile, EditsKeepOrder)
{
    CLaunchFile file;
    for (const char* s : {"a", "b", "c"})
        file.AppendAction(s);
    EXPECT_EQ(file.MoveAction(0, 2), 1);
    EXPECT_EQ(Lines(file), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(file.MoveAction(2, 0), 1);
    EXPECT_EQ(Lines(file), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(file.MoveAction(1, 3), 0);
    EXPECT_EQ(file.MoveAction(3, 1), 0);

    EXPECT_EQ(file.DeleteAction(2), 1);
    EXPECT_EQ(file.DeleteAction(2), 0);
    EXPECT_EQ(file.InsertAction("x", 99), 1);
    EXPECT_EQ(Lines(file), (std::vector<std::string>{"a", "b", "x"}));
    EXPECT_EQ(file.InsertAction("first", 0), 1);
    EXPECT_EQ(file.InsertAction("mid", 2), 1);
    EXPECT_EQ(Lines(file), (std::vector<std::string>{"first", "a", "mid", "b", "x"}));
    file.Clear();
    EXPECT_EQ(file.GetCount(), 0);
    file.AppendAction("after clear");
    EXPECT_EQ(Lines(file), std::vector<std::string>{"after clear"});
}
