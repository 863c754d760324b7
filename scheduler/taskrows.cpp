#include "taskrows.h"

#include "strutils.h"

const char* const g_schedColumnNames[SCHED_COLUMNS] = {"Name", "Target", "Next Scheduled Time",
                                                       "Last Run Time", "Last Result"};

void FormatWhen(const CTime& t, char* buf, size_t size, const char* none)
{
    char date[ST_DATE_TEXT_SIZE], timeOfDay[ST_DATE_TEXT_SIZE];
    if (t.GetSystemTimePtr()->wYear == 0 ||
        !FormatTaskDate(t, date, sizeof(date), timeOfDay, sizeof(timeOfDay)) || !date[0])
    {
        StrCopy(buf, size, none);
        return;
    }
    StrFormat(buf, size, "%s at %s", date, timeOfDay);
}

void FormatTaskRow(const CSTask& task, const CTime& now, SchedRowTexts* row)
{
    char* name = row->cells[SCHED_COL_NAME];
    StrCopy(name, SCHED_CELL_SIZE, task.GetName());
    if (!task.IsActive())
        StrAppend(name, SCHED_CELL_SIZE, " (Disabled)");
    else if (task.IsOverdue(now))
        StrAppend(name, SCHED_CELL_SIZE, " (Overdue)");

    StrCopy(row->cells[SCHED_COL_TARGET], SCHED_CELL_SIZE, task.GetTarget());
    const CSTRecRule* rule = task.GetFirstRule();
    if (rule && rule->type == ST_TYPE_EVENT && rule->subtype == ST_EVENT_STARTUP)
        StrCopy(row->cells[SCHED_COL_NEXT], SCHED_CELL_SIZE, "At next Tarvin startup");
    else
        FormatWhen(task.GetScheduledTime(), row->cells[SCHED_COL_NEXT], SCHED_CELL_SIZE,
                   "Not scheduled to run again");
    FormatWhen(task.GetLastScheduledTime(), row->cells[SCHED_COL_LAST], SCHED_CELL_SIZE, "Never");
    StrCopy(row->cells[SCHED_COL_RESULT], SCHED_CELL_SIZE, task.GetLastResult());
}

void RecordRunNow(CSTask& task, const CTime& now)
{
    if (task.IsActive() && task.IsOverdue(now))
        task.MoveOnPast(now);
    task.SetLastScheduledTime(now);
    task.Recurred();
}
