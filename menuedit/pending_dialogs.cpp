// Placeholders for the dialogs that are still being written: each answers
// "cancelled". Every one goes when its dialog lands; so does this file.
#include "meditdlg.h"

int ShowEntryProperties(HWND, HINSTANCE, CMenuItem*, CAppList*)
{
    return 0;
}
int ShowPreferences(HWND, HINSTANCE, int*)
{
    return 0;
}
int ShowSubmenuDialog(HWND, HINSTANCE, bool, CMenuItem*)
{
    return 2;
}
int ShowShortcutsDialog(HWND, HINSTANCE, CMenu*)
{
    return 0;
}
int CreateMenuShortcut(const CMenu&, const char*, int, char* linkPath, size_t size)
{
    if (size)
        linkPath[0] = '\0';
    return 1;
}
int ShowStartupWizard(HWND, HINSTANCE, int*)
{
    return 0;
}
int RunItemWizard(tagWIZARD_DATA*)
{
    return 0;
}
