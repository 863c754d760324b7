// The scheduler's list of tasks without the list control: the texts of a
// task's row, and what Run Now records on a task. Portable, so that the
// host tests check them; init_win.cpp puts the texts into the list view.
#pragma once

#include <stddef.h>

#include "ScheduledTask.h"

enum
{
    SCHED_COL_NAME,
    SCHED_COL_TARGET,
    SCHED_COL_NEXT,
    SCHED_COL_LAST,
    SCHED_COL_RESULT,
    SCHED_COLUMNS
};

// Column captions, in column order.
extern const char* const g_schedColumnNames[SCHED_COLUMNS];

const int SCHED_CELL_SIZE = ST_TEXT_SIZE + 16;

struct SchedRowTexts
{
    char cells[SCHED_COLUMNS][SCHED_CELL_SIZE];
};

// "<long date> at <time>" in the task-date format (FormatTaskDate), or none
// when the time is all zero or cannot be formatted.
void FormatWhen(const CTime& t, char* buf, size_t size, const char* none);

// The row of task at now: its name marked " (Disabled)" or " (Overdue)", its
// target, next and last run times, and the last result ("" when none is
// known yet).
void FormatTaskRow(const CSTask& task, const CTime& now, SchedRowTexts* row);

// What Run Now at now records before the task is started: the run time as
// the last run and one more recurrence. A task that was overdue is moved on
// past now, as the agent's Overdue Tasks dialog does, so that it is not
// offered again; any other task keeps its next time.
void RecordRunNow(CSTask& task, const CTime& now);
