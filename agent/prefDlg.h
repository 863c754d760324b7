// The Preferences dialog: modeless, one page per tab, each page created when
// its tab is shown and saving its values as it goes or when it is destroyed.
#pragma once

#include <windows.h>

struct AgentState;

// Opens the dialog on the page of command (220-224) or, when it is open,
// brings it to the top on its current page. The pages read and change the
// agent's settings, log and keys; the dialog is kept in agent->dialogs.pref.
// The dialog, or null.
HWND OpenPreferences(AgentState* agent, int command);
// The agent a page of the open dialog works on.
AgentState* PrefPageAgent(HWND page);

// The seconds boxes: text that is not a number gives fallback, a number is
// kept within 1-60. Also used on the way out, so that no 0 is ever stored.
int ClampSeconds(const char* text, int fallback);

// The Tarvin Keys page (in its own unit).
INT_PTR CALLBACK PrefKeysDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
