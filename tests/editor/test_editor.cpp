// The launch file editor's portable logic: the wizard's lines and summary,
// and the undo and redo histories.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "UndoItem.h"
#include "strutils.h"
#include "wizardLines.h"

namespace
{

// The file's lines, one letter each.
struct Letters : CUndoTarget
{
    std::string s = "abcd";
    void Apply(unsigned kind, int index, int to, const char* text) override
    {
        std::string line = kind == UNDO_MOVE ? s.substr((size_t)index, 1) : text;
        if (kind != UNDO_INSERT)
            s.erase((size_t)index, 1);
        if (kind != UNDO_DELETE)
            s.insert((size_t)(kind == UNDO_MOVE ? to : index), line);
    }
};

} // namespace

// Files are opened and programs launched, web pages opened in the browser or
// launched themselves, backups moved without waits; an item that cannot be
// quoted makes no lines at all.
TEST(EditorWizard, LinesAndSummaryOfEachBranch)
{
    struct
    {
        int branch;
        bool move;
        std::vector<tagWIZARD_ITEM> items;
        tagWIZARD_PREFS prefs; // insert delay, insert comments, window state
        const char *browser, *lines, *summary;
    } cases[] = {
        // clang-format off
        {EWIZ_BRANCH_FILES, false, {{"C:\\Bob's\\a b.txt"}, {"C:\\x.EXE"}}, {true, false, 2}, "",
         "Open \"C:\\Bob's\\a b.txt\",\"C:\\Bob's\\\",\"\",Minimized|Wait \"500 ms\"|"
         "Launch \"C:\\x.EXE\",\"C:\\\",\"\",Minimized|",
         "You have selected to open 2 files or applications with a delay of 500 milliseconds between each."},
        {EWIZ_BRANCH_WEB, false, {{"http://a/"}, {"http://b/"}}, {false, true, 1}, "C:\\web.exe",
         "//The following actions were added by the Open Web Pages Wizard|Launch \"C:\\web.exe\",\"\",\"http://a/\","
         "Normal|Launch \"C:\\web.exe\",\"\",\"http://b/\",Normal|//End of actions added by the Open Web Pages Wizard|",
         "You have selected to open 2 webpages."},
        {EWIZ_BRANCH_WEB, false, {{"http://a/"}}, {true, false, 3}, "", "Launch \"http://a/\",\"\",\"\",Maximized|",
         "You have selected to open a single webpage."},
        {EWIZ_BRANCH_BACKUP, true, {{"C:\\a b"}, {"C:\\c"}}, {true, false, 1}, "",
         "Move \"C:\\a b\",\"D:\\\",AskMoveOverwrite|Move \"C:\\c\",\"D:\\\",AskMoveOverwrite|",
         "You have selected to move 2 files to D:\\."},
        {EWIZ_BRANCH_BACKUP, false, {{"C:\\a b"}}, {true, true, 1}, "",
         "//The following actions were added by the Backup Files Wizard|Copy \"C:\\a b\",\"D:\\\",AskOverwrite|"
         "//End of actions added by the Backup Files Wizard|", "You have selected to copy C:\\a b to D:\\."},
        {EWIZ_BRANCH_FILES, false, {{"C:\\a\"b"}}, {true, false, 1}, "", "", "You have selected to open a single file or application."},
        // clang-format on
    };
    for (auto& c : cases)
    {
        WizardChoices data;
        data.branch = c.branch;
        data.backupMove = c.move;
        StrCopy(data.destination, "D:\\");
        for (tagWIZARD_ITEM& item : c.items)
            data.items.Add(&item, false);
        std::string lines;
        auto sink = [](void* out, const char* line) {
            return ((std::string*)out)->append(line).append("|"), true;
        };
        int n = BuildWizardLines(data, c.prefs, c.browser, sink, &lines);
        EXPECT_EQ(c.lines, lines);
        EXPECT_EQ(lines.empty() ? -1 : (int)std::count(lines.begin(), lines.end(), '|'), n) << c.summary;
        char summary[256];
        WizardSummary(data, c.prefs, summary, sizeof(summary));
        EXPECT_STREQ(c.summary, summary);
    }
}

// Undo applies a step's opposite and redo the step, a whole group at a time;
// a new step drops what could be redone.
TEST(EditorUndo, UndoAndRedoTakeWholeGroups)
{
    Letters file;
    CPtrList<CUndoItem> undo, redo;
    auto record = [&](unsigned kind, const char* from, unsigned at, const char* to, unsigned toAt,
                      unsigned group) {
        CUndoItem step(kind, from, at, to, toAt);
        step.m_nGroup = group;
        ApplyUndoStep(file, *AddUndoStep(undo, redo, step), false);
    };
    record(UNDO_MOVE, "a", 0, nullptr, 2, 0);
    record(UNDO_DELETE, "b", 0, nullptr, 0, 1);
    record(UNDO_DELETE, "a", 1, nullptr, 0, 1);
    record(UNDO_INSERT, "x", 2, nullptr, 0, 2);
    record(UNDO_CHANGE, "c", 0, "C", 0, 2);
    // "-" undo, "+" redo, and the lines after it
    for (const char* step : {"-cd", "-bcad", "+cd", "+Cdx", "-cd", "-bcad", "-abcd", "-abcd", "+bcad"})
    {
        TransferUndoSteps(step[0] == '-' ? undo : redo, step[0] == '-' ? redo : undo, step[0] == '-', file);
        EXPECT_EQ(step + 1, file.s);
    }
    record(UNDO_INSERT, "y", 0, nullptr, 0, 0);
    EXPECT_EQ(0, TransferUndoSteps(redo, undo, false, file));
}
