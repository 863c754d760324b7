// The welcome wizard: five large buttons that start the editors, open the
// preferences or show help.
#pragma once

#include <windows.h>

// Redraws the tray, closes an open no-exit notice and opens or raises the
// wizard. Always 1.
int OnShowWizard(HWND hwnd);
INT_PTR CALLBACK WizardDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
