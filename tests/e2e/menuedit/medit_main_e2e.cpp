// The menu editor's main window end to end: the real tvmedit.exe on menu
// files in a scratch files folder, driven through the test driver.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/medit_testutil.h"
#include "dialogs_res.h"

namespace
{

using namespace medittest;

using e2etest::GetClipboard;
using e2etest::PutClipboard;
const UINT kFormat = RegisterClipboardFormatA("TVMEDIT_CCPFORMAT");

class MeditMain : public MeditTest
{
  protected:
    // Saves and returns the file's text; the title loses its "*".
    std::string Saved(CMedit& ed, const std::string& path)
    {
        EXPECT_TRUE(ed.Do(IDM_SAVE));
        EXPECT_EQ(std::string::npos, ed.Title().find('*')) << ed.Title();
        return ReadBytes(path);
    }
};

// --- Undo and redo ------------------------------------------------------------------

TEST_F(MeditMain, UndoAndRedoWalkBackAndForthThroughEveryStateOfMixedEdits)
{
    std::string path = WriteMenu("Edit.menu", Lines({Root("Mine"), Item("Alpha"), Item("beta"), Sub("Sub"),
                                                     Item("Inner"), "</menu>", Item("Cee"), "</menu>"}));
    CMedit ed;
    ASSERT_TRUE(ed.Start(path));
    EXPECT_EQ("Tarvin Menu Editor - [Mine]", ed.Title());
    EXPECT_EQ(path, ed.Status());
    EXPECT_FALSE(ed.Enabled(IDM_SAVE));
    // Undo and Redo live in the menu bar, which another process cannot read:
    // with nothing to take back they change nothing, not even the title.
    auto expectNothingTo = [&](int command) {
        std::string before = Saved(ed, path);
        ASSERT_TRUE(ed.Do(command));
        EXPECT_EQ("Tarvin Menu Editor - [Mine]", ed.Title()) << command;
        EXPECT_EQ(before, Saved(ed, path)) << command;
    };
    expectNothingTo(IDM_UNDO);

    struct Step
    {
        const char* what;
        std::function<void()> edit;
        const char* rows; // the root's list afterwards
    };
    const Step steps[] = {
        {"separator after beta",
         [&] {
             ASSERT_TRUE(ed.SelectRow("beta"));
             ASSERT_TRUE(ed.Do(IDM_INSERTSEPARATOR));
             // The new row is the selection, and a separator has nothing to edit.
             ASSERT_TRUE(ed.Post(IDM_PROPERTIES));
             EXPECT_EQ("Properties: A separator has no properties", ed.Box(IDOK));
         },
         "Alpha|beta|---|Sub|Cee"},
        {"move Alpha down",
         [&] {
             ASSERT_TRUE(ed.SelectRow("Alpha"));
             ASSERT_TRUE(ed.Do(IDM_MOVEDOWN));
         },
         "beta|Alpha|---|Sub|Cee"},
        {"delete Cee",
         [&] {
             ASSERT_TRUE(ed.SelectRow("Cee"));
             ASSERT_TRUE(ed.Post(IDM_DELETE));
             EXPECT_EQ("Confirm Delete: Are you sure you want to delete this menu item?", ed.Box(IDYES));
         },
         "beta|Alpha|---|Sub"},
        {"sort",
         [&] {
             ASSERT_TRUE(ed.SelectNode("Mine"));
             ASSERT_TRUE(ed.Do(IDM_SORT));
         },
         "Sub|Alpha|beta|---"},
        {"paste a submenu after Alpha",
         [&] {
             ASSERT_TRUE(PutClipboard(kFormat, Sub("Pasted") + "\n" + Item("Deep") + "\n</menu>\n"));
             ASSERT_TRUE(ed.SelectRow("Alpha"));
             ASSERT_TRUE(ed.Do(IDM_PASTE));
         },
         "Sub|Alpha|Pasted|beta|---"},
        {"cut Sub",
         [&] {
             ASSERT_TRUE(ed.SelectRow("Sub"));
             ASSERT_TRUE(ed.Do(IDM_CUT));
         },
         "Alpha|Pasted|beta|---"},
    };
    const size_t n = sizeof(steps) / sizeof(steps[0]);

    std::vector<std::string> files = {Saved(ed, path)};
    std::vector<std::string> trees = {ed.TreeText()};
    for (const Step& s : steps)
    {
        SCOPED_TRACE(s.what);
        s.edit();
        EXPECT_EQ("Tarvin Menu Editor - [Mine]*", ed.Title());
        EXPECT_TRUE(ed.Enabled(IDM_SAVE));
        ASSERT_TRUE(ed.SelectNode("Mine"));
        EXPECT_EQ(s.rows, ed.Rows());
        files.push_back(Saved(ed, path));
        trees.push_back(ed.TreeText());
    }
    EXPECT_EQ("Mine\n  Pasted\n", trees[n]);
    expectNothingTo(IDM_REDO);

    for (size_t k = n; k > 0; k--)
    {
        SCOPED_TRACE("undo of " + std::string(steps[k - 1].what));
        ASSERT_TRUE(ed.Do(IDM_UNDO));
        EXPECT_EQ("Tarvin Menu Editor - [Mine]*", ed.Title());
        EXPECT_EQ(trees[k - 1], ed.TreeText());
        EXPECT_EQ(files[k - 1], Saved(ed, path));
    }
    expectNothingTo(IDM_UNDO);
    for (size_t k = 1; k <= n; k++)
    {
        SCOPED_TRACE("redo of " + std::string(steps[k - 1].what));
        ASSERT_TRUE(ed.Do(IDM_REDO));
        EXPECT_EQ("Tarvin Menu Editor - [Mine]*", ed.Title());
        EXPECT_EQ(trees[k], ed.TreeText());
        EXPECT_EQ(files[k], Saved(ed, path));
    }
    expectNothingTo(IDM_REDO);

    // A new edit after an undo ends the redo history.
    ASSERT_TRUE(ed.Do(IDM_UNDO));
    ASSERT_TRUE(ed.SelectRow(0));
    ASSERT_TRUE(ed.Do(IDM_INSERTSEPARATOR));
    ASSERT_TRUE(ed.SelectNode("Mine"));
    EXPECT_EQ("Sub|---|Alpha|Pasted|beta|---", ed.Rows());
    expectNothingTo(IDM_REDO);
}

// --- Clipboard ------------------------------------------------------------------------

TEST_F(MeditMain, EntriesTravelBetweenTwoEditorsAndForeignClipboardDataIsRefused)
{
    std::string pathA =
        WriteMenu("A.menu", Lines({Root("A"), Sub("Tools"), Item("Regedit", "C:\\windows\\regedit.exe"),
                                   "</menu>", Item("Notepad"), "</menu>"}));
    std::string pathB = WriteMenu("B.menu", Lines({Root("B"), Item("One"), Item("Two"), "</menu>"}));
    CMedit a, b;
    ASSERT_TRUE(a.Start(pathA));
    ASSERT_TRUE(b.Start(pathB));

    // A submenu travels with its subtree, as the file's lines.
    ASSERT_TRUE(a.SelectRow("Tools"));
    ASSERT_TRUE(a.Do(IDM_COPY));
    EXPECT_EQ(Sub("Tools") + "\n" + Item("Regedit", "C:\\windows\\regedit.exe") + "\n</menu>\n",
              GetClipboard(kFormat));
    EXPECT_EQ("Tarvin Menu Editor - [A]", a.Title()) << "a copy changes nothing";
    ASSERT_TRUE(b.SelectRow("One"));
    ASSERT_TRUE(b.Do(IDM_PASTE));
    EXPECT_EQ("One|Tools|Two", b.Rows());
    EXPECT_EQ("B\n  Tools\n", b.TreeText());
    EXPECT_EQ("Tarvin Menu Editor - [B]*", b.Title());

    // Cut takes the entry away without asking; pasted with the tree's
    // selection only, it goes last.
    ASSERT_TRUE(a.SelectRow("Notepad"));
    ASSERT_TRUE(a.Do(IDM_CUT));
    EXPECT_EQ("Tools", a.Rows());
    EXPECT_TRUE(a.NoBox());
    ASSERT_TRUE(b.SelectNode("Tools"));
    ASSERT_TRUE(b.Do(IDM_PASTE));
    EXPECT_EQ("Regedit|Notepad", b.Rows());
    EXPECT_EQ("Tools", b.TreeSelection());
    ASSERT_TRUE(b.Do(IDM_SAVE));
    std::string saved = ReadBytes(pathB);
    EXPECT_EQ(Lines({Root("B"), Item("One"), Sub("Tools"), Item("Regedit", "C:\\windows\\regedit.exe"),
                     Item("Notepad"), "</menu>", Item("Two"), "</menu>"}),
              saved);

    // Plain text of another program: Paste does nothing.
    ASSERT_TRUE(PutClipboard(CF_TEXT, Item("Sneaky")));
    ASSERT_TRUE(b.SelectNode("B"));
    ASSERT_TRUE(b.SelectRow("One"));
    ASSERT_TRUE(b.Do(IDM_PASTE));
    EXPECT_TRUE(b.NoBox());
    EXPECT_EQ("One|Tools|Two", b.Rows());
    EXPECT_EQ("Tarvin Menu Editor - [B]", b.Title());

    // Our format with text that is no menu: reported, and nothing changes,
    // not even the modified mark or the undo history.
    ASSERT_TRUE(PutClipboard(kFormat, "<bogus entry>\n"));
    ASSERT_TRUE(b.Post(IDM_PASTE));
    EXPECT_EQ("Error: Could not paste all items.\n\nThe reported error code was 4", b.Box(IDOK));
    EXPECT_EQ("Error: <bogus entry>\n", b.Box(IDOK));
    EXPECT_TRUE(b.NoBox());
    EXPECT_EQ("One|Tools|Two", b.Rows());
    EXPECT_EQ("Tarvin Menu Editor - [B]", b.Title());
    ASSERT_TRUE(b.Do(IDM_UNDO));
    ASSERT_TRUE(b.SelectNode("Tools"));
    EXPECT_EQ("Regedit", b.Rows()) << "undo took the last real paste back";
}

// --- Sort ---------------------------------------------------------------------------------

TEST_F(MeditMain, SortPutsSubmenusFirstAndLeavesSeparatorsWhereTheSelectionSortDrops)
{
    struct Case
    {
        const char* what;
        std::string file;
        const char* rows;
        const char* tree;
    };
    const Case cases[] = {
        {"separators compare equal to everything",
         Lines({Root("M"), Item("b"), Separator(), Item("A"), Sub("z"), "</menu>", "</menu>"}), "z|A|b|---",
         "M\n  z\n"},
        {"a submenu before an item", Lines({Root("M"), Item("a"), Sub("z"), "</menu>", "</menu>"}), "z|a",
         "M\n  z\n"},
        {"case is ignored, equal texts keep their order",
         Lines({Root("M"), Item("beta"), Item("Alpha"), Item("ALPHA"), Item("alpha2"), "</menu>"}),
         "Alpha|ALPHA|alpha2|beta", "M\n"},
        {"separators around the items",
         Lines({Root("M"), Separator(), Item("b"), Separator(), Item("a"), "</menu>"}), "---|a|b|---", "M\n"},
        {"submenus sorted in the tree too",
         Lines({Root("M"), Sub("Zed"), Item("x"), "</menu>", Sub("alpha"), "</menu>", "</menu>"}),
         "alpha|Zed", "M\n  alpha\n  Zed\n"},
        {"an empty menu", Lines({Root("M"), "</menu>"}), "", "M\n"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::string path = WriteMenu("Sort.menu", c.file);
        CMedit ed;
        ASSERT_TRUE(ed.Start(path));
        ASSERT_TRUE(ed.Do(IDM_SORT));
        EXPECT_EQ(c.rows, ed.Rows());
        EXPECT_EQ(c.tree, ed.TreeText());
        EXPECT_EQ("M", ed.TreeSelection());
        EXPECT_TRUE(ed.NoBox());
    }

    // Only the selected submenu's entries move.
    std::string path = WriteMenu("Sort.menu", Lines({Root("M"), Item("b"), Sub("S"), Item("y"), Item("x"),
                                                     "</menu>", Item("a"), "</menu>"}));
    CMedit ed;
    ASSERT_TRUE(ed.Start(path));
    ASSERT_TRUE(ed.SelectNode("S"));
    ASSERT_TRUE(ed.Do(IDM_SORT));
    EXPECT_EQ("x|y", ed.Rows());
    ASSERT_TRUE(ed.SelectNode("M"));
    EXPECT_EQ("b|S|a", ed.Rows());
}

// --- Move ----------------------------------------------------------------------------------

TEST_F(MeditMain, MoveTakesSubmenusAlongInTheTreeAndStopsAtTheEnds)
{
    std::string path = WriteMenu("Mv.menu", Lines({Root("M"), Sub("A"), Sub("A1"), "</menu>", "</menu>",
                                                   Sub("B"), "</menu>", Item("c"), "</menu>"}));
    CMedit ed;
    ASSERT_TRUE(ed.Start(path));
    ASSERT_TRUE(ed.SelectRow("B"));
    ASSERT_TRUE(ed.Do(IDM_MOVEUP));
    EXPECT_EQ("B|A|c", ed.Rows());
    EXPECT_EQ(0, ed.Selected());
    EXPECT_EQ("M\n  B\n  A\n    A1\n", ed.TreeText()) << "the moved submenu keeps its own submenus";
    EXPECT_FALSE(ed.Enabled(IDM_MOVEUP));
    ASSERT_TRUE(ed.Do(IDM_MOVEUP));
    EXPECT_EQ("B|A|c", ed.Rows());

    ASSERT_TRUE(ed.SelectRow("c"));
    EXPECT_FALSE(ed.Enabled(IDM_MOVEDOWN));
    ASSERT_TRUE(ed.Do(IDM_MOVEDOWN));
    EXPECT_EQ("B|A|c", ed.Rows());
    ASSERT_TRUE(ed.Do(IDM_MOVEUP));
    EXPECT_EQ("B|c|A", ed.Rows());
    EXPECT_EQ("M\n  B\n  A\n    A1\n", ed.TreeText());
    EXPECT_EQ("Tarvin Menu Editor - [M]*", ed.Title());
}

// --- Delete -------------------------------------------------------------------------------

TEST_F(MeditMain, DeleteSelectsTheNeighbourAndKeepsTheTreeInStep)
{
    std::string path =
        WriteMenu("Del.menu", Lines({Root("M"), Item("one"), Sub("S"), Sub("T"), Item("t1"), "</menu>",
                                     "</menu>", Item("two"), Item("three"), "</menu>"}));
    CMedit ed;
    ASSERT_TRUE(ed.Start(path));
    EXPECT_EQ("M\n  S\n    T\n", ed.TreeText());

    // The last row: the new last row is selected.
    ASSERT_TRUE(ed.SelectRow("three"));
    ASSERT_TRUE(ed.Post(IDM_DELETE));
    ed.Box(IDYES);
    EXPECT_EQ("one|S|two", ed.Rows());
    EXPECT_EQ(2, ed.Selected());

    // No: nothing happens.
    ASSERT_TRUE(ed.Post(IDM_DELETE));
    ed.Box(IDNO);
    EXPECT_EQ("one|S|two", ed.Rows());

    // The only submenu row of a list: its node goes, its parent stays selected.
    ASSERT_TRUE(ed.SelectNode("S"));
    EXPECT_EQ("T", ed.Rows());
    ASSERT_TRUE(ed.SelectRow("T"));
    ASSERT_TRUE(ed.Post(IDM_DELETE));
    ed.Box(IDYES);
    EXPECT_EQ("", ed.Rows());
    EXPECT_EQ(-1, ed.Selected());
    EXPECT_EQ("M\n  S\n", ed.TreeText());
    EXPECT_EQ("S", ed.TreeSelection());

    // The selected tree node itself: the tree moves on, the list follows.
    ASSERT_TRUE(ed.SelectNode("S"));
    ASSERT_TRUE(ed.Post(IDM_DELETE));
    ed.Box(IDYES);
    EXPECT_EQ("M\n", ed.TreeText());
    ASSERT_TRUE(ed.SelectNode("M"));
    EXPECT_EQ("one|two", ed.Rows());

    // The root can be neither deleted nor cut.
    for (int command : {IDM_DELETE, IDM_CUT})
    {
        ASSERT_TRUE(ed.SelectNode("M"));
        ASSERT_TRUE(ed.Post(command));
        EXPECT_EQ("Error: You cannot delete or cut the root item in the menu hierarchy.", ed.Box(IDOK));
        EXPECT_EQ("one|two", ed.Rows());
    }

    ASSERT_TRUE(ed.Do(IDM_SAVE));
    EXPECT_EQ(Lines({Root("M"), Item("one"), Item("two"), "</menu>"}), ReadBytes(path));
}

// A list row stays selected when the tree takes the focus: every command but
// Properties acts on that row, as Paste and the insert commands do.
TEST_F(MeditMain, CommandsActOnTheSelectedRowWhileTheTreeHasTheFocus)
{
    std::string path = WriteMenu(
        "Focus.menu", Lines({Root("M"), Sub("S"), Item("s1"), Item("s2"), Item("s3"), "</menu>", "</menu>"}));
    CMedit ed;
    ASSERT_TRUE(ed.Start(path));
    ASSERT_TRUE(ed.SelectNode("S"));
    ASSERT_TRUE(ed.SelectRow("s3"));
    ASSERT_TRUE(ed.ClickTreeSpace());

    ASSERT_TRUE(ed.Post(IDM_PROPERTIES));
    HWND props = ed.Dialog("Properties");
    ASSERT_TRUE(props != nullptr);
    EXPECT_EQ("S", e2etest::TextOf(e2etest::Control(props, IDC_PROP_TEXT))) << "Properties takes the tree's";
    ASSERT_TRUE(DrvPressButton(props, IDCANCEL));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(props, kTimeout));

    ASSERT_TRUE(ed.ClickTreeSpace());
    ASSERT_TRUE(ed.Do(IDM_COPY));
    EXPECT_EQ(Item("s3") + "\n", GetClipboard(kFormat));
    ASSERT_TRUE(ed.Do(IDM_CUT));
    EXPECT_EQ("s1|s2", ed.Rows());

    ASSERT_TRUE(ed.SelectRow("s1"));
    ASSERT_TRUE(ed.ClickTreeSpace());
    ASSERT_TRUE(ed.Post(IDM_DELETE));
    EXPECT_EQ("Confirm Delete: Are you sure you want to delete this menu item?", ed.Box(IDYES));
    EXPECT_EQ("s2", ed.Rows());
    EXPECT_EQ("M\n  S\n", ed.TreeText());
    EXPECT_EQ("S", ed.TreeSelection());
}

// --- Saving ------------------------------------------------------------------------------

TEST_F(MeditMain, ClosingWithASaveThatFailsKeepsTheWindowAndItsChanges)
{
    std::string folder = File("gone");
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string path = WriteMenu("gone\\G.menu", Lines({Root("M"), Item("one"), "</menu>"}));
    CMedit ed;
    ASSERT_TRUE(ed.Start(path));
    ASSERT_TRUE(ed.SelectRow(0));
    ASSERT_TRUE(ed.Do(IDM_INSERTSEPARATOR));
    // The folder goes while the editor holds the menu: nothing can be saved.
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    ASSERT_TRUE(RemoveDirectoryA(folder.c_str()));

    ASSERT_TRUE(DrvClose(ed.Main()));
    EXPECT_EQ("Confirm: Do you want to save changes before closing this menu file?", ed.Box(IDYES));
    EXPECT_EQ("Error: An error occured while writing the menu file.", ed.Box(IDOK));
    EXPECT_TRUE(ed.NoBox());
    EXPECT_TRUE(IsWindow(ed.Main()));
    EXPECT_EQ("Tarvin Menu Editor - [M]*", ed.Title());
    EXPECT_EQ("one|---", ed.Rows());

    // Cancel keeps it too; No lets it go.
    ASSERT_TRUE(DrvClose(ed.Main()));
    ed.Box(IDCANCEL);
    EXPECT_TRUE(ed.NoBox());
    ASSERT_TRUE(DrvClose(ed.Main()));
    ed.Box(IDNO);
    EXPECT_EQ(TVD_OK, ed.Process()->WaitExit(kTimeout));
}

TEST_F(MeditMain, LogoffAsksTheSaveQuestionAndEachAnswerHolds)
{
    std::string folder = File("logoff");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string before = Lines({Root("M"), Item("one"), "</menu>"});
    const std::string after = Lines({Root("M"), Item("one"), Separator(), "</menu>"});
    std::string path = WriteMenu("logoff\\L.menu", before);
    CMedit ed;
    ASSERT_TRUE(ed.Start(path));
    ASSERT_TRUE(ed.SelectRow(0));
    ASSERT_TRUE(ed.Do(IDM_INSERTSEPARATOR));

    struct Case
    {
        int answer; // 0: no question is asked
        LRESULT result;
        const char* title;
        const std::string& file;
    } cases[] = {
        {IDCANCEL, FALSE, "Tarvin Menu Editor - [M]*", before},
        {IDNO, TRUE, "Tarvin Menu Editor - [M]*", before},
        {IDYES, TRUE, "Tarvin Menu Editor - [M]", after},
        {0, TRUE, "Tarvin Menu Editor - [M]", after},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "answer " << c.answer);
        std::future<LRESULT> ended = e2etest::QueryEndSession(ed.Main());
        if (c.answer)
        {
            EXPECT_EQ("Confirm: Do you want to save changes before closing this menu file?",
                      ed.Box(c.answer));
        }
        EXPECT_EQ(c.result, ended.get());
        EXPECT_TRUE(ed.NoBox());
        EXPECT_EQ(c.title, ed.Title());
        EXPECT_EQ(c.file, ReadBytes(path));
    }

    // A save that fails keeps the session waiting.
    ASSERT_TRUE(ed.Do(IDM_INSERTSEPARATOR));
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    ASSERT_TRUE(RemoveDirectoryA(folder.c_str()));
    std::future<LRESULT> ended = e2etest::QueryEndSession(ed.Main());
    ed.Box(IDYES);
    EXPECT_EQ("Error: An error occured while writing the menu file.", ed.Box(IDOK));
    EXPECT_EQ(FALSE, ended.get());
    EXPECT_EQ("Tarvin Menu Editor - [M]*", ed.Title());
}

// --- Test pop-up and start-up ----------------------------------------------------------

TEST_F(MeditMain, TestStartsTheChosenEntryOrOnlyReportsItByTheTestFullSetting)
{
    std::string target = e2etest::Program("tvtarget.exe");
    std::string path = WriteMenu("T.menu", Lines({Root("M"), Item("Target", target.c_str()), "</menu>"}));
    // The editor chooses by key, as a user can: down to the only entry, Enter.
    auto choose = [](CMedit& ed) {
        HWND popup = nullptr;
        ASSERT_TRUE(ed.Post(IDM_TEST));
        ASSERT_EQ(TVD_OK,
                  DrvWaitWindow(DrvQuery("#32768", nullptr, TVD_MATCH_EXACT, ed.Pid()), kTimeout, &popup));
        PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
    };
    {
        m_reg.SetDword(kMeditKey, "Test Full", 0);
        CMedit ed;
        ASSERT_TRUE(ed.Start(path));
        // Every start registers the verb that opens a menu file here.
        EXPECT_EQ("\"" + agenttest::ProgramDir() + "tvmedit.exe\" -file=\"%1\"",
                  e2etest::ClassesDefault("Tarvin.MenuFile\\shell\\Edit\\command"));
        choose(ed);
        EXPECT_EQ("Menu Selection: You selected:\n  Target\n  " + target + " ", ed.Box(IDOK));
        // A program started by mistake shows its window well within this.
        EXPECT_EQ(TVD_TIMEOUT, DrvWaitWindow(DrvQuery("TVTargetWindow", nullptr), 1500, nullptr));
    }
    {
        m_reg.SetDword(kMeditKey, "Test Full", 1);
        CMedit ed;
        ASSERT_TRUE(ed.Start(path));
        choose(ed);
        HWND started = nullptr;
        EXPECT_EQ(TVD_OK, DrvWaitWindow(DrvQuery("TVTargetWindow", nullptr), kTimeout, &started));
        EXPECT_TRUE(ed.NoBox());
        if (started)
            DrvClose(started);
    }
}

// --- Layout ------------------------------------------------------------------------------

TEST_F(MeditMain, SplitterAndTutorialLayoutMoveTheViewsAndTheWindowAndTheSettingsOutliveTheWindow)
{
    m_reg.SetDword(kMeditKey, "Splitter Pos", 150);
    std::string path = WriteMenu("L.menu", Lines({Root("M"), Item("one"), "</menu>"}));
    CMedit ed;
    ASSERT_TRUE(ed.Start(path));
    auto width = [](HWND hwnd) {
        RECT rc;
        GetWindowRect(hwnd, &rc);
        return rc.right - rc.left;
    };
    EXPECT_EQ(150, width(ed.Tree()));

    // The splitter reports how far it was dragged; the tree follows, and
    // never takes the whole window.
    DWORD_PTR result;
    for (auto drag : {std::make_pair(40, 190), std::make_pair(-500, 1), std::make_pair(99, 100)})
    {
        SendMessageTimeoutA(ed.Main(), WM_USER + 100, MAKEWPARAM((WORD)(short)drag.first, 0), 0,
                            SMTO_ABORTIFHUNG, kTimeout, &result);
        EXPECT_EQ(drag.second, width(ed.Tree())) << "dragged by " << drag.first;
    }

    // The tutorial's help window on the left: the editor takes the rest of
    // the work area, and its own rectangle back when the help window goes.
    RECT before, work;
    GetWindowRect(ed.Main(), &before);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    {
        agenttest::CTestWindow help("Tutorial", nullptr, 0, work.left, work.top);
        MoveWindow(help, work.left, work.top, 400, 300, TRUE);
        SendMessageTimeoutA(ed.Main(), WM_USER + 10, 0, (LPARAM)(HWND)help, SMTO_ABORTIFHUNG, kTimeout,
                            &result);
        RECT beside;
        GetWindowRect(ed.Main(), &beside);
        EXPECT_EQ(work.left + 400, beside.left);
        EXPECT_EQ(work.right, beside.right);
    }
    EXPECT_EQ(TVD_OK, DrvWaitFor(
                          [&] {
                              RECT now;
                              GetWindowRect(ed.Main(), &now);
                              return EqualRect(&now, &before) != 0;
                          },
                          kTimeout));

    DrvClose(ed.Main());
    ASSERT_EQ(TVD_OK, ed.Process()->WaitExit(kTimeout));
    EXPECT_EQ(100, agenttest::StoredDword(kMeditKey, "Splitter Pos"));
    EXPECT_EQ(1, agenttest::StoredDword(kMeditKey, "Test Full"));
    m_reg.Save(kMeditKey, "Column 1 Width");
    EXPECT_EQ(160, agenttest::StoredDword(kMeditKey, "Column 1 Width"));
}

// --- Outside changes --------------------------------------------------------------------

TEST_F(MeditMain, FileChangedElsewhereIsOfferedForReloadOncePerActivation)
{
    std::string path = WriteMenu("Re.menu", Lines({Root("M"), Item("old"), "</menu>"}));
    CMedit ed;
    ASSERT_TRUE(ed.Start(path));
    agenttest::CTestWindow other("Other program", nullptr, 0, 900, 700);
    // A click, as a user switches programs: another program cannot simply
    // take the foreground for a window.
    // Each click lands elsewhere, so that no two make a double click.
    int clickCount = 0;
    auto activate = [&](HWND hwnd) {
        HWND status = DrvFindChildById(hwnd, IDC_STATUSBAR);
        POINT at = {0, 0};
        auto inFront = [&] {
            wintest::PumpPending();
            // The editor's own box may take over at once.
            return DrvWindowProcess(GetForegroundWindow()) == DrvWindowProcess(hwnd);
        };
        // A loaded X server now and then drops a click: it is repeated, at
        // another point, until the window is in front or the time is up.
        bool ok = false;
        for (DWORD start = GetTickCount(); !ok && GetTickCount() - start < kTimeout;)
        {
            at = wintest::CentreOf(status ? status : hwnd);
            at.x += 12 * (++clickCount % 5) - 24;
            SetCursorPos(at.x, at.y);
            INPUT clicks[2] = {};
            clicks[0].type = clicks[1].type = INPUT_MOUSE;
            clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
            clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
            SendInput(2, clicks, sizeof(INPUT));
            ok = DrvWaitFor(inFront, 2000) == TVD_OK;
        }
        if (!ok)
        {
            char fg[128] = "", under[128] = "";
            GetWindowTextA(GetForegroundWindow(), fg, sizeof(fg));
            GetClassNameA(WindowFromPoint(at), under, sizeof(under));
            ADD_FAILURE() << "foreground: " << fg << ", under the click: " << under << " at " << at.x << ","
                          << at.y;
        }
        return ok;
    };

    // Another program saves the file: a later time than the editor read.
    auto saveElsewhere = [&](std::initializer_list<std::string> lines) {
        WriteBytes(path, Lines(lines));
        e2etest::TouchLater(path);
    };
    saveElsewhere({Root("M"), Item("new"), Item("newer"), "</menu>"});

    ASSERT_TRUE(activate(other));
    ASSERT_TRUE(activate(ed.Main()));
    EXPECT_EQ("Reload?: The menu has been modified outside of the editor.\n\nWould you like to reload it?",
              ed.Box(IDNO));
    // The box closing hands the activation back within the editor: no
    // second question.
    EXPECT_TRUE(ed.NoBox());
    EXPECT_EQ("old", ed.Rows());

    ASSERT_TRUE(activate(other));
    ASSERT_TRUE(activate(ed.Main()));
    EXPECT_EQ("Reload?: The menu has been modified outside of the editor.\n\nWould you like to reload it?",
              ed.Box(IDYES));
    EXPECT_TRUE(ed.NoBox());
    EXPECT_EQ("new|newer", ed.Rows());

    // Read again: the next activation asks nothing.
    ASSERT_TRUE(activate(other));
    ASSERT_TRUE(activate(ed.Main()));
    EXPECT_TRUE(ed.NoBox());

    // While the properties dialog works on an entry, a reload would free it
    // under the dialog: the question waits until the dialog has gone.
    saveElsewhere({Root("M"), Item("newest"), "</menu>"});
    ASSERT_TRUE(ed.SelectRow(0));
    ASSERT_TRUE(ed.Post(IDM_PROPERTIES));
    HWND props = ed.Dialog("Properties");
    ASSERT_TRUE(props != nullptr);
    ASSERT_TRUE(activate(other));
    ASSERT_TRUE(activate(props));
    // Posted after the activation's own message, so handled after it.
    HWND status = DrvFindChildById(ed.Main(), IDC_STATUSBAR);
    ASSERT_TRUE(ed.Post(IDM_VIEWSTATUSBAR));
    ASSERT_EQ(TVD_OK, DrvWaitFor([&] { return !IsWindowVisible(status); }, kTimeout));
    EXPECT_EQ(nullptr, DrvFindWindow(DrvQuery("#32770", "Reload?", TVD_MATCH_EXACT, ed.Pid())));
    EXPECT_EQ("newer", ed.Cell(1, 0)) << "nothing read while the dialog is open";
    ASSERT_TRUE(ed.Post(IDM_VIEWSTATUSBAR));
    ASSERT_TRUE(DrvPressButton(props, IDCANCEL));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(props, kTimeout));
    EXPECT_EQ("Reload?: The menu has been modified outside of the editor.\n\nWould you like to reload it?",
              ed.Box(IDYES));
    EXPECT_EQ("newest", ed.Rows());
}

} // namespace
