// Several lines at once (selection, moves, switching lines off) and the
// recent-file list: the editors' logic without their windows.
#include "LaunchCheck.h"
#include "LaunchFile.h"
#include "LineBlock.h"
#include "recentfiles.h"
#include "testutil.h"

#include <map>
#include <string>
#include <vector>

namespace
{
// The rows "abcdef..." after the moves, applied as the model applies them.
std::string Apply(std::string rows, const LineMove* moves, int n)
{
    for (int i = 0; i < n; i++)
    {
        char c = rows[(size_t)moves[i].from];
        rows.erase((size_t)moves[i].from, 1);
        rows.insert((size_t)moves[i].to, 1, c);
    }
    return rows;
}
} // namespace

TEST(LineBlock, SelectionBecomesSortedRowsAndRanges)
{
    int rows[] = {6, 2, 1, 9, 3, 2, -1};
    int n = NormalizeSelection(rows, 7, 8);
    ASSERT_EQ(4, n);
    char text[64];
    FormatLineRanges(rows, n, text, sizeof(text));
    EXPECT_STREQ("2-4, 7", text);
    EXPECT_EQ(0, NormalizeSelection(rows, 0, 8));
    std::vector<int> last = {5, 6}; // a range that ends the selection
    FormatLineRanges(last.data(), 2, text, sizeof(text));
    EXPECT_STREQ("6-7", text);
}

TEST(LineBlock, MovesPutTheSelectedRowsInPlace)
{
    struct
    {
        std::vector<int> rows;
        int shift; // -1 up, +1 down, 0: drop before `before`
        int before;
        const char* result;
        int first; // where the dropped block starts
    } cases[] = {
        {{1, 2}, -1, 0, "bcadef", 0}, {{1, 3}, -1, 0, "badcef", 0}, {{0, 3}, -1, 0, "abcdef", 0},
        {{1, 3}, +1, 0, "acbedf", 0}, {{4, 5}, +1, 0, "abcdef", 0}, {{0, 1}, 0, 4, "cdabef", 2},
        {{1, 4}, 0, 3, "acbedf", 2},  {{4, 5}, 0, 0, "efabcd", 0},  {{0, 2}, 0, 6, "bdefac", 4},
        {{2, 3}, 0, 3, "abcdef", 2},  {{0, 5}, 0, 2, "bafcde", 1},
    };
    for (auto& c : cases)
    {
        LineMove moves[8];
        int first = 0;
        int n = c.shift ? PlanShift(c.rows.data(), (int)c.rows.size(), 6, c.shift < 0, moves)
                        : PlanDrop(c.rows.data(), (int)c.rows.size(), 6, c.before, moves, &first);
        EXPECT_EQ(c.result, Apply("abcdef", moves, n)) << c.rows[0] << "," << c.rows[1] << " " << c.before;
        if (!c.shift)
        {
            EXPECT_EQ(c.first, first);
        }
    }
}

TEST(LineBlock, DisabledLinesAreCommentsThatComeBackExactly)
{
    const char* lines[] = {"Launch \"C:\\a b\\x.exe\",\"\",\"-q\",Normal", "//a note", "Wait \"5 ms\"",
                           "bogus  line"};
    for (const char* line : lines)
    {
        char off[LAUNCH_LINE_SIZE], on[LAUNCH_LINE_SIZE];
        ASSERT_TRUE(DisableLine(line, off, sizeof(off))) << line;
        EXPECT_TRUE(IsDisabledLine(off));
        EXPECT_FALSE(DisableLine(off, on, sizeof(on))) << "disabled twice";
        EXPECT_EQ(LA_COMMENT, CLaunchAction(off).GetAction()) << off;
        LaunchCheckHooks hooks = {nullptr, nullptr, nullptr};
        EXPECT_EQ(LCHECK_CLEAN, CheckLaunchLine(off, 1, hooks)) << off;
        EXPECT_FALSE(EnableLine(off, on, 4)) << "no room";
        ASSERT_TRUE(EnableLine(off, on, sizeof(on)));
        EXPECT_STREQ(line, on);
    }
    // Hand-written comments, even ones that look alike, are not disabled lines.
    for (const char* comment : {"//disabled Launch", "// [disabled] x", "//[Disabled] x", "//[disabled]x"})
    {
        char on[LAUNCH_LINE_SIZE];
        EXPECT_FALSE(IsDisabledLine(comment)) << comment;
        EXPECT_FALSE(EnableLine(comment, on, sizeof(on))) << comment;
    }
    // A line that would not fit a launch line once marked stays as it is.
    std::string longLine = "Message \"" + std::string(1020, 'x') + "\"";
    char off[LAUNCH_LINE_SIZE + 64];
    EXPECT_FALSE(DisableLine(longLine.c_str(), off, sizeof(off)));
}

TEST(RecentFiles, KeepsTheLastFourNewestFirst)
{
    CRecentFiles recent;
    for (const char* p :
         {"C:\\a.launch", "C:\\b.launch", "C:\\c.launch", "C:\\A.LAUNCH", "C:\\d.launch", "C:\\e.launch", ""})
        recent.Add(p);
    const char* expected[] = {"C:\\e.launch", "C:\\d.launch", "C:\\A.LAUNCH", "C:\\c.launch"};
    ASSERT_EQ(4, recent.GetCount());
    for (int i = 0; i < 4; i++)
        EXPECT_STREQ(expected[i], recent.Get(i));
    EXPECT_TRUE(recent.Remove("c:\\d.launch"));
    EXPECT_FALSE(recent.Remove("C:\\zz.launch"));

    // Stored as named values: three paths and an empty fourth, read back the same.
    std::map<std::string, std::string> values;
    recent.Save([](const char* name, const char* text, void* ctx) { (*(decltype(values)*)ctx)[name] = text; },
                &values);
    EXPECT_EQ("C:\\A.LAUNCH", values["Recent File 2"]);
    EXPECT_EQ("", values["Recent File 4"]);
    CRecentFiles loaded;
    loaded.Add("C:\\old.launch");
    loaded.Load(
        [](const char* name, char* buf, size_t size, void* ctx) {
            auto& v = *(decltype(values)*)ctx;
            if (!v.count(name))
                return false;
            snprintf(buf, size, "%s", v[name].c_str());
            return true;
        },
        &values);
    ASSERT_EQ(3, loaded.GetCount());
    EXPECT_STREQ("C:\\e.launch", loaded.Get(0));
    EXPECT_STREQ("C:\\c.launch", loaded.Get(2));
}
