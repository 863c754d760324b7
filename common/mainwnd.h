// What the programs' main windows share: their bars and their rectangle, the
// settings kept under the program's registry key, a toolbar made from a table
// of buttons and the message loop.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "winholders.h"

// What every main window keeps; a program's state starts with it.
struct MainFrame
{
    HWND hwnd = nullptr;
    HWND hStatus = nullptr;
    HWND hToolbar = nullptr;
    CImageList toolImages;
    bool showToolbar = true;
    bool showStatus = true;
    RECT wndRect = {0, 0, 0, 0}; // the normal rectangle, for the next start
    bool haveWndRect = false;
};
// "View Toolbar" (toolbarByDefault when not stored), "View Statusbar" and the
// rectangle, from the program's key.
void ReadFrameSettings(MainFrame* frame, const char* key, bool toolbarByDefault);
void WriteFrameSettings(const MainFrame* frame, const char* key);
// For WM_SIZE and WM_MOVE: keeps the rectangle while the window is neither
// minimised nor maximised.
void RememberFrameRect(MainFrame* frame);
// Puts the window back where the settings say, without repainting.
void RestoreFrameRect(const MainFrame* frame);
// The bars shown or hidden and sized, their View menu items checked; the
// client rectangle left between them.
RECT LayoutFrame(const MainFrame* frame, int viewToolbarId, int viewStatusId);

// The rectangle stored under key; false (rect untouched) when none is stored
// or the one stored is empty.
bool ReadWindowRect(const char* key, RECT* rect);
void WriteWindowRect(const char* key, const RECT& rect);

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
