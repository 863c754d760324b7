#include "dtmutils.h"

// Day number of a proleptic Gregorian date; only differences matter. Months outside
// 1-12 roll into neighbouring years and days outside the month into the
// neighbouring months, so garbage fields still give a defined number.
static long long DayNumber(const SYSTEMTIME* st)
{
    long long y = st->wYear;
    long long m = (long long)st->wMonth - 1; // 0-based, -1 for month 0
    long long carry = m < 0 ? -1 : m / 12;
    y += carry;
    m -= 12 * carry;
    // Years counted from March, so that the leap day is the last of its year.
    if (m < 2)
        y -= 1;
    long long mp = (m + 10) % 12;
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yoe = y - era * 400;
    long long doy = (153 * mp + 2) / 5 + st->wDay - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

int DateDiffDays(const SYSTEMTIME* from, const SYSTEMTIME* to)
{
    return (int)(DayNumber(to) - DayNumber(from));
}

static int Cmp(WORD a, WORD b)
{
    return a < b ? -1 : a > b ? 1 : 0;
}

int CompareSystemTimes(const SYSTEMTIME* a, const SYSTEMTIME* b)
{
    int r = Cmp(a->wYear, b->wYear);
    if (r == 0)
        r = Cmp(a->wMonth, b->wMonth);
    if (r == 0)
        r = Cmp(a->wDay, b->wDay);
    if (r == 0)
        r = Cmp(a->wHour, b->wHour);
    if (r == 0)
        r = Cmp(a->wMinute, b->wMinute);
    if (r == 0)
        r = Cmp(a->wSecond, b->wSecond);
    if (r == 0)
        r = Cmp(a->wMilliseconds, b->wMilliseconds);
    return r;
}
