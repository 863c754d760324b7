// What the launch file editor's main window offers its dialogs and wizards.
// mainWnd is the editor's main window; its state hangs on the window.
#pragma once

#include <windows.h>

// The editor's settings, under the current user.
#define EDITOR_REG_KEY "Software\\Norvale\\Tarvin 2\\Editor"

class CAppList;
class CFavList;

// Saves the open file (Save As when it has no path yet); after the first
// save of a new file the add-to-menu dialog is offered when offerMenu is
// set and "Add Shortcuts" is on. true when saved.
bool EditorSave(HWND mainWnd, bool offerMenu);
// Full path of the open file, "" while it was never saved.
const char* EditorFilePath(HWND mainWnd);
// Inserts the line after the selected row (or at the end) as one undoable
// insert and selects it, so that the next line goes after it. false when it
// was not inserted.
bool EditorInsertLine(HWND mainWnd, const char* line);
// The preferences dialog, modal to owner (the main window or one of its
// dialogs).
void EditorPreferences(HWND mainWnd, HWND owner);
// The browse lists made at start-up.
CAppList* EditorAppList(HWND mainWnd);
CFavList* EditorFavList(HWND mainWnd);
