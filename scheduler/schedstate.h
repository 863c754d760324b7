// The scheduler's main-window state, its start-up and the list of tasks.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "AppList.h"
#include "ScheduledTask.h"
#include "mainwnd.h"
#include "schedSettings.h"
#include "menuxp.h"
#include "taskrows.h"
#include "winholders.h"

#define SCHED_WINDOW_CLASS "_TVSCHED_MAINWND"
#define SCHED_WINDOW_TITLE "Tarvin Scheduler"
#define SCHED_SEMAPHORE_NAME "__Tarvin__TVSched__"
#define SCHED_SHOWSCHEDULER_MSG_NAME "98817024-205A-4487-A7DD-826542687139"
#define SCHED_SCHEDCHANGED_MSG_NAME "FD891CBC-B188-4471-B9A5-CE617A9005CB"
#define SCHED_FILE_NAME "Tarvin Schedule.dat"

extern HINSTANCE g_hInst;

class CAppList; // the application browser's list of programs, built on first use

// Everything the main window owns, reached through GWLP_USERDATA.
struct SchedState : MainFrame
{
    HWND hList = nullptr;
    CImageList listImages;
    CSTaskList tasks;
    CSTask working; // the task whose properties dialog is open
    bool modified = false;
    int columnWidths[SCHED_COLUMNS] = {100, 240, 140, 140, 160};
    tagMENUXP_DRAWINFO diItem = {};
    tagMENUXP_DRAWINFO diSidebar = {};
    UINT msgShowScheduler = 0;
    UINT msgScheduleChanged = 0;
    // How many future times the Information page lists; grows for the run.
    int infoCount = 10;
    // A question about the file changed elsewhere is open.
    bool askingReload = false;
    // Dialogs that hold a row of the list are open; a reload then waits.
    int modalDepth = 0;
    bool reloadPending = false;
    // The programs the system knows, read when the browser first needs them.
    CAppList apps;
    // The list is being filled: rows are not selected one by one.
    bool filling = false;
};

SchedState* GetSchedState(HWND hwnd);

// Start-up after the window exists: controls, settings, the schedule file.
// false when the program must end (the files folder cannot be set up).
bool Initialize(SchedState* st);
// Settings written when the window is destroyed.
void SaveSettings(SchedState* st);
void LayoutWindow(SchedState* st);

// Full path of the schedule file; false when the files folder is unknown.
bool GetSchedulePath(char* path, size_t size);
// Reads the schedule file into the list (a missing file is an empty
// schedule); tells the user when only part could be read. 1 or 0.
int LoadScheduleFile(SchedState* st, HWND owner);
// Writes the list; on failure tells the user and returns false.
bool SaveScheduleFile(SchedState* st, HWND owner);

void BuildList(SchedState* st, bool selectLast);
// The list asks for a row's picture when it first paints the row: the
// target's icon is read then, not for every task at start.
void GetRowImage(SchedState* st, NMLVDISPINFOA* info);
void UpdateUI(SchedState* st);
int SelectedRow(SchedState* st);
