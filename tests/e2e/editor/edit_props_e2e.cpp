// The action properties dialog end to end: the real tvedit.exe in a scratch
// files folder, actions inserted from the Insert commands and edited in the
// dialog as a user would, the saved file compared line by line, and a file
// built that way run with Test through the real interpreter and agent.
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/editor_testutil.h"
#include "interpreter/tvint_e2e.h"
#include "propertiesDlg_res.h"
#include "regutils.h"

namespace
{

using namespace edittest;
using e2etest::ChildText;

// One action as a user enters it: the fields left empty stay untouched.
struct Entry
{
    int insert; // the action's keyword, counted from Launch
    const char* field;
    const char* field2;
    const char* params;
    int option; // -1: the list as it opens
    std::string line;
};

// clang-format off
enum
{
    INS_LAUNCH = IDM_INSERT_FIRST, INS_OPEN, INS_PRINT, INS_COPY, INS_DELETE, INS_MOVE, INS_COMMENT, INS_MESSAGE,
    INS_KILL, INS_CLOSE, INS_DESTROY, INS_HIDE, INS_SHOW, INS_SHUTDOWN, INS_RESTART, INS_EXIT, INS_SHOWALL,
    INS_WAIT, INS_SCREENSAVER
};
// clang-format on

class PropertiesTest : public EditorTest
{
  protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        wintest::SetRegDword(kEditorKey, "Window State", 1);
        m_launch = File("props.launch");
    }

    void TearDown() override
    {
        m_editors.clear();
        tvint_test::EndAgents(); // the one the interpreter started
        EditorTest::TearDown();
    }

    // tvedit.exe on the file (written first with these lines).
    void StartOn(const std::string& content)
    {
        WriteBytes(m_launch, content);
        m_ed = &StartEditor(m_launch);
        ASSERT_TRUE(m_ed->List() != nullptr);
    }

    HWND Insert(int command)
    {
        EXPECT_TRUE(m_ed->Post(command));
        return m_ed->Dialog("Insert Action");
    }

    HWND Properties(int row)
    {
        EXPECT_TRUE(m_ed->Select(row));
        EXPECT_TRUE(m_ed->Post(IDM_PROPERTIES));
        return m_ed->Dialog("Properties");
    }

    // Replaces a field's text as typing does (the field tells the page).
    static bool Type(HWND dialog, int id, const char* text)
    {
        HWND field = DrvFindChildById(dialog, id);
        if (!field)
            return false;
        SendMessageA(field, EM_SETSEL, 0, -1);
        SendMessageA(field, EM_REPLACESEL, TRUE, (LPARAM)text);
        return e2etest::TextOf(field) == text;
    }

    static bool OkEnabled(HWND dialog)
    {
        return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE;
    }

    static void Ok(HWND dialog)
    {
        ASSERT_TRUE(OkEnabled(dialog));
        ASSERT_TRUE(DrvPressButton(dialog, IDOK));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dialog, kTimeout));
    }

    void Enter(const Entry& e)
    {
        HWND dialog = Insert(e.insert);
        ASSERT_TRUE(dialog != nullptr);
        const int ids[] = {IDC_PAGE_FIELD, IDC_PAGE_FIELD2, IDC_PAGE_PARAMS};
        const char* texts[] = {e.field, e.field2, e.params};
        for (int i = 0; i < 3; i++)
        {
            if (texts[i])
            {
                ASSERT_TRUE(Type(dialog, ids[i], texts[i])) << e.line;
            }
        }
        if (e.option >= 0)
        {
            ASSERT_TRUE(DrvComboSelect(DrvFindChildById(dialog, IDC_PAGE_OPTIONS), e.option)) << e.line;
        }
        Ok(dialog);
    }

    // Inserts a name action whose name is picked from the list: the first
    // row that contains `row` (ignoring case). The field's text after.
    std::string Pick(int command, const char* caption, const char* row)
    {
        HWND dialog = Insert(command);
        if (!dialog || !DrvPressButton(dialog, IDC_PAGE_BROWSE))
            return "<no dialog>";
        HWND picker = m_ed->Dialog(caption), list = DrvFindChildById(picker, IDC_SELECT_LIST);
        for (int i = 0; i < DrvListViewRowCount(list); i++)
        {
            char text[MAX_PATH] = "";
            DrvListViewText(list, i, 0, text, sizeof(text));
            if (strstr(CharLowerA(text), row) && DrvListViewSelect(list, i))
                break;
        }
        EXPECT_TRUE(DrvPressButton(picker, IDOK));
        EXPECT_EQ(TVD_OK, DrvWaitDestroyed(picker, kTimeout));
        std::string name = ChildText(dialog, IDC_PAGE_FIELD);
        Ok(dialog);
        return name;
    }

    // Saves and waits for the file to hold the expected lines; what it holds.
    std::vector<std::string> Save(const std::vector<std::string>& expected)
    {
        EXPECT_TRUE(m_ed->Post(IDM_SAVE));
        std::vector<std::string> lines;
        DrvWaitFor(
            [&]() {
                // A file with an unknown line asks first: saved all the same.
                HWND box = DrvFindWindow(DrvQuery("#32770", "Save", TVD_MATCH_EXACT, m_ed->Pid()));
                if (box && DrvIsReady(box))
                    DrvPressButton(box, IDYES);
                return (lines = ReadLines(m_launch)) == expected;
            },
            kTimeout);
        return lines;
    }

    static std::vector<std::string> LinesOf(const std::vector<Entry>& entries)
    {
        std::vector<std::string> lines;
        for (const Entry& e : entries)
            lines.push_back(e.line);
        return lines;
    }

    std::string m_launch;
    Editor* m_ed = nullptr;
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
    ASSERT_NO_FATAL_FAILURE(StartOn(""));
    for (const Entry& e : entries)
        ASSERT_NO_FATAL_FAILURE(Enter(e)) << e.line;
    EXPECT_EQ(LinesOf(entries), Save(LinesOf(entries)));
}

// Opening a line and pressing OK: what each page shows, what its OK rule
// allows, and the line it writes back.
TEST_F(PropertiesTest, EditedLinesComeBackAsTheyWereMeantOrAsEdited)
{
    ASSERT_NO_FATAL_FAILURE(StartOn("Copy \"a\",\"b\",NoOverwrite\r\n"
                                    "Wait \"20000 ms\"\r\n"
                                    "Frobnicate  \"x\", y ,,\r\n"
                                    "// old words\r\n"
                                    "Delete \"c\\*.tmp\"\r\n"
                                    "Message \"hi\"\r\n"));

    // Copy: OK needs both fields; the list shows the line's option.
    HWND dialog = Properties(0);
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_EQ(1, DrvComboSelected(DrvFindChildById(dialog, IDC_PAGE_OPTIONS)));
    EXPECT_TRUE(OkEnabled(dialog));
    Type(dialog, IDC_PAGE_FIELD2, "");
    EXPECT_FALSE(OkEnabled(dialog));
    Type(dialog, IDC_PAGE_FIELD2, "b2");
    Ok(dialog);

    // Wait above the range: the up-down at its top, the field 9999 once left.
    dialog = Properties(1);
    ASSERT_TRUE(dialog != nullptr);
    HWND spin = DrvFindChildById(dialog, IDC_PAGE_SPIN);
    EXPECT_EQ(9999, (int)SendMessageA(spin, UDM_GETPOS32, 0, 0));
    HWND field = DrvFindChildById(dialog, IDC_PAGE_FIELD);
    SendMessageA(GetParent(field), WM_COMMAND, MAKEWPARAM(IDC_PAGE_FIELD, EN_KILLFOCUS), (LPARAM)field);
    EXPECT_EQ("9999", ChildText(dialog, IDC_PAGE_FIELD));
    Ok(dialog);

    // An unknown line shows whole and is written back as it stands.
    dialog = Properties(2);
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_EQ("Frobnicate  \"x\", y ,,", ChildText(dialog, IDC_PAGE_FIELD));
    EXPECT_EQ("This action is unknown. The full text for this action is displayed.",
              ChildText(dialog, IDC_PAGE_HELP));
    Ok(dialog);

    // A comment edited to one word: two slashes straight before it.
    dialog = Properties(3);
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_EQ(" old words", ChildText(dialog, IDC_PAGE_FIELD));
    Type(dialog, IDC_PAGE_FIELD, "hello");
    Ok(dialog);

    // A Delete without its option asks, as the interpreter reads it; OK
    // without a change keeps the line as written, still asking.
    dialog = Properties(4);
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_EQ(1, DrvComboSelected(DrvFindChildById(dialog, IDC_PAGE_OPTIONS)));
    Ok(dialog);

    // A double quote cannot live inside a value: the user is told and the
    // dialog stays, then takes the mended text.
    dialog = Properties(5);
    ASSERT_TRUE(dialog != nullptr);
    Type(dialog, IDC_PAGE_FIELD, "say \"hi\"");
    ASSERT_TRUE(DrvPressButton(dialog, IDOK));
    std::string refusal = m_ed->Answer("Properties - Error", IDOK);
    EXPECT_NE(std::string::npos, refusal.find("double quote")) << refusal;
    EXPECT_TRUE(IsWindow(dialog));
    Type(dialog, IDC_PAGE_FIELD, "say hi");
    Ok(dialog);

    const std::vector<std::string> expected = {"Copy \"a\",\"b2\",NoOverwrite", "Wait \"9999 ms\"",
                                               "Frobnicate  \"x\", y ,,",       "//hello",
                                               "Delete \"c\\*.tmp\"",           "Message \"say hi\""};
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
    wintest::SetRegDword(tvint_test::kInterpreterKey, "Show Status", 0);
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
    ASSERT_NO_FATAL_FAILURE(StartOn(""));
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
    std::vector<std::string> expected = LinesOf(entries);
    expected.insert(expected.begin() + 2, "Hide \"PropsVictim\"");
    expected.push_back("Kill \"tvtarget.exe\"");
    ASSERT_EQ(expected, Save(expected));
    ASSERT_TRUE(m_ed->Post(IDM_TEST));

    EXPECT_TRUE(e2etest::WaitFile(File("out\\a.txt")));
    EXPECT_EQ(TVD_OK, DrvWaitHidden(victimWnd, kTimeout));
    EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return IsWindowVisible(victimWnd) != FALSE; }, kTimeout));
    e2etest::AnswerBox(0, "Message", IDOK);
    EXPECT_TRUE(victim.Exited(kTimeout));
    EXPECT_EQ("3", tvint_test::WaitTargetRecord(record)["show"]);
    // The agent writes its log out as it ends; its menu's exit command.
    HWND agent = tvint_test::FindAgent();
    ASSERT_TRUE(agent != nullptr);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DrvWindowProcess(agent));
    ASSERT_TRUE(process != nullptr);
    PostMessageA(agent, WM_COMMAND, 200, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, kTimeout));
    CloseHandle(process);
    std::string log = ReadBytes(File("Tarvin.log"));
    for (const char* entry :
         {"Hide windows called PropsVictim", "Show windows called propsvictim", "\"Message\""})
        EXPECT_NE(std::string::npos, log.find(entry)) << entry << "\n" << log;
}

} // namespace
