// The picker of the Kill and window actions (dialog 1800): the running
// processes, or the visible top-level windows with a title.
#pragma once

#include <windows.h>
#include <stddef.h>

// processes picks a process (Kill), otherwise a window. On Select, name
// receives what the action compares against: the executable's file name
// for a process, the title for a window. 1 when a row was chosen, 0 for
// Cancel, for closing, or for Select with no row selected (name untouched).
int ShowSelectDialog(HWND owner, HINSTANCE instance, bool processes, char* name, size_t size);

// The executable's file name of a process list entry: the part after the
// last backslash.
const char* ProcessNameOf(const char* path);
