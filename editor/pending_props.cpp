// Placeholder for the properties dialog while it is being written: it
// answers "cancelled". It goes, with this file, when the dialog lands.
#include "propertiesDlg.h"

int ShowActionProperties(HWND, HINSTANCE, CLaunchAction*, bool, int, CAppList*, CFavList*)
{
    return 0;
}
