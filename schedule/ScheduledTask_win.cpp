// Task dates in the user's own formats.
#include <windows.h>

#include "ScheduledTask_win.h"
#include "dtmutils_win.h"

#include "strutils.h"

int FormatTaskDateLocale(const CTime& t, char* date, size_t dateSize, char* timeOfDay, size_t timeSize)
{
    StrCopy(date, dateSize, "");
    StrCopy(timeOfDay, timeSize, "");
    if (!IsValidTaskTime(t))
        return 0;

    // The arithmetic leaves wDayOfWeek stale; hand over the true one rather
    // than rely on the system to work it out from the date.
    SYSTEMTIME st = *t.GetSystemTimePtr();
    st.wDayOfWeek = (WORD)((GetTaskWeekday(t) + 1) % 7);

    if (FormatLocaleDateTime(&st, date, dateSize, timeOfDay, timeSize))
        return 1;
    StrCopy(date, dateSize, "");
    StrCopy(timeOfDay, timeSize, "");
    return 0;
}

void UseLocaleTaskDates()
{
    SetTaskDateFormatter(FormatTaskDateLocale);
}
