// The Overdue Tasks dialog: a modeless list of the active tasks whose time
// passed while the agent was not running, from which the user runs them.
#pragma once

#include <windows.h>

class CSTaskList;
struct AgentState;

// "&Run Now" ran a task but the schedule file could not be replaced.
#define OVERDUE_RUN_NOT_SAVED_TEXT                                                                           \
    "The scheduled tasks could not be saved after the task ran.\n\nThe schedule file is unchanged, so the "  \
    "task may be offered again when Tarvin next starts. Check that the Tarvin Files folder can be written "  \
    "to."

// Opens the dialog (owner the desktop) on schedule or, when *slot already
// holds a live one, brings it to the top. *slot holds the dialog while it
// exists and is cleared when it is destroyed. A task that cannot be started
// is logged in agent's log. The dialog, or null.
HWND OpenOverdueTasksDialog(HINSTANCE instance, AgentState* agent, CSTaskList* schedule, HWND* slot);
// Fills the open dialog again from its schedule, after a reload.
// Nothing when dlg is null or gone.
void RefreshOverdueTasksDialog(HWND dlg);
