// The launch file editor's main window end to end: the real tvedit.exe on
// files in a scratch folder, driven through its commands as a user would.
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/editor_testutil.h"
#include "propertiesDlg_res.h"
#include "wizardDlg_res.h"

namespace
{

using namespace edittest;
using e2etest::PutClipboard;

class EditMain : public edittest::EditorTest
{
  public:
};

// Logging off with unsaved changes asks the save question: Yes saves (a save
// that fails keeps the session waiting), No drops the changes, Cancel keeps
// the session waiting. An unmodified file asks nothing.
TEST_F(EditMain, SessionEndAsksTheSaveQuestion)
{
    const Rows original = {"Message \"a\"", "Message \"b\""}, moved = {original[1], original[0]};
    struct
    {
        const char* what;
        int answer; // 0: no edit, no question
        bool readOnly;
        BOOL result;
        bool saved;
    } cases[] = {
        {"unmodified", 0, false, TRUE, false},          {"yes saves", IDYES, false, TRUE, true},
        {"yes, save fails", IDYES, true, FALSE, false}, {"no drops the changes", IDNO, false, TRUE, false},
        {"cancel", IDCANCEL, false, FALSE, false},
    };
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::string path = WriteLaunch("session.launch", original);
        Editor& ed = StartEditor(path);
        ASSERT_TRUE(ed.WaitRowCount(2));
        if (c.answer)
        {
            ASSERT_TRUE(ed.Select(1));
            ed.Post(IDM_MOVEUP);
            ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [session.launch]*"));
        }
        if (c.readOnly)
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        DWORD_PTR result = 2;
        std::thread session([&]() {
            SendMessageTimeoutA(ed.Main(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                2 * kTimeout, &result);
        });
        if (c.answer)
        {
            EXPECT_EQ("Do you want to save changes before closing this launch file?",
                      ed.Answer("Confirm", c.answer));
        }
        if (c.readOnly)
            ed.Answer("Tarvin Editor", IDOK);
        session.join();
        EXPECT_EQ((DWORD_PTR)c.result, result);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(c.saved ? moved : original, ReadLines(path));
        m_editors.clear();
    }
}

// The shell's Edit verb, with its command line exactly as registered, opens
// a file whose name holds an apostrophe.
TEST_F(EditMain, EditVerbOpensAPathWithAnApostrophe)
{
    StartEditor(""); // registers the verb
    std::string command = e2etest::ClassesDefault("Tarvin.LaunchFile\\shell\\Edit\\command");
    size_t exeEnd = command.find("\" ", 1), at = command.find("%1");
    ASSERT_TRUE(command[0] == '"' && exeEnd != std::string::npos && at != std::string::npos) << command;
    std::string args = command.substr(exeEnd + 2);
    args.replace(args.find("%1"), 2, WriteLaunch("Bob's plan.launch", {"Message \"hi\""}));
    m_editors.emplace_back(new Editor);
    ASSERT_TRUE(m_editors.back()->Start("tvedit.exe", args, "_TVEDIT_MAINWND"));
    EXPECT_TRUE(m_editors.back()->WaitTitle("Tarvin Editor - [Bob's plan.launch]")) << command;
}

// OK on properties the user did not change keeps the line as it was written,
// however it is spelled: no undo step, nothing modified, the same bytes saved.
TEST_F(EditMain, PropertiesOkWithoutChangeKeepsTheLine)
{
    const Rows lines = {"showall", "wait  \"100 ms\"", "Message   \"spaced\"", "Close\t\"Notepad\""};
    std::string path = WriteLaunch("asis.launch", lines);
    Editor& ed = StartEditor(path);
    ASSERT_TRUE(ed.WaitRowCount((int)lines.size()));
    for (int row = 0; row < (int)lines.size(); row++)
    {
        SCOPED_TRACE(lines[row]);
        ASSERT_TRUE(ed.Select(row));
        ed.Post(IDM_PROPERTIES);
        HWND dlg = ed.Dialog("Properties");
        ASSERT_TRUE(dlg != nullptr);
        ASSERT_TRUE(DrvPressButton(dlg, IDOK));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kTimeout));
        ASSERT_TRUE(ed.Ready());
        EXPECT_EQ("Tarvin Editor - [asis.launch]", ed.Title());
    }
    ed.Post(IDM_SAVE);
    ASSERT_TRUE(ed.Ready());
    EXPECT_EQ(lines, ReadLines(path));
}

// Preferences opened from the startup dialog: whichever of the two closes
// first, the main window is usable once both are gone.
TEST_F(EditMain, StartupDialogAndItsPreferencesLeaveTheMainWindowUsable)
{
    wintest::SetRegDword(edittest::kEditorKey, "Show Startup", 1);
    for (bool startupFirst : {false, true})
    {
        SCOPED_TRACE(startupFirst ? "startup dialog first" : "preferences first");
        Editor& ed = StartEditor("");
        HWND startup = ed.Dialog("Tarvin 2 Editor Startup Wizard");
        ASSERT_TRUE(startup != nullptr);
        ASSERT_TRUE(DrvPressButton(startup, IDC_STARTUP_PREFS));
        HWND prefs = ed.Dialog("Preferences");
        ASSERT_TRUE(prefs != nullptr);
        EXPECT_FALSE(IsWindowEnabled(ed.Main()));
        for (HWND dialog :
             startupFirst ? std::vector<HWND>{startup, prefs} : std::vector<HWND>{prefs, startup})
        {
            ASSERT_TRUE(DrvPostCommand(dialog, IDCANCEL));
            ASSERT_TRUE(DrvIsReady(ed.Main()));
        }
        EXPECT_EQ(TVD_OK, DrvWaitDestroyed(startup, kTimeout));
        EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return IsWindowEnabled(ed.Main()) != FALSE; }, kTimeout));
        m_editors.clear();
    }
}

// View > Startup Wizard runs the wizard only after a New or an Open that
// happened: cancelled, the editor is back as it was.
TEST_F(EditMain, StartupWizardStopsWhenNewOrOpenIsCancelled)
{
    std::string path = WriteLaunch("busy.launch", {"Message \"a\"", "Message \"b\""});
    for (int choice : {IDC_STARTUP_OPEN, IDC_STARTUP_NEW})
    {
        SCOPED_TRACE(choice == IDC_STARTUP_OPEN ? "open" : "new");
        Editor& ed = StartEditor(path);
        ASSERT_TRUE(ed.WaitRowCount(2));
        ASSERT_TRUE(ed.Select(1));
        ed.Post(IDM_MOVEUP);
        const std::string title = "Tarvin Editor - [busy.launch]*";
        ASSERT_TRUE(ed.WaitTitle(title));
        ed.Post(IDM_STARTUP);
        HWND startup = ed.Dialog("Tarvin 2 Editor Startup Wizard");
        ASSERT_TRUE(startup != nullptr);
        ASSERT_TRUE(DrvPostCommand(startup, choice)); // an icon button takes no BM_CLICK
        if (choice == IDC_STARTUP_OPEN)
        {
            ed.Answer("Confirm", IDNO);
            HWND dlg = ed.Dialog("Select a launch file");
            ASSERT_TRUE(dlg != nullptr);
            ASSERT_TRUE(DrvPressButton(dlg, IDCANCEL));
            ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kTimeout));
        }
        else
            ed.Answer("Confirm", IDCANCEL);
        ASSERT_TRUE(ed.Ready());
        EXPECT_EQ(nullptr,
                  DrvFindWindow(DrvQuery("#32770", "Tarvin Editor Wizard", TVD_MATCH_EXACT, ed.Pid())));
        EXPECT_TRUE(IsWindowEnabled(ed.Main()));
        EXPECT_EQ(title, ed.Title());
        m_editors.clear();
    }
}

} // namespace
