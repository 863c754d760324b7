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
    // The program picker opened by Add: its field takes the item, OK closes
    // it, and the item appears in the page's list.
    void AddThrough(const std::string& item) const
    {
        int before = ItemCount();
        ASSERT_TRUE(Press(IDC_EWIZ_ADD));
        HWND picker = nullptr;
        ASSERT_EQ(TVD_OK, DrvWaitWindow(DrvQuery("_mh_BROWSEAPPS_CLS__", nullptr, TVD_MATCH_EXACT, pid),
                                        kTimeout, &picker))
            << "no picker for " << item;
        ASSERT_TRUE(DrvSetText(DrvFindChildById(picker, 104), item.c_str()));
        ASSERT_TRUE(DrvClickButtonText(picker, "OK"));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(picker, kTimeout));
        ASSERT_EQ(TVD_OK, DrvWaitFor([&]() { return ItemCount() == before + 1; }, kTimeout)) << item;
    }
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

// The files branch writes the lines its pages describe, in the editor's
// window state and without comments as set, after the selected row, one
// insert at a time; saved, the file reads back as those lines. The lines of
// every branch are the host's EditorWizard test.
TEST_F(EditWizard, WizardWritesItsLinesAfterTheSelectedRow)
{
    const std::string dir = agenttest::ProgramDir(), target = dir + "tvtarget.exe", notes = File("notes.txt");
    WriteBytes(notes, "n");
    wintest::SetRegDword(kEditorKey, "Insert Comments", 0);
    wintest::SetRegDword(kEditorKey, "Window State", 2);
    std::string path;
    Editor& ed = OpenTwoLineFile(&path);
    WizardDriver wiz = OpenWizard(ed);
    ASSERT_TRUE(wiz.Press(IDC_EWIZ_FILES));
    ASSERT_NO_FATAL_FAILURE(wiz.Next("Open Files or Applications Wizard"));
    ASSERT_NO_FATAL_FAILURE(wiz.Next("Step 1 of 3: Select Files."));
    for (const std::string& item : {notes, target})
        ASSERT_NO_FATAL_FAILURE(wiz.AddThrough(item));
    ASSERT_NO_FATAL_FAILURE(wiz.Next("Step 2 of 3: Select Delay."));
    ASSERT_TRUE(DrvSetText(DrvFindChildById(wiz.frame, IDC_EWIZ_DELAY), "250"));
    ASSERT_NO_FATAL_FAILURE(wiz.Next("Step 3 of 3: Confirm Selections."));
    EXPECT_EQ("Finish", ChildText(wiz.frame, IDC_EWIZ_NEXT).erase(2, 1)); // "Fi&nish"
    ASSERT_TRUE(wiz.Press(IDC_EWIZ_NEXT));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(wiz.frame, kTimeout));
    ASSERT_TRUE(ed.WaitRowCount(5));
    EXPECT_TRUE(ed.Post(IDM_SAVE));
    ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [wizard.launch]"));
    EXPECT_EQ(Between({"Open \"" + notes + "\",\"" + m_files + "\\\",\"\",Minimized", "Wait \"250 ms\"",
                       "Launch \"" + target + "\",\"" + dir + "\",\"\",Minimized"}),
              ModelLines(path));
}

// Insert > Open Website writes the line the web pages wizard writes, with the
// system's default browser. The line without a browser is the host's
// EditorWizard test.
TEST_F(EditWizard, OpenWebsiteWritesTheWizardsLine)
{
    const std::string address = "http://example.com/w";
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
    EXPECT_EQ(Between({"Launch \"C:\\Browsers\\web.exe\",\"\",\"" + address + "\",Normal"}),
              ModelLines(path));
}

} // namespace
