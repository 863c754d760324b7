#include "LaunchFile.h"
#include "LaunchLine.h"
#include "strutils.h"
#include "testutil.h"

#include <string>

namespace
{
std::string Build(int action, std::initializer_list<const char*> values, bool* ok = nullptr)
{
    const char* v[4] = {};
    int n = 0;
    for (const char* value : values)
        v[n++] = value;
    char out[LAUNCH_LINE_SIZE];
    bool result = BuildLaunchLine(action, v, n, out, sizeof(out));
    if (ok)
        *ok = result;
    return out;
}
} // namespace

// Every line the editor writes reads back as the same action with the same
// values.
TEST(LaunchLine, WrittenLinesReadBackAsTheirValues)
{
    struct
    {
        int action;
        std::initializer_list<const char*> values;
        const char* line;
    } cases[] = {
        {LA_LAUNCH,
         {"C:\\a b\\x.exe", "C:\\a b\\", "-p, q", "Maximized"},
         "Launch \"C:\\a b\\x.exe\",\"C:\\a b\\\",\"-p, q\",Maximized"},
        {LA_OPEN, {"http://x/?a=1,2", "", "", "Normal"}, "Open \"http://x/?a=1,2\",\"\",\"\",Normal"},
        {LA_PRINT, {"d.txt"}, "Print \"d.txt\",\"\",\"\","},
        {LA_COPY, {"C:\\s\\*.*", "D:\\", "NoOverwrite"}, "Copy \"C:\\s\\*.*\",\"D:\\\",NoOverwrite"},
        {LA_MOVE, {"a", "b", "AskNone"}, "Move \"a\",\"b\",AskNone"},
        {LA_DELETE, {"C:\\t\\*.tmp", "AskDelete"}, "Delete \"C:\\t\\*.tmp\",AskDelete"},
        {LA_KILL, {"note"}, "Kill \"note\""},
        {LA_HIDE, {"Untitled - Notepad"}, "Hide \"Untitled - Notepad\""},
        {LA_MESSAGE, {"Backup done, 'all' of it"}, "Message \"Backup done, 'all' of it\""},
        {LA_WAIT, {"250"}, "Wait \"250 ms\""},
        {LA_SHOWALL, {}, "ShowAll"},
        {LA_EXIT, {}, "Exit"},
        {LA_COMMENT, {"hello"}, "//hello"},
        {LA_UNKNOWN, {"frobnicate \"x\", y"}, "frobnicate \"x\", y"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.line);
        bool ok = false;
        EXPECT_EQ(Build(c.action, c.values, &ok), c.line);
        EXPECT_TRUE(ok);
        CLaunchAction read(c.line);
        EXPECT_EQ(read.GetAction(), c.action);
        if (c.action <= LA_COMMENT || c.action == LA_WAIT)
            continue;
        int n = 1;
        for (const char* value : c.values)
        {
            char out[LAUNCH_LINE_SIZE];
            read.GetParam(n++, out, sizeof(out));
            EXPECT_STREQ(out, value);
        }
    }
    CLaunchAction wait(Build(LA_WAIT, {"250"}).c_str());
    char ms[32];
    wait.GetParam(1, ms, sizeof(ms));
    EXPECT_EQ(StrToInt(ms), 250);
}

// A value the file cannot keep is refused, never written cut or split.
TEST(LaunchLine, RefusesWhatALineCannotKeep)
{
    std::string longValue(1030, 'x');
    struct
    {
        int action;
        std::initializer_list<const char*> values;
    } cases[] = {
        {LA_MESSAGE, {"say \"hi\""}},      {LA_LAUNCH, {"a\"b.exe"}}, {LA_COMMENT, {"two\r\nlines"}},
        {LA_MESSAGE, {"line\nbreak"}},     {LA_WAIT, {"12x"}},        {LA_WAIT, {""}},
        {LA_MESSAGE, {longValue.c_str()}}, {LA_UNKNOWN + 100, {"x"}},
    };
    for (const auto& c : cases)
    {
        bool ok = true;
        EXPECT_EQ(Build(c.action, c.values, &ok), "");
        EXPECT_FALSE(ok);
    }
    char small[8];
    const char* v[] = {"abcdef"};
    EXPECT_FALSE(BuildLaunchLine(LA_KILL, v, 1, small, sizeof(small)));
    EXPECT_STREQ(small, "");
    // A comment may hold quotes of its own: nothing is quoted around it.
    EXPECT_EQ(Build(LA_COMMENT, {" say \"hi\""}), "// say \"hi\"");
}

TEST(LaunchLine, WindowStateWords)
{
    for (int state = 1; state <= 3; state++)
        EXPECT_EQ(WindowStateFromWord(WindowStateWord(state)), state);
    EXPECT_STREQ(WindowStateWord(7), "Normal");
    EXPECT_EQ(WindowStateFromWord("MAXIMIZED"), 3);
    EXPECT_EQ(WindowStateFromWord("hidden"), 1);
}
