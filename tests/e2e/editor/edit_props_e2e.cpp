// The action properties dialog end to end: the real tvedit.exe in a scratch
// files folder, actions inserted from the Insert commands and edited in the
// dialog as a user would, the saved file compared line by line, and a file
// built that way run with Test through the real interpreter and agent.
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "agent/agent_testutil.h"
#include "e2e/e2e_testutil.h"
#include "e2e/driver.h"
#include "interpreter/tvint_e2e.h"
#include "regutils.h"

namespace
{

const DWORD kWait = 15000;
const char* const kEditorKey = "Software\\Norvale\\Tarvin 2\\Editor";
const char* const kInterpreterKey = "Software\\Norvale\\Tarvin 2\\Interpreter";

// clang-format off
enum
{
    CMD_SAVE = 2004, CMD_PROPERTIES = 2013, CMD_TEST = 2018,
    INS_LAUNCH = 2030, INS_OPEN, INS_PRINT, INS_COPY, INS_DELETE, INS_MOVE, INS_COMMENT, INS_MESSAGE, INS_KILL,
    INS_CLOSE, INS_DESTROY, INS_HIDE, INS_SHOW, INS_SHUTDOWN, INS_RESTART, INS_EXIT, INS_SHOWALL, INS_WAIT,
    INS_SCREENSAVER,
    LIST_ID = 303, FIELD = 1103, SELECT = 1104, FIELD2 = 1105, PARAMS = 1107, OPTIONS = 1108, HELP = 1117,
    SPIN = 1241, PICK_LIST = 1801
};
// clang-format on

// One action as a user enters it: the fields left empty stay untouched.
struct Entry
{
    int insert;
    const char* field;
    const char* field2;
    const char* params;
    int option; // -1: the list as it opens
    std::string line;
};


class PropertiesTest : public agenttest::AgentProcessTest
{
  protected:
    void SetUp() override
    {
        AgentProcessTest::SetUp();
        for (const char* name : {"Show Tips", "Show Startup", "Add Shortcuts"})
            wintest::SetRegDword(kEditorKey, name, 0);
        wintest::SetRegDword(kEditorKey, "Window State", 1);
        m_launch = File("props.launch");
    }

    void TearDown() override
    {
        if (m_editor)
            m_editor->Kill();
        tvint_test::EndAgents(); // the one the interpreter started
        AgentProcessTest::TearDown();
    }

    // tvedit.exe on the file (written first with these lines).
    void StartEditor(const std::string& content)
    {
        WriteBytes(m_launch, content);
        m_editor.reset(new CDrvProcess);
        ASSERT_TRUE(
            m_editor->Start(e2etest::Program("tvedit.exe").c_str(), ("-file='" + m_launch + "'").c_str()));
        ASSERT_EQ(TVD_OK,
                  DrvWaitWindow(DrvQuery("_TVEDIT_MAINWND", nullptr, TVD_MATCH_EXACT, m_editor->Pid()), kWait,
                                &m_main));
        m_list = DrvFindChildById(m_main, LIST_ID);
        ASSERT_TRUE(m_list != nullptr);
    }

    HWND WaitDialog(const char* caption)
    {
        HWND dialog = nullptr;
        EXPECT_EQ(TVD_OK, DrvWaitWindow(DrvQuery("#32770", caption, TVD_MATCH_EXACT, m_editor->Pid()), kWait,
                                        &dialog))
            << caption;
        return dialog;
    }

    HWND Insert(int command)
    {
        EXPECT_TRUE(DrvPostCommand(m_main, command));
        return WaitDialog("Insert Action");
    }

    HWND Properties(int row)
    {
        EXPECT_TRUE(DrvListViewSelect(m_list, row));
        EXPECT_TRUE(DrvPostCommand(m_main, CMD_PROPERTIES));
        return WaitDialog("Properties");
    }

    static std::string Text(HWND dialog, int id)
    {
        char buf[1100] = "";
        DrvGetText(DrvFindChildById(dialog, id), buf, sizeof(buf));
        return buf;
    }

    // Replaces a field's text as typing does (the field tells the page).
    static bool Type(HWND dialog, int id, const char* text)
    {
        HWND field = DrvFindChildById(dialog, id);
        if (!field)
            return false;
        SendMessageA(field, EM_SETSEL, 0, -1);
        SendMessageA(field, EM_REPLACESEL, TRUE, (LPARAM)text);
        char now[1100] = "";
        DrvGetText(field, now, sizeof(now));
        return strcmp(now, text) == 0;
    }

    static bool OkEnabled(HWND dialog)
    {
        return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE;
    }

    static void Ok(HWND dialog)
    {
        ASSERT_TRUE(OkEnabled(dialog));
        ASSERT_TRUE(DrvPressButton(dialog, IDOK));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dialog, kWait));
    }

    void Enter(const Entry& e)
    {
        HWND dialog = Insert(e.insert);
        ASSERT_TRUE(dialog != nullptr);
        const int ids[] = {FIELD, FIELD2, PARAMS};
        const char* texts[] = {e.field, e.field2, e.params};
        for (int i = 0; i < 3; i++)
        {
            if (!texts[i])
                continue;
            ASSERT_TRUE(Type(dialog, ids[i], texts[i])) << e.line;
        }
        if (e.option >= 0)
        {
            ASSERT_TRUE(DrvComboSelect(DrvFindChildById(dialog, OPTIONS), e.option)) << e.line;
        }
        Ok(dialog);
    }

    // Inserts a name action whose name is picked from the list: the first
    // row that contains `row` (ignoring case). The field's text after.
    std::string Pick(int command, const char* caption, const char* row)
    {
        HWND dialog = Insert(command);
        if (!dialog || !DrvPressButton(dialog, SELECT))
            return "<no dialog>";
        HWND picker = WaitDialog(caption), list = DrvFindChildById(picker, PICK_LIST);
        for (int i = 0; i < DrvListViewRowCount(list); i++)
        {
            char text[MAX_PATH] = "";
            DrvListViewText(list, i, 0, text, sizeof(text));
            if (strstr(CharLowerA(text), row) && DrvListViewSelect(list, i))
                break;
        }
        EXPECT_TRUE(DrvPressButton(picker, IDOK));
        EXPECT_EQ(TVD_OK, DrvWaitDestroyed(picker, kWait));
        std::string name = Text(dialog, FIELD);
        Ok(dialog);
        return name;
    }

    // Saves and waits for the file to hold the expected lines; what it holds.
    std::vector<std::string> Save(const std::vector<std::string>& expected)
    {
        EXPECT_TRUE(DrvPostCommand(m_main, CMD_SAVE));
        std::vector<std::string> lines;
        DrvWaitFor([&]() { return (lines = Lines(ReadBytes(m_launch))) == expected; }, kWait);
        return lines;
    }

    std::string m_launch;
    std::unique_ptr<CDrvProcess> m_editor;
    HWND m_main = nullptr;
    HWND m_list = nullptr;
};

// Every kind of action with every choice of its list, entered from nothing:
// the saved file holds exactly the canonical lines. A new Launch starts in
// the preferred window state.
TEST_F(PropertiesTest, EveryActionWithEveryOptionIsSavedAsItsCanonicalLine)
{
    wintest::SetRegDword(kEditorKey, "Window State", 3);
    const std::vector<Entry> entries = {
        {INS_LAUNCH, "C:\\Program Files\\a b\\app.exe", "C:\\work", "-x, -y", -1,
         "Launch \"C:\\Program Files\\a b\\app.exe\",\"C:\\work\",\"-x, -y\",Maximized"},
        {INS_OPEN, "http://example.org/", nullptr, nullptr, 1,
         "Open \"http://example.org/\",\"\",\"\",Minimized"},
        {INS_PRINT, "C:\\docs\\r.txt", "C:\\docs", nullptr, 0,
         "Print \"C:\\docs\\r.txt\",\"C:\\docs\",\"\",Normal"},
        {INS_COPY, "a\\*.txt", "b", nullptr, 0, "Copy \"a\\*.txt\",\"b\",Overwrite"},
        {INS_COPY, "a", "b", nullptr, 1, "Copy \"a\",\"b\",NoOverwrite"},
        {INS_COPY, "a", "b", nullptr, 2, "Copy \"a\",\"b\",AskOverwrite"},
        {INS_DELETE, "c\\*.tmp", nullptr, nullptr, 0, "Delete \"c\\*.tmp\",Delete"},
        {INS_DELETE, "c", nullptr, nullptr, 1, "Delete \"c\",AskDelete"},
        {INS_MOVE, "d", "e", nullptr, 0, "Move \"d\",\"e\",AskMoveOverwrite"},
        {INS_MOVE, "d", "e", nullptr, 1, "Move \"d\",\"e\",AskMove"},
        {INS_MOVE, "d", "e", nullptr, 2, "Move \"d\",\"e\",AskOverwrite"},
        {INS_MOVE, "d", "e", nullptr, 3, "Move \"d\",\"e\",NoOverwrite"},
        {INS_MOVE, "d", "e", nullptr, 4, "Move \"d\",\"e\",AskNone"},
        {INS_COMMENT, "hello", nullptr, nullptr, -1, "//hello"},
        // A line break typed into the text becomes a space: a line is one line.
        {INS_MESSAGE, "Backup, done\r\nall well", nullptr, nullptr, -1, "Message \"Backup, done all well\""},
        {INS_KILL, "notepad.exe", nullptr, nullptr, -1, "Kill \"notepad.exe\""},
        {INS_CLOSE, "Untitled - Notepad", nullptr, nullptr, -1, "Close \"Untitled - Notepad\""},
        {INS_DESTROY, "hung", nullptr, nullptr, -1, "Destroy \"hung\""},
        {INS_HIDE, "report", nullptr, nullptr, -1, "Hide \"report\""},
        {INS_SHOW, "report", nullptr, nullptr, -1, "Show \"report\""},
        {INS_SHOWALL, nullptr, nullptr, nullptr, -1, "ShowAll"},
        {INS_SCREENSAVER, nullptr, nullptr, nullptr, -1, "Screensaver"},
        {INS_WAIT, "250", nullptr, nullptr, -1, "Wait \"250 ms\""},
        {INS_SHUTDOWN, nullptr, nullptr, nullptr, -1, "Shutdown"},
        {INS_RESTART, nullptr, nullptr, nullptr, -1, "Restart"},
        {INS_EXIT, nullptr, nullptr, nullptr, -1, "Exit"},
    };
    ASSERT_NO_FATAL_FAILURE(StartEditor(""));
    for (const Entry& e : entries)
        ASSERT_NO_FATAL_FAILURE(Enter(e)) << e.line;
    std::vector<std::string> expected;
    for (const Entry& e : entries)
        expected.push_back(e.line);
    EXPECT_EQ(expected, Save(expected));
}

// Opening a line and pressing OK: what each page shows, what its OK rule
// allows, and the line it writes back.
TEST_F(PropertiesTest, EditedLinesComeBackAsTheyWereMeantOrAsEdited)
{
    ASSERT_NO_FATAL_FAILURE(StartEditor("Copy \"a\",\"b\",NoOverwrite\r\n"
                                        "Wait \"20000 ms\"\r\n"
                                        "Frobnicate  \"x\", y ,,\r\n"
                                        "// old words\r\n"
                                        "Delete \"c\\*.tmp\"\r\n"
                                        "Message \"hi\"\r\n"));

    // Copy: OK needs both fields; the list shows the line's option.
    HWND dialog = Properties(0);
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_EQ(1, DrvComboSelected(DrvFindChildById(dialog, OPTIONS)));
    EXPECT_TRUE(OkEnabled(dialog));
    Type(dialog, FIELD2, "");
    EXPECT_FALSE(OkEnabled(dialog));
    Type(dialog, FIELD2, "b2");
    Ok(dialog);

    // Wait above the range: the up-down at its top, the field 9999 once left.
    dialog = Properties(1);
    ASSERT_TRUE(dialog != nullptr);
    HWND spin = DrvFindChildById(dialog, SPIN);
    EXPECT_EQ(9999, (int)SendMessageA(spin, UDM_GETPOS32, 0, 0));
    HWND field = DrvFindChildById(dialog, FIELD);
    SendMessageA(GetParent(field), WM_COMMAND, MAKEWPARAM(FIELD, EN_KILLFOCUS), (LPARAM)field);
    EXPECT_EQ("9999", Text(dialog, FIELD));
    Ok(dialog);

    // An unknown line shows whole and is written back as it stands.
    dialog = Properties(2);
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_EQ("Frobnicate  \"x\", y ,,", Text(dialog, FIELD));
    EXPECT_EQ("This action is unknown. The full text for this action is displayed.", Text(dialog, HELP));
    Ok(dialog);

    // A comment edited to one word: two slashes straight before it.
    dialog = Properties(3);
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_EQ(" old words", Text(dialog, FIELD));
    Type(dialog, FIELD, "hello");
    Ok(dialog);

    // A Delete without its option asks, as the interpreter reads it; OK
    // keeps it asking rather than deleting without a question.
    dialog = Properties(4);
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_EQ(1, DrvComboSelected(DrvFindChildById(dialog, OPTIONS)));
    Ok(dialog);

    // A double quote cannot live inside a value: the user is told and the
    // dialog stays, then takes the mended text.
    dialog = Properties(5);
    ASSERT_TRUE(dialog != nullptr);
    Type(dialog, FIELD, "say \"hi\"");
    ASSERT_TRUE(DrvPressButton(dialog, IDOK));
    HWND box = nullptr;
    ASSERT_EQ(TVD_OK, DrvWaitMessageBox("Properties - Error", m_editor->Pid(), kWait, &box));
    char text[512] = "";
    DrvMessageBoxText(box, text, sizeof(text));
    EXPECT_NE(nullptr, strstr(text, "double quote")) << text;
    ASSERT_TRUE(DrvPressButton(box, IDOK));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(box, kWait));
    EXPECT_TRUE(IsWindow(dialog));
    Type(dialog, FIELD, "say hi");
    Ok(dialog);

    const std::vector<std::string> expected = {"Copy \"a\",\"b2\",NoOverwrite", "Wait \"9999 ms\"",
                                               "Frobnicate  \"x\", y ,,",       "//hello",
                                               "Delete \"c\\*.tmp\",AskDelete", "Message \"say hi\""};
    EXPECT_EQ(expected, Save(expected));
}

// A file built in the dialog, run with Test: the interpreter copies, starts
// a window maximized, has the agent hide and show another and log a
// message, and ends the program picked from the process list.
TEST_F(PropertiesTest, TestRunsWhatTheDialogWrote)
{
    std::string command = e2etest::Quote(e2etest::Program("tvint.exe")) + " -file=\"%1\"";
    AssociateFile(".launch", "Tarvin.LaunchFile", "Tarvin File", command.c_str(), "Open");
    wintest::SetRegDword(kAgentKey, "Log File", 100);
    wintest::SetRegDword(kInterpreterKey, "Show Status", 0);
    CreateDirectoryA(File("in").c_str(), nullptr);
    CreateDirectoryA(File("out").c_str(), nullptr);
    WriteBytes(File("in\\a.txt"), "copied\r\n");
    agenttest::CTargetProcess victim;
    ASSERT_TRUE(victim.Start("-title=PropsVictim"));
    HWND victimWnd = victim.WaitWindow("PropsVictim");
    ASSERT_TRUE(victimWnd != nullptr);

    std::string source = File("in\\a.txt"), out = File("out"), target = e2etest::Program("tvtarget.exe");
    std::string record = File("launched.log"), params = "-title=PropsLaunched -record=" + record;
    const std::vector<Entry> entries = {
        {INS_COPY, source.c_str(), out.c_str(), nullptr, 0,
         "Copy \"" + source + "\",\"" + out + "\",Overwrite"},
        {INS_LAUNCH, target.c_str(), m_files.c_str(), params.c_str(), 2,
         "Launch \"" + target + "\",\"" + m_files + "\",\"" + params + "\",Maximized"},
        {INS_WAIT, "3000", nullptr, nullptr, -1, "Wait \"3000 ms\""},
        {INS_SHOW, "propsvictim", nullptr, nullptr, -1, "Show \"propsvictim\""},
        {INS_MESSAGE, "Props done", nullptr, nullptr, -1, "Message \"Props done\""},
    };
    ASSERT_NO_FATAL_FAILURE(StartEditor(""));
    for (size_t i = 0; i < entries.size(); i++)
    {
        // The names come from the pickers: the window's title, and the
        // program's file name, which is what Kill compares with.
        if (i == 2)
        {
            EXPECT_EQ("PropsVictim", Pick(INS_HIDE, "Select a Window", "propsvictim"));
        }
        ASSERT_NO_FATAL_FAILURE(Enter(entries[i]));
    }
    EXPECT_EQ("tvtarget.exe", Pick(INS_KILL, "Select a Process", "tvtarget.exe"));
    std::vector<std::string> expected;
    for (const Entry& e : entries)
        expected.push_back(e.line);
    expected.insert(expected.begin() + 2, "Hide \"PropsVictim\"");
    expected.push_back("Kill \"tvtarget.exe\"");
    ASSERT_EQ(expected, Save(expected));
    ASSERT_TRUE(DrvPostCommand(m_main, CMD_TEST));

    EXPECT_TRUE(e2etest::WaitFile(File("out\\a.txt")));
    EXPECT_EQ(TVD_OK, DrvWaitHidden(victimWnd, kWait));
    EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return IsWindowVisible(victimWnd) != FALSE; }, kWait));
    HWND box = nullptr;
    EXPECT_EQ(TVD_OK, DrvWaitMessageBox("Message", 0, kWait, &box));
    if (box)
        DrvPressButton(box, IDOK);
    EXPECT_TRUE(victim.Exited(kWait));
    EXPECT_EQ("3", tvint_test::WaitTargetRecord(record)["show"]);
    // The agent writes its log out as it ends; its menu's exit command.
    HWND agent = tvint_test::FindAgent();
    ASSERT_TRUE(agent != nullptr);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DrvWindowProcess(agent));
    ASSERT_TRUE(process != nullptr);
    PostMessageA(agent, WM_COMMAND, 200, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, kWait));
    CloseHandle(process);
    std::string log = ReadBytes(File("Tarvin.log"));
    for (const char* entry :
         {"Hide windows called PropsVictim", "Show windows called propsvictim", "\"Message\""})
        EXPECT_NE(std::string::npos, log.find(entry)) << entry << "\n" << log;
}

} // namespace
