// The schedule runner: tasks of the start-up event at every start, each
// timed task once in its scheduled minute, and the saving and announcing of
// the schedule after a run.
#pragma once

#include <windows.h>

#include "ScheduledTask.h"

struct AgentState;

// Starts the task (StartScheduledTask, the code the scheduler's Run Now uses
// too), which records the outcome as its last result; a start that failed
// is logged as a warning with the task's name and the system's reason.
void RunScheduledTask(AgentState* st, CSTask& task);

// Whether the task's scheduled minute is the minute of now (seconds and
// milliseconds ignored).
bool IsTaskDueNow(const CSTask& task, const CTime& now);

// Overdue for the user: active and past its time, but not one the minute
// check is about to run.
bool IsTaskListedOverdue(const CSTask& task, const CTime& now);

// Writes the schedule to "Tarvin Schedule.dat" and, when it was written,
// broadcasts the schedule-changed message. After a failed save the old file
// is still there, and reloading it would undo the run and run the task again
// at the next tick; so nobody is told. 1 when saved.
int SaveScheduleAndAnnounce(CSTaskList& schedule, UINT changedMsg);

// The start-up pass: runs the active start-up-event tasks (their last
// scheduled time becomes the start time) and saves when one ran. 1 when
// there are overdue tasks.
int RunStartupPass(AgentState* st, CSTaskList& schedule, UINT changedMsg);

// The minute check: runs each active task whose scheduled minute is now and
// moves it on; saves when one ran. The number of tasks run.
int RunMinuteCheck(AgentState* st, CSTaskList& schedule, UINT changedMsg);

// The decisions of the two passes at a given time, with the starting of each
// task left to `start` (RunScheduledTask in the agent) and no saving: the
// passes above are these at the current time, followed by a save when a task
// ran. One time serves the whole pass, so a task that the shell is slow to
// start cannot push the next one out of its minute.
typedef void (*ScheduledTaskStarter)(CSTask& task, void* context);
// 1 when there are overdue tasks; *ran is the number of start-up tasks run.
int StartupPassAt(CSTaskList& schedule, const CTime& now, ScheduledTaskStarter start, void* context,
                  int* ran);
// The number of tasks listed overdue at now: the start-up pass's check
// without running or changing anything.
int CountOverdueAt(CSTaskList& schedule, const CTime& now);
// The number of tasks run.
int MinuteCheckAt(CSTaskList& schedule, const CTime& now, ScheduledTaskStarter start, void* context);
