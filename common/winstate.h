// The state a window or dialog keeps on itself: a window's behind
// GWLP_USERDATA, set at WM_NCCREATE; a dialog's behind DWLP_USER, set at
// WM_INITDIALOG. Both are null before they are set and after they are
// cleared.
#pragma once

#include <windows.h>

#include "winutils.h"

template <class T> T* WindowState(HWND hwnd)
{
    return (T*)GetWindowLongPtrA(hwnd, GWLP_USERDATA);
}

inline void SetWindowState(HWND hwnd, void* state)
{
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)state);
}

template <class T> T* DialogState(HWND hwnd)
{
    return (T*)GetWindowLongPtrA(hwnd, DWLP_USER);
}

inline void SetDialogState(HWND hwnd, void* state)
{
    SetWindowLongPtrA(hwnd, DWLP_USER, (LONG_PTR)state);
}

// Opens the modeless dialog id with state as its parameter (see
// CreateModelessDialog in winutils.h). The dialog takes the state over at
// WM_INITDIALOG and frees it at WM_DESTROY; when it is not created the state
// is freed here. A null state opens nothing.
template <class T> HWND OpenModelessWithState(HINSTANCE instance, int id, DLGPROC proc, T* state, HWND* slot)
{
    if (!state)
        return nullptr;
    HWND hwnd = CreateModelessDialog(instance, id, proc, (LPARAM)state, slot);
    if (!hwnd)
        delete state;
    return hwnd;
}
