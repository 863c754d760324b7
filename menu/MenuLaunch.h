// Starting an entry of a menu file through the shell: one place for the
// agent's user menu and the menu interpreter, with the messages both show.
#pragma once

#include <windows.h>
#include <stddef.h>

class CMenuItem;

// The caption of the messages below.
#define MENU_LAUNCH_CAPTION "Tarvin 2"

// The shell call the launch makes; tests put their own in its place.
typedef HINSTANCE(WINAPI* PFN_MENUSHELLEXECUTE)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
extern PFN_MENUSHELLEXECUTE g_MenuShellExecute;

// Starts the entry with the file's default action, its command line, folder
// and window state (an empty command line or folder is passed as none). A
// target the shell cannot find (2 or 3) is tried once more by its file name:
// beside the menu file, or else in the running program's folder, so that a
// menu moved together with its targets still works. A target without a file
// name (a folder such as "D:\Old\") is not retried: the retry would open one
// of those folders instead. Returns the shell's result of the last attempt;
// above 32 is success.
int LaunchMenuItem(const CMenuItem* item, const char* menuPath);

// The message for a failed launch (a result of 32 or below, after the
// retry). buf receives the text for codes without a message of their own.
const char* MenuLaunchErrorText(int result, char* buf, size_t size);
