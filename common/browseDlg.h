// What the application and favourites browsers share: their frame, built from
// an in-memory template, and the controls they create in pixels at opening.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Control ids of both browsers.
enum
{
    IDC_BROWSE_LIST = 100,
    IDC_BROWSE_PROMPT = 101,
    IDC_BROWSE_BUTTON1 = 102,
    IDC_BROWSE_BUTTON2 = 103,
    IDC_BROWSE_EDIT = 104,
    IDC_BROWSE_OK = 105,
    IDC_BROWSE_CANCEL = 106,
    IDC_BROWSE_LABEL = 107,
    IDC_BROWSE_LINE = 108
};

// Registers a browser's dialog class; 1 on success (also when it already was).
int RegisterBrowseClass(HINSTANCE instance, const char* className);
// Runs the modal frame (161 x 158 dialog units, no controls) of that class;
// 0 when the template cannot be built, else what the dialog manager returns.
INT_PTR RunBrowseDialog(HINSTANCE instance, HWND owner, const char* className, DLGPROC proc, LPARAM param);
// Centres the dialog on the owner's parent (the owner when it has none).
void CentreBrowseDialog(HWND dialog, HWND owner);
// A child control in pixels with the default GUI font.
HWND CreateBrowseControl(HWND dialog, DWORD exStyle, const char* className, const char* text, DWORD style,
                         int x, int y, int cx, int cy, int id);
// The frame both browsers share: prompt, list (one column, small icons),
// label and field, the etched line, OK and Cancel. Returns the list view.
HWND CreateBrowseFrame(HWND dialog, const char* prompt, const char* column, const char* label, int editX,
                       int editWidth, const char* editText);
// OK enabled only while the field holds text, and the default button then.
void UpdateBrowseOk(HWND dialog);
// Takes the list's small images away from it and destroys them (on destroy).
void ReleaseBrowseImages(HWND dialog, HIMAGELIST* images);
