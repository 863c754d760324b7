#include <windows.h>
#include <shellapi.h>

#include "schedrunner.h"
#include "init.h"
#include "firstrun.h"
#include "strutils.h"
#include "ScheduledTask_win.h"

void RunScheduledTask(AgentState* st, CSTask& task)
{
    if (StartScheduledTask(task) == 0 || !st)
        return;
    char event[ST_TEXT_SIZE + ST_RESULT_SIZE + 64];
    StrFormat(event, sizeof(event), "The scheduled task \"%s\" could not be started: %s", task.GetName(),
              task.GetLastResult());
    AgentLog(st, "Tarvin 2 Agent", event, CLogFile::LOG_WARNING);
}

bool IsTaskDueNow(const CSTask& task, const CTime& now)
{
    SYSTEMTIME a = *now.GetSystemTimePtr();
    SYSTEMTIME b = *task.GetScheduledTime().GetSystemTimePtr();
    a.wSecond = a.wMilliseconds = 0;
    b.wSecond = b.wMilliseconds = 0;
    CTime nowMinute, taskMinute;
    nowMinute.Set(&a);
    taskMinute.Set(&b);
    return nowMinute.CompareDate(taskMinute) == 0 && nowMinute.CompareTime(taskMinute) == 0;
}

bool IsTaskListedOverdue(const CSTask& task, const CTime& now)
{
    // A task whose minute is still running is the minute check's, not the user's.
    return task.IsActive() && task.IsOverdue(now) && !IsTaskDueNow(task, now);
}

int SaveScheduleAndAnnounce(CSTaskList& schedule, UINT changedMsg)
{
    char path[MAX_PATH];
    if (!GetMyTarvinFilesFolder(path, "Tarvin Schedule.dat") || !schedule.Save(path))
        return 0;
    PostMessageA(HWND_BROADCAST, changedMsg, 0, 0);
    return 1;
}

static void StartTask(CSTask& task, void* context)
{
    RunScheduledTask((AgentState*)context, task);
}

int StartupPassAt(CSTaskList& schedule, const CTime& now, ScheduledTaskStarter start, void* context, int* ran)
{
    bool overdue = false;
    *ran = 0;
    for (unsigned i = 0; i < schedule.GetSize(); i++)
    {
        CSTask* task = schedule.GetAt(i);
        if (!task || !task->IsActive())
            continue;
        if (IsTaskListedOverdue(*task, now))
            overdue = true;
        const CSTRecRule* rule = task->GetFirstRule();
        if (rule && rule->type == ST_TYPE_EVENT && rule->subtype == ST_EVENT_STARTUP)
        {
            (*ran)++;
            task->SetLastScheduledTime(now);
            task->Recurred();
            start(*task, context);
        }
    }
    return overdue ? 1 : 0;
}

int CountOverdueAt(CSTaskList& schedule, const CTime& now)
{
    int count = 0;
    for (unsigned i = 0; i < schedule.GetSize(); i++)
    {
        CSTask* task = schedule.GetAt(i);
        if (task && IsTaskListedOverdue(*task, now))
            count++;
    }
    return count;
}

int MinuteCheckAt(CSTaskList& schedule, const CTime& now, ScheduledTaskStarter start, void* context)
{
    int ran = 0;
    for (unsigned i = 0; i < schedule.GetSize(); i++)
    {
        CSTask* task = schedule.GetAt(i);
        if (!task || !task->IsActive() || !IsTaskDueNow(*task, now))
            continue;
        ran++;
        task->SetNextScheduledTime();
        task->Recurred();
        start(*task, context);
    }
    return ran;
}

int RunStartupPass(AgentState* st, CSTaskList& schedule, UINT changedMsg)
{
    int ran = 0;
    int overdue = StartupPassAt(schedule, CTime(), StartTask, st, &ran);
    if (ran)
        SaveScheduleAndAnnounce(schedule, changedMsg);
    return overdue;
}

int RunMinuteCheck(AgentState* st, CSTaskList& schedule, UINT changedMsg)
{
    int ran = MinuteCheckAt(schedule, CTime(), StartTask, st);
    if (ran)
        SaveScheduleAndAnnounce(schedule, changedMsg);
    return ran;
}
