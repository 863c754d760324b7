// What the menu editor's main window offers its dialogs and wizards. mainWnd
// is the editor's main window; its state hangs on the window.
#pragma once

#include <windows.h>

struct tagWIZARD_DATA;

// Saves the open menu (Save As when it has no path yet). 1 when saved.
int SaveMenuCallback(HWND mainWnd);
// Inserts the wizard's finished entry (or makes it the root of a new menu),
// records undo and updates the views. 1 on success.
int InsertItemCallback(tagWIZARD_DATA* wd);
// Full path of the open menu file, "" while it was never saved.
const char* GetMenuFilePath(HWND mainWnd);
// Pops up the whole menu at the screen point as the Test command does, and
// starts or reports the chosen entry by the "Test Full" setting.
void TestMenuPopup(HWND mainWnd, int x, int y);
