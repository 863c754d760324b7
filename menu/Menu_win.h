// The menu model's Win32 half: icons of entries and the owner-drawn pop-up
// built from the tree.
#pragma once

#include <windows.h>

#include "Menu.h"

// A 16x16 icon for the entry, or null; the caller destroys it. The entry
// itself is not changed.
HICON GetMenuItemIcon(const CMenuItem& item, HINSTANCE instance);
// Owner-drawn pop-up menu of the whole tree; destroy it with
// MenuXP_DestroyMenu(menu, 0, 1, 0). Its captions point into the model.
HMENU CreateMenuPopup(const CMenu& model, HINSTANCE instance);
// True when at least one child of node was appended.
bool AppendMenuPopupChildren(HMENU menu, CPtrTree<CMenuItem>* node, HINSTANCE instance);
