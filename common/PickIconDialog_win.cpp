#include <new>
// The picker is shell32's export 62, bound by number: it has no name in the
// library's export table. It takes a wide path on the NT family and an 8-bit
// one on the others.
#include "PickIconDialog.h"
#include "winutils.h"

typedef int(WINAPI* PFN_PICKICONDLG)(HWND, void*, UINT, int*);

static int CallPicker(HWND hwnd, void* path, UINT size, int* index)
{
    HMODULE shell = LoadLibraryA("shell32.dll");
    if (!shell)
        return 0;
    int result = 0;
    PFN_PICKICONDLG pick = (PFN_PICKICONDLG)(void*)GetProcAddress(shell, MAKEINTRESOURCEA(62));
    if (pick)
        result = pick(hwnd, path, size, index);
    FreeLibrary(shell);
    // A picker that could not show itself answers -1 (Wine's is a stub that
    // always does); that is no choice.
    return result > 0 ? result : 0;
}

int SelectIconA(HWND hwnd, char* path, UINT size, int* index)
{
    if (!path || !size)
        return 0;
    if (!IsWindowsNT())
        return CallPicker(hwnd, path, size, index);
    WCHAR* wide = new (std::nothrow) WCHAR[size];
    if (!wide)
        return 0;
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, (int)size))
        wide[0] = 0;
    int result = CallPicker(hwnd, wide, size, index);
    if (result && !WideCharToMultiByte(CP_ACP, 0, wide, -1, path, (int)size, nullptr, nullptr))
        path[size - 1] = '\0';
    delete[] wide;
    return result;
}

int SelectIconW(HWND hwnd, WCHAR* path, UINT size, int* index)
{
    if (!path || !size)
        return 0;
    if (IsWindowsNT())
        return CallPicker(hwnd, path, size, index);
    char* narrow = new (std::nothrow) char[size];
    if (!narrow)
        return 0;
    if (!WideCharToMultiByte(CP_ACP, 0, path, -1, narrow, (int)size, nullptr, nullptr))
        narrow[0] = 0;
    int result = CallPicker(hwnd, narrow, size, index);
    if (result && !MultiByteToWideChar(CP_ACP, 0, narrow, -1, path, (int)size))
        path[size - 1] = 0;
    delete[] narrow;
    return result;
}
