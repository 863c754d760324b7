// Random rules and reference times: the next time must be strictly later,
// never excluded, and the first allowed candidate on the grid, checked
// against a plain stepper over CTime::Add with its own weekday count.
#include "fuzz_util.h"
#include "ScheduledTask.h"

#include <stdint.h>
#include <string.h>

namespace
{

struct Bytes
{
    const uint8_t* p;
    size_t left;

    uint32_t Take(int count)
    {
        uint32_t v = 0;
        for (int i = 0; i < count; i++)
        {
            v = (v << 8) | (left ? *p : 0);
            if (left)
            {
                p++;
                left--;
            }
        }
        return v;
    }
    WORD Word()
    {
        return (WORD)Take(2);
    }
};

bool Later(const CTime& a, const CTime& b)
{
    int r = a.CompareDate(b);
    return r > 0 || (r == 0 && a.CompareTime(b) > 0);
}

bool IsZero(const CTime& t)
{
    const SYSTEMTIME* st = t.GetSystemTimePtr();
    return !st->wYear && !st->wMonth && !st->wDay && !st->wHour && !st->wMinute && !st->wSecond &&
           !st->wMilliseconds;
}

// Monday 0 ... Sunday 6 (Sakamoto).
int Weekday(int y, int m, int d)
{
    static const int offset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (m < 3)
        y -= 1;
    return ((y + y / 4 - y / 100 + y / 400 + offset[m - 1] + d) % 7 + 6) % 7;
}

bool Excluded(const CSTRecRule& rule, const CTime& q)
{
    const SYSTEMTIME* st = q.GetSystemTimePtr();
    switch (rule.subtype)
    {
        case 1:
        case 2: {
            int order = rule.exceptto.CompareTime(rule.exceptfrom);
            if (order > 0)
                return q.CompareTime(rule.exceptfrom) > 0 && q.CompareTime(rule.exceptto) < 0;
            if (order < 0)
                return q.CompareTime(rule.exceptfrom) > 0 || q.CompareTime(rule.exceptto) < 0;
            return false;
        }
        case 3:
            return (rule.except >> Weekday(st->wYear, st->wMonth, st->wDay)) & 1;
        case 5:
            return (rule.except >> (st->wMonth - 1)) & 1;
        default:
            return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Bytes in = {data, size};
    CSTRecRule rule;
    rule.type = in.Take(1) % 5;
    rule.subtype = in.Take(1) % 8;
    uint32_t shape = in.Take(1);
    rule.data = shape & 1 ? in.Take(4) : in.Take(1) % 50;
    rule.except = in.Take(2);
    rule.exceptfrom.Set(2000, 1, 1, (WORD)(in.Take(1) % 24), (WORD)(in.Take(1) % 60), 0, 0);
    rule.exceptto.Set(2000, 1, 1, (WORD)(in.Take(1) % 24), (WORD)(in.Take(1) % 60), 0, 0);

    CTime after;
    if (shape & 2)
    {
        // Any fields at all, as a damaged file or a caller might hand over.
        WORD f[8];
        for (WORD& w : f)
            w = in.Word();
        after.Set(f[0], f[1], f[2], f[3], f[4], f[5], f[6]);
        after.GetSystemTimePtr()->wDayOfWeek = f[7];
    }
    else
    {
        WORD year = (WORD)(1 + in.Word() % 9999);
        WORD month = (WORD)(1 + in.Take(1) % 12);
        WORD day = (WORD)(1 + in.Take(1) % after.GetDaysInMonth(month, year));
        after.Set(year, month, day, (WORD)(in.Take(1) % 24), (WORD)(in.Take(1) % 60), (WORD)(in.Take(1) % 60),
                  (WORD)(in.Word() % 1000));
    }
    rule.time.Set(in.Word(), (WORD)(in.Take(1) % 14), (WORD)(in.Take(1) % 33), (WORD)(in.Take(1) % 25), 0, 0,
                  0);

    CTime next;
    int rc = rule.GetNextScheduledTimeAfter(after, next);
    const SYSTEMTIME* a = after.GetSystemTimePtr();

    if (rule.type == ST_TYPE_DATE)
    {
        bool later = Later(rule.time, after);
        FUZZ_FAIL_IF(rc != (later ? 1 : 0) ||
                     (later ? memcmp(&next, &rule.time, sizeof(CTime)) != 0 : !IsZero(next)));
        return 0;
    }
    if (rule.type != ST_TYPE_PERIODIC)
    {
        FUZZ_FAIL_IF(rc != (rule.type == ST_TYPE_EVENT ? 1 : 0) || !IsZero(next));
        return 0;
    }

    FUZZ_FAIL_IF(rc == 0 && !IsZero(next));
    if (rc != 0)
    {
        FUZZ_FAIL_IF(rc != 1 || !Later(next, after) || Excluded(rule, next));
        FUZZ_FAIL_IF(a->wDay >= 1 && !IsValidTaskTime(next));
        FUZZ_FAIL_IF(next.GetSystemTimePtr()->wDayOfWeek != a->wDayOfWeek);
    }

    // The plain stepper, where CTime::Add cannot wrap a field.
    if (!IsValidTaskTime(after) || rule.data == 0 || rule.data > 9000 || rule.subtype < 1 || rule.subtype > 6)
        return 0;
    static const DWORD units[7] = {0, 2, 3, 4, 4, 5, 6};
    CTime q = after;
    bool found = false;
    for (int i = 0; i < 3600; i++)
    {
        q.Add((WORD)(rule.subtype == 4 ? 7 * rule.data : rule.data), units[rule.subtype]);
        if (q.GetSystemTimePtr()->wYear > 9999)
            break;
        if (!Excluded(rule, q))
        {
            found = true;
            break;
        }
    }
    FUZZ_FAIL_IF(found != (rc == 1));
    FUZZ_FAIL_IF(found && (next.CompareDate(q) != 0 || next.CompareTime(q) != 0));
    return 0;
}
