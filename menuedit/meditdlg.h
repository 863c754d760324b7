// The menu editor's dialogs: entry properties, preferences, the plain
// submenu dialog, the shortcuts dialog, the startup wizard and the item
// wizard. Each is modal and takes what it needs as parameters; the main
// window (meditmain.h) records undo and updates its views around them.
#pragma once

#include <windows.h>
#include <stdint.h>

#include "Menu.h"

class CAppList;

// Item wizard flags.
enum : uint32_t
{
    WIZ_ITEM = 0x1,           // a command item is being made (target page first)
    WIZ_NEWMENU = 0x2,        // a new menu is being made (the entry is the root)
    WIZ_SUBMENU = 0x4,        // a submenu is being made
    WIZ_LOCATION = 0x8,       // ask for the location after the name page
    WIZ_ADDANOTHER = 0x10,    // offer adding another entry
    WIZ_SAVE = 0x20,          // offer saving
    WIZ_SHORTCUTS = 0x40,     // offer creating shortcuts
    WIZ_OPENPROPS = 0x100,    // offer opening the properties on the name page
    WIZ_CALLBACK = 0x200,     // call the item callback after the name or location page
    WIZ_STARTANOTHER = 0x800, // start at the add-another page
    WIZ_SUMMARY = 0x80000000  // end with the summary page
};

struct tagWIZARD_DATA;
typedef int (*WIZARD_ITEM_CALLBACK)(tagWIZARD_DATA* wd);
typedef int (*WIZARD_SAVE_CALLBACK)(HWND owner);
typedef int (*WIZARD_OTHER_CALLBACK)(tagWIZARD_DATA* wd);

struct tagWIZARD_DATA
{
    uint32_t flags;
    int openProperties; // set by the name page's check box
    HINSTANCE instance;
    HWND owner; // the editor's main window
    CMenu* menu;
    CMenuItem entry; // the entry the wizard fills in
    uint32_t locationId;
    int insertAsChild;
    WIZARD_ITEM_CALLBACK itemCallback;
    WIZARD_SAVE_CALLBACK saveCallback;
    WIZARD_OTHER_CALLBACK otherCallback; // not used by the callers
    CAppList* apps;
    int testLaunches; // the editor's "Test Full" setting
};

// Entry properties (dialog 1000 with page 1100) on item, which the caller
// passes as its edit copy. 1 when OK was pressed: item holds the edits.
int ShowEntryProperties(HWND owner, HINSTANCE instance, CMenuItem* item, CAppList* apps);

// Preferences (dialog 500, page 510). "Advanced Mode", "Show Startup" and
// "Window State" are stored at once; *testFull is the in-memory "Test Full".
// 1 on OK.
int ShowPreferences(HWND owner, HINSTANCE instance, int* testFull);

// The plain submenu dialog (2100): fills entry's text, icon path and icon
// number, starting from "New Submenu" (or "New Tarvin Menu" for a new menu)
// and icon 4 of "shell32.dll". 1 for OK, 2 for Cancel.
int ShowSubmenuDialog(HWND owner, HINSTANCE instance, bool newMenu, CMenuItem* entry);

// The shortcuts dialog (2000) for the open menu of the editor window
// mainWnd; a menu never saved is first offered for saving through
// SaveMenuCallback. 1 when at least one shortcut was made.
int ShowShortcutsDialog(HWND mainWnd, HINSTANCE instance, CMenu* menu);

// Where a menu shortcut goes.
enum
{
    SHORTCUT_DESKTOP = 0,
    SHORTCUT_QUICKLAUNCH = 1
};
// Writes the shortcut to menuPath (named after the root's text) and gives
// its path in linkPath. 0 on success, else the message id of the failure.
int CreateMenuShortcut(const CMenu& menu, const char* menuPath, int where, char* linkPath, size_t size);
// CreateMenuShortcut's results. The shortcut starts "tvmint.exe" beside the
// editor with -file="<menu file>", in the menu's folder, with the root's icon
// and the description "<root text> menu".
enum
{
    SHORTCUT_OK = 0,
    SHORTCUT_ERR_NODESKTOP = 1,     // "Cannot find the desktop folder."
    SHORTCUT_ERR_NOQUICKLAUNCH = 2, // "Cannot find the quick launch folder..."
    SHORTCUT_ERR_CREATE = 3         // the link could not be written: "No shortcut was created."
};
// What the user is told about a CreateMenuShortcut result for that place.
const char* MenuShortcutMessage(int result, int where);

// The startup wizard (1800): 0 closed, 1 New, 2 Open, 3 open the user's
// menu. *testFull as for ShowPreferences (its Advanced button).
int ShowStartupWizard(HWND mainWnd, HINSTANCE instance, int* testFull);

// The item wizard (1300, pages 1310-1380): 1 finished, 0 cancelled.
int RunItemWizard(tagWIZARD_DATA* wd);
