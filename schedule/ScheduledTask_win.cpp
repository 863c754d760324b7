// Task dates in the user's own formats.
#include <windows.h>

#include "ScheduledTask.h"

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

    // The system refuses a buffer that is too small instead of cutting, so
    // format into room of our own and cut on copying.
    char dateText[256], timeText[256];
    if (!GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &st, NULL, dateText, sizeof(dateText)) ||
        !GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, NULL, timeText, sizeof(timeText)))
        return 0;
    StrCopy(date, dateSize, dateText);
    StrCopy(timeOfDay, timeSize, timeText);
    return 1;
}

void UseLocaleTaskDates()
{
    SetTaskDateFormatter(FormatTaskDateLocale);
}
