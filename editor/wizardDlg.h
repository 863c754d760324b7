// The launch file editor's startup dialog, its wizards and the add-to-menu
// dialog. The wizards put their lines in through EditorInsertLine.
#pragma once

#include <windows.h>
#include <stddef.h>

#include "PtrList.h"

class CAppList;
class CFavList;

// Start flags of a wizard run.
enum
{
    EWIZ_ACTIONS = 0x1,    // the action wizard
    EWIZ_USEWIZARD = 0x2,  // the use-a-wizard page after New
    EWIZ_SAVENOW = 0x4,    // the save-now page
    EWIZ_ADDTOMENU = 0x8,  // the add-to-menu page
    EWIZ_USEWIZARD2 = 0x10 // the use-a-wizard page after Open
};

// The startup dialog (2100): 1 New, 2 Open, 0 closed.
int ShowStartupDialog(HWND mainWnd, HINSTANCE instance);
// Runs the wizard from the page the flags name; the action wizard repeats
// while "Use another wizard" is ticked. After New (EWIZ_USEWIZARD) the
// save-now and add-to-menu pages follow the action wizard. 1 when it
// finished, 0 cancelled.
int RunEditorWizard(HWND mainWnd, HINSTANCE instance, unsigned flags);
// Command "add to menu": asks to save a file never saved, then shows the
// add-to-menu dialog.
void OnAddToMenu(HWND mainWnd, HINSTANCE instance);
// The add-to-menu dialog (1900) for a saved launch file; afterFirstSave
// picks the first explanatory text. 1 when an entry was added and
// "Tarvin.menu" written.
int ShowAddToMenuDialog(HWND mainWnd, HINSTANCE instance, const char* launchPath, bool afterFirstSave);

// One item the user picked in a wizard: a path or an address.
struct tagWIZARD_ITEM
{
    char text[MAX_PATH];
};

// Branches of the action wizard (the choice page's radio buttons).
enum
{
    EWIZ_BRANCH_FILES = 1401,
    EWIZ_BRANCH_WEB = 1402,
    EWIZ_BRANCH_BACKUP = 1403
};

// One run of the wizard.
struct tagWIZARD_DATA
{
    unsigned flags = 0;
    HINSTANCE instance = nullptr;
    HWND mainWnd = nullptr;
    int branch = EWIZ_BRANCH_FILES;
    CPtrList<tagWIZARD_ITEM> items;
    int delay = 500;         // milliseconds between two items
    bool backupMove = false; // move instead of copy
    char destination[MAX_PATH] = "";
    bool another = false; // use another wizard after this one
    CAppList* apps = nullptr;
    CFavList* favs = nullptr;
};

// The editor's settings the wizard's lines follow.
struct tagWIZARD_PREFS
{
    bool insertDelay = true;
    bool insertComments = true;
    int windowState = 1; // 1 normal, 2 minimized, 3 maximized
};

// The line that opens a web page: the default browser (empty: none known)
// with the address as its parameter, or else the address itself launched.
// false when the line cannot be written.
bool BuildWebPageLine(const char* browser, const char* address, const char* state, char* line, size_t size);
// Receives the lines of a finished wizard, in order; false stops.
typedef bool (*WizardLineSink)(void* context, const char* line);
// Builds the finished wizard's lines, with the default browser's path for
// web pages, and hands them to sink one by one. The number of lines given,
// or -1 when an item cannot be written as a line or the sink refused one.
int BuildWizardLines(tagWIZARD_DATA& data, const tagWIZARD_PREFS& prefs, const char* browser,
                     WizardLineSink sink, void* context);
