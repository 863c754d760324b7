// The launch file editor's startup dialog, its wizards and the add-to-menu
// dialog. The wizards put their lines in through EditorInsertLine.
#pragma once

#include <windows.h>
#include <stddef.h>

#include "wizardLines.h"

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

// One run of the wizard: the round's choices and what the pages work with.
struct tagWIZARD_DATA : WizardChoices
{
    unsigned flags = 0;
    HINSTANCE instance = nullptr;
    HWND mainWnd = nullptr;
    bool another = false; // use another wizard after this one
    CAppList* apps = nullptr;
    CFavList* favs = nullptr;
};
