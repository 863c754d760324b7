// The Hidden Windows dialog: a modeless list of the hidden windows, refilled
// every second, from which the user shows them again.
#pragma once

#include <windows.h>

class CHiddenWindows;

// Opens the dialog (owner the desktop) or, when *slot already holds a live
// one, brings it to the top. *slot holds the dialog while it exists and is
// cleared when it is destroyed. instance holds the dialog resource. The
// dialog, or null when it could not be created.
HWND OpenHiddenWindowsDialog(HINSTANCE instance, CHiddenWindows* list, HWND* slot);
