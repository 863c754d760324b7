// The launch file editor's wizards and its add-to-menu dialog, end to end:
// the real tvedit.exe driven page by page as a user would, the lines it
// writes read back through the launch file model, and the menu entry it adds
// run from the agent's tray menu with real X clicks.
#include <windows.h>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/editor_testutil.h"
#include "LaunchFile.h"
#include "Menu.h"
#include "regutils.h"
#include "wizardDlg_res.h"

namespace
{

using namespace edittest;
using e2etest::ChildText;

const char* const kWizardCaption = "Tarvin Editor Wizard";

// Clicks at a point of the X screen with xdotool, started from inside Wine
// as any program is. Wine gives no handle to wait on for a Unix process, so
// the caller waits for the click's effect.
bool RunXClick(int x, int y)
{
    std::string cmd =
        "/usr/bin/xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    if (!CreateProcessA("Z:\\usr\\bin\\xdotool", line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return false;
    if (pi.hThread)
        CloseHandle(pi.hThread);
    if (pi.hProcess)
        CloseHandle(pi.hProcess);
    return true;
}

// One run of the wizard's frame, page by page.
struct WizardDriver
{
    HWND frame;
    DWORD pid;

    std::string Title() const
    {
        return ChildText(frame, IDC_EWIZ_TITLE);
    }
    bool WaitTitle(const std::string& title) const
    {
        return DrvWaitFor([&]() { return Title() == title; }, kTimeout) == TVD_OK;
    }
    int ItemCount() const
    {
        HWND list = DrvFindChildById(frame, IDC_EWIZ_LIST);
        return list ? DrvListViewRowCount(list) : -1;
    }
    bool Press(int id) const
    {
        return DrvPressButton(frame, id);
    }
    // Next, then the page that should follow.
    void Next(const std::string& title) const
    {
        ASSERT_TRUE(Press(IDC_EWIZ_NEXT)) << "Next on " << Title();
        ASSERT_TRUE(WaitTitle(title)) << "expected " << title << ", still on " << Title();
    }
    // A picker opened by Add: its field takes the item, its OK button (by
    // caption) closes it, and the item appears in the page's list.
    void AddThrough(const char* className, const char* caption, int field, const char* ok,
                    const std::string& item) const
    {
        int before = ItemCount();
        ASSERT_TRUE(Press(IDC_EWIZ_ADD));
        HWND picker = nullptr;
        ASSERT_EQ(TVD_OK,
                  DrvWaitWindow(DrvQuery(className, caption, TVD_MATCH_EXACT, pid), kTimeout, &picker))
            << "no picker for " << item;
        HWND edit = DrvFindChildById(picker, field);
        ASSERT_TRUE(edit != nullptr) << className;
        ASSERT_TRUE(DrvSetText(edit, item.c_str()));
        ASSERT_TRUE(DrvClickButtonText(picker, ok));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(picker, kTimeout));
        ASSERT_EQ(TVD_OK, DrvWaitFor([&]() { return ItemCount() == before + 1; }, kTimeout)) << item;
    }
};

// What one wizard run picks, and what it must write.
struct WizardCase
{
    const char* name;
    int branch; // radio button of the choice page
    std::vector<std::string> items;
    const char* delay; // typed into the delay page; null: page skipped or left as it is
    const char* destination;
    DWORD insertDelay, insertComments, windowState;
    std::string summary;
    std::vector<std::string> lines;
    bool noBrowser = false; // the system knows no default browser
};

class EditWizard : public edittest::EditorTest
{
  protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        // A known default browser for the web page lines.
        std::string browser = "\"C:\\Browsers\\web.exe\" \"%1\"";
        AssociateFile(".htm", "TVTest.Html", "Web page", browser.c_str(), "open");
    }

    void TearDown() override
    {
        for (const char* name : {"Insert Delay", "Insert Comments", "Window State"})
            wintest::DeleteRegValue(kEditorKey, name);
        EditorTest::TearDown();
    }

    // Opens the wizard on the editor (Insert, Use a Wizard) and returns it on
    // its first page.
    WizardDriver OpenWizard(Editor& ed)
    {
        WizardDriver wiz = {nullptr, ed.Pid()};
        EXPECT_TRUE(ed.Post(IDM_INSERT_WIZARD));
        wiz.frame = ed.Dialog(kWizardCaption);
        EXPECT_TRUE(wiz.WaitTitle("Welcome to the Tarvin Editor Wizard."));
        return wiz;
    }

    // One round of the action wizard from the choice page to its confirm
    // page; another ticks "Use another wizard" there. Finish follows.
    void RunRound(const WizardDriver& wiz, const WizardCase& c, bool another)
    {
        ASSERT_TRUE(wiz.Press(c.branch));
        bool skipDelay = c.branch != IDC_EWIZ_BACKUP && !c.insertDelay;
        const char* steps = skipDelay ? "2" : "3";
        if (c.branch == IDC_EWIZ_FILES)
        {
            ASSERT_NO_FATAL_FAILURE(wiz.Next("Open Files or Applications Wizard"));
            ASSERT_NO_FATAL_FAILURE(wiz.Next(std::string("Step 1 of ") + steps + ": Select Files."));
            for (const std::string& item : c.items)
                ASSERT_NO_FATAL_FAILURE(wiz.AddThrough("_mh_BROWSEAPPS_CLS__", nullptr, 104, "OK", item));
        }
        else if (c.branch == IDC_EWIZ_WEB)
        {
            ASSERT_NO_FATAL_FAILURE(wiz.Next("Open Web Pages Wizard"));
            ASSERT_NO_FATAL_FAILURE(wiz.Next(std::string("Step 1 of ") + steps + ": Select Web Pages."));
            for (const std::string& item : c.items)
                ASSERT_NO_FATAL_FAILURE(wiz.AddThrough("_mh_BROWSEFAVS_CLS__", nullptr, 104, "OK", item));
        }
        else
        {
            ASSERT_NO_FATAL_FAILURE(wiz.Next("Backup Files Wizard"));
            ASSERT_NO_FATAL_FAILURE(wiz.Next("Step 1 of 3: Select Files."));
            for (const std::string& item : c.items)
                ASSERT_NO_FATAL_FAILURE(wiz.AddThrough("#32770", "Select a file", 1148, "Open", item));
            ASSERT_NO_FATAL_FAILURE(wiz.Next("Step 2 of 3: Select Destination."));
            ASSERT_TRUE(DrvSetText(DrvFindChildById(wiz.frame, IDC_EWIZ_DEST), c.destination));
            ASSERT_TRUE(wiz.Press(IDC_EWIZ_COPY));
        }
        if (c.branch != IDC_EWIZ_BACKUP && !skipDelay)
        {
            ASSERT_NO_FATAL_FAILURE(wiz.Next("Step 2 of 3: Select Delay."));
            if (c.delay)
            {
                ASSERT_TRUE(DrvSetText(DrvFindChildById(wiz.frame, IDC_EWIZ_DELAY), c.delay));
            }
        }
        ASSERT_NO_FATAL_FAILURE(
            wiz.Next(std::string("Step ") + steps + " of " + steps + ": Confirm Selections."));
        EXPECT_EQ(c.summary, ChildText(wiz.frame, IDC_EWIZ_SUMMARY)) << c.name;
        EXPECT_EQ("Finish", ChildText(wiz.frame, IDC_EWIZ_NEXT).erase(2, 1)) << c.name; // "Fi&nish"
        if (another)
        {
            ASSERT_TRUE(wiz.Press(IDC_EWIZ_ANOTHER));
        }
    }

    void SetPrefs(const WizardCase& c)
    {
        wintest::SetRegDword(kEditorKey, "Insert Delay", c.insertDelay);
        wintest::SetRegDword(kEditorKey, "Insert Comments", c.insertComments);
        wintest::SetRegDword(kEditorKey, "Window State", c.windowState);
    }

    // A launch file of two comment lines, opened with the first selected,
    // so a wizard's lines must land between them.
    Editor& OpenTwoLineFile(std::string* path)
    {
        *path = WriteLaunch("wizard.launch", {"//first", "//last"});
        Editor& ed = StartEditor(*path);
        EXPECT_TRUE(ed.WaitRowCount(2));
        EXPECT_TRUE(ed.Select(0));
        return ed;
    }

    // The file as the launch file model reads it back.
    static std::vector<std::string> ModelLines(const std::string& path)
    {
        CLaunchFile file;
        EXPECT_EQ(1, file.Load(path.c_str())) << path;
        std::vector<std::string> lines;
        for (int i = 0; i < (int)file.GetSize(); i++)
            lines.push_back(file.GetAt((unsigned)i)->GetString());
        return lines;
    }

    // A round of one file or web pages with the delay preference on; the
    // lines are not checked.
    static WizardCase Round(int branch, const std::vector<std::string>& items, DWORD comments,
                            const std::string& summary)
    {
        return {"round", branch, items, nullptr, nullptr, 1, comments, 1, summary, {}};
    }
};

std::vector<std::string> Between(const std::vector<std::string>& inner)
{
    std::vector<std::string> all = {"//first"};
    all.insert(all.end(), inner.begin(), inner.end());
    all.push_back("//last");
    return all;
}

// Each branch writes the lines its pages describe, after the selected row,
// one insert at a time; saved, the file reads back as those lines.
TEST_F(EditWizard, EachBranchWritesItsLinesAfterTheSelectedRow)
{
    const std::string dir = agenttest::ProgramDir(), target = dir + "tvtarget.exe";
    const std::string notes = File("notes.txt"), a = File("a.txt"), b = File("b.dat");
    WriteBytes(notes, "n");
    WriteBytes(a, "a");
    WriteBytes(b, "b");
    const std::string files = m_files + "\\";
    const std::string backup = m_files + "\\backup";
    const std::string web = "\"C:\\Browsers\\web.exe\",\"\",\"";
    const std::string fileStart =
        "//The following actions were added by the Open Files or Applications Wizard";
    const std::string fileEnd = "//End of actions added by the Open Files or Applications Wizard";
    // clang-format off
    // name, branch, items, typed delay, destination, "Insert Delay", "Insert Comments", "Window State",
    // confirmation, lines, no default browser
    const WizardCase cases[] = {
        {"one file: no wait", IDC_EWIZ_FILES, {target}, nullptr, nullptr, 1, 1, 1,
         "You have selected to open a single file or application.",
         {fileStart, "Launch \"" + target + "\",\"" + dir + "\",\"\",Normal", fileEnd}},
        {"three web pages, 500 ms", IDC_EWIZ_WEB, {"http://example.com/a", "http://example.com/b", "http://example.com/c"},
         nullptr, nullptr, 1, 1, 1,
         "You have selected to open 3 webpages with a delay of 500 milliseconds between each.",
         {"//The following actions were added by the Open Web Pages Wizard",
          "Launch " + web + "http://example.com/a\",Normal", "Wait \"500 ms\"",
          "Launch " + web + "http://example.com/b\",Normal", "Wait \"500 ms\"",
          "Launch " + web + "http://example.com/c\",Normal",
          "//End of actions added by the Open Web Pages Wizard"}},
        {"no default browser: the address is launched", IDC_EWIZ_WEB, {"http://example.com/a"}, nullptr, nullptr, 1, 0, 1,
         "You have selected to open a single webpage.",
         {"Launch \"http://example.com/a\",\"\",\"\",Normal"}, true},
        {"comments and waits off, maximized", IDC_EWIZ_FILES, {target, notes}, nullptr, nullptr, 0, 0, 3,
         "You have selected to open 2 files or applications.",
         {"Launch \"" + target + "\",\"" + dir + "\",\"\",Maximized",
          "Open \"" + notes + "\",\"" + files + "\",\"\",Maximized"}},
        {"files with a typed delay", IDC_EWIZ_FILES, {notes, target}, "250", nullptr, 1, 0, 2,
         "You have selected to open 2 files or applications with a delay of 250 milliseconds between each.",
         {"Open \"" + notes + "\",\"" + files + "\",\"\",Minimized", "Wait \"250 ms\"",
          "Launch \"" + target + "\",\"" + dir + "\",\"\",Minimized"}},
        {"backup of two files by copy", IDC_EWIZ_BACKUP, {a, b}, nullptr, backup.c_str(), 1, 1, 1,
         "You have selected to copy 2 files to " + backup + ".",
         {"//The following actions were added by the Backup Files Wizard",
          "Copy \"" + a + "\",\"" + backup + "\",AskOverwrite", "Copy \"" + b + "\",\"" + backup + "\",AskOverwrite",
          "//End of actions added by the Backup Files Wizard"}},
    };
    // clang-format on
    for (const WizardCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        SetPrefs(c);
        if (c.noBrowser)
            RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
        std::string path;
        Editor& ed = OpenTwoLineFile(&path);
        WizardDriver wiz = OpenWizard(ed);
        ASSERT_NO_FATAL_FAILURE(RunRound(wiz, c, false));
        ASSERT_TRUE(wiz.Press(IDC_EWIZ_NEXT));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(wiz.frame, kTimeout));
        ASSERT_TRUE(ed.WaitRowCount(2 + (int)c.lines.size()));
        EXPECT_TRUE(ed.Post(IDM_SAVE));
        ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [wizard.launch]"));
        EXPECT_EQ(Between(c.lines), ModelLines(path));
        if (c.branch == IDC_EWIZ_BACKUP)
        {
            // The backup lines carry their values as parameters.
            CLaunchAction copy(c.lines[1].c_str());
            char value[MAX_PATH];
            EXPECT_EQ(LA_COPY, copy.GetAction());
            EXPECT_TRUE(copy.GetParam(2, value, sizeof(value)) && backup == value);
            EXPECT_TRUE(copy.GetParam(3, value, sizeof(value)) && std::string("AskOverwrite") == value);
        }
        m_editors.clear();
    }
}

// Insert > Open Website writes the line the web pages wizard writes: the
// default browser with the address, or the address itself when the system
// knows no browser.
TEST_F(EditWizard, OpenWebsiteWritesTheWizardsLine)
{
    const std::string address = "http://example.com/w";
    for (bool browser : {true, false})
    {
        SCOPED_TRACE(browser ? "default browser" : "no default browser");
        if (!browser)
            RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
        std::string path;
        Editor& ed = OpenTwoLineFile(&path);
        ASSERT_TRUE(ed.Post(IDM_INSERT_WEBSITE));
        HWND picker = nullptr;
        ASSERT_EQ(TVD_OK, DrvWaitWindow(DrvQuery("_mh_BROWSEFAVS_CLS__", nullptr, TVD_MATCH_EXACT, ed.Pid()),
                                        kTimeout, &picker));
        ASSERT_TRUE(DrvSetText(DrvFindChildById(picker, 104), address.c_str()));
        ASSERT_TRUE(DrvClickButtonText(picker, "OK"));
        ASSERT_TRUE(ed.WaitRowCount(3));
        EXPECT_TRUE(ed.Post(IDM_SAVE));
        ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [wizard.launch]"));
        EXPECT_EQ(Between({browser ? "Launch \"C:\\Browsers\\web.exe\",\"\",\"" + address + "\",Normal"
                                   : "Launch \"" + address + "\",\"\",\"\",Normal"}),
                  ModelLines(path));
        m_editors.clear();
    }
}

// "Use another wizard" starts a second round in the same run; Undo then
// takes the lines of both rounds away one by one, newest first.
TEST_F(EditWizard, UndoRemovesTheLinesOfEveryRoundNewestFirst)
{
    const std::string target = agenttest::ProgramDir() + "tvtarget.exe";
    WizardCase web =
        Round(IDC_EWIZ_WEB, {"http://example.com/a", "http://example.com/b"}, 1,
              "You have selected to open 2 webpages with a delay of 500 milliseconds between each.");
    WizardCase file =
        Round(IDC_EWIZ_FILES, {target}, 1, "You have selected to open a single file or application.");
    SetPrefs(web);
    std::string path;
    Editor& ed = OpenTwoLineFile(&path);
    std::vector<std::string> before = ed.Rows();
    WizardDriver wiz = OpenWizard(ed);
    ASSERT_NO_FATAL_FAILURE(RunRound(wiz, web, true));
    ASSERT_NO_FATAL_FAILURE(wiz.Next("Welcome to the Tarvin Editor Wizard."));
    ASSERT_TRUE(ed.WaitRowCount(2 + 5));
    ASSERT_NO_FATAL_FAILURE(RunRound(wiz, file, false));
    ASSERT_TRUE(wiz.Press(IDC_EWIZ_NEXT));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(wiz.frame, kTimeout));
    ASSERT_TRUE(ed.WaitRowCount(2 + 5 + 3));

    std::vector<std::string> full = ed.Rows();
    EXPECT_EQ(full.front(), before.front());
    EXPECT_EQ(full.back(), before.back());
    EXPECT_EQ("Launch|\"" + target + " \", Normal", full[7]);
    // Each undo removes the newest wizard line that is left.
    for (int left = 8; left > 0; left--)
    {
        EXPECT_TRUE(ed.Post(IDM_UNDO));
        ASSERT_TRUE(ed.WaitRowCount(2 + left - 1)) << left;
        std::vector<std::string> expected(full.begin(), full.begin() + left);
        expected.push_back(full.back());
        EXPECT_EQ(expected, ed.Rows()) << left;
    }
    EXPECT_EQ(before, ed.Rows());
    EXPECT_TRUE(ed.WaitTitle("Tarvin Editor - [wizard.launch]"));
}

// Started without a file, the startup dialog offers the preferences and
// New, which leads into the wizard; after its round the new file is saved
// under the proposed name and offered for the menu.
TEST_F(EditWizard, NewFromTheStartupDialogRunsOnToSaveAndMenu)
{
    wintest::SetRegDword(kEditorKey, "Show Startup", 1);
    WizardCase web =
        Round(IDC_EWIZ_WEB, {"http://example.com/a"}, 0, "You have selected to open a single webpage.");
    SetPrefs(web);
    Editor& ed = StartEditor("");
    HWND startup = ed.Dialog("Tarvin 2 Editor Startup Wizard");
    ASSERT_TRUE(startup != nullptr);
    // The preferences open over it; while the startup dialog is up, the main
    // window stays disabled.
    ASSERT_TRUE(DrvPressButton(startup, IDC_STARTUP_PREFS));
    HWND prefs = ed.Dialog("Preferences");
    ASSERT_TRUE(prefs != nullptr);
    ASSERT_TRUE(DrvPressButton(prefs, IDCANCEL));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(prefs, kTimeout));
    ASSERT_TRUE(DrvIsReady(startup));
    EXPECT_FALSE(IsWindowEnabled(ed.Main()));
    ASSERT_TRUE(DrvPostCommand(startup, IDC_STARTUP_NEW)); // an icon button takes no BM_CLICK
    WizardDriver wiz = {ed.Dialog(kWizardCaption), ed.Pid()};
    ASSERT_TRUE(wiz.WaitTitle("Use a Wizard"));
    EXPECT_EQ("A new launch file has been created.", ChildText(wiz.frame, IDC_EWIZ_TEXT1));
    ASSERT_NO_FATAL_FAILURE(wiz.Next("Welcome to the Tarvin Editor Wizard."));
    ASSERT_NO_FATAL_FAILURE(RunRound(wiz, web, false));
    ASSERT_NO_FATAL_FAILURE(wiz.Next("Save Your Launch File"));
    ASSERT_TRUE(ed.WaitRowCount(1));
    ASSERT_TRUE(wiz.Press(IDC_EWIZ_NEXT));
    HWND save = ed.Dialog("Save Launch File As");
    ASSERT_TRUE(save != nullptr);
    ASSERT_TRUE(DrvClickButtonText(save, "Save"));
    ASSERT_TRUE(wiz.WaitTitle("Add to Menu"));
    EXPECT_TRUE(ed.WaitTitle("Tarvin Editor - [New Launch File 1.launch]"));
    ASSERT_TRUE(wiz.Press(IDC_EWIZ_NEXT)); // Finish
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(wiz.frame, kTimeout));
    EXPECT_EQ(
        std::vector<std::string>{"Launch \"C:\\Browsers\\web.exe\",\"\",\"http://example.com/a\",Normal"},
        ModelLines(File("New Launch File 1.launch")));
}

class EditAddToMenu : public edittest::EditorTest
{
  protected:
    std::string MenuPath() const
    {
        return File("Tarvin.menu");
    }

    HWND OpenDialog(Editor& ed)
    {
        EXPECT_TRUE(ed.Post(IDM_ADDTOMENU));
        HWND dlg = ed.Dialog("Add to Tarvin 2 Shortcuts menu");
        return dlg;
    }

    static std::string Tree(HWND dlg)
    {
        char dump[1024] = "";
        DrvTreeDump(DrvFindChildById(dlg, IDC_ATM_TREE), dump, sizeof(dump));
        return dump;
    }
};

// The tree shows the menu's submenus only. A submenu made in the dialog
// stays in the model until Cancel throws it away; Select adds the launch
// file under the chosen submenu and writes the menu file, and the agent's
// tray menu then runs it with a click.
TEST_F(EditAddToMenu, SelectWritesTheMenuFileAndTheTrayMenuRunsTheEntry)
{
    const std::string menu = "<?TarvinMenu version=\"1.00\"?>\r\n"
                             "<menu text=\"Tarvin 2\" iconpath=\"\" iconnumber=\"0\" sidebar=\"false\">\r\n"
                             "<menu text=\"Tools\" iconpath=\"\" iconnumber=\"0\" sidebar=\"false\">\r\n"
                             "<menuitem text=\"Notes\" target=\"notepad.exe\" cmdline=\"\" workdir=\"\" "
                             "windowstate=\"1\" iconpath=\"\" iconnumber=\"0\" />\r\n"
                             "</menu>\r\n"
                             "</menu>\r\n";
    WriteBytes(MenuPath(), menu);
    std::string launch =
        WriteLaunch("Morning.launch", {"Launch \"" + agenttest::ProgramDir() +
                                       "tvtarget.exe\",\"\",\"-title=FromWizardMenu\",Normal"});
    Editor& ed = StartEditor(launch);

    HWND dlg = OpenDialog(ed);
    ASSERT_TRUE(dlg != nullptr);
    EXPECT_EQ("You have selected to add your launch file to your Tarvin 2 Shortcuts menu.",
              ChildText(dlg, IDC_ATM_TEXT1));
    EXPECT_EQ("Tarvin 2\n  Tools\n", Tree(dlg));
    for (const char* name : {"Evening", "Night"})
    {
        ASSERT_TRUE(DrvPressButton(dlg, IDC_ATM_NEWSUBMENU));
        HWND sub = ed.Dialog("Insert Submenu");
        ASSERT_TRUE(sub != nullptr);
        EXPECT_EQ("New Submenu", ChildText(sub, IDC_NSM_NAME));
        ASSERT_TRUE(DrvSetText(DrvFindChildById(sub, IDC_NSM_NAME), name));
        ASSERT_TRUE(DrvPressButton(sub, IDOK));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(sub, kTimeout));
    }
    // The second submenu went under the first, which was selected when made.
    EXPECT_EQ("Tarvin 2\n  Tools\n  Evening\n    Night\n", Tree(dlg));
    ASSERT_TRUE(DrvPressButton(dlg, IDCANCEL));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kTimeout));
    EXPECT_EQ(menu, ReadBytes(MenuPath()));

    dlg = OpenDialog(ed);
    ASSERT_TRUE(dlg != nullptr);
    EXPECT_EQ("Tarvin 2\n  Tools\n", Tree(dlg));
    ASSERT_TRUE(DrvPressButton(dlg, IDOK));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kTimeout));

    CMenu model;
    ASSERT_TRUE(model.ReadFile(MenuPath().c_str()));
    CPtrTree<CMenuItem>* root = model.GetMenuTree();
    ASSERT_EQ(2u, root->GetSize());
    const CMenuItem* added = root->GetAt(1)->GetData();
    EXPECT_STREQ("Morning", added->GetText());
    EXPECT_EQ(launch, added->GetTarget());
    EXPECT_EQ(launch, added->GetIconPath());
    EXPECT_STREQ("", added->GetCmdLine());
    EXPECT_EQ((unsigned long)MENU_STYLE_ITEM, added->GetStyle());
    EXPECT_EQ(1ul, added->GetWindowState());

    // The tray: a left click opens the user menu, read afresh from the file;
    // its last entry is the launch file, which the shell hands to the
    // interpreter.
    std::string command = "\"" + agenttest::ProgramDir() + "tvint.exe\" -file=\"%1\"";
    AssociateFile(".launch", "Tarvin.LaunchFile", "Tarvin File", command.c_str(), "Open");
    ASSERT_TRUE(Start() != nullptr);
    DrvTrayIcon icon;
    ASSERT_EQ(TVD_OK, DrvWaitFor([&]() { return DrvFindTrayIcon("Tarvin 2", &icon); }, kTimeout));
    POINT at = icon.at;
    ClientToScreen(icon.window, &at);
    ASSERT_TRUE(RunXClick(at.x, at.y));
    HWND popup = nullptr;
    ASSERT_EQ(TVD_OK, DrvWaitWindow(DrvQuery("#32768", nullptr, TVD_MATCH_EXACT, Pid()), kTimeout, &popup));
    RECT rc;
    ASSERT_TRUE(GetWindowRect(popup, &rc));
    // Two entries of equal height: Tools, then Morning.
    ASSERT_TRUE(RunXClick((rc.left + rc.right) / 2, rc.top + (rc.bottom - rc.top) * 3 / 4));
    HWND target = nullptr;
    EXPECT_EQ(TVD_OK, DrvWaitWindow(DrvQuery("TVTargetWindow", "FromWizardMenu"), kTimeout, &target));
    if (target)
    {
        DrvClose(target);
        DrvWaitDestroyed(target, kTimeout);
    }
}

// A menu file that cannot be read is reported, and no entry is written over
// it: the part read so far would replace the user's whole menu.
TEST_F(EditAddToMenu, DamagedMenuFileIsReportedAndKept)
{
    const std::string damaged =
        "<?TarvinMenu version=\"1.00\"?>\r\n"
        "<menu text=\"Tarvin 2\" iconpath=\"\" iconnumber=\"0\" sidebar=\"false\">\r\n"
        "<menu text=\"Tools\" iconpath=\"\" iconnumber=\"0\" sidebar=\"false\">\r\n"
        "<bogus />\r\n"
        "</menu>\r\n"
        "</menu>\r\n";
    WriteBytes(MenuPath(), damaged);
    Editor& ed = StartEditor(WriteLaunch("Morning.launch", {"ShowAll"}));
    EXPECT_TRUE(ed.Post(IDM_ADDTOMENU));
    EXPECT_EQ("Error code 4 occurred while trying to read the menu file.",
              ed.Answer("Add to Tarvin 2 Shortcuts menu", IDOK));
    EXPECT_EQ(TVD_OK,
              DrvWaitWindowGone(
                  DrvQuery("#32770", "Add to Tarvin 2 Shortcuts menu", TVD_MATCH_EXACT, ed.Pid()), kTimeout));
    EXPECT_EQ(damaged, ReadBytes(MenuPath()));
}

} // namespace
