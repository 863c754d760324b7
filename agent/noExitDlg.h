// The no-exit notice: the agent keeps running in the notification area.
#pragma once

#include <windows.h>

// Raises the notice in *slot when it is open, otherwise creates it there;
// the notice clears *slot when it goes.
void OpenNoExitDlg(HINSTANCE instance, HWND* slot);
INT_PTR CALLBACK NoExitDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
