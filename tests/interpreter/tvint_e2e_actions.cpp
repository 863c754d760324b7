// tvint.exe end to end, the actions it carries out itself: real files copied,
// moved and deleted with each option, real programs and documents started in
// their window states, killed, closed and destroyed, and the Wait timing.
#include <windows.h>
#include <algorithm>
#include <string>
#include <vector>

#include "tvint_e2e.h"

using namespace tvint_test;

namespace
{
class Actions : public Interpreter
{
};

// A line that copies src\m.txt to the given name when it runs.
std::string Mark(const std::string& name)
{
    return "Copy \"{dir}\\src\\m.txt\",\"{dir}\\" + name + "\",Overwrite";
}
} // namespace

// Launch lines and the user's answers -> the files, the questions asked and
// the exit code. The shell asks only about a file that is there already; a
// failed copy, delete, launch or unknown line asks whether to go on, and the
// answer decides whether the next line runs.
TEST_F(Actions, LaunchLinesGiveTheirFilesQuestionsAndExitCode)
{
    const std::string askMove = "Are you sure you want to copy source the file(s)\n    {dir}\\src\\a.txt\n"
                                "to the destination\n    {dir}\\dst";
    const Scenario rows[] = {
        Row("NoOverwrite never replaces",
            "src\\a.txt=new a|src\\b.txt=new b|src\\c.dat=not a text|dst\\a.txt=old a",
            {"Copy \"{dir}\\src\\*.txt\",\"{dir}\\dst\",NoOverwrite"}, {}, 0,
            "#dst=3|dst\\a.txt=old a|dst\\a (2).txt=new a|dst\\b.txt=new b"),
        Row("NoOverwrite again gives each another copy",
            "src\\a.txt=new a|src\\b.txt=new b|dst\\a.txt=old a|dst\\a (2).txt=new a|dst\\b.txt=new b",
            {"copy \"{dir}\\src\\*.txt\" , \"{dir}\\dst\" , nooverwrite"}, {}, 0,
            "#dst=5|dst\\a.txt=old a|dst\\b.txt=new b"),
        Row("Overwrite replaces", "src\\a.txt=newer a|src\\c.dat=c|dst\\a.txt=old a",
            {"Copy \"{dir}\\src\\a.txt\",\"{dir}\\dst\",Overwrite"}, {}, 0, "dst\\a.txt=newer a|-dst\\c.dat"),
        Row("AskOverwrite, no", "src\\fresh.txt=fresh|src\\a.txt=new a|dst\\a.txt=old a",
            {"Copy \"{dir}\\src\\fresh.txt\",\"{dir}\\dst\",AskOverwrite",
             "Copy \"{dir}\\src\\a.txt\",\"{dir}\\dst\",AskOverwrite"},
            {{"Confirm file overwrite", IDNO, "*"}}, 0, "dst\\fresh.txt=fresh|dst\\a.txt=old a"),
        Row("AskOverwrite, yes", "src\\a.txt=new a|dst\\a.txt=old a",
            {"Copy \"{dir}\\src\\a.txt\",\"{dir}\\dst\",AskOverwrite"},
            {{"Confirm file overwrite", IDYES, "*"}}, 0, "dst\\a.txt=new a"),
        Row("failed copy, go on", "src\\m.txt=m|dst\\",
            {"Copy \"{dir}\\src\\missing.txt\",\"{dir}\\dst\",Overwrite", Mark("after.txt")},
            {{NULL, IDYES, ContinueQuestion("Error Copying {dir}\\src\\missing.txt to {dir}\\dst")}}, 0,
            "after.txt=m"),
        Row("failed delete, stop", "src\\m.txt=m",
            {"Delete \"{dir}\\src\\missing.txt\",Delete", Mark("after.txt")},
            {{NULL, IDNO, ContinueQuestion("Error Deleting {dir}\\src\\missing.txt")}}, 1, "-after.txt"),
        Row("failed launch, go on", "src\\m.txt=m",
            {"Launch \"C:\\no such folder\\missing.exe\",\"\",\"\",Normal", Mark("after.txt")},
            {{NULL, IDYES, ContinueQuestion("Error Launching missing.exe")}}, 0, "after.txt=m"),
        Row("failed open, stop", "src\\m.txt=m", {"Open \"{dir}\\missing.tvinte2e\"", Mark("after.txt")},
            {{NULL, IDNO, ContinueQuestion("Error Opening missing.tvinte2e")}}, 1, "-after.txt"),
        Row("failed print, go on", "src\\m.txt=m", {"Print \"{dir}\\missing.tvinte2e\"", Mark("after.txt")},
            {{NULL, IDYES, ContinueQuestion("Error Printing missing.tvinte2e")}}, 0, "after.txt=m"),
        Row("unknown line, stop", "src\\m.txt=m", {"// first", "Frobnicate \"x\"", Mark("after.txt")},
            {{"Error", IDNO, ContinueQuestion("Unrecognized Command: Line: \"1\"")}}, 1, "-after.txt"),
        Row("Move AskNone overwrites", "src\\a.txt=moved a|dst\\a.txt=old a",
            {"Move \"{dir}\\src\\a.txt\",\"{dir}\\dst\",AskNone"}, {}, 0,
            "-src\\a.txt|#dst=1|dst\\a.txt=moved a"),
        Row("Move NoOverwrite keeps the target", "src\\a.txt=second a|dst\\a.txt=moved a",
            {"Move \"{dir}\\src\\a.txt\",\"{dir}\\dst\",NoOverwrite"}, {}, 0,
            "-src\\a.txt|#dst=2|dst\\a.txt=moved a|dst\\a (2).txt=second a"),
        Row("AskMove, no", "src\\a.txt=a|dst\\",
            {"Move \"{dir}\\src\\a.txt\",\"{dir}\\dst\",AskMove", "Wait \"10 ms\""},
            {{"Tarvin - Confirm", IDNO, askMove},
             {NULL, IDNO, ContinueQuestion("Error Moving {dir}\\src\\a.txt to {dir}\\dst")}},
            1, "src\\a.txt=a|#dst=0"),
        Row("AskMove, yes", "src\\a.txt=a|dst\\", {"Move \"{dir}\\src\\a.txt\",\"{dir}\\dst\",AskMove"},
            {{"Tarvin - Confirm", IDYES, askMove}}, 0, "-src\\a.txt|#dst=1|dst\\a.txt=a"),
        Row("askmoveoverwrite, yes", "src\\a.txt=a|dst\\",
            {"Move \"{dir}\\src\\a.txt\",\"{dir}\\dst\",askmoveoverwrite"},
            {{"Tarvin - Confirm", IDYES, askMove}}, 0, "-src\\a.txt|dst\\a.txt=a"),
        Row("Delete removes files only, for good",
            "src\\one.tmp=1|src\\two.tmp=2|src\\keep.txt=k|src\\sub.tmp\\",
            {"Delete \"{dir}\\src\\*.tmp\",Delete"}, {}, 0, "#src=1|src\\keep.txt=k|src\\sub.tmp\\"),
        Row("AskDelete, no", "src\\old.log=log", {"Delete \"{dir}\\src\\old.log\",AskDelete"},
            {{"Confirm file deletion", IDNO, "*"}}, 0, "src\\old.log=log"),
        Row("AskDelete, yes", "src\\old.log=log", {"Delete \"{dir}\\src\\old.log\",AskDelete"},
            {{"Confirm file deletion", IDYES, "*"}}, 0, "-src\\old.log"),
        // The status strip is titled "Tarvin Interpretor" and shown.
        Row("its own window is neither closed nor destroyed", "src\\m.txt=m",
            {"// show the strip", "Close \"Tarvin Interpretor\"", "Destroy \"tarvin interp\"",
             Mark("after.txt")},
            {}, 0, "after.txt=m", {{"Show Status", 1}, {"Status Window", 1}}),
    };
    for (const Scenario& row : rows)
        RunRow(row);
}

// --- Kill, Close, Destroy -----------------------------------------------------

TEST_F(Actions, KillEndsARunningProgramByPartOfItsName)
{
    CDrvProcess target;
    e2etest::StartTarget(target, "-title=\"To Be Killed\"", "To Be Killed");
    // A full path never matches: the listed names carry no folder.
    EXPECT_EQ(0u, Run({"Kill " + Quote(Program("tvtarget.exe"))}));
    // A kill takes effect after the call returns: give it time to show.
    EXPECT_EQ(TVD_TIMEOUT, target.WaitExit(500));
    EXPECT_EQ(0u, Run({"Kill \"TvTarg\""}));
    DWORD code = 0;
    EXPECT_EQ(TVD_OK, target.WaitExit(kTimeout, &code));
    EXPECT_EQ(1u, code);
}
