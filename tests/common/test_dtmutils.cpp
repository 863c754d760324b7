#include "dtmutils.h"
#include "Time.h"

#include <gtest/gtest.h>

TEST(DateDiffDays, CountsCalendarDaysOnly)
{
    SYSTEMTIME lateEvening = {2026, 5, 2, 5, 23, 59, 59, 999};
    SYSTEMTIME midnight = {2026, 5, 0, 5, 0, 0, 0, 0};
    SYSTEMTIME nextYear = {2027, 5, 0, 5, 0, 0, 0, 0};
    EXPECT_EQ(0, DateDiffDays(&lateEvening, &midnight));
    EXPECT_EQ(365, DateDiffDays(&midnight, &nextYear));
    EXPECT_EQ(-365, DateDiffDays(&nextYear, &lateEvening));
}

// A day-by-day walk across 1900 (not leap) and 2000 (leap) must count one per step.
TEST(DateDiffDays, AgreesWithDayByDayWalk)
{
    SYSTEMTIME start = {1899, 12, 0, 25, 0, 0, 0, 0};
    CTime t;
    t.Set(&start);
    for (int i = 1; i <= 146097 * 3 / 2; i++)
    {
        t.Add(1, 4);
        ASSERT_EQ(i, DateDiffDays(&start, t.GetSystemTimePtr()));
        ASSERT_EQ(-i, DateDiffDays(t.GetSystemTimePtr(), &start));
    }
}

TEST(CompareSystemTimes, OrdersFieldByFieldIgnoringDayOfWeek)
{
    SYSTEMTIME base = {2026, 6, 0, 15, 12, 30, 30, 500};
    SYSTEMTIME otherWeekday = base;
    otherWeekday.wDayOfWeek = 6;
    EXPECT_EQ(0, CompareSystemTimes(&base, &otherWeekday));

    // Each field, raised on its own, decides even when every lower field says the opposite.
    WORD SYSTEMTIME::*fields[] = {&SYSTEMTIME::wYear,        &SYSTEMTIME::wMonth,  &SYSTEMTIME::wDay,
                                  &SYSTEMTIME::wHour,        &SYSTEMTIME::wMinute, &SYSTEMTIME::wSecond,
                                  &SYSTEMTIME::wMilliseconds};
    const size_t count = sizeof(fields) / sizeof(fields[0]);
    for (size_t i = 0; i < count; i++)
    {
        SYSTEMTIME later = base;
        later.*fields[i] = (WORD)(later.*fields[i] + 1);
        for (size_t j = i + 1; j < count; j++)
            later.*fields[j] = 0;
        EXPECT_EQ(1, CompareSystemTimes(&later, &base)) << "field " << i;
        EXPECT_EQ(-1, CompareSystemTimes(&base, &later)) << "field " << i;
    }
}
