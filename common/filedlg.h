// The system's pickers for a file and for a folder.
#pragma once

#include <windows.h>

struct FileDialogOptions
{
    const char* title;
    const char* filter;     // pairs of texts, a double zero at the end
    const char* initialDir; // null: the system's choice
    const char* defExt;     // null: none added
    DWORD flags;            // OFN_* flags
};

// The Open dialog; file holds the name it starts with (may be empty) and gets
// the choice. true on OK.
bool AskOpenFileName(HWND owner, const FileDialogOptions& options, char* file, size_t size);
// The Save As dialog, in the same way.
bool AskSaveFileName(HWND owner, const FileDialogOptions& options, char* file, size_t size);

// The folder browser, file-system folders only; folder (MAX_PATH bytes) gets
// the path of the one chosen. false when none was, and folder is untouched.
bool BrowseForFolder(HWND owner, const char* title, char* folder);
