// What the programs' main windows share: the window rectangle and the list's
// column widths kept under the program's registry key, and a toolbar made
// from a table of buttons. The bars' layout is LayoutBars in winutils.h.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "winholders.h"

// The rectangle stored under key; false (rect untouched) when none is stored
// or the one stored is empty.
bool ReadWindowRect(const char* key, RECT* rect);
void WriteWindowRect(const char* key, const RECT& rect);
// For WM_SIZE and WM_MOVE: the window's rectangle while it is neither
// minimised nor maximised, so that the next start restores its normal place.
// false (rect untouched) otherwise.
bool RecordWindowRect(HWND hwnd, RECT* rect);
// Puts the window where a rectangle read back says, without repainting.
void RestoreWindowRect(HWND hwnd, const RECT& rect);

// "Column 1 Width", "Column 2 Width", ...: each width not stored keeps the
// value it had.
void ReadColumnWidths(const char* key, int* widths, int count);
// The list's present widths; nothing without a list.
void WriteColumnWidths(const char* key, HWND list, int count);

struct ToolbarButton
{
    int icon;         // a 24x24 icon resource
    int command;      // 0: a separator
    BYTE style;       // added to BTNS_BUTTON
    const char* text; // the label and tooltip, or null
};
// A flat toolbar with tooltips at the top of parent, hidden until laid out.
// The images go into a new list kept in *images. A drop-down button gets its
// arrow drawn. The toolbar, or NULL.
HWND CreateButtonToolbar(HWND parent, HINSTANCE instance, int id, DWORD extraStyle,
                         const ToolbarButton* buttons, int count, CImageList* images);

// The main window's message loop with its accelerators, until WM_QUIT; the
// exit code it carried.
int RunMainMessageLoop(HWND hwnd, HACCEL accel);
