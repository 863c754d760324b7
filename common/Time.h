// CTime: one local-time SYSTEMTIME with field-wise arithmetic, date and
// time-of-day comparisons, and the text form of the schedule and log files.
// Header-only so that every program carries the same code.
#pragma once

#include "platform.h"
#include "strutils.h"

#include <limits.h>
#include <stddef.h>

// The Gregorian calendar in wide integers, so that a computation that runs
// past a 16-bit year cannot wrap. Months outside 1-12 count 31 days.
inline bool CalendarIsLeapYear(long long year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

inline int CalendarDaysInMonth(long long month, long long year)
{
    switch (month)
    {
        case 2:
            return CalendarIsLeapYear(year) ? 29 : 28;
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        default:
            return 31;
    }
}

// A date and time in fields of type T: WORD for CTime, whose fields wrap as
// unsigned 16-bit numbers, or long long where a long step must not wrap.
template <typename T> struct CalendarFields
{
    T year, month, day, hour, minute, second, ms;
};

// Adds amount to one field (0 ms, 1 s, 2 min, 3 h, 4 days, 5 months, 6 years;
// anything else adds nothing) and carries upwards, each field stored back as
// T. False, with the fields half carried, as soon as the year passes
// lastYear.
template <typename T>
bool CalendarAdd(CalendarFields<T>& f, long long amount, unsigned unit, long long lastYear = LLONG_MAX)
{
    switch (unit)
    {
        case 0:
            f.ms = (T)(f.ms + amount);
            break;
        case 1:
            f.second = (T)(f.second + amount);
            break;
        case 2:
            f.minute = (T)(f.minute + amount);
            break;
        case 3:
            f.hour = (T)(f.hour + amount);
            break;
        case 4:
            f.day = (T)(f.day + amount);
            break;
        case 5: {
            // Whole years first, so that the month lands in 1-12.
            long long total = (long long)f.month + amount;
            if (total > 12)
            {
                long long years = (total - 1) / 12;
                f.year = (T)(f.year + years);
                total -= 12 * years;
            }
            f.month = (T)total;
            break;
        }
        case 6:
            f.year = (T)(f.year + amount);
            break;
        default:
            break;
    }
    if ((long long)f.year > lastYear)
        return false;

    f.second = (T)(f.second + f.ms / 1000);
    f.ms = (T)(f.ms % 1000);
    f.minute = (T)(f.minute + f.second / 60);
    f.second = (T)(f.second % 60);
    f.hour = (T)(f.hour + f.minute / 60);
    f.minute = (T)(f.minute % 60);
    f.day = (T)(f.day + f.hour / 24);
    f.hour = (T)(f.hour % 24);

    // Month by month, so that every month and leap year counts with its true
    // length. Every pass takes at least 28 days off, so a garbage day still
    // ends (16-bit years wrap; wide ones meet the year limit).
    while (f.day > CalendarDaysInMonth(f.month, f.year))
    {
        f.day = (T)(f.day - CalendarDaysInMonth(f.month, f.year));
        f.month = (T)(f.month + 1);
        if (f.month > 12)
        {
            f.month = 1;
            f.year = (T)(f.year + 1);
            if ((long long)f.year > lastYear)
                return false;
        }
    }

    if (f.month > 12)
    {
        T years = (T)((f.month - 1) / 12);
        f.year = (T)(f.year + years);
        f.month = (T)(f.month - 12 * years);
    }
    return true;
}

class CTime
{
  public:
    CTime()
    {
        Set();
    }

    // With no record, the current local time.
    int Set(const SYSTEMTIME* st = nullptr)
    {
        if (!st)
            PfGetLocalTime(&m_st);
        else
            m_st = *st;
        return 0;
    }

    int Set(const CTime& other)
    {
        m_st = other.m_st;
        return 0;
    }

    // No validation; Add(0, 0) normalises.
    int Set(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD milliseconds)
    {
        m_st.wYear = year;
        m_st.wMonth = month;
        m_st.wDayOfWeek = 0;
        m_st.wDay = day;
        m_st.wHour = hour;
        m_st.wMinute = minute;
        m_st.wSecond = second;
        m_st.wMilliseconds = milliseconds;
        return 0;
    }

    // Reads the text form written by GetString: 0 on success, 1 when the day,
    // month or year is missing or invalid, 2 for a negative year. On failure
    // every field but wDayOfWeek is 0 (year 0 = no time). Every field is read
    // as a fixed number of characters, so only two-digit time fields read back
    // as written.
    int Set(const char* text)
    {
        char buf[128];
        StrCopy(buf, sizeof(buf), text ? text : "");
        const char* p = TrimBoth(buf);

        int day = ReadInt(p, 2);
        if (day == 0)
            return Fail(1);
        m_st.wDay = (WORD)day;
        p = Trim(Drop(p, m_st.wDay <= 9 ? 1 : 2));

        WORD month = 0;
        for (WORD m = 1; m <= 12; m++)
        {
            if (StartsWithNoCase(p, GetLIShortMonthName(m)))
                month = m;
        }
        if (month == 0)
            return Fail(1);
        m_st.wMonth = month;

        p = Trim(Drop(p, 4));
        int year = ReadInt(p, 4);
        if (year == 0)
            return Fail(1);
        if (year < 0 || year > 9999)
            return Fail(2);
        m_st.wYear = (WORD)year;

        p = Trim(Drop(p, year <= 9 ? 1 : year <= 99 ? 2 : year <= 999 ? 3 : 4));
        m_st.wHour = 0;
        m_st.wMinute = 0;
        m_st.wSecond = 0;
        m_st.wMilliseconds = 0;
        if (!*p)
            return 0;

        m_st.wHour = (WORD)ReadInt(p, 2);
        p = Trim(Drop(p, 3));
        if (!*p)
            return 0;

        m_st.wMinute = (WORD)ReadInt(p, 2);
        p = Trim(Drop(p, 3));
        if (!*p)
            return 0;

        m_st.wSecond = (WORD)ReadInt(p, 2);
        if (Drop(p, 3)[0] == '\0')
            return 0;
        p = Trim(Drop(p, 3));
        // Out-of-range milliseconds keep their low 16 bits, as a WORD store of
        // atoi's result would.
        m_st.wMilliseconds = (WORD)(unsigned)ReadInt(p, (size_t)-1);
        return 0;
    }

    // Adds to one field (0 ms, 1 s, 2 min, 3 h, 4 days, 5 months, 6 years;
    // anything else adds nothing) and carries upwards. The fields stay
    // unsigned 16-bit and wrap as such; wDayOfWeek goes stale.
    void Add(WORD amount, DWORD unit)
    {
        CalendarFields<WORD> f = {m_st.wYear,   m_st.wMonth,  m_st.wDay,         m_st.wHour,
                                  m_st.wMinute, m_st.wSecond, m_st.wMilliseconds};
        CalendarAdd(f, amount, unit);
        m_st.wYear = f.year;
        m_st.wMonth = f.month;
        m_st.wDay = f.day;
        m_st.wHour = f.hour;
        m_st.wMinute = f.minute;
        m_st.wSecond = f.second;
        m_st.wMilliseconds = f.ms;
    }

    // Date part only: 1 when this day is later, -1 earlier, 0 the same day.
    int CompareDate(const CTime& other) const
    {
        int r = Cmp(m_st.wYear, other.m_st.wYear);
        if (r == 0)
            r = Cmp(m_st.wMonth, other.m_st.wMonth);
        if (r == 0)
            r = Cmp(m_st.wDay, other.m_st.wDay);
        return r;
    }

    // Time of day only; the date is ignored.
    int CompareTime(const CTime& other) const
    {
        int r = Cmp(m_st.wHour, other.m_st.wHour);
        if (r == 0)
            r = Cmp(m_st.wMinute, other.m_st.wMinute);
        if (r == 0)
            r = Cmp(m_st.wSecond, other.m_st.wSecond);
        if (r == 0)
            r = Cmp(m_st.wMilliseconds, other.m_st.wMilliseconds);
        return r;
    }

    // 0 means this value's own month or year. Months outside 1-12 count 31.
    WORD GetDaysInMonth(WORD month = 0, WORD year = 0) const
    {
        if (month == 0)
            month = m_st.wMonth;
        if (year == 0)
            year = m_st.wYear;
        return (WORD)CalendarDaysInMonth(month, year);
    }

    int IsLeapYear(WORD year = 0) const
    {
        if (year == 0)
            year = m_st.wYear;
        return CalendarIsLeapYear(year) ? 1 : 0;
    }

    // Fixed English names: the files must read the same under every locale.
    const char* GetLIShortMonthName(WORD month = 0) const
    {
        static const char* const names[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        if (month == 0)
            month = m_st.wMonth;
        if (month < 1 || month > 12)
            return "---";
        return names[month - 1];
    }

    const SYSTEMTIME* GetSystemTimePtr() const
    {
        return &m_st;
    }
    SYSTEMTIME* GetSystemTimePtr()
    {
        return &m_st;
    }

    // The widest possible output (every field 65535) is 39 characters, so 64
    // bytes always suffice.
    const char* GetString(char* buf, size_t size = 64) const
    {
        StrFormat(buf, size, "%d %s %04d %02d:%02d:%02d:%03d", m_st.wDay, GetLIShortMonthName(m_st.wMonth),
                  m_st.wYear, m_st.wHour, m_st.wMinute, m_st.wSecond, m_st.wMilliseconds);
        return buf;
    }

  private:
    SYSTEMTIME m_st;

    int Fail(int code)
    {
        m_st.wYear = 0;
        m_st.wMonth = 0;
        m_st.wDay = 0;
        m_st.wHour = 0;
        m_st.wMinute = 0;
        m_st.wSecond = 0;
        m_st.wMilliseconds = 0;
        return code;
    }

    static int Cmp(WORD a, WORD b)
    {
        return a > b ? 1 : a < b ? -1 : 0;
    }

    static const char* Trim(const char* p)
    {
        while (IsBlankChar(*p))
            p++;
        return p;
    }

    // Dropping from the front never uncovers trailing blanks, so one cut at
    // the end is enough.
    static const char* TrimBoth(char* s)
    {
        size_t len = strlen(s);
        while (len > 0 && IsBlankChar(s[len - 1]))
            s[--len] = '\0';
        return Trim(s);
    }

    // Removes up to n characters; a shorter text becomes empty.
    static const char* Drop(const char* p, size_t n)
    {
        while (n > 0 && *p)
        {
            p++;
            n--;
        }
        return p;
    }

    static bool StartsWithNoCase(const char* p, const char* prefix)
    {
        for (; *prefix; p++, prefix++)
        {
            char a = *p, b = *prefix;
            if (a >= 'A' && a <= 'Z')
                a = (char)(a - 'A' + 'a');
            if (b >= 'A' && b <= 'Z')
                b = (char)(b - 'A' + 'a');
            if (a != b)
                return false;
        }
        return true;
    }

    // atoi over at most maxChars characters: leading white space, a sign, then
    // digits up to the first non-digit. Out-of-range values saturate at
    // INT_MAX / INT_MIN as the Windows C library does.
    static int ReadInt(const char* p, size_t maxChars)
    {
        size_t i = 0;
        while (i < maxChars && (p[i] == ' ' || (p[i] >= '\t' && p[i] <= '\r')))
            i++;
        bool negative = false;
        if (i < maxChars && (p[i] == '+' || p[i] == '-'))
        {
            negative = p[i] == '-';
            i++;
        }
        long long value = 0;
        for (; i < maxChars && p[i] >= '0' && p[i] <= '9'; i++)
        {
            if (value <= INT_MAX)
                value = value * 10 + (p[i] - '0');
        }
        if (negative)
            value = -value;
        if (value > INT_MAX)
            return INT_MAX;
        if (value < INT_MIN)
            return INT_MIN;
        return (int)value;
    }
};

static_assert(sizeof(CTime) == sizeof(SYSTEMTIME), "CTime must stay a bare SYSTEMTIME");
