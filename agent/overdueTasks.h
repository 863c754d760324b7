// The Overdue Tasks dialog: a modeless list of the active tasks whose time
// passed while the agent was not running, from which the user runs them.
#pragma once

#include <windows.h>

class CSTaskList;

// Opens the dialog (owner the desktop) on schedule or, when *slot already
// holds a live one, brings it to the top. *slot holds the dialog while it
// exists and is cleared when it is destroyed. The dialog, or null.
HWND OpenOverdueTasksDialog(HINSTANCE instance, CSTaskList* schedule, HWND* slot);
// Fills the open dialog again from its schedule, after a reload.
// Nothing when dlg is null or gone.
void RefreshOverdueTasksDialog(HWND dlg);
