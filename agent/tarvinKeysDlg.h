// The Tarvin Keys page of the preferences and the Add Tarvin Key dialog.
#pragma once

#include <windows.h>

class CTarvinKey;
class CAppList;

// The modifier rule of the Add dialog: a key always has a modifier other
// than Shift alone. No box checked gives Ctrl + Alt; Shift alone gains Alt.
unsigned ApplyModifierRule(unsigned mods);

// Runs the Add Tarvin Key dialog (modal) and fills key on OK; its browser
// lists the applications of apps. 1 for OK, 0 for Cancel.
int RunAddTarvinKeyDialog(HINSTANCE instance, HWND owner, CTarvinKey* key, CAppList* apps);
