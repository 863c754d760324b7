// The menu editor's settings: written by its preferences and at exit, read
// at its start, by its insert commands and by the item wizard. The window's
// frame, its list's column widths and its recent files are kept under the
// same key by common/mainwnd.h and common/recentfiles.h.
#pragma once

#include "settings.h"

#define MEDIT_REG_KEY "Software\\Norvale\\Tarvin 2\\Menu Editor"

const DwordSetting MEDIT_SHOW_TIPS = {MEDIT_REG_KEY, SHOW_TIPS_NAME, 1};
const DwordSetting MEDIT_SHOW_STARTUP = {MEDIT_REG_KEY, "Show Startup", 1};
// Advanced mode inserts submenus and starts new menus with the submenu
// dialog instead of the wizard.
const DwordSetting MEDIT_ADVANCED_MODE = {MEDIT_REG_KEY, "Advanced Mode", 0};
// How a new command item opens its window (1-3).
const DwordSetting MEDIT_WINDOW_STATE = {MEDIT_REG_KEY, "Window State", 1};
// Test runs the chosen entry (1) or only names it (0).
const DwordSetting MEDIT_TEST_FULL = {MEDIT_REG_KEY, "Test Full", 1};
const DwordSetting MEDIT_SPLITTER_POS = {MEDIT_REG_KEY, "Splitter Pos", 180};
