#include "Time.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

CTime Make(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0, WORD ms = 0)
{
    CTime t;
    t.Set(year, month, day, hour, minute, second, ms);
    t.GetSystemTimePtr()->wDayOfWeek = 4;
    return t;
}

// Every field as a number, so that expectations read as plain values.
std::string Fields(const CTime& t)
{
    const SYSTEMTIME* st = t.GetSystemTimePtr();
    return std::to_string(st->wYear) + "-" + std::to_string(st->wMonth) + "-" + std::to_string(st->wDay) +
           " " + std::to_string(st->wHour) + ":" + std::to_string(st->wMinute) + ":" +
           std::to_string(st->wSecond) + "." + std::to_string(st->wMilliseconds);
}

std::string Text(const CTime& t)
{
    char buf[64];
    return t.GetString(buf, sizeof(buf));
}

} // namespace

TEST(Time, WritesTextForm)
{
    EXPECT_EQ("5 Dec 2026 21:56:50:123", Text(Make(2026, 12, 5, 21, 56, 50, 123)));
    EXPECT_EQ("0 --- 0000 00:00:00:000", Text(Make(0, 0, 0)));
    EXPECT_EQ("65535 --- 65535 65535:65535:65535:65535",
              Text(Make(65535, 65535, 65535, 65535, 65535, 65535, 65535)));
}

TEST(Time, ReadsTextFormWithItsQuirks)
{
    const std::string cut = "5 Dec 2026 21:56:50:" + std::string(105, ' ') + "123"; // 128 characters
    struct Case
    {
        std::string text;
        int rc;
        const char* fields;
    } cases[] = {
        {"5 Dec 2026 21:56:50:123", 0, "2026-12-5 21:56:50.123"},
        {"5 dec 2026", 0, "2026-12-5 0:0:0.0"},
        {"5 Dec 2026 07:30", 0, "2026-12-5 7:30:0.0"},
        {" \t31 JAN 1999 23:59:58:7\r\n", 0, "1999-1-31 23:59:58.7"},
        {"5 Dec 2026 21:56:50:", 0, "2026-12-5 21:56:50.0"},
        {"5 Dec 2026 21:56:50: 7", 0, "2026-12-5 21:56:50.7"},
        {"5 Dec 7 01:02:03:004", 0, "7-12-5 1:2:3.4"},
        // Only the year's own digits are dropped, so leading zeros spill into the time.
        {"1 Jan 0024 10:20:30:400", 0, "24-1-1 24:10:20.30"},
        {"5 Dec 12026", 0, "1202-12-5 6:0:0.0"},
        {"5 Dec 2026 9:05:00:000", 0, "2026-12-5 9:5:0.0"},
        {"5 Dec 2026 00:00:00:70000", 0, "2026-12-5 0:0:0.4464"},
        {"5 Dec 2026 00:00:00:99999999999999999999", 0, "2026-12-5 0:0:0.65535"},
        {cut, 0, "2026-12-5 21:56:50.12"},
        {"05 Dec 2026", 1, "0-0-0 0:0:0.0"},
        {"5 Dec 0", 1, "0-0-0 0:0:0.0"},
        {"5 Dez 2026", 1, "0-0-0 0:0:0.0"},
        {"0 --- 0000 00:00:00:000", 1, "0-0-0 0:0:0.0"},
        {"5 Dec -1", 2, "0-0-0 0:0:0.0"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        CTime t = Make(2000, 1, 1, 1, 1, 1, 1);
        EXPECT_EQ(c.rc, t.Set(c.text.c_str()));
        EXPECT_EQ(c.fields, Fields(t));
        EXPECT_EQ(4, t.GetSystemTimePtr()->wDayOfWeek);
    }
}

TEST(Time, AddCarriesAndNormalises)
{
    struct Case
    {
        CTime from;
        WORD amount;
        DWORD unit;
        const char* fields;
    } cases[] = {
        {Make(2026, 1, 31, 8), 1, 5, "2026-3-3 8:0:0.0"},
        {Make(2024, 1, 31, 8), 1, 5, "2024-3-2 8:0:0.0"},
        {Make(2024, 2, 29), 1, 6, "2025-3-1 0:0:0.0"},
        {Make(2026, 12, 31, 23), 2, 3, "2027-1-1 1:0:0.0"},
        {Make(2026, 11, 1), 14, 5, "2028-1-1 0:0:0.0"},
        {Make(2026, 12, 1), 1, 5, "2027-1-1 0:0:0.0"},
        {Make(2026, 12, 1), 12, 5, "2027-12-1 0:0:0.0"},
        {Make(2026, 12, 31, 23, 59, 59, 999), 1, 0, "2027-1-1 0:0:0.0"},
        {Make(2026, 1, 1), 65535, 0, "2026-1-1 0:1:5.535"},
        {Make(2024, 1, 1), 366, 4, "2025-1-1 0:0:0.0"},
        {Make(2026, 1, 32, 24, 75), 0, 0, "2026-2-2 1:15:0.0"},
        {Make(2026, 13, 5), 0, 0, "2027-1-5 0:0:0.0"},
        {Make(2026, 1, 1, 0, 60), 5, 7, "2026-1-1 1:0:0.0"},
    };
    for (Case& c : cases)
    {
        SCOPED_TRACE(Fields(c.from) + " + " + std::to_string(c.amount) + " unit " + std::to_string(c.unit));
        c.from.Add(c.amount, c.unit);
        EXPECT_EQ(c.fields, Fields(c.from));
        EXPECT_EQ(4, c.from.GetSystemTimePtr()->wDayOfWeek);
    }
}

TEST(Time, AddEndsInRangeOnGarbageFields)
{
    for (CTime garbage :
         {Make(0, 0, 65535, 65535, 65535, 65535, 65535), Make(65535, 65535, 65535), Make(0, 200, 40)})
    {
        for (DWORD unit : {0u, 4u, 5u, 6u})
        {
            CTime t = garbage;
            t.Add(65535, unit);
            const SYSTEMTIME* st = t.GetSystemTimePtr();
            EXPECT_TRUE(st->wMonth >= 1 && st->wMonth <= 12 && st->wDay <= t.GetDaysInMonth() &&
                        st->wHour < 24)
                << Fields(t);
        }
    }
}

TEST(Time, ComparesDateAndTimeOfDaySeparately)
{
    CTime late = Make(2026, 1, 2, 23, 59);
    CTime early = Make(2026, 1, 3, 0, 1);
    EXPECT_EQ(-1, late.CompareDate(early));
    EXPECT_EQ(1, late.CompareTime(early));
    // Higher fields decide before lower ones.
    EXPECT_EQ(1, Make(2027, 1, 1).CompareDate(Make(2026, 12, 31)));
    EXPECT_EQ(-1, Make(2026, 1, 31).CompareDate(Make(2026, 2, 1)));
    EXPECT_EQ(-1, Make(0, 0, 0, 5, 5, 5, 4).CompareTime(Make(0, 0, 0, 5, 5, 5, 5)));
    EXPECT_EQ(0, Make(2026, 5, 5, 1, 2, 3, 4).CompareDate(Make(2026, 5, 5, 9, 9, 9, 9)));
    EXPECT_EQ(0, Make(2026, 5, 5, 1, 2, 3, 4).CompareTime(Make(1999, 1, 1, 1, 2, 3, 4)));
}

TEST(Time, CalendarLookups)
{
    CTime t = Make(2024, 2, 10);
    EXPECT_EQ(28, t.GetDaysInMonth(2, 1900));
    EXPECT_EQ(29, t.GetDaysInMonth(2, 2000));
    EXPECT_EQ(30, t.GetDaysInMonth(11, 2023));
    EXPECT_EQ(29, t.GetDaysInMonth()); // 0 means its own month and year
    EXPECT_EQ(28, t.GetDaysInMonth(0, 2023));
    EXPECT_EQ(1, t.IsLeapYear());
    EXPECT_EQ(0, t.IsLeapYear(2100));
    EXPECT_STREQ("Feb", t.GetLIShortMonthName());
    EXPECT_STREQ("Dec", t.GetLIShortMonthName(12));
    EXPECT_STREQ("---", t.GetLIShortMonthName(13));
}

TEST(Time, SetCopiesEveryFieldOrClearsDayOfWeek)
{
    SYSTEMTIME st = {2026, 7, 2, 14, 9, 8, 7, 6};
    CTime t, u;
    t.Set(&st);
    u.Set(t);
    EXPECT_EQ(0, memcmp(&st, u.GetSystemTimePtr(), sizeof(st)));
    u.Set(2026, 7, 14, 9, 8, 7, 6);
    EXPECT_EQ(0, u.GetSystemTimePtr()->wDayOfWeek);
    EXPECT_NE(0, CTime().GetSystemTimePtr()->wYear); // the current local time
}
