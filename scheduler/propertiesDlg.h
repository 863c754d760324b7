// The task properties dialog: Task, Schedule and Information pages over one
// working task.
#pragma once

#include <windows.h>
#include "ScheduledTask.h"

// Modal. Every page writes its controls into task when it closes; the caller
// keeps task apart from the list and copies it back only on IDOK. infoCount
// is how many future times the Information page lists (kept for the run).
INT_PTR RunPropertiesDialog(HWND owner, CSTask* task, int* infoCount);
