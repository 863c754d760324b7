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

} // namespace
