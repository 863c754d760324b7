// tvkeepalive: holds a Wine session open while tests run.
//
// Under Wine the first GUI process of a session starts the desktop and service
// processes, and they end again once the last GUI process is gone. Keeping one
// idle GUI process alive saves that start-up on every test program and keeps
// those processes from inheriting a test's stdout/stderr.
//
// The window is message-only so it never appears on screen, is not seen by
// EnumWindows and does not receive broadcasts meant for real top-level windows.
// It ends on WM_CLOSE to its window or WM_QUIT posted to it. Find it with
// FindWindowExA(HWND_MESSAGE, NULL, "_TV_KEEPALIVE", NULL).
//
//   tvkeepalive [READY-FILE]
//
// READY-FILE, when given, is created once the window exists, so a caller can
// wait for the session to be up before it starts the program under test.
#include <windows.h>

#include <string.h>

static const char g_className[] = "_TV_KEEPALIVE";

static LRESULT CALLBACK KeepAlive_WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = KeepAlive_WndProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = g_className;
    if (!RegisterClassA(&wc))
        return 1;

    HWND hwnd = CreateWindowExA(0, g_className, g_className, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, hInstance,
                                nullptr);
    if (!hwnd)
        return 1;

    if (lpCmdLine && *lpCmdLine)
    {
        char path[MAX_PATH];
        const char* start = lpCmdLine;
        size_t len = strlen(start);
        if (len >= 2 && start[0] == '"' && start[len - 1] == '"')
        {
            start++;
            len -= 2;
        }
        if (len == 0 || len >= sizeof(path))
            return 1;
        memcpy(path, start, len);
        path[len] = '\0';
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 1;
        CloseHandle(file);
    }

    MSG msg;
    BOOL ret;
    while ((ret = GetMessageA(&msg, nullptr, 0, 0)) != 0)
    {
        if (ret == -1)
            return 1;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
