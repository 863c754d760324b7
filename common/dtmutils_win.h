// Dates and times in the user's own formats.
#pragma once

#include <windows.h>
#include <stddef.h>

// The long date (GetDateFormat) and the time of day without seconds
// (GetTimeFormat) in the user's default locale, each cut to its buffer. A
// text the system cannot make is left empty; 1 when both were made.
int FormatLocaleDateTime(const SYSTEMTIME* st, char* date, size_t dateSize, char* timeOfDay, size_t timeSize);
