#include "RuleEdit.h"

int GetSubtypeChoices(DWORD type, DWORD stored, tagSUBTYPE_CHOICE* choices, int* selected)
{
    *selected = 0;
    if (type == ST_TYPE_PERIODIC)
    {
        static const char* const units[] = {"Minutely", "Hourly", "Daily", "Weekly", "Monthly", "Yearly"};
        for (int i = 0; i < 6; i++)
            choices[i] = {units[i], (DWORD)(i + 1)};
        if (stored >= ST_PERIOD_MINUTES && stored <= ST_PERIOD_YEARS)
            *selected = (int)stored - 1;
        return 6;
    }
    if (type == ST_TYPE_EVENT)
    {
        choices[0] = {"Startup", ST_EVENT_STARTUP};
        if (stored == ST_EVENT_STARTUP)
            return 1;
        choices[1] = {stored == ST_EVENT_SHUTDOWN ? "Shutdown" : "Other event", stored};
        *selected = 1;
        return 2;
    }
    choices[0] = {"Select date below", stored};
    return 1;
}

void CloseRuleTime(CSTask* task, DWORD typeAtOpen, bool pickersChanged, const CTime& pickers)
{
    CSTRecRule* rule = task->GetFirstRule();
    if (!rule || rule->type < ST_TYPE_DATE || rule->type > ST_TYPE_EVENT)
        return;
    if (rule->type == ST_TYPE_EVENT)
        rule->time.Set(0, 0, 0, 0, 0, 0, 0);
    else if (pickersChanged || rule->type != typeAtOpen)
        rule->time = pickers;
    else
        return;
    task->SetScheduledTime(rule->time);
}
