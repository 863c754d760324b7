// Helpers of the schedule tests: times from their fields and as text.
#pragma once

#include <string>

#include "ScheduledTask.h"

inline CTime Make(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0,
                  WORD ms = 0)
{
    CTime t;
    t.Set(year, month, day, hour, minute, second, ms);
    return t;
}

inline std::string Text(const CTime& t)
{
    char buf[64];
    return t.GetString(buf, sizeof(buf));
}
