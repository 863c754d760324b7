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
    // page. Finish follows.
    void RunRound(const WizardDriver& wiz, const WizardCase& c)
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
    // clang-format off
    // name, branch, items, typed delay, destination, "Insert Delay", "Insert Comments", "Window State",
    // confirmation, lines
    const WizardCase cases[] = {
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
        std::string path;
        Editor& ed = OpenTwoLineFile(&path);
        WizardDriver wiz = OpenWizard(ed);
        ASSERT_NO_FATAL_FAILURE(RunRound(wiz, c));
        ASSERT_TRUE(wiz.Press(IDC_EWIZ_NEXT));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(wiz.frame, kTimeout));
        ASSERT_TRUE(ed.WaitRowCount(2 + (int)c.lines.size()));
        EXPECT_TRUE(ed.Post(IDM_SAVE));
        ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [wizard.launch]"));
        EXPECT_EQ(Between(c.lines), ModelLines(path));
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

} // namespace
