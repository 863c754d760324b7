// Helpers of the schedule tests: times from their fields and as text.
#pragma once

#include <string>

#include "ScheduledTask.h"

inline CTime Make(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0,
                  WORD ms = 0)
{
    CTime t;
    t.Set(year, month, day, hour, minute, second, ms);
    return t;
}

inline std::string Text(const CTime& t)
{
    char buf[64];
    return t.GetString(buf, sizeof(buf));
}

// A new task with one rule whose time, and (but for an event) the task's
// scheduled time, are `when`.
inline CSTask* NewTask(const char* name, DWORD type, DWORD subtype, DWORD data, const CTime& when,
                       bool active = true)
{
    CSTask* task = new CSTask();
    task->SetName(name);
    task->SetActive(active ? 1 : 0);
    CSTRecRule* rule = task->AddRecurrenceRule();
    rule->type = type;
    rule->subtype = subtype;
    rule->data = data;
    rule->time = when;
    if (type != ST_TYPE_EVENT)
        task->SetScheduledTime(when);
    return task;
}

// Every stored field of a task in one line, rules and exception rules
// after it, so a whole task is compared at once.
inline std::string Describe(CSTask& task)
{
    std::string out = std::string(task.GetName()) + "|" + task.GetTarget() + "|" + task.GetDir() + "|" +
                      task.GetCmdLine() + "|ws " + std::to_string(task.GetWindowState()) + " id " +
                      std::to_string(task.GetId()) + "/" + std::to_string(task.GetOverdueId()) + " flags " +
                      std::to_string(task.MustRemove()) + std::to_string(task.IsActive()) +
                      std::to_string(task.MustShowOverdue()) + std::to_string(task.IsScheduled()) +
                      " count " + std::to_string(task.GetRecurrenceCount()) + "|" +
                      Text(task.GetScheduledTime()) + "|" + Text(task.GetLastScheduledTime()) + "|" +
                      Text(task.GetOrigScheduledTime());
    for (unsigned i = 0; i < task.GetRecurrenceRules()->GetSize(); i++)
    {
        CSTRecRule* r = task.GetRecurrenceRules()->GetAt(i);
        out += " [" + std::to_string(r->type) + " " + std::to_string(r->subtype) + " " +
               std::to_string(r->data) + " " + std::to_string(r->except) + "]";
    }
    for (unsigned i = 0; i < task.GetExceptionRules()->GetSize(); i++)
        out += " exc " + std::to_string(task.GetExceptionRules()->GetAt(i)->data);
    return out;
}
