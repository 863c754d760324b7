// The recent-file list in the registry and in a program's File menu.
#pragma once

#include <windows.h>

#include "recentfiles.h"

// Under HKEY_CURRENT_USER\<key>, values "Recent File 1".. (see recentfiles.h).
void ReadRecentFiles(CRecentFiles& list, const char* key);
void WriteRecentFiles(const CRecentFiles& list, const char* key);

// Puts the list into menu just above the command `before`, each file as
// "&1 <path>" with the command firstId for the newest, firstId + 1 for the
// next, and a separator (command firstId + RECENT_FILES_MAX) below them.
// What an earlier call put there is taken out first; an empty list leaves
// nothing.
void ShowRecentFiles(HMENU menu, const CRecentFiles& list, UINT firstId, UINT before);

// The list entry a recent-file command chose; a file that is gone is taken
// off the list, which is stored again, and the user is told (owner's box).
// false then, or when command is no recent-file command.
bool PickRecentFile(HWND owner, CRecentFiles& list, const char* key, UINT firstId, UINT command, char* path,
                    size_t size);
