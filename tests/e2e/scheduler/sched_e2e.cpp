// The scheduler end to end: the real tvsched.exe (and tvagent.exe) in a
// scratch files folder, driven through the test driver as a user would.
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "agent/agent_testutil.h"
#include "e2e/driver.h"
#include "ScheduledTask.h"
#include "strutils.h"

namespace
{

const DWORD kWait = 15000;
const char* const kSchedKey = "Software\\Norvale\\Tarvin 2\\Scheduler";
const UINT kScheduleChanged = RegisterWindowMessageA("FD891CBC-B188-4471-B9A5-CE617A9005CB");

enum
{
    CMD_EXIT = 401,
    CMD_DELETE = 411,
    CMD_PROPERTIES = 413,
    CMD_INSERT = 414,
    CMD_UPDATE = 417,
    CMD_NEXTFUTURE = 418,
    LIST_ID = 303,
    STATUS_ID = 301
};

CTime At(WORD year, WORD month, WORD day, WORD hour, WORD minute)
{
    CTime t;
    t.Set(year, month, day, hour, minute, 0, 0);
    return t;
}

CTime Zero()
{
    return At(0, 0, 0, 0, 0);
}

// The list's text for a time, as the scheduler writes it.
std::string When(const CTime& t, const char* none)
{
    char date[ST_DATE_TEXT_SIZE], timeOfDay[ST_DATE_TEXT_SIZE];
    if (t.GetSystemTimePtr()->wYear == 0 || !FormatTaskDateLocale(t, date, sizeof(date), timeOfDay, sizeof(timeOfDay)))
        return none;
    return std::string(date) + " at " + timeOfDay;
}

// A task with one rule whose scheduled and rule times are `time`.
CSTask* MakeTask(const char* name, const char* target, DWORD type, DWORD subtype, DWORD data, const CTime& time,
                 int active = 1)
{
    CSTask* task = new CSTask();
    task->SetName(name);
    task->SetTarget(target);
    task->SetActive(active);
    CSTRecRule* rule = task->AddRecurrenceRule();
    rule->type = type;
    rule->subtype = subtype;
    rule->data = data;
    rule->time = time;
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
        m_sched.reset(new CDrvProcess);
        ASSERT_TRUE(m_sched->Start((agenttest::ProgramDir() + "tvsched.exe").c_str(), ""));
        ASSERT_EQ(TVD_OK, DrvWaitWindow(DrvSpec("_TVSCHED_MAINWND", nullptr, TVD_MATCH_EXACT, m_sched->Pid()), kWait,
                                        &m_main));
        m_list = DrvFindChildById(m_main, LIST_ID);
        ASSERT_TRUE(m_list != nullptr);
    }

    std::string Cell(int row, int column)
    {
        char buf[512] = "";
        EXPECT_TRUE(DrvListViewText(m_list, row, column, buf, sizeof(buf))) << row << "," << column;
        return buf;
    }

    std::string Title()
    {
        char buf[256] = "";
        DrvGetText(m_main, buf, sizeof(buf));
        return buf;
    }

    std::string Status()
    {
        char buf[256] = "";
        DrvStatusText(DrvFindChildById(m_main, STATUS_ID), 0, buf, sizeof(buf));
        return buf;
    }

    bool WaitRows(int count)
    {
        return DrvWaitFor([&]() { return DrvListViewRowCount(m_list) == count; }, kWait) == TVD_OK;
    }

    bool WaitTitle(const std::string& title)
    {
        return DrvWaitFor([&]() { return Title() == title; }, kWait) == TVD_OK;
    }

    // The message box of the scheduler with that caption: its text, then the
    // answer given (0: none).
    std::string Answer(const char* caption, int button)
    {
        HWND box = nullptr;
        if (DrvWaitMessageBox(caption, m_sched->Pid(), kWait, &box) != TVD_OK)
            return "(no box)";
        char text[512] = "";
        DrvMessageBoxText(box, text, sizeof(text));
        if (button)
            EXPECT_TRUE(DrvPressButton(box, button));
        DrvWaitDestroyed(box, kWait);
        return text;
    }

    int LoadedCount()
    {
        CSTaskList list;
        EXPECT_EQ(1, list.Load(SchedulePath().c_str()));
        return list.GetCount();
    }

    std::unique_ptr<CDrvProcess> m_sched;
    HWND m_main = nullptr;
    HWND m_list = nullptr;
};

const char* const kUnsavedQuestion =
    "The scheduled tasks have been modified.\n\nWould you like to update (save) the changes now?";

// --- Main window -----------------------------------------------------------------

TEST_F(SchedulerTest, ListShowsEveryTaskAsTheUserSeesIt)
{
    UseLocaleTaskDates();
    CTime future = At(2099, 3, 15, 10, 30);
    CSTask* overdue = MakeTask("Hourly", "C:\\a.launch", ST_TYPE_PERIODIC, ST_PERIOD_HOURS, 1, At(2020, 1, 1, 9, 0));
    overdue->SetLastScheduledTime(At(2019, 12, 31, 9, 0));
    // SaveSchedule hands the tasks to a list that deletes them.
    CSTask* disabled = MakeTask("Off", "C:\\b.launch", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, 1, At(2020, 1, 1, 9, 0), 0);
    CSTask* startup = MakeTask("Boot", "C:\\c.launch", ST_TYPE_EVENT, ST_EVENT_STARTUP, 1, Zero());
    CSTask* spent = MakeTask("Spent", "C:\\d.launch", ST_TYPE_DATE, 1, 1, Zero());
    CSTask* once = MakeTask("Later", "C:\\e.launch", ST_TYPE_DATE, 1, 1, future);
    SaveSchedule({overdue, disabled, startup, spent, once});
    StartScheduler();

    ASSERT_TRUE(WaitRows(5));
    EXPECT_EQ(4, DrvListViewColumnCount(m_list));
    struct Row
    {
        const char* name;
        const char* target;
        std::string next;
        std::string last;
    } rows[] = {
        {"Hourly (Overdue)", "C:\\a.launch", When(At(2020, 1, 1, 9, 0), ""), When(At(2019, 12, 31, 9, 0), "")},
        {"Off (Disabled)", "C:\\b.launch", When(At(2020, 1, 1, 9, 0), ""), "Never"},
        {"Boot", "C:\\c.launch", "At next Tarvin startup", "Never"},
        {"Spent", "C:\\d.launch", "Not scheduled to run again", "Never"},
        {"Later", "C:\\e.launch", When(future, ""), "Never"},
    };
    for (int i = 0; i < 5; i++)
    {
        EXPECT_EQ(rows[i].name, Cell(i, 0)) << i;
        EXPECT_EQ(rows[i].target, Cell(i, 1)) << i;
        EXPECT_EQ(rows[i].next, Cell(i, 2)) << i;
        EXPECT_EQ(rows[i].last, Cell(i, 3)) << i;
    }
    EXPECT_EQ("Tarvin Scheduler", Title());
    EXPECT_EQ("Ready.", Status());

    // Next future time: an hourly task due since 2020 moves to the first hour
    // ahead of now, and keeps its last run time.
    ASSERT_TRUE(DrvListViewSelect(m_list, 0));
    CTime before;
    ASSERT_TRUE(DrvPostCommand(m_main, CMD_NEXTFUTURE));
    ASSERT_TRUE(WaitTitle("Tarvin Scheduler - Modified*"));
    CTime after;
    std::string next = Cell(0, 2);
    CTime expect[2];
    for (CTime* e : {&expect[0], &expect[1]})
    {
        // The tasks saved above belong to the saved list, which is gone.
        CSTask model;
        model.Copy(*std::unique_ptr<CSTask>(
            MakeTask("Hourly", "C:\\a.launch", ST_TYPE_PERIODIC, ST_PERIOD_HOURS, 1, At(2020, 1, 1, 9, 0))));
        CTime now = e == &expect[0] ? before : after;
        while (model.IsOverdue(now))
            model.SetNextScheduledTime();
        *e = model.GetScheduledTime();
    }
    EXPECT_TRUE(next == When(expect[0], "") || next == When(expect[1], "")) << next;
    EXPECT_EQ("Hourly", Cell(0, 0));
    EXPECT_EQ(When(At(2019, 12, 31, 9, 0), ""), Cell(0, 3));
    EXPECT_EQ("Scheduled items have been modified. Click Update to save changes.", Status());
}

TEST_F(SchedulerTest, SecondStartBringsTheFirstWindowBackAndEnds)
{
    StartScheduler();
    ShowWindow(m_main, SW_MINIMIZE);
    ASSERT_EQ(TVD_OK, DrvWaitFor([&]() { return IsIconic(m_main) != 0; }, kWait));

    DWORD code = 99;
    ASSERT_EQ(TVD_OK, DrvRun((agenttest::ProgramDir() + "tvsched.exe").c_str(), "", kWait, &code, nullptr, 0));
    EXPECT_EQ(0u, code);
    EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return !IsIconic(m_main) && IsWindowVisible(m_main); }, kWait));
    EXPECT_TRUE(m_sched->IsRunning());
    HWND all[4];
    EXPECT_EQ(1, DrvFindWindows(DrvSpec("_TVSCHED_MAINWND", nullptr), all, 4));
}

// Close box and Exit with a deleted task: each answer does what it says.
TEST_F(SchedulerTest, ClosingWithUnsavedChangesAsksAndEachAnswerHolds)
{
    struct Case
    {
        int command; // 0: the close box
        int answer;
        int tasksInFile;
    } cases[] = {
        {0, IDNO, 2},
        {0, IDYES, 1},
        {CMD_EXIT, IDNO, 1},
        {CMD_EXIT, IDYES, 0},
    };
    SaveSchedule({MakeTask("One", "C:\\1.launch", ST_TYPE_DATE, 1, 1, At(2099, 1, 1, 9, 0)),
                  MakeTask("Two", "C:\\2.launch", ST_TYPE_DATE, 1, 1, At(2099, 1, 1, 9, 0))});
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "command " << c.command << " answer " << c.answer);
        StartScheduler();
        int rows = DrvListViewRowCount(m_list);
        ASSERT_TRUE(DrvListViewSelect(m_list, 0));
        ASSERT_TRUE(DrvPostCommand(m_main, CMD_DELETE));
        EXPECT_EQ("Are you sure you want to delete this task?", Answer("Confirm Delete", IDYES));
        ASSERT_TRUE(WaitRows(rows - 1));
        EXPECT_EQ("Tarvin Scheduler - Modified*", Title());

        if (c.command)
            ASSERT_TRUE(DrvPostCommand(m_main, c.command));
        else
            ASSERT_TRUE(DrvClose(m_main));
        EXPECT_EQ(kUnsavedQuestion, Answer("Confirm", c.answer));
        DWORD code = 1;
        ASSERT_EQ(TVD_OK, m_sched->WaitExit(kWait, &code));
        EXPECT_EQ(0u, code);
        EXPECT_EQ(c.tasksInFile, LoadedCount());
    }
}

TEST_F(SchedulerTest, AFailedUpdateIsReportedAndKeepsTheChanges)
{
    SaveSchedule({MakeTask("One", "C:\\1.launch", ST_TYPE_DATE, 1, 1, At(2099, 1, 1, 9, 0))});
    StartScheduler();
    ASSERT_TRUE(DrvListViewSelect(m_list, 0));
    ASSERT_TRUE(DrvPostCommand(m_main, CMD_DELETE));
    Answer("Confirm Delete", IDYES);
    ASSERT_TRUE(WaitRows(0));

    // The folder is gone: the file cannot be written.
    std::string moved = m_files + ".away";
    ASSERT_TRUE(MoveFileA(m_files.c_str(), moved.c_str()));
    ASSERT_TRUE(DrvPostCommand(m_main, CMD_UPDATE));
    std::string text = Answer("File Error", IDOK);
    EXPECT_NE(std::string::npos, text.find("could not be saved")) << text;
    EXPECT_EQ("Tarvin Scheduler - Modified*", Title());

    // Closing still asks, and Yes with the folder back saves.
    ASSERT_TRUE(MoveFileA(moved.c_str(), m_files.c_str()));
    ASSERT_TRUE(DrvClose(m_main));
    EXPECT_EQ(kUnsavedQuestion, Answer("Confirm", IDYES));
    ASSERT_EQ(TVD_OK, m_sched->WaitExit(kWait));
    EXPECT_EQ(0, LoadedCount());
}

TEST_F(SchedulerTest, ScheduleSavedElsewhereIsReloadedWithoutLosingEdits)
{
    SaveSchedule({MakeTask("One", "C:\\1.launch", ST_TYPE_DATE, 1, 1, At(2099, 1, 1, 9, 0))});
    StartScheduler();
    ASSERT_TRUE(WaitRows(1));

    // No edits: the file is read at once.
    SaveSchedule({MakeTask("One", "C:\\1.launch", ST_TYPE_DATE, 1, 1, At(2099, 1, 1, 9, 0)),
                  MakeTask("Two", "C:\\2.launch", ST_TYPE_DATE, 1, 1, At(2099, 1, 1, 9, 0))});
    PostMessageA(HWND_BROADCAST, kScheduleChanged, 0, 0);
    ASSERT_TRUE(WaitRows(2));
    EXPECT_EQ("Two", Cell(1, 0));

    // With an edit the user is asked; No keeps the edit.
    ASSERT_TRUE(DrvListViewSelect(m_list, 0));
    ASSERT_TRUE(DrvPostCommand(m_main, CMD_DELETE));
    Answer("Confirm Delete", IDYES);
    ASSERT_TRUE(WaitRows(1));
    PostMessageA(HWND_BROADCAST, kScheduleChanged, 0, 0);
    std::string text = Answer("Confirm", IDNO);
    EXPECT_NE(std::string::npos, text.find("saved by another program")) << text;
    EXPECT_EQ(1, DrvListViewRowCount(m_list));
    EXPECT_EQ("Two", Cell(0, 0));
    EXPECT_EQ("Tarvin Scheduler - Modified*", Title());

    // Yes reads the file.
    PostMessageA(HWND_BROADCAST, kScheduleChanged, 0, 0);
    Answer("Confirm", IDYES);
    ASSERT_TRUE(WaitRows(2));
    EXPECT_TRUE(WaitTitle("Tarvin Scheduler"));
}

} // namespace
