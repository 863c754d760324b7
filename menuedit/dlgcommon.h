// What the menu editor's dialogs share: the window state list, an entry's
// icon shown in a static control, the icon picker and the target browser,
// and the editor's settings (meditSettings.h).
#pragma once

#include <windows.h>

#include "Menu.h"

class CAppList;

#include "meditSettings.h"

// "Normal Window", "Minimized", "Maximized"; the state (1-3) selected.
void FillWindowStates(HWND combo, unsigned long state);
// The selected state (list index + 1), or fallback with nothing selected.
unsigned long SelectedWindowState(HWND combo, unsigned long fallback);

// Shows the entry's small icon in a static control (none for no icon) and
// destroys the one shown before.
void ShowEntryIcon(HWND iconControl, const CMenuItem& item, HINSTANCE instance);

// The system's icon picker on the entry's icon file (its target when it has
// none, else "shell32.dll"); true with the entry's icon path and number set
// when the user chose an icon.
bool PickEntryIcon(HWND owner, CMenuItem* item);

// The application browser with buttons for program files and launch files
// (the latter starting in the user's files folder). true with the chosen
// path in path (at most size bytes, at least MAX_PATH).
bool BrowseTarget(HWND owner, CAppList* apps, char* path, size_t size);
