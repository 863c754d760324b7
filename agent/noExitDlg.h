// The no-exit notice: the agent keeps running in the notification area.
#pragma once

#include <windows.h>

// Raises the notice when it is open, otherwise creates it.
void OpenNoExitDlg();
INT_PTR CALLBACK NoExitDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
