#include "dtmutils_win.h"
#include "strutils.h"

int FormatLocaleDateTime(const SYSTEMTIME* st, char* date, size_t dateSize, char* timeOfDay, size_t timeSize)
{
    StrCopy(date, dateSize, "");
    StrCopy(timeOfDay, timeSize, "");
    if (!st)
        return 0;
    // The system refuses a buffer that is too small instead of cutting, so
    // format into room of our own and cut on copying.
    char dateText[256], timeText[256];
    bool madeDate =
        GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, st, NULL, dateText, sizeof(dateText)) != 0;
    bool madeTime =
        GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, st, NULL, timeText, sizeof(timeText)) != 0;
    if (madeDate)
        StrCopy(date, dateSize, dateText);
    if (madeTime)
        StrCopy(timeOfDay, timeSize, timeText);
    return madeDate && madeTime ? 1 : 0;
}
