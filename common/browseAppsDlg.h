// The application browser: a modal list of the programs the system knows,
// with up to two buttons that browse for more files. Built at run time, so it
// works in any program that calls InitBrowseApplications once at start.
#pragma once

#include <windows.h>

class CAppList;

struct tagBROWSEAPPS
{
    DWORD dwReserved; // 0
    HWND hwndOwner;   // the dialog is centred on the owner's parent
    HINSTANCE hInstance;
    const char* pszTitle;   // null: "Browse Applications"
    const char* pszPrompt;  // null: the standard prompt
    char* pszResult;        // MAX_PATH bytes: the File field's start, the choice on OK
    const char* pszButton1; // null: no first browse button
    const char* pszFolder1; // its Open dialog's folder; environment references allowed
    const char* pszFilter1; // its Open dialog's filter list (pairs, double zero at the end)
    const char* pszButton2;
    const char* pszFolder2;
    const char* pszFilter2;
    CAppList* pAppList; // kept by the caller between calls, or null
};

#define BROWSEAPPS_CLASS "_mh_BROWSEAPPS_CLS__"

int InitBrowseApplications(HINSTANCE instance);
// 1 for OK (the path is in pszResult), 0 for Cancel or close.
int BrowseApplications(tagBROWSEAPPS* ba);

// The browser with a button for program files and one for launch files in
// launchFolder, the launch files' first when asked. The File field starts
// with initial (which may be path itself); path gets the choice (size bytes).
// true on OK when the choice fitted.
bool BrowseProgramsAndLaunchFiles(HWND owner, CAppList* apps, const char* launchFolder, bool launchFilesFirst,
                                  const char* initial, char* path, size_t size);
