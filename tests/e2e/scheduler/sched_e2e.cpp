// The scheduler end to end: the real tvsched.exe (and tvagent.exe) in a
// scratch files folder, driven through the test driver as a user would.
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "agent/agent_testutil.h"
#include "e2e/e2e_testutil.h"
#include "support/tvdriver/driver.h"
#include "ScheduledTask_win.h"
#include "schedule/schedule_testutil.h"
#include "strutils.h"

namespace
{

using e2etest::ChildText;
using e2etest::Control;
const DWORD kWait = 15000;
const char* const kSchedKey = "Software\\Norvale\\Tarvin 2\\Scheduler";

enum
{
    CMD_DELETE = 411,
    CMD_PROPERTIES = 413,
    CMD_INSERT = 414,
    CMD_UPDATE = 417,
    LIST_ID = 303
};

// A task with one rule whose scheduled, first scheduled and rule times are
// `time`.
CSTask* MakeTask(const char* name, const char* target, DWORD type, DWORD subtype, DWORD data,
                 const CTime& time)
{
    CSTask* task = NewTask(name, type, subtype, data, time);
    task->SetTarget(target);
    task->SetScheduledTime(time);
    task->SetOrigScheduledTime(time);
    return task;
}

class SchedulerTest : public agenttest::AgentProcessTest
{
  protected:
    void SetUp() override
    {
        AgentProcessTest::SetUp();
        wintest::SetRegDword(kSchedKey, "Show Tips", 0);
    }

    void TearDown() override
    {
        m_sched.reset();
        AgentProcessTest::TearDown();
    }

    std::string SchedulePath() const
    {
        return File("Tarvin Schedule.dat");
    }

    void SaveSchedule(std::initializer_list<CSTask*> tasks)
    {
        CSTaskList list;
        for (CSTask* t : tasks)
            list.AddTask(t);
        ASSERT_EQ(1, list.Save(SchedulePath().c_str()));
    }

    // Starts tvsched.exe and waits for its list.
    void StartScheduler()
    {
        m_sched.reset(new e2etest::CProgramWindow);
        ASSERT_TRUE(m_sched->Start("tvsched.exe", "", "_TVSCHED_MAINWND"));
        m_main = m_sched->Main();
        m_list = DrvFindChildById(m_main, LIST_ID);
        ASSERT_TRUE(m_list != nullptr);
    }

    std::string Cell(int row, int column)
    {
        char buf[512] = "";
        EXPECT_TRUE(DrvListViewText(m_list, row, column, buf, sizeof(buf))) << row << "," << column;
        return buf;
    }

    bool WaitRows(int count)
    {
        return DrvWaitFor([&]() { return DrvListViewRowCount(m_list) == count; }, kWait) == TVD_OK;
    }

    HWND OpenWizard()
    {
        EXPECT_TRUE(DrvPostCommand(m_main, CMD_INSERT));
        return m_sched->Dialog("New Scheduled Task Wizard");
    }

    // Presses the dialog's buttons in turn; whether the page holding the
    // control `shows` came up then.
    bool Press(HWND dlg, std::initializer_list<int> buttons, int shows)
    {
        for (int id : buttons)
            if (!DrvPressButton(dlg, id))
                return false;
        return Control(dlg, shows) != nullptr;
    }

    // Deletes the first task as a user does, answering the question.
    void DeleteFirst()
    {
        int rows = DrvListViewRowCount(m_list);
        ASSERT_TRUE(DrvListViewSelect(m_list, 0));
        ASSERT_TRUE(DrvPostCommand(m_main, CMD_DELETE));
        EXPECT_EQ("Are you sure you want to delete this task?", m_sched->Answer("Confirm Delete", IDYES));
        ASSERT_TRUE(WaitRows(rows - 1));
    }

    // The properties dialog of the task in that row.
    HWND OpenProperties(int row = 0)
    {
        EXPECT_TRUE(DrvListViewSelect(m_list, row));
        EXPECT_TRUE(DrvPostCommand(m_main, CMD_PROPERTIES));
        return m_sched->Dialog("Properties");
    }

    int LoadedCount()
    {
        CSTaskList list;
        EXPECT_EQ(1, list.Load(SchedulePath().c_str()));
        return list.GetCount();
    }

    std::unique_ptr<e2etest::CProgramWindow> m_sched;
    HWND m_main = nullptr;
    HWND m_list = nullptr;
};

const char* const kUnsavedQuestion =
    "The scheduled tasks have been modified.\n\nWould you like to update (save) the changes now?";

// --- Main window -----------------------------------------------------------------

// A log-off asks the same question with Cancel; FALSE keeps the session
// waiting, and the file holds what the answer says.
TEST_F(SchedulerTest, LogoffWithUnsavedChangesAsksAndEachAnswerHolds)
{
    struct Case
    {
        int answer;
        bool folderGone; // the update cannot be written
        LRESULT result;
        int tasksInFile;
    } cases[] = {
        {IDYES, false, TRUE, 0},
        {IDNO, false, TRUE, 1},
        {IDCANCEL, false, FALSE, 1},
        {IDYES, true, FALSE, 1},
    };
    std::string moved = m_files + ".away";
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "answer " << c.answer << " folder gone " << c.folderGone);
        SaveSchedule({MakeTask("One", "C:\\1.launch", ST_TYPE_DATE, 1, 1, Make(2099, 1, 1, 9, 0))});
        StartScheduler();
        DeleteFirst();
        if (c.folderGone)
        {
            ASSERT_TRUE(MoveFileA(m_files.c_str(), moved.c_str()));
        }

        std::future<LRESULT> ended = e2etest::QueryEndSession(m_main);
        EXPECT_EQ(kUnsavedQuestion, m_sched->Answer("Confirm", c.answer));
        if (c.folderGone)
        {
            EXPECT_NE(std::string::npos, m_sched->Answer("File Error", IDOK).find("could not be saved"));
            ASSERT_TRUE(MoveFileA(moved.c_str(), m_files.c_str()));
        }
        EXPECT_EQ(c.result, ended.get());
        EXPECT_EQ(c.tasksInFile, LoadedCount());
        EXPECT_EQ(c.tasksInFile ? "Tarvin Scheduler - Modified*" : "Tarvin Scheduler", m_sched->Title());
        m_sched.reset();
    }

    // Nothing unsaved: no question.
    StartScheduler();
    EXPECT_EQ(TRUE, e2etest::QueryEndSession(m_main).get());
}

// --- New task wizard -------------------------------------------------------------------

// Next only with a target; Back and Next by the rule's type; intervals
// corrected when the page is left; the default name, which follows the target
// until the user types one; the close box and Cancel insert nothing.
TEST_F(SchedulerTest, WizardPagesFollowTheChoices)
{
    StartScheduler();
    for (int ending : {0, IDCANCEL, 102})
    {
        SCOPED_TRACE(ending);
        HWND wiz = OpenWizard();
        ASSERT_TRUE(wiz);
        HWND next = DrvFindChildById(wiz, 102);
        HWND target = DrvFindChildById(wiz, 2011);
        ASSERT_TRUE(DrvSetText(target, "D:\\Scripts\\backup.launch"));
        EXPECT_TRUE(IsWindowEnabled(next));
        ASSERT_TRUE(DrvSetText(target, ""));
        EXPECT_FALSE(IsWindowEnabled(next));
        ASSERT_TRUE(DrvSetText(target, "D:\\Scripts\\backup.launch"));
        ASSERT_TRUE(Press(wiz, {102}, 2028));

        // At Startup goes straight to the end, and Back returns.
        ASSERT_TRUE(Press(wiz, {2028, 102}, 2101));
        EXPECT_EQ("You have selected to run backup.launch every Tarvin 2 starts up.", ChildText(wiz, 111));
        EXPECT_EQ("backup.launch", ChildText(wiz, 2101));
        ASSERT_TRUE(Press(wiz, {101}, 2028));
        EXPECT_EQ("&Next >", ChildText(wiz, 102));

        // A proposed name follows a new target; a name the user typed stays.
        ASSERT_TRUE(Press(wiz, {101}, 2011));
        ASSERT_TRUE(DrvSetText(DrvFindChildById(wiz, 2011), "D:\\Scripts\\nightly.launch"));
        ASSERT_TRUE(Press(wiz, {102, 2028, 102}, 2101));
        EXPECT_EQ("nightly.launch", ChildText(wiz, 2101));
        ASSERT_TRUE(DrvSetText(DrvFindChildById(wiz, 2101), "Nightly copy"));
        ASSERT_TRUE(Press(wiz, {101, 101}, 2011));
        ASSERT_TRUE(DrvSetText(DrvFindChildById(wiz, 2011), "D:\\Scripts\\weekly.launch"));
        ASSERT_TRUE(Press(wiz, {102, 2028, 102}, 2101));
        EXPECT_EQ("Nightly copy", ChildText(wiz, 2101));
        ASSERT_TRUE(Press(wiz, {101}, 2028));

        // Hourly: 12000 becomes 9999 when the page is left; back from the
        // date page shows it.
        ASSERT_TRUE(Press(wiz, {2023, 102}, 2044));
        ASSERT_TRUE(DrvSetText(DrvFindChildById(wiz, 2032), "12000"));
        ASSERT_TRUE(Press(wiz, {102}, 2031));
        ASSERT_TRUE(Press(wiz, {101}, 2044));
        EXPECT_EQ("9999", ChildText(wiz, 2032));
        ASSERT_TRUE(DrvSetText(DrvFindChildById(wiz, 2032), "0"));
        ASSERT_TRUE(Press(wiz, {102}, 2031));
        ASSERT_TRUE(Press(wiz, {102}, 2101));
        EXPECT_EQ("You have selected to run weekly.launch every 1 hours.", ChildText(wiz, 111));

        if (ending == 0)
            ASSERT_TRUE(DrvClose(wiz));
        else
            ASSERT_TRUE(DrvPressButton(wiz, ending));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(wiz, kWait));
    }
    // Only Finish inserted a task.
    ASSERT_TRUE(WaitRows(1));
    EXPECT_EQ("Nightly copy", Cell(0, 0));
    EXPECT_EQ("Tarvin Scheduler - Modified*", m_sched->Title());
}

// OK on the Schedule page of a spent one-time task and of an "On event" task
// other than start-up keeps the stored time and the event's kind.
TEST_F(SchedulerTest, SchedulePageKeepsTheStoredRule)
{
    const CTime zero = Make(0, 0, 0, 0, 0);
    SaveSchedule({MakeTask("Spent", "C:\\s.launch", ST_TYPE_DATE, 1, 1, zero),
                  MakeTask("Down", "C:\\x.launch", ST_TYPE_EVENT, ST_EVENT_SHUTDOWN, 1, zero)});
    StartScheduler();
    ASSERT_TRUE(WaitRows(2));
    for (int row = 0; row < 2; row++)
    {
        HWND dlg = OpenProperties(row);
        ASSERT_TRUE(dlg);
        ASSERT_TRUE(DrvTabSelect(Control(dlg, 107), 1));
        HWND subtypes = Control(dlg, 145);
        char text[32] = "";
        DrvComboText(subtypes, DrvComboSelected(subtypes), text, sizeof(text));
        EXPECT_STREQ(row == 0 ? "Select date below" : "Shutdown", text);
        ASSERT_TRUE(DrvPostCommand(dlg, IDOK));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kWait));
    }
    ASSERT_TRUE(DrvPostCommand(m_main, CMD_UPDATE));
    ASSERT_TRUE(m_sched->WaitTitle("Tarvin Scheduler"));
    CSTaskList saved;
    ASSERT_EQ(1, saved.Load(SchedulePath().c_str()));
    EXPECT_EQ(Text(zero), Text(saved.GetAt(0)->GetFirstRule()->time));
    EXPECT_EQ(Text(zero), Text(saved.GetAt(0)->GetScheduledTime()));
    EXPECT_EQ("Not scheduled to run again", Cell(0, 2));
    EXPECT_EQ((DWORD)ST_EVENT_SHUTDOWN, saved.GetAt(1)->GetFirstRule()->subtype);
}

} // namespace
