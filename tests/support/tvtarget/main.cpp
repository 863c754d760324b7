// tvtarget: the application that end-to-end tests launch, hide, close, kill
// and read. It records how it was started and what happened to it.
//
//   tvtarget.exe [-title=T]... [-owned=T]... [-class=C] [-record=FILE]
//                [-exitcode=N] [-refuseclose] [-hidden] [-controls]
//                [-msgbox=TEXT] [-tray=TIP] [-memory=KB]
//
// -title      a top-level window with this title (repeatable; default "TV Target")
// -owned      a tool window owned by the first window (repeatable)
// -class      window class of the top-level windows (default "TVTargetWindow")
// -record     FILE receives "key=value" lines once the windows are shown:
//             pid, cmdline, cwd, show (STARTUPINFO.wShowWindow, -1 when not
//             given), ncmdshow, zoomed, iconic, visible, windows; it appears
//             complete in one step. Later events are appended as
//             "event=..." lines: button:<id>, command:<id>, close,
//             close-refused, msgbox:<result>, tray:<mouse message>, exit:<code>.
// -exitcode   exit code once the last top-level window is destroyed
// -refuseclose  WM_CLOSE is refused (the window stays until destroyed or killed)
// -hidden     the windows are created but not shown
// -controls   the first window holds one control of each kind the driver
//             reads (ids in tvtarget.h)
// -msgbox     a Yes/No/Cancel question box "TV Target Question" with TEXT,
//             owned by the first window
// -tray       a tray icon with tooltip TIP
// -memory     commits and touches KB kilobytes
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <shellapi.h>
#include <stdlib.h>
#include "tvtarget.h"
#include "strutils.h"

static const UINT WM_APP_MSGBOX = WM_APP + 1;
static const UINT WM_APP_TRAY = WM_APP + 2;
static const UINT TRAY_ICON_ID = 1;
static const int MAX_WINDOWS = 16;

static const char g_szToolClass[] = TARGET_TOOL_CLASS;

static const char* g_titles[MAX_WINDOWS];
static int g_nTitles;
static const char* g_owned[MAX_WINDOWS];
static int g_nOwned;
static const char* g_className = TARGET_CLASS;
static char g_szRecord[MAX_PATH];
static int g_exitCode;
static bool g_refuseClose;
static bool g_hidden;
static bool g_controls;
static const char* g_msgbox;
static const char* g_trayTip;
static DWORD g_memoryKb;

static HWND g_firstWindow;
static int g_openWindows;
static bool g_trayAdded;

static bool TakeOption(const char* arg, const char* name, const char** value)
{
    size_t len = strlen(name);
    if (strncmp(arg, name, len) != 0 || arg[len] != '=')
        return false;
    *value = arg + len + 1;
    return true;
}

static void ParseArgs()
{
    for (int i = 1; i < __argc; i++)
    {
        const char* arg = __argv[i];
        const char* value;
        if (TakeOption(arg, "-title", &value))
        {
            if (g_nTitles < MAX_WINDOWS)
                g_titles[g_nTitles++] = value;
        }
        else if (TakeOption(arg, "-owned", &value))
        {
            if (g_nOwned < MAX_WINDOWS)
                g_owned[g_nOwned++] = value;
        }
        else if (TakeOption(arg, "-class", &value))
            g_className = value;
        else if (TakeOption(arg, "-record", &value))
            StrCopy(g_szRecord, value);
        else if (TakeOption(arg, "-exitcode", &value))
            g_exitCode = atoi(value);
        else if (TakeOption(arg, "-msgbox", &value))
            g_msgbox = value;
        else if (TakeOption(arg, "-tray", &value))
            g_trayTip = value;
        else if (TakeOption(arg, "-memory", &value))
            g_memoryKb = strtoul(value, NULL, 10);
        else if (strcmp(arg, "-refuseclose") == 0)
            g_refuseClose = true;
        else if (strcmp(arg, "-hidden") == 0)
            g_hidden = true;
        else if (strcmp(arg, "-controls") == 0)
            g_controls = true;
    }
    if (g_nTitles == 0)
        g_titles[g_nTitles++] = TARGET_DEFAULT_TITLE;
}

// --- The record file -----------------------------------------------------

static bool WriteText(HANDLE file, const char* text)
{
    DWORD written;
    DWORD len = (DWORD)strlen(text);
    return WriteFile(file, text, len, &written, NULL) && written == len;
}

static bool WriteLine(HANDLE file, const char* key, const char* value)
{
    return WriteText(file, key) && WriteText(file, "=") && WriteText(file, value) && WriteText(file, "\r\n");
}

static bool WriteNumber(HANDLE file, const char* key, long value)
{
    char text[32];
    StrFormat(text, sizeof(text), "%ld", value);
    return WriteLine(file, key, text);
}

// Written beside the target and renamed into place, so a reader never sees
// half a record.
static void WriteRecord(int nCmdShow)
{
    if (!g_szRecord[0])
        return;
    char temp[MAX_PATH];
    if (!StrFormat(temp, sizeof(temp), "%s.tmp", g_szRecord))
        return;
    HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;

    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    GetStartupInfoA(&si);
    char cwd[MAX_PATH];
    if (!GetCurrentDirectoryA(sizeof(cwd), cwd))
        cwd[0] = '\0';

    bool ok = WriteNumber(file, "pid", (long)GetCurrentProcessId()) &&
              WriteLine(file, "cmdline", GetCommandLineA()) && WriteLine(file, "cwd", cwd) &&
              WriteNumber(file, "show", (si.dwFlags & STARTF_USESHOWWINDOW) ? (long)si.wShowWindow : -1L) &&
              WriteNumber(file, "ncmdshow", nCmdShow) &&
              WriteNumber(file, "zoomed", IsZoomed(g_firstWindow) ? 1 : 0) &&
              WriteNumber(file, "iconic", IsIconic(g_firstWindow) ? 1 : 0) &&
              WriteNumber(file, "visible", IsWindowVisible(g_firstWindow) ? 1 : 0) &&
              WriteNumber(file, "windows", g_openWindows);
    CloseHandle(file);
    if (!ok || !MoveFileExA(temp, g_szRecord, MOVEFILE_REPLACE_EXISTING))
        DeleteFileA(temp);
}

static void RecordEvent(const char* fmt, ...)
{
    if (!g_szRecord[0])
        return;
    char text[256];
    va_list args;
    va_start(args, fmt);
    StrFormatV(text, sizeof(text), fmt, args);
    va_end(args);

    HANDLE file = CreateFileA(g_szRecord, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    WriteLine(file, "event", text);
    CloseHandle(file);
}

// --- Controls ------------------------------------------------------------

static HWND AddControl(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w,
                       int h, int id)
{
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           (HMENU)(INT_PTR)id, GetModuleHandleA(NULL), NULL);
}

static HTREEITEM AddTreeItem(HWND tree, HTREEITEM parent, const char* text)
{
    TVINSERTSTRUCTA tvis;
    ZeroMemory(&tvis, sizeof(tvis));
    tvis.hParent = parent;
    tvis.hInsertAfter = TVI_LAST;
    tvis.item.mask = TVIF_TEXT;
    tvis.item.pszText = (LPSTR)text;
    return (HTREEITEM)SendMessageA(tree, TVM_INSERTITEMA, 0, (LPARAM)&tvis);
}

static void CreateControls(HWND hwnd)
{
    AddControl(hwnd, "BUTTON", "&Press Me", BS_PUSHBUTTON, 8, 8, 100, 24, TARGET_ID_BUTTON);
    HWND disabled =
        AddControl(hwnd, "BUTTON", "Disabled", BS_PUSHBUTTON, 116, 8, 100, 24, TARGET_ID_DISABLED);
    EnableWindow(disabled, FALSE);
    AddControl(hwnd, "EDIT", "edit text", WS_BORDER | ES_AUTOHSCROLL, 224, 8, 120, 24, TARGET_ID_EDIT);

    HWND list = AddControl(hwnd, WC_LISTVIEWA, "", WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS, 8, 40, 300,
                           120, TARGET_ID_LISTVIEW);
    static const char* const columns[] = {"Name", "Value", "Note"};
    for (int c = 0; c < 3; c++)
    {
        LVCOLUMNA col;
        ZeroMemory(&col, sizeof(col));
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 90;
        col.pszText = (LPSTR)columns[c];
        SendMessageA(list, LVM_INSERTCOLUMNA, c, (LPARAM)&col);
    }
    static const char* const rows[][3] = {
        {"alpha", "1", "first"}, {"beta", "2", ""}, {"gamma", "3", "third row"}};
    for (int r = 0; r < 3; r++)
    {
        LVITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = (LPSTR)rows[r][0];
        SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
        for (int c = 1; c < 3; c++)
        {
            item.iSubItem = c;
            item.pszText = (LPSTR)rows[r][c];
            SendMessageA(list, LVM_SETITEMTEXTA, r, (LPARAM)&item);
        }
    }

    HWND tree =
        AddControl(hwnd, WC_TREEVIEWA, "", WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, 316,
                   40, 200, 120, TARGET_ID_TREE);
    HTREEITEM root = AddTreeItem(tree, TVI_ROOT, "Root");
    HTREEITEM childA = AddTreeItem(tree, root, "Child A");
    AddTreeItem(tree, childA, "Grandchild");
    AddTreeItem(tree, root, "Child B");
    AddTreeItem(tree, TVI_ROOT, "Other");

    HWND combo =
        AddControl(hwnd, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 8, 168, 150, 120, TARGET_ID_COMBO);
    SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM) "One");
    SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM) "Two");
    SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM) "Three");
    SendMessageA(combo, CB_SETCURSEL, 1, 0);

    HWND listBox =
        AddControl(hwnd, "LISTBOX", "", WS_BORDER | LBS_NOTIFY, 166, 168, 150, 60, TARGET_ID_LISTBOX);
    SendMessageA(listBox, LB_ADDSTRING, 0, (LPARAM) "first item");
    SendMessageA(listBox, LB_ADDSTRING, 0, (LPARAM) "second item");

    HWND status = AddControl(hwnd, STATUSCLASSNAMEA, "", 0, 0, 0, 0, 0, TARGET_ID_STATUS);
    int parts[] = {100, 250, -1};
    SendMessageA(status, SB_SETPARTS, 3, (LPARAM)parts);
    SendMessageA(status, SB_SETTEXTA, 0, (LPARAM) "Ready");
    SendMessageA(status, SB_SETTEXTA, 1, (LPARAM) "Part two");
}

// --- Top-level windows ---------------------------------------------------

static void AddTrayIcon(HWND hwnd)
{
    NOTIFYICONDATAA nid;
    ZeroMemory(&nid, sizeof(nid));
    nid.cbSize = sizeof(nid);
    nid.hWnd = hwnd;
    nid.uID = TRAY_ICON_ID;
    nid.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    nid.uCallbackMessage = WM_APP_TRAY;
    nid.hIcon = LoadIcon(NULL, IDI_APPLICATION);
    StrCopy(nid.szTip, g_trayTip);
    g_trayAdded = Shell_NotifyIconA(NIM_ADD, &nid) != 0;
}

static void RemoveTrayIcon(HWND hwnd)
{
    if (!g_trayAdded)
        return;
    NOTIFYICONDATAA nid;
    ZeroMemory(&nid, sizeof(nid));
    nid.cbSize = sizeof(nid);
    nid.hWnd = hwnd;
    nid.uID = TRAY_ICON_ID;
    Shell_NotifyIconA(NIM_DELETE, &nid);
    g_trayAdded = false;
}

static void Target_OnCommand(HWND, int id, HWND ctl, UINT code)
{
    if (ctl && code == BN_CLICKED)
        RecordEvent("button:%d", id);
    else if (!ctl)
        RecordEvent("command:%d", id);
}

static void Target_OnClose(HWND hwnd)
{
    if (g_refuseClose)
    {
        RecordEvent("close-refused");
        return;
    }
    RecordEvent("close");
    DestroyWindow(hwnd);
}

static void Target_OnDestroy(HWND hwnd)
{
    if (hwnd == g_firstWindow)
        RemoveTrayIcon(hwnd);
    if (--g_openWindows == 0)
    {
        RecordEvent("exit:%d", g_exitCode);
        PostQuitMessage(g_exitCode);
    }
}

static void Target_OnSize(HWND hwnd, UINT, int, int)
{
    HWND status = GetDlgItem(hwnd, TARGET_ID_STATUS);
    if (status)
        SendMessageA(status, WM_SIZE, 0, 0);
}

static LRESULT CALLBACK TargetWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
        HANDLE_MSG(hwnd, WM_COMMAND, Target_OnCommand);
        HANDLE_MSG(hwnd, WM_CLOSE, Target_OnClose);
        HANDLE_MSG(hwnd, WM_DESTROY, Target_OnDestroy);
        HANDLE_MSG(hwnd, WM_SIZE, Target_OnSize);
    }
    if (msg == WM_APP_MSGBOX)
    {
        int answer = MessageBoxA(hwnd, g_msgbox, TARGET_MSGBOX_CAPTION, MB_YESNOCANCEL | MB_ICONQUESTION);
        RecordEvent("msgbox:%d", answer);
        return 0;
    }
    if (msg == WM_APP_TRAY)
    {
        RecordEvent("tray:%u", (unsigned)LOWORD(lParam));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

static bool RegisterClasses(HINSTANCE instance)
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = TargetWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hIcon = LoadIcon(NULL, IDI_APPLICATION);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = g_className;
    if (!RegisterClassA(&wc))
        return false;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = g_szToolClass;
    return RegisterClassA(&wc) != 0;
}

static void TouchMemory(DWORD kb)
{
    if (kb == 0)
        return;
    SIZE_T size = (SIZE_T)kb * 1024;
    BYTE* p = (BYTE*)VirtualAlloc(NULL, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!p)
        return;
    // Touch every page so it counts in the working set; it is never freed.
    for (SIZE_T i = 0; i < size; i += 4096)
        p[i] = 1;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int nCmdShow)
{
    ParseArgs();
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    if (!RegisterClasses(instance))
        return 100;
    TouchMemory(g_memoryKb);

    for (int i = 0; i < g_nTitles; i++)
    {
        HWND hwnd = CreateWindowExA(0, g_className, g_titles[i], WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 560, 300, NULL, NULL, instance, NULL);
        if (!hwnd)
            return 101;
        g_openWindows++;
        if (i == 0)
        {
            g_firstWindow = hwnd;
            if (g_controls)
                CreateControls(hwnd);
        }
        if (!g_hidden)
            ShowWindow(hwnd, i == 0 ? nCmdShow : SW_SHOWNORMAL);
    }
    for (int i = 0; i < g_nOwned; i++)
    {
        HWND tool = CreateWindowExA(WS_EX_TOOLWINDOW, g_szToolClass, g_owned[i],
                                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                                    200, 120, g_firstWindow, NULL, instance, NULL);
        if (tool && !g_hidden)
            ShowWindow(tool, SW_SHOWNOACTIVATE);
    }
    if (g_trayTip)
        AddTrayIcon(g_firstWindow);
    WriteRecord(nCmdShow);
    if (g_msgbox)
        PostMessageA(g_firstWindow, WM_APP_MSGBOX, 0, 0);

    MSG msg;
    BOOL ret;
    while ((ret = GetMessageA(&msg, NULL, 0, 0)) != 0)
    {
        if (ret == -1)
            return 102;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
