// The scheduled tasks' Win32 half: date texts in the user's locale.
#pragma once

#include "ScheduledTask.h"

// The texts of GetDateFormat (long date) and GetTimeFormat (no seconds) in
// the user's default locale; the same contract as FormatTaskDate.
int FormatTaskDateLocale(const CTime& t, char* date, size_t dateSize, char* timeOfDay, size_t timeSize);
// Installs FormatTaskDateLocale as the formatter of task dates. Programs call
// it once at start-up.
void UseLocaleTaskDates();
