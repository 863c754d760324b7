// The tray icon's two menus: the agent's main menu, built once, and the
// user's menu, read from "Tarvin.menu" at every click.
#pragma once

#include <windows.h>

// The owner-drawn main menu with its side bar and two sub-menus; destroy it
// with MenuXP_DestroyMenu(menu, 0, 1, 0). Null when it cannot be created.
HMENU BuildMainMenu(HINSTANCE instance);
// 1 after showing the menu, 0 when the menu file cannot be read.
int ShowTVUserMenu(HINSTANCE instance, HWND hwnd, POINT pt);
// Redraws the taskbar after a menu, so no stale highlight stays on the tray.
void RedrawTaskbar();
