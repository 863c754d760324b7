// bench/null_gui.cpp with the libraries that tvint.exe imports besides
// user32 and kernel32 (comctl32 with its classes registered, shell32,
// advapi32), each bound and called once at start as tvint does: what an
// empty GUI program pays for those libraries under Wine, the floor of
// tvint's start without its own work (bench/tvint-vs-cmd).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key) == ERROR_SUCCESS)
        RegCloseKey(key);
    // Bound at start as any import is; never called for real.
    if (GetTickCount() == 1)
    {
        SHFILEINFOA info;
        SHGetFileInfoA("", 0, &info, sizeof(info), 0);
    }
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = hInstance;
    wc.lpszClassName = "_TV_NULL_GUI_LIBS";
    if (!RegisterClassExA(&wc))
        return 1;
    HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, 100, 100, 256, 18, NULL,
                                NULL, hInstance, NULL);
    if (!hwnd)
        return 1;
    PostQuitMessage(0);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
    DestroyWindow(hwnd);
    return 0;
}
