// The shell's icon picker.
#pragma once

#include <windows.h>

// Shows the picker for the file in path (size bytes, or characters for the
// wide form) starting at *index. Nonzero when the user chose an icon (path
// and index then describe it); 0 when cancelled or the picker is missing.
int SelectIconA(HWND hwnd, char* path, UINT size, int* index);
int SelectIconW(HWND hwnd, WCHAR* path, UINT size, int* index);
