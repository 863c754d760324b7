// Choosing what a new task runs (the wizard's Browse button).
#pragma once

#include <windows.h>

class CAppList;

// Lets the user pick a launch file or a program in the application browser,
// starting from initial.
// True with the chosen path in path; false on Cancel.
bool PickProgram(HWND owner, CAppList* apps, const char* initial, char* path, size_t size);
