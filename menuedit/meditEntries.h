// New menu entries as the menu editor's insert commands make them: a command
// item for a file, named after the file's title; a website item that opens
// the address in the browser; and the folder a command item starts in when
// none is given. commands_win.cpp asks the user for the paths.
#pragma once

#include "Menu.h"

// A command item (the caller's) that starts path in its folder with the
// file's first icon, named after its file title; null without memory.
CMenuItem* MakeFileEntry(const char* path);
// A command item (the caller's) that opens address with browser, with the
// browser's first icon, named name or, when name is empty, the address; null
// without memory.
CMenuItem* MakeWebsiteEntry(const char* browser, const char* address, const char* name);
// A command item with a target and no working folder starts in the target's
// folder; submenus and items with a folder are left alone.
void SetDefaultWorkDir(CMenuItem* item);
