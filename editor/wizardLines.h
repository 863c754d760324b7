// The action wizard's choices and what they make: the lines it puts into the
// launch file and the summary its confirm page shows. Portable, so that the
// host tests check them; wizardDlg_win.cpp runs the pages.
#pragma once

#include <stddef.h>

#include "PtrList.h"

const int WIZARD_TEXT_SIZE = 260; // a path or an address

// One item the user picked in a wizard: a path or an address.
struct tagWIZARD_ITEM
{
    char text[WIZARD_TEXT_SIZE];
};

// Branches of the action wizard (the choice page's radio buttons).
enum
{
    EWIZ_BRANCH_FILES = 1401,
    EWIZ_BRANCH_WEB = 1402,
    EWIZ_BRANCH_BACKUP = 1403
};

// What the user chose in one round of the action wizard.
struct WizardChoices
{
    int branch = EWIZ_BRANCH_FILES;
    CPtrList<tagWIZARD_ITEM> items;
    int delay = 500;         // milliseconds between two items
    bool backupMove = false; // move instead of copy
    char destination[WIZARD_TEXT_SIZE] = "";
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
int BuildWizardLines(WizardChoices& data, const tagWIZARD_PREFS& prefs, const char* browser,
                     WizardLineSink sink, void* context);
// The confirm page's summary of the round.
void WizardSummary(WizardChoices& data, const tagWIZARD_PREFS& prefs, char* buf, size_t size);
