// The menu editor's main window without its controls: the list's cell texts,
// the title and status texts, which commands are enabled, and the order Sort
// gives a submenu. views_win.cpp and commands_win.cpp put them on screen.
#pragma once

#include <stddef.h>

#include "Menu.h"

// The list's Type column: "Submenu", "Separator", "Item" or "Unknown".
const char* EntryTypeText(const CMenuItem& item);
// The list's Target column: a command item's target, "" for the others.
const char* EntryTargetText(const CMenuItem& item);

// "Tarvin Menu Editor", with " - [<root's text>]" while a menu is open (root
// not null) and "*" after it while it has unsaved changes.
void FormatMeditTitle(const CMenuItem* root, bool modified, char* buf, size_t size);
// The status bar: the menu's file, a new menu's note, or the start-up hint.
const char* MeditStatusText(bool menuOpen, const char* filePath);

// What the window knows when it enables its commands.
struct MeditUiFacts
{
    bool open = false;     // a menu is open
    bool modified = false; // with unsaved changes
    bool canPaste = false; // an entry is on the clipboard
    bool canUndo = false;
    bool canRedo = false;
    bool selection = false;  // a list row or a tree node is selected
    bool hasEntries = false; // the root has entries to test
    int row = -1;            // the selected list row, -1 none
    int rows = 0;            // list rows
};

// The commands whose state follows MeditUiFacts, and whether one is enabled.
extern const int g_meditStateCommands[];
extern const size_t g_meditStateCommandCount;
bool IsMeditCommandEnabled(const MeditUiFacts& facts, int command);

// Sort's comparison of two entries of one submenu: submenus first, then by
// text without regard to case; a separator compares equal to everything.
int SortMenuAlphabetically(const CMenuItem* a, const CMenuItem* b);
// Sorts node's children by SortMenuAlphabetically, keeping the order of
// entries that compare equal (separators stay among their neighbours).
void SortMenuChildren(CPtrTree<CMenuItem>* node);
