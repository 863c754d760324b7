// The menu editor's dialogs end to end: the real tvmedit.exe in a scratch
// files folder, its commands posted and its dialogs filled in through the
// test driver as a user would, and the menu file and shortcuts it writes
// read back.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "e2e/medit_testutil.h"
#include "dialogs_res.h"
#include "shelllink.h"
#include "xmlutils.h"

namespace
{

using namespace medittest;
using e2etest::Control;
using e2etest::TextOf;
using wintest::StoredDword;

// A menu whose side bar root has an icon, with the entry lines given.
std::string MenuText(const char* root, const std::string& entries)
{
    return std::string("<?TarvinMenu version=\"1.00\"?>\r\n<menu text=\"") + root +
           "\" iconpath=\"shell32.dll\" iconnumber=\"4\" sidebar=\"true\">\r\n" + entries + "</menu>\r\n";
}

class MeditDialogs : public MeditTest
{
  protected:
    void SetUp() override
    {
        MeditTest::SetUp();
        m_reg.SetDword(kMeditKey, "Advanced Mode", 1);
        m_reg.SetDword(kMeditKey, "Window State", 1);
    }

    void TearDown() override
    {
        m_ed.reset();
        MeditTest::TearDown();
    }

    // Starts the editor, on a menu file when one is given.
    void Start(const std::string& menu = "")
    {
        m_ed.reset(new CMedit);
        ASSERT_TRUE(m_ed->Start(menu));
        m_main = m_ed->Main();
    }

    void SaveAs(const std::string& path)
    {
        HWND dlg = m_ed->Dialog("Save Menu File As");
        ASSERT_TRUE(dlg != NULL);
        ASSERT_TRUE(e2etest::FileDialogTake(dlg, path, "Save"));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kTimeout));
    }

    bool WaitFor(const std::function<bool()>& cond)
    {
        return DrvWaitFor(cond, kTimeout) == TVD_OK;
    }

    // The properties of the first list row.
    HWND OpenProperties()
    {
        EXPECT_TRUE(m_ed->SelectRow(0));
        EXPECT_TRUE(m_ed->Post(IDM_PROPERTIES));
        HWND dlg = m_ed->Dialog("Properties");
        Control(dlg, IDC_PROP_TEXT);
        return dlg;
    }

    std::unique_ptr<CMedit> m_ed;
    HWND m_main = NULL;
};

TEST_F(MeditDialogs, BuildsAMenuFromNothingThroughTheDialogsAndOpensItAgain)
{
    Start();
    // New in advanced mode: the plain submenu dialog names the side bar root.
    ASSERT_TRUE(m_ed->Post(IDM_NEW));
    HWND dlg = m_ed->Dialog("New Menu");
    EXPECT_EQ("New Tarvin Menu", TextOf(Control(dlg, IDC_SUB_NAME)));
    ASSERT_TRUE(DrvSetText(Control(dlg, IDC_SUB_NAME), "My Tools"));
    ASSERT_TRUE(DrvPressButton(dlg, IDOK));
    ASSERT_TRUE(WaitFor([&]() { return m_ed->TreeText() == "My Tools\n"; })) << m_ed->TreeText();

    // An item through the wizard: target, then the name it proposes.
    ASSERT_TRUE(m_ed->Post(IDM_ITEMWIZARD));
    dlg = m_ed->Dialog("Menu Item Wizard");
    HWND next = Control(dlg, IDC_WIZ_NEXT);
    EXPECT_FALSE(IsWindowEnabled(next)) << "Next with no target";
    ASSERT_TRUE(DrvSetText(Control(dlg, IDC_WIZ_TARGET), "C:\\windows\\notepad.exe"));
    ASSERT_TRUE(WaitFor([&]() { return IsWindowEnabled(next) != FALSE; }));
    ASSERT_TRUE(DrvPressButton(dlg, IDC_WIZ_NEXT));
    HWND name = Control(dlg, IDC_WIZ_NAME);
    EXPECT_EQ("Notepad", TextOf(name));
    EXPECT_EQ("Fi&nish", TextOf(next));
    // Back shows the target again; Next comes back to the same name.
    ASSERT_TRUE(DrvPressButton(dlg, IDC_WIZ_BACK));
    EXPECT_EQ("C:\\windows\\notepad.exe", TextOf(Control(dlg, IDC_WIZ_TARGET)));
    ASSERT_TRUE(DrvPressButton(dlg, IDC_WIZ_NEXT));
    EXPECT_EQ("Notepad", TextOf(Control(dlg, IDC_WIZ_NAME)));
    // Another target: the name and icon the user left as proposed follow it.
    ASSERT_TRUE(DrvPressButton(dlg, IDC_WIZ_BACK));
    ASSERT_TRUE(DrvSetText(Control(dlg, IDC_WIZ_TARGET), "C:\\windows\\regedit.exe"));
    ASSERT_TRUE(DrvPressButton(dlg, IDC_WIZ_NEXT));
    EXPECT_EQ("Regedit", TextOf(Control(dlg, IDC_WIZ_NAME)));
    ASSERT_TRUE(DrvPressButton(dlg, IDC_WIZ_NEXT));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kTimeout));

    ASSERT_TRUE(m_ed->Post(IDM_INSERTSUBMENU));
    dlg = m_ed->Dialog("New Submenu");
    EXPECT_EQ("New Submenu", TextOf(Control(dlg, IDC_SUB_NAME)));
    ASSERT_TRUE(DrvSetText(Control(dlg, IDC_SUB_NAME), "Games"));
    ASSERT_TRUE(DrvPressButton(dlg, IDOK));
    ASSERT_TRUE(m_ed->Post(IDM_INSERTSEPARATOR));
    const std::string rows = "Regedit|Games|---";
    ASSERT_TRUE(WaitFor([&]() { return m_ed->Rows() == rows; })) << m_ed->Rows();

    std::string path = File("built.menu");
    ASSERT_TRUE(m_ed->Post(IDM_SAVE));
    SaveAs(path);
    EXPECT_NE(std::string::npos,
              m_ed->Answer("Create Shortcut", IDNO).find("saved a new menu for the first time"));
    ASSERT_TRUE(e2etest::WaitFile(path));
    EXPECT_EQ(MenuText("My Tools",
                       "<menuitem text=\"Regedit\" target=\"C:\\windows\\regedit.exe\" cmdline=\"\" "
                       "workdir=\"C:\\windows\\\" windowstate=\"1\" iconpath=\"C:\\windows\\regedit.exe\" "
                       "iconnumber=\"0\" />\r\n"
                       "<menu text=\"Games\" iconpath=\"shell32.dll\" iconnumber=\"4\" sidebar=\"false\">\r\n"
                       "</menu>\r\n"
                       "<menuseparator />\r\n"),
              ReadBytes(path));

    m_ed.reset();
    Start(path);
    ASSERT_TRUE(WaitFor([&]() { return m_ed->TreeText() == "My Tools\n  Games\n" && m_ed->Rows() == rows; }))
        << m_ed->TreeText() << m_ed->Rows();
}

// Without the advanced mode, New and Submenu run the item wizard, which
// starts on the name page with the defaults of the kind of entry.
TEST_F(MeditDialogs, WizardMakesNewMenusAndSubmenusFromTheirDefaults)
{
    struct Case
    {
        int command;
        const char* caption;
        const char* title;
        const char* proposed;
        const char* name;
        const char* tree;
    };
    const Case cases[] = {
        {IDM_NEW, "New Menu Wizard", "Welcome to the New Menu Wizard.", "New Tarvin Menu", "Wizard Menu",
         "Wizard Menu\n"},
        {IDM_INSERTSUBMENU, "Submenu Wizard", "Welcome to the Submenu Wizard.", "New Submenu", "Sub",
         "Wizard Menu\n  Sub\n"},
    };
    m_reg.SetDword(kMeditKey, "Advanced Mode", 0);
    Start();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.caption);
        ASSERT_TRUE(m_ed->Post(c.command));
        HWND dlg = m_ed->Dialog(c.caption);
        HWND name = Control(dlg, IDC_WIZ_NAME);
        EXPECT_EQ(c.title, TextOf(Control(dlg, IDC_WIZ_TITLE)));
        EXPECT_EQ(c.proposed, TextOf(name));
        EXPECT_EQ("Fi&nish", TextOf(Control(dlg, IDC_WIZ_NEXT)));
        EXPECT_FALSE(IsWindowEnabled(Control(dlg, IDC_WIZ_BACK)));
        ASSERT_TRUE(DrvSetText(name, c.name));
        ASSERT_TRUE(DrvPressButton(dlg, IDC_WIZ_NEXT));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kTimeout));
        ASSERT_TRUE(WaitFor([&]() { return m_ed->TreeText() == c.tree; })) << m_ed->TreeText();
    }
}

// Each case edits one field of an item's properties and presses OK; a value
// the menu file cannot keep is refused and the dialog stays open.
TEST_F(MeditDialogs, PropertiesStoreWhatTheFileCanKeepAndRefuseTheRest)
{
    struct Case
    {
        int control;
        const char* value; // null: choose "Maximized" in the window state list
        bool refused;
        const char* expected; // in the saved file
    };
    const Case cases[] = {
        {IDC_PROP_WINDOWSTATE, NULL, false, "windowstate=\"3\""},
        {IDC_PROP_CMDLINE, "/say \"hi\"", false, "cmdline='/say \"hi\"'"},
        {IDC_PROP_TEXT, "it's \"odd\"", true, "text=\"Notes\""},
        {IDC_PROP_TARGET, "C:\\a'b\"c.txt", true, "target=\"C:\\notes.txt\""},
    };
    std::string path = File("props.menu");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.expected);
        WriteBytes(path,
                   MenuText("Props",
                            "<menuitem text=\"Notes\" target=\"C:\\notes.txt\" cmdline=\"\" workdir=\"C:\\\" "
                            "windowstate=\"1\" iconpath=\"\" iconnumber=\"0\" />\r\n"));
        Start(path);
        ASSERT_TRUE(WaitFor([&]() { return DrvListViewRowCount(m_ed->List()) == 1; }));
        HWND dlg = OpenProperties();
        HWND control = Control(dlg, c.control);
        if (c.value)
            ASSERT_TRUE(DrvSetText(control, c.value));
        else
            ASSERT_TRUE(DrvComboSelect(control, 2));
        ASSERT_TRUE(DrvPressButton(dlg, IDOK));
        if (c.refused)
        {
            EXPECT_EQ(TAG_VALUE_QUOTES_TEXT, m_ed->Answer("Properties", IDOK, dlg));
            EXPECT_EQ(c.value, TextOf(Control(dlg, c.control))) << "the page keeps what was typed";
            ASSERT_TRUE(DrvPressButton(dlg, IDCANCEL));
        }
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kTimeout));
        ASSERT_TRUE(m_ed->Post(IDM_SAVE));
        ASSERT_TRUE(WaitFor([&]() { return ReadBytes(path).find(c.expected) != std::string::npos; }))
            << ReadBytes(path);
        m_ed.reset();
    }
}

// The link is named after the root's text; characters a file name cannot
// hold must not turn the name into a path into folders that do not exist.
TEST_F(MeditDialogs, DesktopShortcutStartsTheMenuInterpreterWithTheMenuFile)
{
    struct Case
    {
        const char* root;
        const char* link;
    };
    const Case cases[] = {
        {"Link Test", "Link Test.lnk"},
        {"Tools/Games: A|B?", "Tools_Games_ A_B_.lnk"},
    };
    char desktop[MAX_PATH] = "";
    ASSERT_TRUE(SHGetSpecialFolderPathA(NULL, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
    std::string path = File("links.menu");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.root);
        WriteBytes(path, MenuText(c.root, ""));
        Start(path);
        ASSERT_TRUE(m_ed->Post(IDM_SHORTCUTS));
        HWND dlg = m_ed->Dialog("Create a menu shortcut");
        ASSERT_TRUE(DrvPressButton(dlg, IDC_SC_DESKTOP));
        EXPECT_EQ("The shortcut has been placed on the desktop.", m_ed->Answer("Create Shortcut", IDOK));
        ASSERT_TRUE(DrvPressButton(dlg, IDCANCEL));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kTimeout));
        m_ed.reset();

        std::string lnk = std::string(desktop) + "\\" + c.link;
        ASSERT_TRUE(e2etest::Exists(lnk)) << lnk;
        CShellLink link;
        ASSERT_EQ(1, link.Load(lnk.c_str()));
        DeleteFileA(lnk.c_str());
        std::string target = link.GetPath();
        ASSERT_GE(target.size(), 10u);
        EXPECT_EQ(0, lstrcmpiA(target.c_str() + target.size() - 10, "tvmint.exe")) << target;
        EXPECT_EQ("-file=\"" + path + "\"", std::string(link.GetArguments()));
        EXPECT_EQ(m_files + "\\", std::string(link.GetWorkingDirectory()));
        EXPECT_EQ(std::string(c.root) + " menu", std::string(link.GetDescription()));
        EXPECT_EQ(0, lstrcmpiA("shell32.dll", link.GetIconLocation())) << link.GetIconLocation();
        EXPECT_EQ(4, link.GetIconLocationIndex());
    }
}

// The Quick Launch folder belongs to the browser; without it there is no
// shortcut and the user is told why.
TEST_F(MeditDialogs, QuickLaunchShortcutNeedsTheQuickLaunchFolder)
{
    char appData[MAX_PATH] = "";
    ASSERT_TRUE(SHGetSpecialFolderPathA(NULL, appData, CSIDL_APPDATA, FALSE));
    std::string folder = std::string(appData) + "\\Microsoft\\Internet Explorer\\Quick Launch";
    std::string lnk = folder + "\\Quick.lnk";
    RemoveDirectoryA(folder.c_str());
    ASSERT_FALSE(e2etest::Exists(folder)) << "a Quick Launch folder with files in it";
    std::string path = File("quick.menu");
    WriteBytes(path, MenuText("Quick", ""));
    Start(path);
    ASSERT_TRUE(m_ed->Post(IDM_SHORTCUTS));
    HWND dlg = m_ed->Dialog("Create a menu shortcut");
    ASSERT_TRUE(DrvPressButton(dlg, IDC_SC_QUICKLAUNCH));
    EXPECT_EQ(
        "Cannot find the quick launch folder.\n\nYou may not have Internet Explorer 4 or later installed.",
        m_ed->Answer("Create Shortcut", IDOK));
    EXPECT_FALSE(e2etest::Exists(lnk));

    ASSERT_EQ(0, SHCreateDirectoryExA(NULL, folder.c_str(), NULL));
    ASSERT_TRUE(DrvPressButton(dlg, IDC_SC_QUICKLAUNCH));
    EXPECT_EQ("The shortcut has been added to the Quick Launch tray.", m_ed->Answer("Create Shortcut", IDOK));
    EXPECT_TRUE(e2etest::Exists(lnk));
    DeleteFileA(lnk.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(MeditDialogs, ShortcutForAnUnsavedMenuAsksToSaveFirst)
{
    Start();
    ASSERT_TRUE(m_ed->Post(IDM_NEW));
    HWND dlg = m_ed->Dialog("New Menu");
    ASSERT_TRUE(DrvPressButton(dlg, IDOK));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kTimeout));

    ASSERT_TRUE(m_ed->Post(IDM_SHORTCUTS));
    EXPECT_EQ(
        "The menu must be saved before you can create shortcuts.\n\nWould you like to save the menu now?",
        m_ed->Answer("Create Shortcut", IDYES));
    // Saving starts with the file dialog; giving it up makes no shortcut.
    HWND save = m_ed->Dialog("Save Menu File As");
    ASSERT_TRUE(DrvPressButton(save, IDCANCEL));
    EXPECT_EQ("No shortcut was created.", m_ed->Answer("Create Shortcut", IDOK));

    // Saved from here, the menu goes straight on to the shortcuts dialog: the
    // editor's own first-save offer would open a second one inside it.
    ASSERT_TRUE(m_ed->Post(IDM_SHORTCUTS));
    m_ed->Answer("Create Shortcut", IDYES);
    SaveAs(File("first.menu"));
    HWND shortcuts = m_ed->Dialog("Create a menu shortcut");
    ASSERT_TRUE(shortcuts != NULL);
    ASSERT_TRUE(DrvPressButton(shortcuts, IDCANCEL));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(shortcuts, kTimeout));
}

// The tutorial's help window takes the left half of the work area and the
// editor the rest (the work area here is wider than twice 480 pixels).
TEST_F(MeditDialogs, TutorialOpensTheHelpBesideTheEditor)
{
    m_reg.SetDword(kMeditKey, "Show Startup", 1);
    Start();
    HWND wizard = m_ed->Dialog("Tarvin Menu Editor Startup Wizard");
    ASSERT_TRUE(DrvPressButton(wizard, IDC_START_TUTORIAL));
    HWND help = NULL;
    ASSERT_EQ(TVD_OK,
              DrvWaitWindow(DrvQuery(NULL, "Tarvin Menu Editor Tutorial", TVD_MATCH_EXACT, m_ed->Pid()),
                            kTimeout, &help));
    RECT work, helpRect, editor;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    ASSERT_TRUE(WaitFor([&]() {
        GetWindowRect(help, &helpRect);
        GetWindowRect(m_main, &editor);
        return editor.left == helpRect.right;
    }));
    EXPECT_EQ(work.left, helpRect.left);
    EXPECT_EQ((work.right - work.left) / 2, helpRect.right - helpRect.left);
    EXPECT_EQ(work.right, editor.right);
    ASSERT_TRUE(DrvPressButton(wizard, IDCANCEL));
}

TEST_F(MeditDialogs, StartupWizardAdvancedSwitchesItselfOffThroughThePreferences)
{
    m_reg.SetDword(kMeditKey, "Show Startup", 1);
    Start();
    HWND wizard = m_ed->Dialog("Tarvin Menu Editor Startup Wizard");
    ASSERT_TRUE(Control(wizard, IDC_START_NEW) && Control(wizard, IDC_START_OPENTV));
    ASSERT_TRUE(DrvPressButton(wizard, IDC_START_ADVANCED));
    HWND prefs = m_ed->Dialog("Preferences");
    HWND show = Control(prefs, IDC_PREF_SHOWSTARTUP);
    EXPECT_EQ(BST_CHECKED, SendMessageA(show, BM_GETCHECK, 0, 0));
    ASSERT_TRUE(DrvPressButton(prefs, IDC_PREF_SHOWSTARTUP));
    ASSERT_TRUE(DrvComboSelect(Control(prefs, IDC_PREF_WINDOWSTATE), 1));
    ASSERT_TRUE(DrvPressButton(prefs, IDOK));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(wizard, kTimeout)) << "the wizard closes once it is switched off";
    EXPECT_EQ(0, StoredDword(kMeditKey, "Show Startup"));
    EXPECT_EQ(2, StoredDword(kMeditKey, "Window State")) << "Minimized is stored as its index + 1";
}

// Cancel stores nothing; OK stores the three settings at once, while "Test
// Full" stays with the editor until it exits.
TEST_F(MeditDialogs, PreferencesStoreOnOkAndTestFullAtExit)
{
    auto stored = [](const char* name) { return StoredDword(kMeditKey, name); };
    Start();
    for (int button : {IDCANCEL, IDOK})
    {
        ASSERT_TRUE(m_ed->Post(IDM_PREFERENCES));
        HWND prefs = m_ed->Dialog("Preferences");
        ASSERT_TRUE(DrvPressButton(prefs, IDC_PREF_ADVANCED));
        ASSERT_TRUE(DrvPressButton(prefs, IDC_PREF_TESTFULL));
        ASSERT_TRUE(DrvComboSelect(Control(prefs, IDC_PREF_WINDOWSTATE), 2));
        ASSERT_TRUE(DrvPressButton(prefs, button));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(prefs, kTimeout));
        ASSERT_TRUE(m_ed->Ready());
        bool ok = button == IDOK;
        EXPECT_EQ(ok ? 0 : 1, stored("Advanced Mode")) << button;
        EXPECT_EQ(ok ? 3 : 1, stored("Window State")) << button;
        EXPECT_EQ(1, stored("Test Full")) << button;
    }
    ASSERT_TRUE(m_ed->Post(IDM_EXIT));
    ASSERT_EQ(TVD_OK, m_ed->Process()->WaitExit(kTimeout));
    EXPECT_EQ(0, stored("Test Full"));
}

} // namespace
