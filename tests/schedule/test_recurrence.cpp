#include "ScheduledTask.h"
#include "schedule_testutil.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::string Fields(const CTime& t)
{
    const SYSTEMTIME* st = t.GetSystemTimePtr();
    char buf[80];
    snprintf(buf, sizeof(buf), "%d-%02d-%02d %02d:%02d:%02d.%03d", st->wYear, st->wMonth, st->wDay, st->wHour,
             st->wMinute, st->wSecond, st->wMilliseconds);
    return buf;
}

const char* const kNone = "0-00-00 00:00:00.000";

CSTRecRule Periodic(DWORD subtype, DWORD data, DWORD except = 0)
{
    CSTRecRule rule;
    rule.type = ST_TYPE_PERIODIC;
    rule.subtype = subtype;
    rule.data = data;
    rule.except = except;
    rule.exceptfrom = Make(2000, 1, 1, 12);
    rule.exceptto = Make(2000, 1, 1, 12);
    return rule;
}

// Runs the rule from `after` and checks result code and next time, reporting
// the caller's line.
void ExpectNext(int line, const CSTRecRule& rule, const CTime& after, int rc, const std::string& next)
{
    SCOPED_TRACE(testing::Message() << "case at line " << line);
    CTime out = Make(1, 1, 1);
    EXPECT_EQ(rc, rule.GetNextScheduledTimeAfter(after, out));
    EXPECT_EQ(next, Fields(out));
}

} // namespace

TEST(Recurrence, TimeWindowSkipsCandidatesButAllowsItsBounds)
{
    CSTRecRule twoHours = Periodic(ST_PERIOD_HOURS, 2);
    twoHours.SetExceptTime(Make(2000, 1, 1, 22), Make(2000, 1, 1, 6)); // wraps past midnight
    ExpectNext(__LINE__, twoHours, Make(2026, 12, 5, 20, 30), 1, "2026-12-06 06:30:00.000");
    ExpectNext(__LINE__, twoHours, Make(2026, 12, 5, 20, 0), 1, "2026-12-05 22:00:00.000");
    ExpectNext(__LINE__, twoHours, Make(2026, 12, 6, 2, 0), 1, "2026-12-06 06:00:00.000");

    CSTRecRule halfHour = Periodic(ST_PERIOD_MINUTES, 30);
    halfHour.SetExceptTime(Make(2000, 1, 1, 12), Make(2000, 1, 1, 13));
    ExpectNext(__LINE__, halfHour, Make(2026, 12, 5, 11, 45), 1, "2026-12-05 13:15:00.000");
    ExpectNext(__LINE__, halfHour, Make(2026, 12, 5, 11, 30), 1, "2026-12-05 12:00:00.000");
    // Seconds count: 12:00:01 is inside the window.
    ExpectNext(__LINE__, halfHour, Make(2026, 12, 5, 11, 30, 1), 1, "2026-12-05 13:00:01.000");

    // Bounds with the same time of day on different dates: no window at all.
    CSTRecRule noWindow = Periodic(ST_PERIOD_HOURS, 2);
    noWindow.SetExceptTime(Make(2000, 1, 1, 22), Make(2026, 7, 9, 22));
    ExpectNext(__LINE__, noWindow, Make(2026, 12, 5, 20, 30), 1, "2026-12-05 22:30:00.000");

    // The window is ignored by units other than minutes and hours.
    CSTRecRule daily = Periodic(ST_PERIOD_DAYS, 1);
    daily.SetExceptTime(Make(2000, 1, 1, 0), Make(2000, 1, 1, 23, 59));
    ExpectNext(__LINE__, daily, Make(2026, 12, 5, 12), 1, "2026-12-06 12:00:00.000");
}

TEST(Recurrence, WeekdayAndMonthExclusionsFollowTheCalendarDate)
{
    CSTRecRule weekdays = Periodic(ST_PERIOD_DAYS, 1, 32 | 64); // not Saturday, Sunday
    ExpectNext(__LINE__, weekdays, Make(2026, 12, 4, 9), 1, "2026-12-07 09:00:00.000");
    ExpectNext(__LINE__, weekdays, Make(2027, 12, 31, 9), 1, "2028-01-03 09:00:00.000");

    // A stale or wrong wDayOfWeek in the reference must not matter.
    CTime wednesday = Make(2007, 5, 2, 8);
    wednesday.GetSystemTimePtr()->wDayOfWeek = 6;
    ExpectNext(__LINE__, Periodic(ST_PERIOD_DAYS, 1, 8), wednesday, 1, "2007-05-04 08:00:00.000");
    CTime out;
    Periodic(ST_PERIOD_DAYS, 1, 8).GetNextScheduledTimeAfter(wednesday, out);
    EXPECT_EQ(6, out.GetSystemTimePtr()->wDayOfWeek) << "carried over, never computed";

    // Every second day lands on a weekend day and skips it by two.
    ExpectNext(__LINE__, Periodic(ST_PERIOD_DAYS, 2, 64), Make(2026, 12, 4), 1, "2026-12-08 00:00:00.000");

    ExpectNext(__LINE__, Periodic(ST_PERIOD_MONTHS, 1, 64 | 128), Make(2026, 6, 15, 8), 1,
               "2026-09-15 08:00:00.000");
    ExpectNext(__LINE__, Periodic(ST_PERIOD_MONTHS, 1, 1 | 2048), Make(2026, 11, 30, 8), 1,
               "2027-03-02 08:00:00.000");

    // Bits that other units ignore.
    ExpectNext(__LINE__, Periodic(ST_PERIOD_WEEKS, 1, 127), Make(2026, 12, 7), 1, "2026-12-14 00:00:00.000");
    ExpectNext(__LINE__, Periodic(ST_PERIOD_YEARS, 1, 4095), Make(2026, 12, 7), 1, "2027-12-07 00:00:00.000");
    ExpectNext(__LINE__, Periodic(ST_PERIOD_HOURS, 1, 127), Make(2026, 12, 7), 1, "2026-12-07 01:00:00.000");

    struct
    {
        WORD y, m, d;
        int weekday;
    } days[] = {{2000, 1, 1, 5}, {2000, 2, 29, 1}, {1900, 1, 1, 0},  {9999, 12, 31, 4},
                {1, 1, 1, 0},    {2003, 5, 12, 0}, {2003, 5, 11, 6}, {2007, 5, 2, 2}};
    for (const auto& c : days)
        EXPECT_EQ(c.weekday, GetTaskWeekday(Make(c.y, c.m, c.d))) << c.y << "-" << c.m << "-" << c.d;
}

TEST(Recurrence, IntervalsCarryAndRollOverMonthEnds)
{
    CSTRecRule monthly = Periodic(ST_PERIOD_MONTHS, 1);
    ExpectNext(__LINE__, monthly, Make(2026, 1, 31, 10), 1, "2026-03-03 10:00:00.000");
    ExpectNext(__LINE__, monthly, Make(2026, 3, 3, 10), 1, "2026-04-03 10:00:00.000");
    ExpectNext(__LINE__, monthly, Make(2024, 1, 31, 10), 1, "2024-03-02 10:00:00.000");
    ExpectNext(__LINE__, Periodic(ST_PERIOD_MONTHS, 14), Make(2026, 11, 30), 1, "2028-01-30 00:00:00.000");
    ExpectNext(__LINE__, Periodic(ST_PERIOD_MONTHS, 12), Make(2026, 12, 1), 1, "2027-12-01 00:00:00.000");
    ExpectNext(__LINE__, Periodic(ST_PERIOD_YEARS, 1), Make(2024, 2, 29, 6), 1, "2025-03-01 06:00:00.000");
    ExpectNext(__LINE__, Periodic(ST_PERIOD_YEARS, 4), Make(2024, 2, 29, 6), 1, "2028-02-29 06:00:00.000");
    ExpectNext(__LINE__, Periodic(ST_PERIOD_MINUTES, 90), Make(2026, 12, 31, 23), 1,
               "2027-01-01 00:30:00.000");
    ExpectNext(__LINE__, Periodic(ST_PERIOD_WEEKS, 2), Make(2026, 12, 28), 1, "2027-01-11 00:00:00.000");
    ExpectNext(__LINE__, Periodic(ST_PERIOD_DAYS, 366), Make(2027, 3, 1), 1, "2028-03-01 00:00:00.000");
    ExpectNext(__LINE__, Periodic(ST_PERIOD_HOURS, 25), Make(2028, 2, 28, 23, 59, 59, 999), 1,
               "2028-03-01 00:59:59.999");

    // Intervals past what a 16-bit field holds in one go must not wrap.
    ExpectNext(__LINE__, Periodic(ST_PERIOD_MINUTES, 65535), Make(2026, 1, 1, 0, 59), 1,
               "2026-02-15 13:14:00.000");
    ExpectNext(__LINE__, Periodic(ST_PERIOD_MINUTES, 70000), Make(2026, 1, 1, 0, 59), 1,
               "2026-02-18 15:39:00.000");
    ExpectNext(__LINE__, Periodic(ST_PERIOD_WEEKS, 10000), Make(2026, 1, 1), 1, "2217-08-28 00:00:00.000");

    // A reference outside the calendar (a damaged file) is carried first.
    ExpectNext(__LINE__, Periodic(ST_PERIOD_MINUTES, 1), Make(2026, 2, 31, 24, 75), 1,
               "2026-03-04 01:16:00.000");
}

TEST(Recurrence, NoNextTimeIsAllZero)
{
    ExpectNext(__LINE__, Periodic(ST_PERIOD_DAYS, 3, 127), Make(2026, 12, 7), 0, kNone);
    ExpectNext(__LINE__, Periodic(ST_PERIOD_DAYS, 7, 1), Make(2026, 12, 7), 0, kNone); // Monday, Mondays off
    ExpectNext(__LINE__, Periodic(ST_PERIOD_MONTHS, 12, 32), Make(2026, 6, 7), 0, kNone);
    ExpectNext(__LINE__, Periodic(ST_PERIOD_MONTHS, 1, 4095), Make(2026, 6, 7), 0, kNone);
    CSTRecRule always = Periodic(ST_PERIOD_HOURS, 24);
    always.SetExceptTime(Make(2000, 1, 1, 8), Make(2000, 1, 1, 7)); // only 07:00-08:00 allowed
    ExpectNext(__LINE__, always, Make(2026, 6, 7, 9), 0, kNone);

    // A zero interval or an unknown unit cannot move on: answering with the
    // reference would leave the task due for ever.
    ExpectNext(__LINE__, Periodic(ST_PERIOD_DAYS, 0), Make(2026, 6, 7), 0, kNone);
    ExpectNext(__LINE__, Periodic(9, 5), Make(2026, 6, 7), 0, kNone);
    ExpectNext(__LINE__, Periodic(0, 5), Make(2026, 6, 7), 0, kNone);

    // No reference, or one the calendar does not know.
    ExpectNext(__LINE__, Periodic(ST_PERIOD_DAYS, 1), Make(0, 0, 0), 0, kNone);
    ExpectNext(__LINE__, Periodic(ST_PERIOD_DAYS, 1), Make(2026, 13, 1), 0, kNone);

    // Nothing past the year 9999, however large the interval.
    ExpectNext(__LINE__, Periodic(ST_PERIOD_YEARS, 1), Make(9999, 1, 5), 0, kNone);
    ExpectNext(__LINE__, Periodic(ST_PERIOD_DAYS, 1), Make(9999, 12, 31, 1), 0, kNone);
    ExpectNext(__LINE__, Periodic(ST_PERIOD_WEEKS, 0xFFFFFFFFu), Make(2026, 1, 1), 0, kNone);
    ExpectNext(__LINE__, Periodic(ST_PERIOD_MONTHS, 0xFFFFFFFFu), Make(2026, 1, 1), 0, kNone);
    ExpectNext(__LINE__, Periodic(ST_PERIOD_MINUTES, 0xFFFFFFFFu), Make(2026, 1, 1), 0, kNone);
    ExpectNext(__LINE__, Periodic(ST_PERIOD_MINUTES, 0x7FFFFFFFu), Make(2026, 1, 1), 1,
               "6109-01-24 02:07:00.000");

    CSTRecRule once;
    once.type = ST_TYPE_DATE;
    once.time = Make(2026, 12, 24, 18, 0, 0, 5);
    ExpectNext(__LINE__, once, Make(2026, 12, 24, 18, 0, 0, 5), 0, kNone);
    ExpectNext(__LINE__, once, Make(2026, 12, 24, 18, 0, 0, 4), 1, "2026-12-24 18:00:00.005");
    ExpectNext(__LINE__, once, Make(2027, 1, 1), 0, kNone);

    CSTRecRule event;
    event.type = ST_TYPE_EVENT;
    event.subtype = ST_EVENT_STARTUP;
    ExpectNext(__LINE__, event, Make(2026, 6, 7), 1, kNone);
    CSTRecRule undefined;
    ExpectNext(__LINE__, undefined, Make(2026, 6, 7), 0, kNone);
    undefined.type = 7;
    ExpectNext(__LINE__, undefined, Make(2026, 6, 7), 0, kNone);

    // The day of the week of the result is left as it was.
    CTime out = Make(2026, 1, 1);
    out.GetSystemTimePtr()->wDayOfWeek = 3;
    Periodic(ST_PERIOD_DAYS, 0).GetNextScheduledTimeAfter(Make(2026, 1, 1), out);
    EXPECT_EQ(3, out.GetSystemTimePtr()->wDayOfWeek);
}

TEST(Recurrence, NewRuleStartsAtTheNextFullHour)
{
    CTime out;
    CSTRecRule::GetNextFullHour(Make(2026, 12, 31, 23, 40, 12, 345), out);
    EXPECT_EQ("2027-01-01 00:00:00.000", Fields(out));
    CSTRecRule::GetNextFullHour(Make(2024, 2, 28, 23, 0), out);
    EXPECT_EQ("2024-02-29 00:00:00.000", Fields(out));
    CSTRecRule::GetNextFullHour(Make(2026, 6, 1, 10, 0), out);
    EXPECT_EQ("2026-06-01 11:00:00.000", Fields(out));

    CSTRecRule rule;
    const SYSTEMTIME* st = rule.time.GetSystemTimePtr();
    EXPECT_TRUE(IsValidTaskTime(rule.time));
    EXPECT_EQ(0, st->wMinute + st->wSecond + st->wMilliseconds);
    EXPECT_EQ(Fields(rule.time), Fields(rule.exceptfrom));
    EXPECT_EQ(Fields(rule.time), Fields(rule.exceptto));
    EXPECT_TRUE(CTime().CompareDate(rule.time) < 0 || CTime().CompareTime(rule.time) < 0);
}

TEST(Recurrence, DescriptionsUseTheExactTexts)
{
    struct
    {
        DWORD type, subtype, data;
        const char* text;
    } cases[] = {
        {2, 1, 15, "Reschedule every 15 minutes."},
        {2, 2, 1, "Reschedule every 1 hours."},
        {2, 3, 2, "Reschedule every 2 days."},
        {2, 4, 3, "Reschedule every 3 weeks."},
        {2, 5, 4, "Reschedule every 4 months."},
        {2, 6, 9999, "Reschedule every 9999 years."},
        {2, 7, 5, "Reschedule periodically."},
        {2, 0, 5, "Reschedule periodically."},
        {3, 1, 0, "Run at startup."},
        {3, 2, 0, "Run at shutdown."},
        {3, 9, 0, "Run at an event."},
        {0, 0, 0, "Undefined (New Rule)"},
        {8, 1, 1, "Undefined (New Rule)"},
        {1, 0, 0, "Schedule to run on Not scheduled to run again"},
    };
    for (const auto& c : cases)
    {
        CSTRecRule rule;
        rule.type = c.type;
        rule.subtype = c.subtype;
        rule.data = c.data;
        if (c.type == 1)
            rule.time = Make(0, 0, 0);
        char buf[ST_DESCRIPTION_SIZE];
        EXPECT_EQ(1, rule.GetDescription(buf, sizeof(buf)));
        EXPECT_STREQ(c.text, buf);
    }

    CSTRecRule once;
    once.type = ST_TYPE_DATE;
    once.time = Make(2026, 12, 5, 21, 56, 50, 123);
    char buf[ST_DESCRIPTION_SIZE];
    once.GetDescription(buf, sizeof(buf));
    EXPECT_STREQ("Schedule to run on Saturday, 5 December 2026 at 21:56", buf);
    once.time = Make(2026, 2, 29, 10); // not a date
    once.GetDescription(buf, sizeof(buf));
    EXPECT_STREQ("Schedule to run on Not scheduled to run again", buf);

    // Cut to the caller's size, always terminated.
    char small[12];
    memset(small, 'x', sizeof(small));
    once.GetDescription(small, sizeof(small));
    EXPECT_STREQ("Schedule to", small);
    Periodic(1, 4000000000u).GetDescription(small, sizeof(small));
    EXPECT_STREQ("Reschedule ", small);
    CSTRecRule().GetDescription(small, 5);
    EXPECT_STREQ("Unde", small);

    // An installed formatter is used; null restores the English one.
    SetTaskDateFormatter([](const CTime&, char* d, size_t ds, char* t, size_t ts) {
        snprintf(d, ds, "D");
        snprintf(t, ts, "T");
        return 1;
    });
    once.GetDescription(buf, sizeof(buf));
    EXPECT_STREQ("Schedule to run on D at T", buf);
    SetTaskDateFormatter(nullptr);
    char date[64], timeOfDay[64];
    EXPECT_EQ(1, FormatTaskDate(Make(2000, 2, 29, 7, 5), date, sizeof(date), timeOfDay, sizeof(timeOfDay)));
    EXPECT_STREQ("Tuesday, 29 February 2000", date);
    EXPECT_STREQ("07:05", timeOfDay);

    CSTExcRule exc;
    char keep[8] = "keep";
    EXPECT_EQ(1, exc.GetDescription(keep, sizeof(keep)));
    EXPECT_STREQ("keep", keep);
}
