#include <windows.h>

#include <new>

#include "EnumWindows.h"

BOOL CALLBACK CEnumWindows::EnumProc(HWND hwnd, LPARAM lParam)
{
    CEnumWindows* self = (CEnumWindows*)lParam;
    CWindow* window = new (std::nothrow) CWindow;
    if (!window)
        return FALSE;
    window->m_hwnd = hwnd;
    // Copies at most 127 characters and always terminates.
    if (GetWindowTextA(hwnd, window->m_szTitle, sizeof(window->m_szTitle)) <= 0)
        window->m_szTitle[0] = '\0';
    self->m_windows.Add(window, true);
    return TRUE;
}

void CEnumWindows::Enumerate()
{
    m_windows.Clear();
    EnumWindows(EnumProc, (LPARAM)this);
}

CEnumWindows::CWindow* CEnumWindows::GetWindow(int index)
{
    if (index < 0)
        return NULL;
    return m_windows.GetAt((unsigned)index);
}
