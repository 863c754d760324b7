// The texts the editor's main window shows without its controls: the title,
// the status bar and the columns of a row. Portable, so that the host tests
// check them; list_win.cpp puts them into the window.
#pragma once

#include <stddef.h>

#include "LaunchFile.h"

// "Tarvin Editor", and with a file open " - [<file name>]" ("New Launch
// File" before its first save) with "*" when it is modified.
void EditorTitle(bool fileOpen, const char* path, bool modified, char* buf, size_t size);
// The status bar: the open file's path, or what to do without one.
const char* EditorStatusText(bool fileOpen, const char* path);

// A row of the list. A disabled line shows the action it holds, its name
// marked " (disabled)".
struct EditorRowTexts
{
    char name[64];
    char description[LAUNCH_DESCRIPTION_SIZE];
    int action; // the action code that picks the row's picture
};
void FormatEditorRow(const CLaunchAction& action, EditorRowTexts* row);
