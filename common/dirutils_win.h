// Paths and files: the helpers that need Windows (the program's own folder,
// the shell, the registry, the file system).
#pragma once

#include <windows.h>
#include "dirutils.h"

// The running program's folder with its trailing backslash, then `append`.
int GetMyDir(char* buf, size_t size, const char* append);
int LaunchFromMyDir(const char* file, const char* params, const char* dir, int show);
char* GetDefaultBrowserPath(char* buf, size_t size);
HICON GetDefaultBrowserIcon(HINSTANCE instance);
char* GetFileNameNumber(const char* folder, char* name, size_t size, const char* ext);
// 1 when something (a file or a folder) is at the path.
int FileExists(const char* path);
// True when the path names an existing folder.
bool IsFolder(const char* path);
int ConvertString(char* dst, const wchar_t* src, int size);
