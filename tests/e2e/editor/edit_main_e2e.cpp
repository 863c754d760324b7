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
    // Properties of the selected row (or a new action): sets the main field
    // and presses OK.
    void EditMainField(Editor& ed, const char* caption, const char* value)
    {
        HWND dlg = ed.Dialog(caption);
        ASSERT_TRUE(dlg != nullptr);
        ASSERT_TRUE(DrvSetText(e2etest::Control(dlg, IDC_PAGE_FIELD), value));
        ASSERT_TRUE(DrvPressButton(dlg, IDOK));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kTimeout));
    }
};

const char kTitle[] = "Tarvin Editor - [steps.launch]";

// Every kind of edit, then undo back to the opened file and redo forward
// again: each step shows exactly the list it showed before, and the title's
// "*" is there exactly while something can be undone.
TEST_F(EditMain, UndoAndRedoRetraceEveryEdit)
{
    std::string path =
        WriteLaunch("steps.launch", {"Message \"one\"", "Wait \"100 ms\"", "Hide \"Notepad\""});
    Editor& ed = StartEditor(path);
    ASSERT_TRUE(ed.WaitTitle(kTitle));
    std::vector<Rows> states = {ed.Rows()};
    ASSERT_EQ(3u, states[0].size());

    struct Step
    {
        const char* what;
        int select; // row selected first, -1 none
        std::function<void(EditMain*, Editor&)> act;
    } steps[] = {
        {"paste", 0,
         [](EditMain*, Editor& e) {
             ASSERT_TRUE(PutClipboard(kFormat, "Show \"Notepad\""));
             e.Post(IDM_PASTE);
         }},
        {"delete", 2,
         [](EditMain*, Editor& e) {
             e.Post(IDM_DELETE);
             EXPECT_EQ("Are you sure you want to delete this action?", e.Answer("Confirm Delete", IDYES));
         }},
        {"move up", 2, [](EditMain*, Editor& e) { e.Post(IDM_MOVEUP); }},
        {"move down", 0, [](EditMain*, Editor& e) { e.Post(IDM_MOVEDOWN); }},
        {"properties", 0,
         [](EditMain* t, Editor& e) {
             e.Post(IDM_PROPERTIES);
             t->EditMainField(e, "Properties", "changed");
         }},
        {"insert", 1,
         [](EditMain* t, Editor& e) {
             e.Post(IDM_INSERT_FIRST + 17); // Wait
             t->EditMainField(e, "Insert Action", "250");
         }},
        {"cut", 3, [](EditMain*, Editor& e) { e.Post(IDM_CUT); }},
    };
    for (Step& s : steps)
    {
        SCOPED_TRACE(s.what);
        Rows before = ed.Rows();
        if (s.select >= 0)
        {
            ASSERT_TRUE(ed.Select(s.select));
        }
        s.act(this, ed);
        ASSERT_EQ(TVD_OK, DrvWaitFor([&]() { return ed.Rows() != before; }, kTimeout));
        EXPECT_EQ(std::string(kTitle) + "*", ed.Title());
        states.push_back(ed.Rows());
    }
    Rows expectedEnd = {"Hide|Windows named \"changed\"", "Message|\"one\"", "Wait|Wait for 250 ms"};
    EXPECT_EQ(expectedEnd, states.back());

    for (int i = (int)states.size() - 2; i >= 0; i--)
    {
        ed.Post(IDM_UNDO);
        EXPECT_TRUE(ed.WaitRows(states[i])) << "undo to state " << i;
        EXPECT_EQ(i > 0 ? std::string(kTitle) + "*" : kTitle, ed.Title()) << i;
    }
    for (size_t i = 1; i < states.size(); i++)
    {
        ed.Post(IDM_REDO);
        EXPECT_TRUE(ed.WaitRows(states[i])) << "redo to state " << i;
        EXPECT_EQ(std::string(kTitle) + "*", ed.Title()) << i;
    }

    // Saved, the history is gone: nothing to undo, no "*", and the file holds
    // the lines as the list shows them.
    ed.Post(IDM_SAVE);
    ASSERT_TRUE(ed.WaitTitle(kTitle));
    EXPECT_EQ(Rows({"Hide \"changed\"", "Message \"one\"", "Wait \"250 ms\""}), ReadLines(path));
    ed.Post(IDM_UNDO);
    ed.Post(IDM_MOVEUP); // a later command, so the undo has surely been handled
    ASSERT_TRUE(ed.WaitTitle(std::string(kTitle) + "*"));
    EXPECT_EQ("Message|\"one\"", ed.Rows()[2]);

    // Undone, then a new edit: the undone step cannot come back.
    ed.Post(IDM_UNDO);
    ASSERT_TRUE(ed.WaitTitle(kTitle));
    Rows saved = ed.Rows();
    ASSERT_TRUE(ed.Select(0));
    ed.Post(IDM_MOVEDOWN);
    ASSERT_TRUE(ed.WaitRows(Rows({saved[1], saved[0], saved[2]})));
    ed.Post(IDM_REDO);
    ed.Post(IDM_UNDO);
    EXPECT_TRUE(ed.WaitRows(saved));
    EXPECT_EQ(kTitle, ed.Title());
}

// Impossible moves and a delete without a selection change nothing and do
// not mark the file modified.
TEST_F(EditMain, ImpossibleEditsChangeNothing)
{
    std::string path = WriteLaunch("edge.launch", {"Message \"a\"", "Message \"b\""});
    Editor& ed = StartEditor(path);
    ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [edge.launch]"));
    Rows rows = ed.Rows();
    struct
    {
        int select;
        int command;
    } cases[] = {{-1, IDM_DELETE}, {-1, IDM_PROPERTIES}, {-1, IDM_CUT}, {0, IDM_MOVEUP}, {1, IDM_MOVEDOWN}};
    for (auto& c : cases)
    {
        // Nothing is selected after opening; the cases without a selection
        // come first.
        if (c.select >= 0)
            ASSERT_TRUE(ed.Select(c.select));
        else
            ASSERT_EQ(-1, ed.Selected());
        // Sent, not posted: the next selection must not overtake it.
        ASSERT_TRUE(ed.Do(c.command));
    }
    // A real edit after them shows that they were all handled.
    ASSERT_TRUE(ed.Select(1));
    ed.Post(IDM_MOVEUP);
    ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [edge.launch]*"));
    EXPECT_EQ(Rows({rows[1], rows[0]}), ed.Rows());
    ed.Post(IDM_UNDO);
    ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [edge.launch]"));
    EXPECT_EQ(rows, ed.Rows());
    EXPECT_EQ(1, ed.Selected()); // the moved action, back at its old place
}

// A line the editor cannot represent is shown as unknown and written back
// exactly as it was.
TEST_F(EditMain, HandWrittenLinesSurviveOpenAndSave)
{
    Rows lines = {"Frobnicate \"the thing\",Now", "Launch \"C:\\unterminated", "Message \"kept\"",
                  "Wait \"12 parsecs\"", "//  spaced comment"};
    std::string path = WriteLaunch("hand.launch", lines);
    Editor& ed = StartEditor(path);
    ASSERT_TRUE(ed.WaitRowCount(5));
    EXPECT_EQ("Unknown|Unrecognized action: \"Frobnicate \"the thing\",Now\"", ed.Rows()[0]);

    ASSERT_TRUE(ed.Select(2));
    ed.Post(IDM_MOVEUP);
    ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [hand.launch]*"));
    ed.Post(IDM_SAVE);
    ed.Answer("Save", IDYES); // the unknown line is an error: saved all the same
    ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [hand.launch]"));
    EXPECT_EQ(Rows({lines[0], lines[2], lines[1], lines[3], lines[4]}), ReadLines(path));
}

// Copy in one editor window, paste in another: the same line lands after the
// selected row of the second.
TEST_F(EditMain, CopyInOneWindowPastesInAnother)
{
    std::string a = WriteLaunch("a.launch", {"Message \"from a\"", "Kill \"calc.exe\""});
    std::string b = WriteLaunch("b.launch", {"Message \"b1\"", "Message \"b2\""});
    Editor& ea = StartEditor(a);
    Editor& eb = StartEditor(b);
    ASSERT_TRUE(ea.WaitRowCount(2));
    ASSERT_TRUE(eb.WaitRowCount(2));
    ASSERT_TRUE(PutClipboard(kFormat, "Message \"stale\""));

    ASSERT_TRUE(ea.Select(1));
    // Sent, and the clipboard read once it is done: a test that kept opening
    // the clipboard meanwhile would make the copy find it busy.
    ASSERT_TRUE(ea.Do(IDM_COPY));
    ASSERT_EQ("Kill \"calc.exe\"", e2etest::GetClipboard(kFormat));
    ASSERT_TRUE(eb.Select(0));
    eb.Post(IDM_PASTE);
    ASSERT_TRUE(eb.WaitTitle("Tarvin Editor - [b.launch]*"));
    EXPECT_EQ(Rows({"Message|\"b1\"", "Kill|Executables called \"calc.exe\"", "Message|\"b2\""}), eb.Rows());
    EXPECT_EQ(1, eb.Selected());
    EXPECT_EQ("Tarvin Editor - [a.launch]", ea.Title()); // copying is no edit
}

// Another program rewrites the open file: coming back to the editor asks
// once; No keeps the editor's version and the question comes again at the
// next activation; Yes reads the new file and clears the history.
TEST_F(EditMain, FileChangedOutsideIsOfferedForReload)
{
    std::string path = WriteLaunch("outside.launch", {"Message \"old\""});
    Editor& ed = StartEditor(path);
    ASSERT_TRUE(ed.WaitRowCount(1));
    ASSERT_TRUE(PutClipboard(kFormat, "Message \"mine\""));
    ed.Post(IDM_PASTE);
    ASSERT_TRUE(ed.WaitRowCount(2));

    WriteLaunch("outside.launch", {"Message \"new 1\"", "Message \"new 2\"", "Message \"new 3\""});
    e2etest::TouchLater(path);

    agenttest::CTestWindow other("Somewhere else");
    const char* question =
        "The launch file has been modified outside of the editor.\n\nWould you like to reload it?";
    // Away to another program and back, until the editor asks. A switch made
    // from another process can be undone by X focus events arriving late, so
    // a visit that did not reach the editor is made again.
    auto visit = [&]() {
        for (int attempt = 0; attempt < 3; attempt++)
        {
            for (HWND hwnd : {other.Get(), ed.Main()})
            {
                SetForegroundWindow(hwnd);
                agenttest::PumpUntil([&]() { return GetForegroundWindow() == hwnd; }, kTimeout);
            }
            HWND box = nullptr;
            if (DrvWaitMessageBox("Reload?", ed.Pid(), 5000, &box) == TVD_OK)
                return true;
        }
        return false;
    };

    ASSERT_TRUE(visit());
    EXPECT_EQ(question, ed.Answer("Reload?", IDNO));
    // Answering brings the editor back to the front: that is no new visit.
    HWND again = nullptr;
    EXPECT_EQ(TVD_TIMEOUT, DrvWaitMessageBox("Reload?", ed.Pid(), 1500, &again));
    EXPECT_EQ(2u, ed.Rows().size());

    ASSERT_TRUE(visit());
    EXPECT_EQ(question, ed.Answer("Reload?", IDYES));
    ASSERT_TRUE(ed.WaitRowCount(3));
    EXPECT_EQ("Tarvin Editor - [outside.launch]", ed.Title());
}

// Save As to a place that cannot be written reports the error and keeps the
// document as it was: its name, its rows and its unsaved state; Save then
// still writes the original file.
TEST_F(EditMain, SaveAsThatFailsKeepsTheDocument)
{
    std::string path = WriteLaunch("keep.launch", {"Message \"keep\""});
    std::string blocker = WriteLaunch("blocker.txt", {"a file, not a folder"});
    std::string readOnly = WriteLaunch("readonly.launch", {"Message \"ro\""});
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    Editor& ed = StartEditor(path);
    ASSERT_TRUE(ed.WaitRowCount(1));
    ASSERT_TRUE(PutClipboard(kFormat, "Message \"new\""));
    ed.Post(IDM_PASTE);
    const std::string title = "Tarvin Editor - [keep.launch]*";
    ASSERT_TRUE(ed.WaitTitle(title));
    Rows rows = ed.Rows();

    struct
    {
        const char* what;
        std::string target;
        bool exists;
    } cases[] = {
        {"missing folder", m_files + "\\no such folder\\x.launch", false},
        {"file in the way", blocker + "\\x.launch", false},
        {"read-only file", readOnly, true},
    };
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        ed.Post(IDM_SAVEAS);
        HWND dlg = ed.Dialog("Save Launch File As");
        ASSERT_TRUE(dlg != nullptr);
        ASSERT_TRUE(e2etest::FileDialogTake(dlg, c.target, "Save"));
        if (c.exists)
            ed.Answer("Confirm", IDYES);
        EXPECT_EQ("An error occured while saving the launch file.\n\nThe reported error code was 2",
                  ed.Answer("Tarvin Editor", IDOK));
        EXPECT_EQ(title, ed.Title());
        EXPECT_EQ(path, ed.Status());
        EXPECT_EQ(rows, ed.Rows());
    }
    EXPECT_EQ(Rows({"Message \"ro\""}), ReadLines(readOnly));
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);

    ed.Post(IDM_SAVE);
    ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [keep.launch]"));
    EXPECT_EQ(Rows({"Message \"keep\"", "Message \"new\""}), ReadLines(path));
}

// Test runs the file on disk through the interpreter: unsaved changes are
// offered a save first, and a file with problems is reported before it runs.
TEST_F(EditMain, TestChecksAndRunsTheSavedFile)
{
    std::string source = WriteLaunch("source.txt", {"payload"});
    auto copyTo = [&](const char* name) {
        return "Copy \"" + source + "\",\"" + File(name) + "\",Overwrite";
    };
    std::string path = WriteLaunch("run.launch", {copyTo("clean.txt")});
    Editor& ed = StartEditor(path);
    ASSERT_TRUE(ed.WaitRowCount(1));

    ed.Post(IDM_TEST);
    EXPECT_TRUE(e2etest::WaitFile(File("clean.txt")));

    // Unsaved pastes, the second a line the interpreter does not know: the
    // save question, then the check's report; Yes runs the file all the same.
    ASSERT_TRUE(PutClipboard(kFormat, copyTo("after.txt")));
    ASSERT_TRUE(ed.Select(0));
    ed.Post(IDM_PASTE);
    ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [run.launch]*"));
    ASSERT_TRUE(PutClipboard(kFormat, "Frobnicate \"x\""));
    ed.Post(IDM_PASTE);
    ASSERT_TRUE(ed.WaitRowCount(3));
    ed.Post(IDM_TEST);
    EXPECT_EQ("The latest changes have not yet been saved.\n\nWould you like to save the launch file now?",
              ed.Answer("Save?", IDYES));
    ed.Answer("Save", IDYES); // saved with its error
    std::string report = ed.Answer("Test", IDYES);
    EXPECT_NE(std::string::npos, report.find("Line 3: error: ")) << report;
    EXPECT_TRUE(e2etest::WaitFile(File("after.txt")));
    EXPECT_EQ("Tarvin Editor - [run.launch]", ed.Title());
}

// Started on a file that is not there: no error and no file open, and the
// startup dialog follows when it is switched on.
TEST_F(EditMain, MissingFileOnTheCommandLineOpensNothing)
{
    wintest::SetRegDword(edittest::kEditorKey, "Show Startup", 1);
    Editor& ed = StartEditor(File("gone.launch"));
    HWND startup = ed.Dialog("Tarvin 2 Editor Startup Wizard");
    ASSERT_TRUE(startup != nullptr);
    EXPECT_EQ("Tarvin Editor", ed.Title());
    EXPECT_EQ(0, DrvListViewRowCount(ed.List()));
    EXPECT_TRUE(DrvPressButton(startup, IDCANCEL));
    EXPECT_EQ(TVD_OK, DrvWaitDestroyed(startup, kTimeout));
}

// A new file is saved under the first free numbered name of the files
// folder, and only its first save offers the add-to-menu dialog.
TEST_F(EditMain, NewFileIsOfferedForTheMenuOnlyAtItsFirstSave)
{
    wintest::SetRegDword(edittest::kEditorKey, "Add Shortcuts", 1);
    WriteLaunch("New Launch File 1.launch", {"Message \"taken\""});
    Editor& ed = StartEditor("");
    ed.Post(IDM_NEW);
    ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [New Launch File]"));
    EXPECT_EQ("Unsaved (new) launch file", ed.Status());
    ASSERT_TRUE(PutClipboard(kFormat, "Message \"first\""));
    ed.Post(IDM_PASTE);
    ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [New Launch File]*"));

    ed.Post(IDM_SAVE);
    HWND dlg = ed.Dialog("Save Launch File As");
    ASSERT_TRUE(dlg != nullptr);
    ASSERT_TRUE(DrvClickButtonText(dlg, "Save"));
    HWND menu = ed.Dialog("Add to Tarvin 2 Shortcuts menu");
    ASSERT_TRUE(menu != nullptr);
    EXPECT_TRUE(DrvPressButton(menu, IDCANCEL));
    ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [New Launch File 2.launch]"));
    std::string saved = File("New Launch File 2.launch");
    EXPECT_EQ(Rows({"Message \"first\""}), ReadLines(saved));

    ed.Post(IDM_PASTE);
    ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [New Launch File 2.launch]*"));
    ed.Post(IDM_SAVE);
    ASSERT_TRUE(ed.WaitTitle("Tarvin Editor - [New Launch File 2.launch]"));
    EXPECT_EQ(Rows({"Message \"first\"", "Message \"first\""}), ReadLines(saved));
    HWND again = nullptr;
    EXPECT_EQ(TVD_TIMEOUT,
              DrvWaitWindow(DrvQuery("#32770", "Add to Tarvin 2 Shortcuts menu", TVD_MATCH_EXACT, ed.Pid()),
                            1500, &again));
}

// The preferences: what the pages show is what is stored on OK, across a
// change of page; Cancel stores nothing.
TEST_F(EditMain, PreferencesAreStoredOnOkOnly)
{
    Editor& ed = StartEditor("");
    auto open = [&]() {
        ed.Post(IDM_PREFERENCES);
        return ed.Dialog("Preferences");
    };
    auto checked = [](HWND dlg, int id) {
        return SendMessageA(DrvFindChildById(dlg, id), BM_GETCHECK, 0, 0) != 0;
    };
    auto stored = [](const char* name) { return agenttest::StoredDword(edittest::kEditorKey, name); };

    HWND dlg = open();
    ASSERT_TRUE(dlg != nullptr);
    HWND tab = DrvFindChildById(dlg, IDC_PREF_TAB);
    EXPECT_FALSE(checked(dlg, IDC_PREF_SHOWSTARTUP)); // switched off by the test set-up
    EXPECT_TRUE(DrvPressButton(dlg, IDC_PREF_SHOWSTARTUP));
    EXPECT_TRUE(DrvPressButton(dlg, IDC_PREF_ADVANCED));
    EXPECT_TRUE(DrvComboSelect(DrvFindChildById(dlg, IDC_PREF_WINDOWSTATE), 2));
    ASSERT_TRUE(DrvTabSelect(tab, 1));
    ASSERT_TRUE(e2etest::Control(dlg, IDC_PREF_INSERTDELAY));
    EXPECT_TRUE(checked(dlg, IDC_PREF_INSERTDELAY)); // default on
    EXPECT_TRUE(DrvPressButton(dlg, IDC_PREF_INSERTDELAY));
    EXPECT_TRUE(DrvPressButton(dlg, IDC_PREF_ADDSHORTCUTS));
    ASSERT_TRUE(DrvTabSelect(tab, 0));
    ASSERT_TRUE(e2etest::Control(dlg, IDC_PREF_SHOWSTARTUP));
    EXPECT_TRUE(checked(dlg, IDC_PREF_SHOWSTARTUP));
    EXPECT_TRUE(DrvPressButton(dlg, IDOK));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kTimeout));

    struct
    {
        const char* name;
        long long value;
    } expected[] = {{"Show Startup", 1},  {"Advanced Mode", 1}, {"Window State", 3},
                    {"Add Shortcuts", 1}, {"Insert Delay", 0},  {"Insert Comments", 1}};
    for (auto& e : expected)
        EXPECT_EQ(e.value, stored(e.name)) << e.name;

    dlg = open();
    ASSERT_TRUE(dlg != nullptr);
    EXPECT_TRUE(DrvPressButton(dlg, IDC_PREF_ADVANCED));
    EXPECT_TRUE(DrvPressButton(dlg, IDCANCEL));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kTimeout));
    EXPECT_EQ(1, stored("Advanced Mode"));
}

// A file with a line longer than a launch line is not opened for editing:
// saving it would cut the line.
TEST_F(EditMain, FileWithAnOverlongLineIsNotEdited)
{
    std::string path =
        WriteLaunch("long.launch", {"Message \"short\"", "Message \"" + std::string(1100, 'x') + "\""});
    Editor& ed = StartEditor("");
    ed.Post(IDM_OPEN);
    HWND dlg = ed.Dialog("Select a launch file");
    ASSERT_TRUE(dlg != nullptr);
    ASSERT_TRUE(e2etest::FileDialogTake(dlg, path, "Open"));
    EXPECT_EQ("An error has occured while reading the launch file.\nThe reported error code is 301.",
              ed.Answer("Error Reading Launch File", IDOK));
    EXPECT_EQ("Tarvin Editor", ed.Title());
    EXPECT_EQ(0, DrvListViewRowCount(ed.List()));
}

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
