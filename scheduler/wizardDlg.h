// The new scheduled task wizard: one task with one rule, page by page.
#pragma once

#include <windows.h>
#include "ScheduledTask.h"

class CAppList;

struct tagWIZARD_DATA
{
    DWORD reserved = 0;
    HWND hwndOwner = nullptr;
    HINSTANCE hInstance = nullptr;
    int openAdvanced = 0; // in and out: open the properties dialog after Finish
    CAppList* appList = nullptr;
    CSTask task;
};

// 1 when the task is complete (Finish), 2 on Cancel, Escape or the close box.
INT_PTR RunNewTaskWizard(tagWIZARD_DATA* data);
