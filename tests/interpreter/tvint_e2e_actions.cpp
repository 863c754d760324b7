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
  protected:
    void SetUp() override
    {
        Interpreter::SetUp();
        m_src = m_dir.Path("src");
        m_dst = m_dir.Path("dst");
        CreateDirectoryA(m_src.c_str(), NULL);
        CreateDirectoryA(m_dst.c_str(), NULL);
    }

    std::string Src(const std::string& name) const
    {
        return m_src + "\\" + name;
    }
    std::string Dst(const std::string& name) const
    {
        return m_dst + "\\" + name;
    }

    // The files of a folder, sorted by name, as "name=content".
    static std::vector<std::string> Folder(const std::string& folder)
    {
        std::vector<std::string> out;
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE)
            return out;
        do
        {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                out.push_back(std::string(found.cFileName) + "=" +
                              ReadBytes(folder + "\\" + found.cFileName));
        } while (FindNextFileA(find, &found));
        FindClose(find);
        std::sort(out.begin(), out.end());
        return out;
    }

    std::string TargetLine(const std::string& keyword, const std::string& title, const std::string& record,
                           const std::string& state)
    {
        return keyword + " " + Quote(Program("tvtarget.exe")) + "," + Quote(m_dir.Path("")) + "," +
               Quote("-title=" + title + " -record=" + record) + "," + state;
    }

    std::string m_src;
    std::string m_dst;
};

typedef std::vector<std::string> Files;
} // namespace

// --- Copy -------------------------------------------------------------------

TEST_F(Actions, CopyOverwriteReplacesAndNoOverwriteNeverDoes)
{
    WriteBytes(Src("a.txt"), "new a");
    WriteBytes(Src("b.txt"), "new b");
    WriteBytes(Src("c.dat"), "not a text");
    WriteBytes(Dst("a.txt"), "old a");

    EXPECT_EQ(0u, Run({"Copy " + Quote(Src("*.txt")) + "," + Quote(m_dst) + ",NoOverwrite"}));
    Files afterNoOverwrite = Folder(m_dst);
    ASSERT_EQ(3u, afterNoOverwrite.size());
    EXPECT_EQ("a.txt=old a", afterNoOverwrite[1]);
    EXPECT_NE(afterNoOverwrite.end(),
              std::find(afterNoOverwrite.begin(), afterNoOverwrite.end(), "a (2).txt=new a"));
    EXPECT_EQ("b.txt=new b", afterNoOverwrite[2]);

    // Again: neither a.txt nor b.txt is touched, each gets another copy.
    EXPECT_EQ(0u, Run({"copy " + Quote(Src("*.txt")) + " , " + Quote(m_dst) + " , nooverwrite"}));
    Files again = Folder(m_dst);
    EXPECT_EQ(5u, again.size());
    EXPECT_NE(again.end(), std::find(again.begin(), again.end(), "a.txt=old a"));
    EXPECT_NE(again.end(), std::find(again.begin(), again.end(), "b.txt=new b"));

    WriteBytes(Src("a.txt"), "newer a");
    EXPECT_EQ(0u, Run({"Copy " + Quote(Src("a.txt")) + "," + Quote(m_dst) + ",Overwrite"}));
    EXPECT_EQ("newer a", ReadBytes(Dst("a.txt")));
    EXPECT_FALSE(Exists(Dst("c.dat")));
}

// The shell asks only about the file that is there already.
TEST_F(Actions, CopyAskOverwriteLeavesTheQuestionToTheShell)
{
    WriteBytes(Src("fresh.txt"), "fresh");
    WriteBytes(Src("a.txt"), "new a");
    WriteBytes(Dst("a.txt"), "old a");
    std::string line = "Copy " + Quote(Src("a.txt")) + "," + Quote(m_dst) + ",AskOverwrite";
    Start({"Copy " + Quote(Src("fresh.txt")) + "," + Quote(m_dst) + ",AskOverwrite", line});
    Press("Confirm file overwrite", IDNO);
    EXPECT_EQ(0u, WaitExit());
    EXPECT_EQ("fresh", ReadBytes(Dst("fresh.txt")));
    EXPECT_EQ("old a", ReadBytes(Dst("a.txt")));

    Start({line});
    Press("Confirm file overwrite", IDYES);
    EXPECT_EQ(0u, WaitExit());
    EXPECT_EQ("new a", ReadBytes(Dst("a.txt")));
}

// A copy, delete or launch that fails asks whether to go on; the answer
// decides whether the next line runs and the exit code.
TEST_F(Actions, AFailedActionAsksWhetherToGoOn)
{
    const std::string missing = Src("missing.txt");
    WriteBytes(Src("m.txt"), "m");
    struct
    {
        std::string line, text;
        int answer;
    } cases[] = {
        {"Copy " + Quote(missing) + "," + Quote(m_dst) + ",Overwrite",
         "Error Copying " + missing + " to " + m_dst, IDYES},
        {"Delete " + Quote(missing) + ",Delete", "Error Deleting " + missing, IDNO},
        {"Launch \"C:\\no such folder\\missing.exe\",\"\",\"\",Normal", "Error Launching missing.exe", IDYES},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.line);
        std::string marker = m_dir.Path("after " + std::to_string(m_runs) + ".txt");
        Start({c.line, "Copy " + Quote(Src("m.txt")) + "," + Quote(marker) + ",Overwrite"});
        EXPECT_EQ(ContinueQuestion(c.text), Answer(NULL, c.answer));
        EXPECT_EQ(c.answer == IDYES ? 0u : 1u, WaitExit());
        EXPECT_EQ(c.answer == IDYES, Exists(marker));
    }
}

// --- Move -------------------------------------------------------------------

TEST_F(Actions, MoveAskNoneOverwritesAndNoOverwriteKeepsTheTarget)
{
    WriteBytes(Src("a.txt"), "moved a");
    WriteBytes(Dst("a.txt"), "old a");
    EXPECT_EQ(0u, Run({"Move " + Quote(Src("a.txt")) + "," + Quote(m_dst) + ",AskNone"}));
    EXPECT_FALSE(Exists(Src("a.txt")));
    EXPECT_EQ((Files{"a.txt=moved a"}), Folder(m_dst));

    WriteBytes(Src("a.txt"), "second a");
    EXPECT_EQ(0u, Run({"Move " + Quote(Src("a.txt")) + "," + Quote(m_dst) + ",NoOverwrite"}));
    EXPECT_FALSE(Exists(Src("a.txt")));
    EXPECT_EQ((Files{"a (2).txt=second a", "a.txt=moved a"}), Folder(m_dst));
}

TEST_F(Actions, MoveAskMoveAsksFirstAndNoLeavesTheFiles)
{
    WriteBytes(Src("a.txt"), "a");
    std::string line = "Move " + Quote(Src("a.txt")) + "," + Quote(m_dst) + ",AskMove";
    std::string question = "Are you sure you want to copy source the file(s)\n    " + Src("a.txt") +
                           "\nto the destination\n    " + m_dst;

    Start({line, "Wait \"10 ms\""});
    EXPECT_EQ(question, Answer("Tarvin - Confirm", IDNO));
    EXPECT_EQ(ContinueQuestion("Error Moving " + Src("a.txt") + " to " + m_dst), Answer(NULL, IDNO));
    EXPECT_EQ(1u, WaitExit());
    EXPECT_TRUE(Exists(Src("a.txt")));
    EXPECT_TRUE(Folder(m_dst).empty());

    Start({line});
    EXPECT_EQ(question, Answer("Tarvin - Confirm", IDYES));
    EXPECT_EQ(0u, WaitExit());
    EXPECT_FALSE(Exists(Src("a.txt")));
    EXPECT_EQ((Files{"a.txt=a"}), Folder(m_dst));
}

// --- Delete -----------------------------------------------------------------

TEST_F(Actions, DeleteRemovesTheMatchingFilesForGood)
{
    WriteBytes(Src("one.tmp"), "1");
    WriteBytes(Src("two.tmp"), "2");
    WriteBytes(Src("keep.txt"), "k");
    CreateDirectoryA(Src("sub.tmp").c_str(), NULL);
    EXPECT_EQ(0u, Run({"Delete " + Quote(Src("*.tmp")) + ",Delete"}));
    EXPECT_EQ((Files{"keep.txt=k"}), Folder(m_src));
    // Files only: a folder matching the pattern stays.
    EXPECT_TRUE(Exists(Src("sub.tmp")));
}

TEST_F(Actions, DeleteAskDeleteLeavesTheQuestionToTheShell)
{
    WriteBytes(Src("old.log"), "log");
    std::string line = "Delete " + Quote(Src("old.log")) + ",AskDelete";
    Start({line});
    Press("Confirm file deletion", IDNO);
    EXPECT_EQ(0u, WaitExit());
    EXPECT_TRUE(Exists(Src("old.log")));

    Start({line});
    Press("Confirm file deletion", IDYES);
    EXPECT_EQ(0u, WaitExit());
    EXPECT_FALSE(Exists(Src("old.log")));
}

// --- Launch, Open -------------------------------------------------------------

TEST_F(Actions, LaunchShowsTheProgramNormalMaximizedOrMinimized)
{
    struct
    {
        const char* state;
        const char* zoomed;
        const char* iconic;
    } cases[] = {{"Normal", "0", "0"},    {"Maximized", "1", "0"}, {"MAXIMIZED", "1", "0"},
                 {"Minimized", "0", "1"}, {"max", "0", "0"},       {"", "0", "0"}};
    std::vector<std::string> lines;
    std::vector<std::string> records;
    for (const auto& c : cases)
    {
        std::string n = std::to_string(records.size());
        records.push_back(m_dir.Path("launch-" + n + ".txt"));
        lines.push_back(TargetLine("Launch", "Target" + n, records.back(), c.state));
    }
    EXPECT_EQ(0u, Run(lines));
    for (size_t i = 0; i < records.size(); i++)
    {
        SCOPED_TRACE(cases[i].state);
        TargetRecord rec = WaitTargetRecord(records[i]);
        EXPECT_EQ(cases[i].zoomed, rec["zoomed"]);
        EXPECT_EQ(cases[i].iconic, rec["iconic"]);
        EXPECT_EQ("1", rec["visible"]);
        EXPECT_EQ(m_dir.Path(""), rec["cwd"] + "\\");
        HWND window = DrvFindWindow(DrvSpec(TARGET_CLASS, ("Target" + std::to_string(i)).c_str()));
        ASSERT_TRUE(window);
        EXPECT_EQ(cases[i].zoomed[0] == '1', IsZoomed(window) != 0);
        EXPECT_EQ(cases[i].iconic[0] == '1', IsIconic(window) != 0);
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitTargetEvent(records[i], "close"));
    }
}

TEST_F(Actions, OpenAndPrintStartADocumentWithItsProgramsVerb)
{
    std::string record = m_dir.Path("document.txt");
    for (const char* verb : {"open", "print"})
    {
        std::string command =
            Quote(Program("tvtarget.exe")) + " -title=Doc-" + verb + " -record=" + record + " \"%1\"";
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetValueA(HKEY_CLASSES_ROOT,
                               (std::string("TVIntE2E.Doc\\shell\\") + verb + "\\command").c_str(), REG_SZ,
                               command.c_str(), (DWORD)command.size()));
    }
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, ".tvinte2e", REG_SZ, "TVIntE2E.Doc", 12));
    std::string doc = m_dir.Path("my letter.tvinte2e");
    WriteBytes(doc, "letter");

    struct
    {
        const char* keyword;
        const char* title;
        const char* zoomed;
    } cases[] = {{"Open", "Doc-open", "1"}, {"Print", "Doc-print", "0"}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.keyword);
        DeleteFileA(record.c_str());
        EXPECT_EQ(0u, Run({std::string(c.keyword) + " " + Quote(doc) + ",\"\",\"\"," +
                           (c.zoomed[0] == '1' ? "Maximized" : "Normal")}));
        TargetRecord rec = WaitTargetRecord(record);
        EXPECT_NE(std::string::npos, rec["cmdline"].find(Quote(doc))) << rec["cmdline"];
        EXPECT_EQ(c.zoomed, rec["zoomed"]);
        HWND window = DrvFindWindow(DrvSpec(TARGET_CLASS, c.title));
        ASSERT_TRUE(window);
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitTargetEvent(record, "close"));

        std::string missing = m_dir.Path("missing.tvinte2e");
        Start({std::string(c.keyword) + " " + Quote(missing)});
        EXPECT_EQ(ContinueQuestion(std::string("Error ") + (c.zoomed[0] == '1' ? "Opening" : "Printing") +
                                   " missing.tvinte2e"),
                  Answer(NULL, IDNO));
        EXPECT_EQ(1u, WaitExit());
    }
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "TVIntE2E.Doc");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".tvinte2e");
}

// --- Kill, Close, Destroy -----------------------------------------------------

TEST_F(Actions, KillEndsARunningProgramByPartOfItsName)
{
    CDrvProcess target;
    ASSERT_TRUE(target.Start(Program("tvtarget.exe").c_str(), "-title=\"To Be Killed\""));
    ASSERT_EQ(TVD_OK, DrvWaitWindow(DrvSpec(TARGET_CLASS, "To Be Killed"), kTimeout, NULL));
    // A full path never matches: the listed names carry no folder.
    EXPECT_EQ(0u, Run({"Kill " + Quote(Program("tvtarget.exe"))}));
    EXPECT_TRUE(target.IsRunning());
    EXPECT_EQ(0u, Run({"Kill \"TvTarg\""}));
    DWORD code = 0;
    EXPECT_EQ(TVD_OK, target.WaitExit(kTimeout, &code));
    EXPECT_EQ(1u, code);
}

TEST_F(Actions, CloseAsksWindowsByTitleAndDestroyEndsTheOnesThatRefuse)
{
    std::string politeRec = m_dir.Path("polite.txt"), stubbornRec = m_dir.Path("stubborn.txt");
    CDrvProcess polite, stubborn, bystander, hidden;
    ASSERT_TRUE(polite.Start(Program("tvtarget.exe").c_str(),
                             ("-title=\"Report - Polite\" -record=" + politeRec).c_str()));
    ASSERT_TRUE(stubborn.Start(Program("tvtarget.exe").c_str(),
                               ("-refuseclose -title=\"Report - Stubborn\" -record=" + stubbornRec).c_str()));
    ASSERT_TRUE(bystander.Start(Program("tvtarget.exe").c_str(), "-title=\"Bystander\""));
    ASSERT_TRUE(hidden.Start(Program("tvtarget.exe").c_str(), "-hidden -title=\"Report - Hidden\""));
    for (const char* title : {"Report - Polite", "Report - Stubborn", "Bystander"})
        ASSERT_EQ(TVD_OK, DrvWaitWindow(DrvSpec(TARGET_CLASS, title), kTimeout, NULL)) << title;

    EXPECT_EQ(0u, Run({"Close \"REPORT\""}));
    DWORD code = 99;
    EXPECT_EQ(TVD_OK, polite.WaitExit(kTimeout, &code));
    EXPECT_EQ(0u, code);
    EXPECT_TRUE(WaitTargetEvent(stubbornRec, "close-refused"));
    EXPECT_TRUE(stubborn.IsRunning());

    EXPECT_EQ(0u, Run({"Destroy \"report - stub\""}));
    EXPECT_EQ(TVD_OK, stubborn.WaitExit(kTimeout, &code));
    EXPECT_EQ(1u, code);
    EXPECT_TRUE(bystander.IsRunning());
    // Hidden windows are left alone by both.
    EXPECT_TRUE(hidden.IsRunning());
}

TEST_F(Actions, TheInterpretersOwnWindowIsNeitherClosedNorDestroyed)
{
    // The status strip is titled "Tarvin Interpretor" and shown.
    m_settings.Interpreter("Show Status", 1);
    m_settings.Interpreter("Status Window", 1);
    std::string marker = m_dir.Path("still running.txt");
    WriteBytes(Src("m.txt"), "m");
    EXPECT_EQ(0u, Run({"// show the strip", "Close \"Tarvin Interpretor\"", "Destroy \"tarvin interp\"",
                       "Copy " + Quote(Src("m.txt")) + "," + Quote(marker) + ",Overwrite"}));
    EXPECT_TRUE(Exists(marker));
}

// --- Wait -------------------------------------------------------------------

TEST_F(Actions, WaitHoldsTheNextLineForItsTime)
{
    struct
    {
        const char* wait;
        DWORD least;
        DWORD most;
    } cases[] = {{"Wait \"1500 ms\"", 1400, 4500}, {"Wait \"abc\"", 0, 1200}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.wait);
        std::string before = m_dir.Path(std::string("before ") + std::to_string(m_runs) + ".txt");
        std::string after = m_dir.Path(std::string("after ") + std::to_string(m_runs) + ".txt");
        WriteBytes(Src("x.txt"), "x");
        Start({"Copy " + Quote(Src("x.txt")) + "," + Quote(before) + ",Overwrite", c.wait,
               "Copy " + Quote(Src("x.txt")) + "," + Quote(after) + ",Overwrite"});
        ASSERT_TRUE(WaitFile(before));
        DWORD start = GetTickCount();
        ASSERT_EQ(TVD_OK, DrvWaitFor([&]() { return Exists(after); }, kTimeout, 5));
        DWORD elapsed = GetTickCount() - start;
        EXPECT_GE(elapsed, c.least);
        EXPECT_LE(elapsed, c.most);
        EXPECT_EQ(0u, WaitExit());
    }
}
