// Windows version tests and two window helpers.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Each reads the version information afresh.
BOOL IsWindowsNT();
BOOL IsWindows2000OrLater();
// NT family, major above 4 and minor not 0 (so 5.1 and 6.1, but not 6.0).
BOOL IsWindowsXP();
BOOL IsWindows98OrLater();

// Centres the window over its parent (or owner), or over the desktop when it
// has none; size, z-order and activation stay. 1, or 0 for a null window.
int CenterWindow(HWND hwnd);
// Gives a window its own taskbar button (WS_EX_APPWINDOW), for dialogs that
// may appear without a visible owner.
void ForceTaskbarButton(HWND hwnd);
// Takes a list view's small-icon list away from it, then destroys the list:
// detached first, so the control never draws with a destroyed list.
void ReleaseListViewImages(HWND listView, HIMAGELIST images);
