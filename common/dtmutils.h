// Date helpers over plain SYSTEMTIME records.
#pragma once

#include "platform.h"

// Days from the first date to the second (negative when the second is
// earlier). Only year, month and day count; Gregorian calendar.
int DateDiffDays(const SYSTEMTIME* from, const SYSTEMTIME* to);

// -1, 0 or 1 as a is earlier than, equal to or later than b, field by field
// from the year down to the millisecond. wDayOfWeek is ignored.
int CompareSystemTimes(const SYSTEMTIME* a, const SYSTEMTIME* b);
