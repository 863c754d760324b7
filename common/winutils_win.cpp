#include "winutils.h"

namespace
{
bool GetVersionInfo(OSVERSIONINFOA* info)
{
    ZeroMemory(info, sizeof(*info));
    info->dwOSVersionInfoSize = sizeof(*info);
    return GetVersionExA(info) != 0;
}
} // namespace

BOOL IsWindowsNT()
{
    OSVERSIONINFOA info;
    return GetVersionInfo(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

BOOL IsWindows2000OrLater()
{
    OSVERSIONINFOA info;
    return GetVersionInfo(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion > 4;
}

BOOL IsWindowsXP()
{
    OSVERSIONINFOA info;
    return GetVersionInfo(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion > 4 &&
           info.dwMinorVersion != 0;
}

BOOL IsWindows98OrLater()
{
    OSVERSIONINFOA info;
    if (!GetVersionInfo(&info) || info.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS)
        return FALSE;
    return info.dwMajorVersion > 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion != 0);
}

int CenterWindow(HWND hwnd)
{
    if (!hwnd)
        return 0;

    HWND parent = GetParent(hwnd);
    if (!parent)
        parent = GetDesktopWindow();

    RECT rcParent, rcWindow;
    GetWindowRect(parent, &rcParent);
    GetWindowRect(hwnd, &rcWindow);
    POINT pt;
    pt.x = rcParent.left + (rcParent.right - rcParent.left) / 2 - (rcWindow.right - rcWindow.left) / 2;
    pt.y = rcParent.top + (rcParent.bottom - rcParent.top) / 2 - (rcWindow.bottom - rcWindow.top) / 2;

    // A child window is placed in its parent's client coordinates; a
    // top-level (owned) window in screen coordinates.
    if (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)
        ScreenToClient(parent, &pt);

    SetWindowPos(hwnd, NULL, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 1;
}

void ForceTaskbarButton(HWND hwnd)
{
    LONG_PTR exStyle = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, exStyle | WS_EX_APPWINDOW);
}

void ReleaseListViewImages(HWND listView, HIMAGELIST images)
{
    if (listView)
        ListView_SetImageList(listView, NULL, LVSIL_SMALL);
    if (images)
    {
        ImageList_RemoveAll(images);
        ImageList_Destroy(images);
    }
}
