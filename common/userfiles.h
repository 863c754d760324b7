// A program's start in the suite: the user's files folder made ready.
#pragma once

#include <windows.h>

// Has the first-run library set up the files folder and the menu file (on
// the very first start it also offers the tip picture, the agent and the
// tour), then ends the first run. false when the folder or the menu file
// cannot be made: the program must exit. Needs tvfrfld.dll.
bool PrepareUserFiles(HWND owner, HINSTANCE instance);
