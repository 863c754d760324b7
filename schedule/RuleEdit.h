// What the scheduler's Schedule page shows of a task's first rule and what
// it leaves in the rule and the task when it closes. Looking at the page and
// pressing OK changes nothing: a stored subtype the lists cannot name is
// kept, and so is the time unless the user changed it.
#pragma once

#include "ScheduledTask.h"

// One entry of the subtype list and the subtype it stands for.
struct tagSUBTYPE_CHOICE
{
    const char* text;
    DWORD subtype;
};

const int RULE_MAX_SUBTYPE_CHOICES = 6;

// The subtype list for a rule type, and in *selected the entry that shows the
// stored subtype. A periodic rule whose stored subtype is none of the six
// units shows the first (minutes). An event rule other than start-up gets an
// entry of its own after "Startup", which keeps its subtype; a one-time rule
// keeps whatever it stored. The number of entries.
int GetSubtypeChoices(DWORD type, DWORD stored, tagSUBTYPE_CHOICE* choices, int* selected);

// When the page closes: an event rule has no time. Otherwise the time the
// pickers show becomes the rule's and the task's scheduled time only when the
// user changed the pickers or the rule's type since the page opened; else
// both stay as they were, so a spent one-time task (all-zero time) is not
// scheduled again by being looked at.
void CloseRuleTime(CSTask* task, DWORD typeAtOpen, bool pickersChanged, const CTime& pickers);
