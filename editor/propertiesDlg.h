// The action properties dialog (1000) and its picker of processes and
// windows (1800).
#pragma once

#include <windows.h>

class CLaunchAction;
class CAppList;
class CFavList;

// Edits action in place: on OK it holds the line the page wrote (always
// through BuildLaunchLine, or the unknown line's own text). insertMode
// gives the caption "Insert Action" and starts a new Launch, Open or Print
// at windowState (1 normal, 2 minimized, 3 maximized). 1 on OK, 0 otherwise.
int ShowActionProperties(HWND owner, HINSTANCE instance, CLaunchAction* action, bool insertMode,
                         int windowState, CAppList* apps, CFavList* favs);
// The application browser as the Launch page opens it: the known
// programs, and buttons that browse Program Files and My Documents. path
// (MAX_PATH bytes) holds the starting choice and, on true, the chosen file.
bool BrowseForApplication(HWND owner, HINSTANCE instance, CAppList* apps, char* path);
