// tvmint: pops a menu file up once at a screen point, starts the chosen
// entry through the shell and exits.
//
//     tvmint -file="<menu file>" [-x="<n>" -y="<n>"]
//
// Exit codes: 0 nothing chosen or the entry was started, 1 no -file value,
// 2 the menu file could not be read, 3 the entry could not be started.
#include <windows.h>
#include <windowsx.h>
#include <stdlib.h>

#include "Menu_win.h"
#include "MenuLaunch.h"
#include "menuxp.h"
#include "regutils.h"
#include "xmlutils.h"
#include "menuint_res.h"
#include "winutils.h"
#include "strutils.h"
#include "winstate.h"

#define WM_SHOWMENU (WM_USER + 1)

enum
{
    EXIT_OK = 0,
    EXIT_NO_FILE = 1,
    EXIT_READ_FAILED = 2,
    EXIT_LAUNCH_FAILED = 3
};

static const char kClassName[] = "_TVMINT_HIDDENMAINWND";
static const char kWindowTitle[] = "Tarvin Menu";
// The whole command line is kept; the -file value alone may take 259
// characters, with room for the quotes, -x and -y around it.
static const size_t kCmdLineSize = 1024;

// What the hidden main window holds for the program's one run: made by
// WinMain, handed to the window at its creation and reached through its
// GWLP_USERDATA.
struct MenuIntState
{
    CMenu menu;
    HINSTANCE instance = NULL;
    char cmdLine[kCmdLineSize] = "";
    char menuFile[MAX_PATH] = "";
    POINT popupAt = {};
    tagMENUXP_DRAWINFO diNormal = {};
    tagMENUXP_DRAWINFO diSidebar = {};
};

static void RegisterMenuFileType()
{
    char exe[MAX_PATH];
    DWORD len = GetModuleFileNameA(NULL, exe, sizeof(exe));
    if (len == 0 || len >= sizeof(exe))
        return;
    char command[MAX_PATH + 64];
    StrFormat(command, sizeof(command), "\"%s\" -file=\"%%1\" -x=\"%%2\" -y=\"%%3\"", exe);
    AssociateFile(".menu", "Tarvin.MenuFile", "Tarvin Menu File", command, "Open");
}

// A coordinate given on the command line replaces the mouse position's when it
// is present and not 0.
static void ReadCoordinate(const char* cmdLine, const char* name, LONG* coordinate)
{
    char value[32] = "";
    if (GetPropertyValue(cmdLine, name, value, sizeof(value)) <= 0)
        return;
    int n = StrToInt(value);
    if (n != 0)
        *coordinate = n;
}

static BOOL Initialize(HWND hwnd, MenuIntState* st)
{
    RegisterMenuFileType();

    st->menuFile[0] = '\0';
    if (GetPropertyValue(st->cmdLine, "-file", st->menuFile, sizeof(st->menuFile)) <= 0 || !st->menuFile[0])
    {
        MessageBoxA(hwnd, "This application must be run with a -file parameter", NULL, MB_OK | MB_ICONERROR);
        PostQuitMessage(EXIT_NO_FILE);
        return FALSE;
    }
    ReadCoordinate(st->cmdLine, "-x", &st->popupAt.x);
    ReadCoordinate(st->cmdLine, "-y", &st->popupAt.y);

    MenuXP_InitDrawInfo(&st->diNormal, 0);
    MenuXP_InitDrawInfo(&st->diSidebar, 1);
    return TRUE;
}

static void MainWnd_OnShowMenu(HWND hwnd)
{
    MenuIntState* st = WindowState<MenuIntState>(hwnd);
    if (!st->menu.ReadFile(st->menuFile))
    {
        char text[MAX_PATH + 96];
        StrFormat(text, sizeof(text), "Error code %d occurred while trying to read the menu file:\n  %s",
                  st->menu.GetLastError(), st->menuFile);
        MessageBoxA(hwnd, text, NULL, MB_OK | MB_ICONERROR);
        PostQuitMessage(EXIT_READ_FAILED);
        return;
    }

    HMENU popup = CreateMenuPopup(st->menu, st->instance);
    if (!popup)
    {
        PostQuitMessage(EXIT_READ_FAILED);
        return;
    }
    // A menu whose owner is not in the foreground is not closed by a click
    // elsewhere, and the program would wait for ever.
    SetForegroundWindow(hwnd);
    UINT id = (UINT)TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_BOTTOMALIGN, st->popupAt.x,
                                   st->popupAt.y, 0, hwnd, NULL);
    MenuXP_DestroyMenu(popup, 0, 1, 0);

    CPtrTree<CMenuItem>* node = id ? st->menu.FindItem(id) : NULL;
    const CMenuItem* item = node ? node->GetData() : NULL;
    if (!item || !(item->GetStyle() & MENU_STYLE_ITEM))
    {
        PostQuitMessage(EXIT_OK);
        return;
    }

    int result = LaunchMenuItem(item, st->menuFile);
    if (result > 32)
    {
        PostQuitMessage(EXIT_OK);
        return;
    }
    char buf[96];
    MessageBoxA(hwnd, MenuLaunchErrorText(result, buf, sizeof(buf)), MENU_LAUNCH_CAPTION,
                MB_OK | MB_ICONERROR);
    PostQuitMessage(EXIT_LAUNCH_FAILED);
}

static BOOL MainWnd_OnMeasureItem(HWND hwnd, MEASUREITEMSTRUCT* mis)
{
    MenuIntState* st = WindowState<MenuIntState>(hwnd);
    return st && MenuXP_MeasureItem(mis, &st->diNormal) != 0;
}

static BOOL MainWnd_OnDrawItem(HWND hwnd, DRAWITEMSTRUCT* dis)
{
    MenuIntState* st = WindowState<MenuIntState>(hwnd);
    return st && MenuXP_DrawEntry(dis, &st->diNormal, &st->diSidebar) != 0;
}

static void MainWnd_OnDestroy(HWND)
{
    PostQuitMessage(EXIT_OK);
}

static LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
        case WM_NCCREATE:
            SetWindowState(hwnd, ((CREATESTRUCTA*)lParam)->lpCreateParams);
            break;
            HANDLE_MSG(hwnd, WM_DESTROY, MainWnd_OnDestroy);
        case WM_MEASUREITEM:
            if (MainWnd_OnMeasureItem(hwnd, (MEASUREITEMSTRUCT*)lParam))
                return TRUE;
            break;
        case WM_DRAWITEM:
            if (MainWnd_OnDrawItem(hwnd, (DRAWITEMSTRUCT*)lParam))
                return TRUE;
            break;
        case WM_SHOWMENU:
            MainWnd_OnShowMenu(hwnd);
            return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

static BOOL RegisterMainClass(HINSTANCE hInstance)
{
    HICON smallIcon = (HICON)LoadImageA(hInstance, MAKEINTRESOURCEA(IDI_MENUINT), IMAGE_ICON,
                                        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0);
    return RegisterMainWindowClass(hInstance, kClassName, MainWndProc,
                                   LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_MENUINT)), smallIcon, (HBRUSH)1);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int)
{
    static MenuIntState state;
    MenuIntState* st = &state;
    // First thing: where the pointer was when the user opened the menu.
    GetCursorPos(&st->popupAt);
    HANDLE uninstallMutex = HoldSuiteInUseMutex();

    st->instance = hInstance;
    if (!RegisterMainClass(hInstance))
        return 0;
    HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, kWindowTitle, WS_POPUP, -240, -240, 0, 0, NULL,
                                NULL, hInstance, st);
    if (!hwnd)
        return 0;
    ShowWindow(hwnd, SW_SHOW);

    StrCopy(st->cmdLine, lpCmdLine ? lpCmdLine : "");
    if (Initialize(hwnd, st))
        PostMessageA(hwnd, WM_SHOWMENU, 0, 0);

    MSG msg = {};
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    MenuXP_FreeDrawInfo(&st->diNormal);
    MenuXP_FreeDrawInfo(&st->diSidebar);
    if (uninstallMutex)
        CloseHandle(uninstallMutex);
    return (int)msg.wParam;
}
