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
#include "e2e/driver.h"
#include "ScheduledTask_win.h"
#include "schedule/schedule_testutil.h"
#include "strutils.h"

namespace
{

using e2etest::ChildText;
using e2etest::Control;
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
    if (t.GetSystemTimePtr()->wYear == 0 ||
        !FormatTaskDateLocale(t, date, sizeof(date), timeOfDay, sizeof(timeOfDay)))
        return none;
    return std::string(date) + " at " + timeOfDay;
}

// The list's text for the next time the model gives the rule started at
// start, caught up to now.
std::string NextAfter(const CSTRecRule& rule, const CTime& start, const CTime& now)
{
    CSTask model;
    CSTRecRule* r = model.AddRecurrenceRule();
    r->Copy(rule);
    r->time = start;
    model.SetScheduledTime(start);
    while (model.IsOverdue(now))
        model.SetNextScheduledTime();
    return When(model.GetScheduledTime(), "Not scheduled to run again");
}

// A task with one rule whose scheduled, first scheduled and rule times are
// `time`.
CSTask* MakeTask(const char* name, const char* target, DWORD type, DWORD subtype, DWORD data,
                 const CTime& time, int active = 1)
{
    CSTask* task = NewTask(name, type, subtype, data, time, active != 0);
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

    std::string Title()
    {
        return m_sched->Title();
    }

    std::string Status()
    {
        return m_sched->Status(STATUS_ID);
    }

    bool WaitRows(int count)
    {
        return DrvWaitFor([&]() { return DrvListViewRowCount(m_list) == count; }, kWait) == TVD_OK;
    }

    bool WaitTitle(const std::string& title)
    {
        return m_sched->WaitTitle(title);
    }

    // The message box of the scheduler with that caption: its text, then the
    // answer given (0: none).
    std::string Answer(const char* caption, int button)
    {
        return m_sched->Answer(caption, button);
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
        EXPECT_EQ("Are you sure you want to delete this task?", Answer("Confirm Delete", IDYES));
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

TEST_F(SchedulerTest, ListShowsEveryTaskAsTheUserSeesIt)
{
    UseLocaleTaskDates();
    CTime future = At(2099, 3, 15, 10, 30);
    CSTask* overdue =
        MakeTask("Hourly", "C:\\a.launch", ST_TYPE_PERIODIC, ST_PERIOD_HOURS, 1, At(2020, 1, 1, 9, 0));
    overdue->SetLastScheduledTime(At(2019, 12, 31, 9, 0));
    // SaveSchedule hands the tasks to a list that deletes them.
    CSTask* disabled =
        MakeTask("Off", "C:\\b.launch", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, 1, At(2020, 1, 1, 9, 0), 0);
    CSTask* startup = MakeTask("Boot", "C:\\c.launch", ST_TYPE_EVENT, ST_EVENT_STARTUP, 1, Zero());
    CSTask* spent = MakeTask("Spent", "C:\\d.launch", ST_TYPE_DATE, 1, 1, Zero());
    CSTask* once = MakeTask("Later", "C:\\e.launch", ST_TYPE_DATE, 1, 1, future);
    SaveSchedule({overdue, disabled, startup, spent, once});
    StartScheduler();

    ASSERT_TRUE(WaitRows(5));
    EXPECT_EQ(5, DrvListViewColumnCount(m_list)); // and Last Result
    struct Row
    {
        const char* name;
        const char* target;
        std::string next;
        std::string last;
    } rows[] = {
        {"Hourly (Overdue)", "C:\\a.launch", When(At(2020, 1, 1, 9, 0), ""),
         When(At(2019, 12, 31, 9, 0), "")},
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
    CSTRecRule hourly;
    hourly.type = ST_TYPE_PERIODIC;
    hourly.subtype = ST_PERIOD_HOURS;
    hourly.data = 1;
    EXPECT_TRUE(next == NextAfter(hourly, At(2020, 1, 1, 9, 0), before) ||
                next == NextAfter(hourly, At(2020, 1, 1, 9, 0), after))
        << next;
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
    ASSERT_EQ(TVD_OK,
              DrvRun((agenttest::ProgramDir() + "tvsched.exe").c_str(), "", kWait, &code, nullptr, 0));
    EXPECT_EQ(0u, code);
    EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return !IsIconic(m_main) && IsWindowVisible(m_main); }, kWait));
    EXPECT_TRUE(m_sched->Process()->IsRunning());
    HWND all[4];
    EXPECT_EQ(1, DrvFindWindows(DrvQuery("_TVSCHED_MAINWND", nullptr), all, 4));
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
        DeleteFirst();
        EXPECT_EQ("Tarvin Scheduler - Modified*", Title());

        if (c.command)
            ASSERT_TRUE(DrvPostCommand(m_main, c.command));
        else
            ASSERT_TRUE(DrvClose(m_main));
        EXPECT_EQ(kUnsavedQuestion, Answer("Confirm", c.answer));
        DWORD code = 1;
        ASSERT_EQ(TVD_OK, m_sched->Process()->WaitExit(kWait, &code));
        EXPECT_EQ(0u, code);
        EXPECT_EQ(c.tasksInFile, LoadedCount());
    }
}

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
        SaveSchedule({MakeTask("One", "C:\\1.launch", ST_TYPE_DATE, 1, 1, At(2099, 1, 1, 9, 0))});
        StartScheduler();
        DeleteFirst();
        if (c.folderGone)
        {
            ASSERT_TRUE(MoveFileA(m_files.c_str(), moved.c_str()));
        }

        std::future<LRESULT> ended = e2etest::QueryEndSession(m_main);
        EXPECT_EQ(kUnsavedQuestion, Answer("Confirm", c.answer));
        if (c.folderGone)
        {
            EXPECT_NE(std::string::npos, Answer("File Error", IDOK).find("could not be saved"));
            ASSERT_TRUE(MoveFileA(moved.c_str(), m_files.c_str()));
        }
        EXPECT_EQ(c.result, ended.get());
        EXPECT_EQ(c.tasksInFile, LoadedCount());
        EXPECT_EQ(c.tasksInFile ? "Tarvin Scheduler - Modified*" : "Tarvin Scheduler", Title());
        m_sched.reset();
    }

    // Nothing unsaved: no question.
    StartScheduler();
    EXPECT_EQ(TRUE, e2etest::QueryEndSession(m_main).get());
}

TEST_F(SchedulerTest, AFailedUpdateIsReportedAndKeepsTheChanges)
{
    SaveSchedule({MakeTask("One", "C:\\1.launch", ST_TYPE_DATE, 1, 1, At(2099, 1, 1, 9, 0))});
    StartScheduler();
    DeleteFirst();

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
    ASSERT_EQ(TVD_OK, m_sched->Process()->WaitExit(kWait));
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
    DeleteFirst();
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

// --- Task properties -----------------------------------------------------------------

SYSTEMTIME Sys(const CTime& t)
{
    return *t.GetSystemTimePtr();
}

// One edit of the Schedule page. Days and months give the boxes left
// unchecked as bits; minutes and hours may limit the times to a window.
struct RecurrenceCase
{
    const char* name;
    DWORD type;
    DWORD subtype;
    const char* every; // typed into the interval field
    DWORD data;        // what it must store
    DWORD unchecked;
    bool limit;
    WORD onlyBetween, andHour; // hours of the two pickers
    CTime start;
};

class SchedulerPropertiesTest : public SchedulerTest
{
  protected:
    void Check(HWND dlg, int id, bool on)
    {
        SendMessageA(Control(dlg, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    void EditSchedule(HWND dlg, const RecurrenceCase& c)
    {
        ASSERT_TRUE(DrvTabSelect(Control(dlg, 107), 1));
        ASSERT_TRUE(DrvComboSelect(Control(dlg, 144), (int)c.type - 1));
        if (c.type == ST_TYPE_PERIODIC)
        {
            ASSERT_TRUE(DrvComboSelect(Control(dlg, 145), (int)c.subtype - 1));
            ASSERT_TRUE(DrvSetText(Control(dlg, 159), c.every));
        }
        if (c.type == ST_TYPE_PERIODIC && c.subtype <= ST_PERIOD_HOURS)
        {
            Check(dlg, 1100, c.limit);
            ASSERT_TRUE(DrvDateTimeSet(Control(dlg, 1102), Sys(At(2026, 1, 1, c.onlyBetween, 0))));
            ASSERT_TRUE(DrvDateTimeSet(Control(dlg, 1104), Sys(At(2026, 1, 1, c.andHour, 0))));
        }
        int boxes = c.subtype == ST_PERIOD_DAYS ? 7 : c.subtype == ST_PERIOD_MONTHS ? 12 : 0;
        int first = c.subtype == ST_PERIOD_DAYS ? 170 : 184;
        for (int i = 0; c.type == ST_TYPE_PERIODIC && i < boxes; i++)
            Check(dlg, first + i, !(c.unchecked & (1u << i)));
        if (c.type != ST_TYPE_EVENT)
        {
            ASSERT_TRUE(DrvDateTimeSet(Control(dlg, 180), Sys(c.start)));
            ASSERT_TRUE(DrvDateTimeSet(Control(dlg, 181), Sys(c.start)));
        }
    }
};

TEST_F(SchedulerPropertiesTest, EveryRecurrenceIsStoredAndListedAsTheModelComputes)
{
    UseLocaleTaskDates();
    const CTime past = At(2026, 1, 1, 9, 0); // a Thursday
    const RecurrenceCase cases[] = {
        {"once", ST_TYPE_DATE, 1, "", 0, 0, false, 0, 0, At(2099, 3, 15, 10, 30)},
        {"minutes in a window", ST_TYPE_PERIODIC, ST_PERIOD_MINUTES, "45", 45, 0, true, 8, 18, past},
        {"minutes, interval cut", ST_TYPE_PERIODIC, ST_PERIOD_MINUTES, "20000", 9999, 0, false, 8, 8, past},
        {"hours, interval raised", ST_TYPE_PERIODIC, ST_PERIOD_HOURS, "0", 1, 0, false, 8, 8, past},
        {"weekdays", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, "1", 1, 96, false, 0, 0, past},
        {"fortnightly", ST_TYPE_PERIODIC, ST_PERIOD_WEEKS, "2", 2, 0, false, 0, 0, past},
        {"not in summer", ST_TYPE_PERIODIC, ST_PERIOD_MONTHS, "1", 1, 192, false, 0, 0, past},
        {"yearly", ST_TYPE_PERIODIC, ST_PERIOD_YEARS, "1", 1, 0, false, 0, 0, past},
        {"at startup", ST_TYPE_EVENT, ST_EVENT_STARTUP, "", 0, 0, false, 0, 0, Zero()},
    };
    SaveSchedule({MakeTask("Edit me", "C:\\edit.launch", ST_TYPE_DATE, 1, 1, At(2099, 1, 1, 9, 0))});
    StartScheduler();
    ASSERT_TRUE(WaitRows(1));
    for (const RecurrenceCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        HWND dlg = OpenProperties();
        ASSERT_TRUE(dlg);
        EditSchedule(dlg, c);
        ASSERT_TRUE(DrvPostCommand(dlg, IDOK)); // a picker's up-down child has id 1 too
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kWait));
        CTime before;
        ASSERT_TRUE(DrvPostCommand(m_main, CMD_NEXTFUTURE));
        ASSERT_TRUE(DrvPostCommand(m_main, CMD_UPDATE));
        ASSERT_TRUE(WaitTitle("Tarvin Scheduler"));
        CTime after;

        CSTaskList saved;
        ASSERT_EQ(1, saved.Load(SchedulePath().c_str()));
        ASSERT_EQ(1, saved.GetCount());
        CSTRecRule* rule = saved.GetAt(0)->GetFirstRule();
        EXPECT_EQ(c.type, rule->type);
        EXPECT_EQ(c.subtype, rule->subtype);
        if (c.type == ST_TYPE_PERIODIC)
        {
            EXPECT_EQ(c.data, rule->data);
        }
        if (c.subtype == ST_PERIOD_DAYS || c.subtype == ST_PERIOD_MONTHS)
        {
            EXPECT_EQ(c.unchecked, rule->except);
        }
        if (c.type == ST_TYPE_PERIODIC && c.subtype <= ST_PERIOD_HOURS)
        {
            // The task runs from "Only between" to "and": the window it must
            // not run in starts at the second.
            EXPECT_EQ(c.limit ? c.andHour : 12, rule->exceptfrom.GetSystemTimePtr()->wHour);
            EXPECT_EQ(c.limit ? c.onlyBetween : 12, rule->exceptto.GetSystemTimePtr()->wHour);
        }

        // The model's answer for the same rule from the same start.
        std::string shown = Cell(0, 2);
        if (c.type == ST_TYPE_EVENT)
        {
            EXPECT_EQ("At next Tarvin startup", shown);
            EXPECT_EQ(0, saved.GetAt(0)->GetScheduledTime().GetSystemTimePtr()->wYear);
            continue;
        }
        EXPECT_TRUE(shown == NextAfter(*rule, c.start, before) || shown == NextAfter(*rule, c.start, after))
            << shown;
        EXPECT_EQ(shown, When(saved.GetAt(0)->GetScheduledTime(), "Not scheduled to run again"));
    }

    // Cancel keeps the task as it was, also after a page switch saved into
    // the working copy.
    std::string before = Cell(0, 2);
    HWND dlg = OpenProperties();
    ASSERT_TRUE(DrvTabSelect(Control(dlg, 107), 1));
    ASSERT_TRUE(DrvComboSelect(Control(dlg, 144), ST_TYPE_DATE - 1));
    ASSERT_TRUE(DrvTabSelect(Control(dlg, 107), 2));
    ASSERT_TRUE(DrvPostCommand(dlg, IDCANCEL));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kWait));
    EXPECT_EQ(before, Cell(0, 2));
    EXPECT_EQ("Tarvin Scheduler", Title());
}

// The Information page lists the rule's next times after the scheduled one,
// or "Never" when it has none.
TEST_F(SchedulerPropertiesTest, InformationPageListsTheNextTimes)
{
    UseLocaleTaskDates();
    CSTask* never =
        MakeTask("Never", "C:\\n.launch", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, 3, At(2099, 1, 1, 9, 0));
    never->GetFirstRule()->except = 127;
    SaveSchedule(
        {MakeTask("Daily", "C:\\d.launch", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, 2, At(2099, 1, 1, 9, 0)),
         never});
    StartScheduler();
    ASSERT_TRUE(WaitRows(2));
    struct
    {
        int row;
        int rows;
        const char* first;
    } cases[] = {{0, 10, "Saturday, 03 January 2099"}, {1, 1, "Never"}};
    for (const auto& c : cases)
    {
        HWND dlg = OpenProperties(c.row);
        ASSERT_TRUE(dlg);
        ASSERT_TRUE(DrvTabSelect(Control(dlg, 107), 2));
        HWND list = Control(dlg, 1301);
        EXPECT_EQ("Next 10 scheduled times.", ChildText(dlg, 111));
        EXPECT_EQ(c.rows, DrvListViewRowCount(list));
        char first[128] = "";
        DrvListViewText(list, 0, 0, first, sizeof(first));
        EXPECT_STREQ(c.first, first);
        ASSERT_TRUE(DrvPostCommand(dlg, IDCANCEL));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kWait));
    }
}

// Opening the Schedule page and pressing OK changes nothing: the page shows
// the stored rule and writes the same rule back.
TEST_F(SchedulerPropertiesTest, SchedulePageShowsAndKeepsTheStoredRule)
{
    CSTask* window =
        MakeTask("Window", "C:\\w.launch", ST_TYPE_PERIODIC, ST_PERIOD_HOURS, 3, At(2099, 1, 1, 9, 0));
    window->GetFirstRule()->SetExceptTime(At(2026, 1, 1, 18, 0), At(2026, 1, 1, 8, 0));
    CSTask* days =
        MakeTask("Days", "C:\\d.launch", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, 2, At(2099, 1, 1, 9, 0));
    days->GetFirstRule()->except = 96;
    // A one-time task that has run, and an event other than start-up: looking
    // at them changes nothing.
    SaveSchedule({window, days, MakeTask("Spent", "C:\\s.launch", ST_TYPE_DATE, 1, 1, Zero()),
                  MakeTask("Down", "C:\\x.launch", ST_TYPE_EVENT, ST_EVENT_SHUTDOWN, 1, Zero())});
    StartScheduler();
    ASSERT_TRUE(WaitRows(4));
    for (int row = 0; row < 4; row++)
    {
        HWND dlg = OpenProperties(row);
        ASSERT_TRUE(dlg);
        ASSERT_TRUE(DrvTabSelect(Control(dlg, 107), 1));
        if (row >= 2)
        {
            HWND subtypes = Control(dlg, 145);
            char text[32] = "";
            DrvComboText(subtypes, DrvComboSelected(subtypes), text, sizeof(text));
            EXPECT_STREQ(row == 2 ? "Select date below" : "Shutdown", text);
            ASSERT_TRUE(DrvPostCommand(dlg, IDOK));
            ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kWait));
            continue;
        }
        char every[16] = "";
        DrvGetText(Control(dlg, 159), every, sizeof(every));
        EXPECT_STREQ(row == 0 ? "3" : "2", every);
        if (row == 0)
        {
            EXPECT_EQ(BST_CHECKED, SendMessageA(Control(dlg, 1100), BM_GETCHECK, 0, 0));
            SYSTEMTIME between = {}, andTime = {};
            ASSERT_TRUE(DrvDateTimeGet(Control(dlg, 1102), &between));
            ASSERT_TRUE(DrvDateTimeGet(Control(dlg, 1104), &andTime));
            EXPECT_EQ(8, between.wHour);
            EXPECT_EQ(18, andTime.wHour);
        }
        else
        {
            for (int i = 0; i < 7; i++)
                EXPECT_EQ(i >= 5 ? BST_UNCHECKED : BST_CHECKED,
                          SendMessageA(Control(dlg, 170 + i), BM_GETCHECK, 0, 0))
                    << i;
        }
        ASSERT_TRUE(DrvPostCommand(dlg, IDOK));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kWait));
    }
    ASSERT_TRUE(DrvPostCommand(m_main, CMD_UPDATE));
    ASSERT_TRUE(WaitTitle("Tarvin Scheduler"));
    CSTaskList saved;
    ASSERT_EQ(1, saved.Load(SchedulePath().c_str()));
    const CSTRecRule* w = saved.GetAt(0)->GetFirstRule();
    EXPECT_EQ(18, w->exceptfrom.GetSystemTimePtr()->wHour);
    EXPECT_EQ(8, w->exceptto.GetSystemTimePtr()->wHour);
    EXPECT_EQ(3u, w->data);
    EXPECT_EQ(96u, saved.GetAt(1)->GetFirstRule()->except);
    EXPECT_EQ(Text(Zero()), Text(saved.GetAt(2)->GetFirstRule()->time));
    EXPECT_EQ(Text(Zero()), Text(saved.GetAt(2)->GetScheduledTime()));
    EXPECT_EQ("Spent", Cell(2, 0)) << "not overdue";
    EXPECT_EQ("Not scheduled to run again", Cell(2, 2));
    EXPECT_EQ((DWORD)ST_EVENT_SHUTDOWN, saved.GetAt(3)->GetFirstRule()->subtype);
}

// --- New task wizard -------------------------------------------------------------------

// Picks a file in the scheduler's file chooser: the name typed into its
// file name field, then OK.
// Picks a program in the application browser by typing its path into the
// browser's File field (104) and pressing OK (105); the browser lists the
// programs the system knows (100).
void PickFile(DWORD pid, const std::string& path)
{
    HWND browser = nullptr;
    ASSERT_EQ(TVD_OK,
              DrvWaitWindow(DrvQuery("_mh_BROWSEAPPS_CLS__", "Browse Applications", TVD_MATCH_EXACT, pid),
                            kWait, &browser));
    ASSERT_TRUE(DrvFindChildById(browser, 100) != nullptr);
    char button[64] = "";
    DrvGetText(DrvFindChildById(browser, 103), button, sizeof(button));
    EXPECT_STREQ("Browse &Program Files...", button);
    ASSERT_TRUE(DrvSetText(DrvFindChildById(browser, 104), path.c_str()));
    ASSERT_TRUE(DrvPressButton(browser, 105));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(browser, kWait));
}

// A task made in the wizard (the program picked with Browse, every day but
// Saturday and Sunday, starting this minute), with its parameters set in the
// properties the wizard opens, and Update: the file holds exactly that task,
// the running agent picks it up and runs it in its minute, and the scheduler
// shows the run the agent saved.
TEST_F(SchedulerTest, WizardTaskReachesTheAgentAndRunsInItsMinute)
{
    UseLocaleTaskDates();
    ASSERT_TRUE(Start() != nullptr); // the agent
    StartScheduler();
    std::string target = agenttest::ProgramDir() + "tvtarget.exe";
    std::string record = File("ran.txt");

    // The run minute must still be ahead of the agent's check when Update
    // lands: start early in a minute.
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (now.wSecond >= 35)
        DrvWaitFor(
            [&]() {
                GetLocalTime(&now);
                return now.wSecond < 35;
            },
            30000, 200);
    CTime runAt = At(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute);

    HWND wiz = OpenWizard();
    ASSERT_TRUE(wiz);
    HWND next = DrvFindChildById(wiz, 102);
    EXPECT_FALSE(IsWindowEnabled(next)); // nothing to run yet
    EXPECT_FALSE(IsWindowEnabled(DrvFindChildById(wiz, 101)));
    ASSERT_TRUE(DrvPressButton(wiz, 108));
    PickFile(m_sched->Pid(), target);
    char text[512] = "";
    EXPECT_EQ(TVD_OK, DrvWaitFor(
                          [&]() {
                              DrvGetText(DrvFindChildById(wiz, 2011), text, sizeof(text));
                              return target == text && DrvIsReady(wiz);
                          },
                          kWait))
        << text;
    EXPECT_TRUE(IsWindowEnabled(next));

    ASSERT_TRUE(Press(wiz, {102}, 2024));
    EXPECT_TRUE(IsWindowEnabled(DrvFindChildById(wiz, 101)));
    ASSERT_TRUE(Press(wiz, {2024, 102}, 2066)); // Daily
    ASSERT_TRUE(DrvSetText(DrvFindChildById(wiz, 2032), "1"));
    ASSERT_TRUE(Press(wiz, {2066, 2067, 102}, 2031)); // Saturday and Sunday off
    ASSERT_TRUE(DrvDateTimeSet(DrvFindChildById(wiz, 2031), Sys(runAt)));
    ASSERT_TRUE(DrvDateTimeSet(DrvFindChildById(wiz, 2032), Sys(runAt)));
    ASSERT_TRUE(Press(wiz, {102}, 2101));
    EXPECT_EQ("You have selected to run tvtarget.exe every 1 days.", ChildText(wiz, 111));
    EXPECT_EQ("tvtarget.exe", ChildText(wiz, 2101));
    EXPECT_EQ("Fi&nish", ChildText(wiz, 102));
    ASSERT_TRUE(DrvPressButton(wiz, 2102)); // open the properties afterwards
    ASSERT_TRUE(DrvPressButton(wiz, 102));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(wiz, kWait));

    HWND props = nullptr;
    ASSERT_EQ(TVD_OK, DrvWaitWindow(DrvQuery("#32770", "Properties", TVD_MATCH_EXACT, m_sched->Pid()), kWait,
                                    &props));
    // The schedule file stores texts between double quotes without escaping,
    // so the parameters hold none (the scratch path has no spaces).
    std::string params = "-record=" + record + " -title=SchedRun";
    ASSERT_TRUE(DrvSetText(DrvFindChildById(props, 131), params.c_str()));
    ASSERT_TRUE(DrvPostCommand(props, IDOK));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(props, kWait));
    ASSERT_TRUE(WaitRows(1));
    EXPECT_EQ(0u, Cell(0, 0).find("tvtarget.exe")); // " (Overdue)" once this minute's first second is past
    ASSERT_TRUE(DrvPostCommand(m_main, CMD_UPDATE));
    ASSERT_TRUE(WaitTitle("Tarvin Scheduler"));

    CSTaskList saved;
    ASSERT_EQ(1, saved.Load(SchedulePath().c_str()));
    ASSERT_EQ(1, saved.GetCount());
    CSTask* task = saved.GetAt(0);
    EXPECT_STREQ("tvtarget.exe", task->GetName());
    EXPECT_EQ(target, task->GetTarget());
    EXPECT_EQ(params, task->GetCmdLine());
    EXPECT_EQ(1, task->GetWindowState());
    EXPECT_EQ(1, task->IsActive());
    const CSTRecRule* rule = task->GetFirstRule();
    EXPECT_EQ((DWORD)ST_TYPE_PERIODIC, rule->type);
    EXPECT_EQ((DWORD)ST_PERIOD_DAYS, rule->subtype);
    EXPECT_EQ(1u, rule->data);
    EXPECT_EQ(96u, rule->except);
    for (const CTime& t : {rule->time, task->GetScheduledTime(), task->GetOrigScheduledTime()})
        EXPECT_TRUE(t.CompareDate(runAt) == 0 && t.CompareTime(runAt) == 0)
            << t.GetString(text, sizeof(text));

    // The agent reloads on the broadcast and runs the task in its minute.
    ASSERT_TRUE(e2etest::WaitFile(record, 70000)) << "the agent did not run the task";
    HWND ran = nullptr;
    EXPECT_EQ(TVD_OK, DrvWaitWindow(DrvQuery(nullptr, "SchedRun"), kWait, &ran));
    if (ran)
        DrvClose(ran);

    // It saved the task moved on, and the scheduler shows that run.
    EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return Cell(0, 3) == When(runAt, ""); }, kWait)) << Cell(0, 3);
    EXPECT_EQ("Tarvin Scheduler", Title());
}

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
    EXPECT_EQ("Tarvin Scheduler - Modified*", Title());
}

// A save elsewhere while the properties dialog is open waits for the dialog:
// the edit lands on the task it was made for, and then the user is asked.
TEST_F(SchedulerPropertiesTest, ReloadWaitsForTheOpenDialog)
{
    SaveSchedule({MakeTask("A", "C:\\a.launch", ST_TYPE_DATE, 1, 1, At(2099, 1, 1, 9, 0))});
    StartScheduler();
    ASSERT_TRUE(WaitRows(1));
    HWND dlg = OpenProperties();
    ASSERT_TRUE(dlg);

    SaveSchedule({MakeTask("B", "C:\\b.launch", ST_TYPE_DATE, 1, 1, At(2099, 1, 1, 9, 0)),
                  MakeTask("A", "C:\\a.launch", ST_TYPE_DATE, 1, 1, At(2099, 1, 1, 9, 0))});
    // Posted before the OK below, so it reaches the scheduler first.
    PostMessageA(HWND_BROADCAST, kScheduleChanged, 0, 0);
    ASSERT_TRUE(DrvSetText(Control(dlg, 128), "A2"));
    ASSERT_TRUE(DrvPostCommand(dlg, IDOK));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kWait));

    EXPECT_NE(std::string::npos, Answer("Confirm", IDNO).find("saved by another program"));
    ASSERT_TRUE(WaitRows(1));
    EXPECT_EQ("A2", Cell(0, 0));
    EXPECT_EQ("Tarvin Scheduler - Modified*", Title());
}

// Settings: the tip of the day at start while "Show Tips" is not 0; the
// window's place, the bars and the column widths kept from one run to the
// next.
TEST_F(SchedulerTest, SettingsAreKeptBetweenRuns)
{
    wintest::RegRestorer restore;
    for (const char* name :
         {"Show Tips", "Editor WindowPos", "View Toolbar", "View Statusbar", "Column 1 Width"})
        restore.Clear(kSchedKey, name);

    StartScheduler();
    HWND tips = nullptr;
    ASSERT_EQ(TVD_OK, DrvWaitWindow(DrvQuery(nullptr, "Tip of the Day", TVD_MATCH_EXACT, m_sched->Pid()),
                                    kWait, &tips));
    ASSERT_TRUE(DrvPostCommand(tips, IDCANCEL));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(tips, kWait));
    wintest::SetRegDword(kSchedKey, "Show Tips", 0);

    ASSERT_TRUE(SetWindowPos(m_main, nullptr, 40, 50, 500, 360, SWP_NOZORDER | SWP_NOACTIVATE));
    ListView_SetColumnWidth(m_list, 0, 170);
    HWND toolbar = DrvFindChildById(m_main, 302);
    ASSERT_TRUE(DrvPostCommand(m_main, 415)); // toolbar off
    EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return !IsWindowVisible(toolbar); }, kWait));
    ASSERT_TRUE(DrvClose(m_main));
    ASSERT_EQ(TVD_OK, m_sched->Process()->WaitExit(kWait));

    StartScheduler();
    RECT rc;
    GetWindowRect(m_main, &rc);
    EXPECT_EQ(40, rc.left);
    EXPECT_EQ(50, rc.top);
    EXPECT_EQ(500, rc.right - rc.left);
    EXPECT_EQ(360, rc.bottom - rc.top);
    EXPECT_EQ(170, ListView_GetColumnWidth(m_list, 0));
    EXPECT_FALSE(IsWindowVisible(DrvFindChildById(m_main, 302)));
    EXPECT_TRUE(IsWindowVisible(DrvFindChildById(m_main, STATUS_ID)));
    toolbar = DrvFindChildById(m_main, 302);
    ASSERT_TRUE(DrvPostCommand(m_main, 415)); // and back on
    EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return IsWindowVisible(toolbar) != 0; }, kWait));
}

} // namespace
