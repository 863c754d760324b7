// The runner's decisions at a chosen time: which tasks the minute check and
// the start-up pass run, what they change in them, and what counts as overdue.
// Tasks are "started" by a recorder, so nothing is launched and nothing saved.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "schedrunner.h"
#include "schedule/schedule_testutil.h"

namespace
{
CTime At(WORD day, WORD hour, WORD minute, WORD second = 0)
{
    CTime t;
    t.Set(2026, 3, day, hour, minute, second, 0);
    return t;
}

void Record(CSTask& task, void* context)
{
    static_cast<std::vector<std::string>*>(context)->push_back(task.GetName());
}

CSTask* AddTask(CSTaskList& schedule, const char* name, DWORD type, DWORD subtype, const CTime& when,
                bool active = true)
{
    CSTask* task = NewTask(name, type, subtype, 1, when, active);
    schedule.AddTask(task);
    return task;
}

bool SameMinute(const CTime& a, const CTime& b)
{
    const SYSTEMTIME& x = *a.GetSystemTimePtr();
    const SYSTEMTIME& y = *b.GetSystemTimePtr();
    return x.wYear == y.wYear && x.wMonth == y.wMonth && x.wDay == y.wDay && x.wHour == y.wHour &&
           x.wMinute == y.wMinute;
}

TEST(SchedRunnerDecisions, TaskDueThisMinuteRunsOnceAndMovesOn)
{
    CSTaskList schedule;
    CSTask* daily = AddTask(schedule, "daily", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, At(10, 9, 15));
    CSTask* once = AddTask(schedule, "once", ST_TYPE_DATE, 0, At(10, 9, 15));
    AddTask(schedule, "later", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, At(10, 9, 16));
    std::vector<std::string> started;

    EXPECT_EQ(0, MinuteCheckAt(schedule, At(10, 9, 14, 59), Record, &started));
    EXPECT_EQ(2, MinuteCheckAt(schedule, At(10, 9, 15, 42), Record, &started));
    EXPECT_EQ((std::vector<std::string>{"daily", "once"}), started);
    EXPECT_EQ(1u, daily->GetRecurrenceCount());
    EXPECT_TRUE(SameMinute(At(11, 9, 15), daily->GetScheduledTime()));
    EXPECT_TRUE(SameMinute(At(10, 9, 15), daily->GetLastScheduledTime()));
    EXPECT_EQ(0, once->GetScheduledTime().GetSystemTimePtr()->wYear);

    // A second tick in the same minute finds both moved on.
    EXPECT_EQ(0, MinuteCheckAt(schedule, At(10, 9, 15, 59), Record, &started));
    EXPECT_EQ(2u, started.size());
    EXPECT_EQ(1u, daily->GetRecurrenceCount());
}

TEST(SchedRunnerDecisions, InactiveTaskIsSkippedAndNeverListed)
{
    CSTaskList schedule;
    CSTask* due = AddTask(schedule, "due", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, At(10, 9, 15), false);
    AddTask(schedule, "missed", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, At(9, 8, 0), false);
    AddTask(schedule, "boot", ST_TYPE_EVENT, ST_EVENT_STARTUP, At(9, 8, 0), false);
    std::vector<std::string> started;

    EXPECT_EQ(0, MinuteCheckAt(schedule, At(10, 9, 15, 30), Record, &started));
    int ran = -1;
    EXPECT_EQ(0, StartupPassAt(schedule, At(10, 9, 30), Record, &started, &ran));
    EXPECT_EQ(0, ran);
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(0u, due->GetRecurrenceCount());
    EXPECT_TRUE(SameMinute(At(10, 9, 15), due->GetScheduledTime()));
}

TEST(SchedRunnerDecisions, OverdueAtStartIsListedNotRun)
{
    CSTaskList schedule;
    CSTask* missed = AddTask(schedule, "missed", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, At(9, 8, 0));
    std::vector<std::string> started;
    int ran = -1;

    EXPECT_EQ(1, StartupPassAt(schedule, At(10, 9, 30), Record, &started, &ran));
    EXPECT_EQ(0, ran);
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(IsTaskListedOverdue(*missed, At(10, 9, 30)));
    EXPECT_EQ(0u, missed->GetRecurrenceCount());
    EXPECT_TRUE(SameMinute(At(9, 8, 0), missed->GetScheduledTime()));

    // Within its own minute a task is the minute check's, not overdue.
    CSTaskList current;
    AddTask(current, "now", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, At(10, 9, 30));
    EXPECT_EQ(0, StartupPassAt(current, At(10, 9, 30, 45), Record, &started, &ran));
    EXPECT_EQ(1, StartupPassAt(current, At(10, 9, 31), Record, &started, &ran));
    EXPECT_TRUE(started.empty());
}

TEST(SchedRunnerDecisions, StartupTaskRunsAtEveryStartOnlyAndIsNeverOverdue)
{
    CSTaskList schedule;
    CSTask* boot = AddTask(schedule, "boot", ST_TYPE_EVENT, ST_EVENT_STARTUP, At(9, 8, 0));
    AddTask(schedule, "shutdown", ST_TYPE_EVENT, ST_EVENT_SHUTDOWN, At(9, 8, 0));
    std::vector<std::string> started;
    int ran = -1;

    const CTime start = At(10, 9, 30, 12);
    EXPECT_EQ(0, StartupPassAt(schedule, start, Record, &started, &ran));
    EXPECT_EQ(1, ran);
    EXPECT_EQ(std::vector<std::string>{"boot"}, started);
    EXPECT_EQ(1u, boot->GetRecurrenceCount());
    EXPECT_EQ(0, boot->GetLastScheduledTime().CompareDate(start));
    EXPECT_EQ(0, boot->GetLastScheduledTime().CompareTime(start));

    // The minute check leaves it alone, even in its rule's minute.
    EXPECT_EQ(0, MinuteCheckAt(schedule, At(9, 8, 0), Record, &started));
    EXPECT_EQ(1u, started.size());

    // Even with a time long past it is not overdue, and the next start runs it again.
    boot->SetScheduledTime(At(9, 8, 0));
    EXPECT_FALSE(IsTaskListedOverdue(*boot, start));
    EXPECT_EQ(0, StartupPassAt(schedule, At(11, 7, 0), Record, &started, &ran));
    EXPECT_EQ(1, ran);
    EXPECT_EQ(2u, boot->GetRecurrenceCount());
    EXPECT_EQ(0, boot->GetLastScheduledTime().CompareDate(At(11, 7, 0)));
}
} // namespace

namespace
{
// After the machine wakes or the clock moves, what passed meanwhile is
// counted for the Overdue Tasks dialog; nothing runs and nothing moves, and
// the task of the waking minute is left to the minute check.
TEST(SchedRunnerDecisions, WakingOrAClockChangeCountsWhatPassedMeanwhile)
{
    CSTaskList schedule;
    CSTask* slept = AddTask(schedule, "slept", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, At(10, 9, 15));
    AddTask(schedule, "ahead", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, At(10, 12, 0));
    AddTask(schedule, "woke", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, At(10, 11, 0));
    AddTask(schedule, "idle", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, At(10, 9, 30), false);
    CSTask* boot = AddTask(schedule, "boot", ST_TYPE_EVENT, ST_EVENT_STARTUP, At(9, 8, 0));
    std::vector<std::string> started;

    // Asleep from 9:00 to 11:00: no tick ran in between.
    EXPECT_EQ(0, CountOverdueAt(schedule, At(10, 8, 59)));
    EXPECT_EQ(1, CountOverdueAt(schedule, At(10, 11, 0, 20)));
    EXPECT_EQ(1, MinuteCheckAt(schedule, At(10, 11, 0, 20), Record, &started));
    EXPECT_EQ(std::vector<std::string>{"woke"}, started);
    EXPECT_EQ(1, CountOverdueAt(schedule, At(10, 11, 0, 40)));
    EXPECT_EQ(0u, slept->GetRecurrenceCount());
    EXPECT_TRUE(SameMinute(At(10, 9, 15), slept->GetScheduledTime()));
    EXPECT_EQ(0u, boot->GetRecurrenceCount());

    // The clock set forward past the next task, then back a day.
    EXPECT_EQ(2, CountOverdueAt(schedule, At(10, 12, 30)));
    EXPECT_EQ(0, CountOverdueAt(schedule, At(9, 12, 0)));
}
} // namespace
