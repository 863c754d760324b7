#include "ScheduledTask.h"
#include "schedule_testutil.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

CSTRecRule* AddRule(CSTask& task, DWORD type, DWORD subtype, DWORD data)
{
    CSTRecRule* rule = task.AddRecurrenceRule();
    rule->type = type;
    rule->subtype = subtype;
    rule->data = data;
    return rule;
}

} // namespace

TEST(ScheduledTask, NewGivesTheDefaults)
{
    CSTask task;
    task.SetName("x");
    task.SetActive(0);
    task.SetWindowState(3);
    task.SetScheduled(0);
    task.SetMustShowOverdue(0);
    task.SetMustRemove(1);
    task.SetRecurrenceCount(7);
    task.SetScheduledTime(Make(2026, 1, 1));
    AddRule(task, 2, 3, 1);
    task.AddExceptionRule();

    EXPECT_EQ(1, task.New(nullptr, 4, 9));
    const std::string none = "0 --- 0000 00:00:00:000";
    EXPECT_EQ("||||ws 1 id 4/9 flags 0111 count 0|" + none + "|" + none + "|" + none, Describe(task));
    EXPECT_EQ(nullptr, task.GetFirstRule());

    task.New("Named", 0, 0);
    EXPECT_STREQ("Named", task.GetName());

    task.SetScheduled(0);
    task.SetScheduledTime(Make(2026, 5, 5));
    EXPECT_EQ(1, task.IsScheduled());
    task.Recurred();
    task.Recurred();
    EXPECT_EQ(2u, task.GetRecurrenceCount());
}

TEST(ScheduledTask, TextsAreCutToTheirFields)
{
    CSTask task;
    std::string longText(400, 'a');
    EXPECT_EQ(0, task.SetName(longText.c_str()));
    EXPECT_EQ(259u, strlen(task.GetName()));
    EXPECT_EQ(1, task.SetName(std::string(259, 'b').c_str()));
    EXPECT_EQ(259u, strlen(task.GetName()));

    EXPECT_EQ(0, task.SetAction(longText.c_str(), nullptr, "args", 2));
    EXPECT_EQ(259u, strlen(task.GetTarget()));
    EXPECT_STREQ("", task.GetDir()) << "not given, so not changed";
    EXPECT_STREQ("args", task.GetCmdLine());
    EXPECT_EQ(2, task.GetWindowState());
    EXPECT_EQ(1, task.SetAction(nullptr, "C:\\dir", nullptr, 3));
    EXPECT_EQ(259u, strlen(task.GetTarget()));
    EXPECT_STREQ("C:\\dir", task.GetDir());

    EXPECT_EQ(1, task.SetProperties(1, 0, 0));
    EXPECT_EQ(1, task.MustRemove());
    EXPECT_EQ(0, task.IsActive());
    EXPECT_EQ(0, task.MustShowOverdue());
}

TEST(ScheduledTask, CopyIsDeepAndSelfCopyKeepsRules)
{
    CSTask source;
    source.New("Backup", 5, 6);
    source.SetAction("D:\\backup.launch", "D:\\", "-q", 2);
    source.SetProperties(1, 0, 0);
    source.SetScheduled(0);
    source.SetRecurrenceCount(12);
    source.SetScheduledTime(Make(2026, 12, 6, 2));
    source.SetScheduled(0);
    source.SetLastScheduledTime(Make(2026, 12, 5, 2));
    source.SetOrigScheduledTime(Make(2026, 11, 24, 2));
    AddRule(source, 2, 3, 1)->except = 96;
    AddRule(source, 3, 1, 0);
    source.AddExceptionRule()->data = 77;

    CSTask copy(&source);
    const std::string described = "Backup|D:\\backup.launch|D:\\|-q|ws 2 id 5/6 flags 1000 count 12|"
                                  "6 Dec 2026 02:00:00:000|5 Dec 2026 02:00:00:000|24 Nov 2026 02:00:00:000"
                                  " [2 3 1 96] [3 1 0 0] exc 77";
    EXPECT_EQ(described, Describe(copy));
    EXPECT_NE(source.GetFirstRule(), copy.GetFirstRule());

    copy.GetFirstRule()->data = 9;
    EXPECT_EQ(1u, source.GetFirstRule()->data);

    // Copy replaces the rules it had instead of adding to them.
    copy.Copy(source);
    EXPECT_EQ(described, Describe(copy));
    copy.Copy(copy);
    EXPECT_EQ(described, Describe(copy));
}

TEST(ScheduledTask, NextScheduledTimeStaysOnTheGrid)
{
    CSTask task;
    CSTRecRule* rule = AddRule(task, ST_TYPE_PERIODIC, ST_PERIOD_DAYS, 1);
    task.SetScheduledTime(Make(2026, 12, 5, 9));
    task.SetScheduled(0);
    EXPECT_EQ(1, task.SetNextScheduledTime());
    EXPECT_EQ("6 Dec 2026 09:00:00:000", Text(task.GetScheduledTime()));
    EXPECT_EQ("5 Dec 2026 09:00:00:000", Text(task.GetLastScheduledTime()));
    EXPECT_EQ("6 Dec 2026 09:00:00:000", Text(rule->time));
    EXPECT_EQ(0, task.IsScheduled()) << "a plain copy; the flag is left alone";

    // Hourly since 09:00, caught up at 13:30 in one move; a time ahead still
    // moves on by one occurrence, a run having used it.
    CSTask hourly;
    AddRule(hourly, ST_TYPE_PERIODIC, ST_PERIOD_HOURS, 1);
    hourly.SetScheduledTime(Make(2026, 12, 5, 9));
    const CTime now = Make(2026, 12, 5, 13, 30);
    EXPECT_EQ(1, hourly.MoveOnPast(now));
    EXPECT_EQ("5 Dec 2026 14:00:00:000", Text(hourly.GetScheduledTime()));
    EXPECT_EQ("5 Dec 2026 13:00:00:000", Text(hourly.GetLastScheduledTime()));
    EXPECT_EQ(1, hourly.MoveOnPast(now));
    EXPECT_EQ("5 Dec 2026 15:00:00:000", Text(hourly.GetScheduledTime()));

    // Catching up ends for every kind of rule, even ones that cannot step.
    const DWORD kinds[][3] = {{1, 0, 0}, {2, 3, 0}, {2, 9, 4}, {2, 3, 1}, {0, 0, 0}};
    for (const auto& k : kinds)
    {
        CSTask t;
        CSTRecRule* r = AddRule(t, k[0], k[1], k[2]);
        r->time = Make(2026, 1, 1);
        r->except = 127;
        t.SetScheduledTime(Make(2026, 1, 1));
        t.MoveOnPast(now);
        EXPECT_EQ(0, t.IsOverdue(now)) << k[0] << "/" << k[1] << "/" << k[2];
        EXPECT_EQ("0 --- 0000 00:00:00:000", Text(t.GetScheduledTime()));
    }

    // A specific date in the future is kept; once passed it is spent.
    CSTask once;
    AddRule(once, ST_TYPE_DATE, 0, 0)->time = Make(2026, 12, 24, 18);
    once.SetScheduledTime(Make(2026, 12, 24, 18));
    once.SetNextScheduledTime();
    EXPECT_EQ("0 --- 0000 00:00:00:000", Text(once.GetScheduledTime()));
    EXPECT_EQ("24 Dec 2026 18:00:00:000", Text(once.GetLastScheduledTime()));

    // Without a rule there is nothing to step on.
    CSTask bare;
    bare.SetScheduledTime(Make(2026, 1, 1));
    EXPECT_EQ(0, bare.SetNextScheduledTime());
    EXPECT_EQ("0 --- 0000 00:00:00:000", Text(bare.GetScheduledTime()));
    EXPECT_EQ("1 Jan 2026 00:00:00:000", Text(bare.GetLastScheduledTime()));
}

TEST(ScheduledTask, OverdueOnlyWhenNowIsLater)
{
    CSTask task;
    CSTRecRule* rule = AddRule(task, ST_TYPE_PERIODIC, ST_PERIOD_DAYS, 1);
    task.SetScheduledTime(Make(2026, 12, 5, 10, 5));
    EXPECT_EQ(0, task.IsOverdue(Make(2026, 12, 5, 10, 5))) << "due at exactly now";
    EXPECT_EQ(1, task.IsOverdue(Make(2026, 12, 5, 10, 5, 0, 1)));
    EXPECT_EQ(0, task.IsOverdue(Make(2026, 12, 4, 23, 59)));
    EXPECT_EQ(1, task.IsOverdue(Make(2026, 12, 6, 0, 0)));
    EXPECT_EQ(0, task.IsOverdue(Make(2025, 12, 31, 23, 59))) << "earlier date, later time of day";

    task.SetActive(0);
    EXPECT_EQ(1, task.IsOverdue(Make(2027, 1, 1))) << "activity is the caller's business";

    rule->type = ST_TYPE_EVENT;
    EXPECT_EQ(0, task.IsOverdue(Make(9999, 1, 1)));

    rule->type = ST_TYPE_PERIODIC;
    task.SetScheduledTime(Make(0, 0, 0));
    EXPECT_EQ(0, task.IsOverdue(Make(9999, 1, 1)));
}
