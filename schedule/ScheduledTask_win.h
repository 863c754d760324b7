// The scheduled tasks' Win32 half: date texts in the user's locale, and
// starting a task.
#pragma once

#include "ScheduledTask.h"

// The texts of GetDateFormat (long date) and GetTimeFormat (no seconds) in
// the user's default locale; the same contract as FormatTaskDate.
int FormatTaskDateLocale(const CTime& t, char* date, size_t dateSize, char* timeOfDay, size_t timeSize);
// Installs FormatTaskDateLocale as the formatter of task dates. Programs call
// it once at start-up.
void UseLocaleTaskDates();

// Starts the task as every run does, by the agent's runner and the
// scheduler's Run Now alike: through the shell with its target, command
// line, folder and window state, no owner window and no message box of the
// shell's. The outcome becomes the task's last result: ST_RESULT_OK, or the
// system's reason why it could not start. 0 when it started, otherwise the
// system's error code.
DWORD StartScheduledTask(CSTask& task);
