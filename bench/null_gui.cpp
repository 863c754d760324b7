// The floor for a GUI program under Wine. For bench/tvint-vs-cmd: registers a
// window class, makes one hidden pop-up window, posts itself a quit and runs
// the message loop until it arrives, then exits 0; tvint.exe does the same
// before it reads its launch file. With -stay (bench/agent-idle) it stays,
// as a resident program does, with a one-second timer ticking, until its
// window "_TV_NULL_GUI" is closed.
#include <windows.h>

static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CLOSE)
    {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR cmdLine, int)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = hInstance;
    wc.lpszClassName = "_TV_NULL_GUI";
    if (!RegisterClassExA(&wc))
        return 1;
    HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, 100, 100, 256, 18, NULL,
                                NULL, hInstance, NULL);
    if (!hwnd)
        return 1;
    if (lstrcmpA(cmdLine, "-stay") == 0)
        SetTimer(hwnd, 1, 1000, NULL);
    else
        PostQuitMessage(0);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
    DestroyWindow(hwnd);
    return 0;
}
