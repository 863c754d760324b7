// tvagent: the suite's resident program. One hidden main window, which is
// also the splash and About view, serves the tray icon, the channel, the hot
// keys and the one-second tick.
#include <windows.h>
#include <windowsx.h>
#include <shellapi.h>

#include "init.h"
#include "regutils.h"
#include "winstate.h"
#include "requests.h"
#include "traymenu.h"
#include "wizard.h"
#include "noExitDlg.h"
#include "agent_res.h"
#include "dirutils_win.h"
#include "winutils.h"
#include "strutils.h"

static const char g_szWebSite[] = "https://www.norvale.example/tarvin";

// --- Painting ----------------------------------------------------------------

// The picture and the two fonts of the About view, made once with the window.
// Without a picture the band stays white; without the fonts the text is
// drawn in the default font.
static void CreatePaintObjects(AgentState* st, HINSTANCE instance)
{
    st->aboutPicture.Reset((HBITMAP)LoadImageA(instance, MAKEINTRESOURCEA(IDB_ABOUT), IMAGE_BITMAP, 0, 0, 0));
    LOGFONTA lf;
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf))
    {
        lf.lfWeight = FW_BOLD;
        st->boldFont.Reset(CreateFontIndirectA(&lf));
        lf.lfWeight = FW_NORMAL;
        st->normalFont.Reset(CreateFontIndirectA(&lf));
    }
}

static void ReleasePaintObjects(AgentState* st)
{
    st->aboutPicture.Reset(nullptr);
    st->boldFont.Reset(nullptr);
    st->normalFont.Reset(nullptr);
}

static void OnPaint(HWND hwnd)
{
    AgentState* st = AgentStateOf(hwnd);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, (HBRUSH)GetStockObject(WHITE_BRUSH));
    FrameRect(dc, &rc, (HBRUSH)GetStockObject(BLACK_BRUSH));
    RECT band = {1, 156, rc.right - 1, rc.bottom - 1};
    FillRect(dc, &band, GetSysColorBrush(COLOR_BTNFACE));

    HBITMAP picture = st ? st->aboutPicture.Get() : nullptr;
    if (picture)
    {
        HDC mem = CreateCompatibleDC(dc);
        if (mem)
        {
            {
                CSelectObject selected(mem, picture);
                BitBlt(dc, 1, 1, 256, 100, mem, 0, 0, SRCCOPY);
            }
            DeleteDC(mem);
        }
    }

    HFONT bold = st ? st->boldFont.Get() : nullptr;
    HFONT normal = st ? st->normalFont.Get() : nullptr;
    HGDIOBJ oldFont = SelectObject(dc, bold ? (HGDIOBJ)bold : GetStockObject(DEFAULT_GUI_FONT));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));

    char line[] = "Tarvin 2 - Version 2.00.";
    RECT text = {2, 102, rc.right - 1, rc.bottom - 1};
    int height = DrawTextExA(dc, line, -1, &text, DT_WORDBREAK, nullptr);
    text.top += height;

    if (normal)
        SelectObject(dc, normal);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    char more[] = "Automation for your desktop.";
    height = DrawTextExA(dc, more, -1, &text, DT_WORDBREAK, nullptr);
    text.top += height;
    char copyright[] = "Copyright (C) Norvale. All rights reserved.";
    DrawTextExA(dc, copyright, -1, &text, DT_WORDBREAK, nullptr);

    SelectObject(dc, oldFont);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
    EndPaint(hwnd, &ps);
}

// --- Tray ----------------------------------------------------------------------

static void OnTrayClick(HWND hwnd, int left)
{
    // One right click can bring both the button-down and the context-menu
    // callback; the second must not track a menu inside the first.
    AgentState* st = AgentStateOf(hwnd);
    if (st->tracking)
        return;
    st->tracking = true;
    POINT pt;
    GetCursorPos(&pt);
    bool mainMenu = left ? st->settings.swopMouse != 0 : st->settings.swopMouse == 0;
    if (!mainMenu)
        ShowTVUserMenu(st->instance, hwnd, pt);
    else
    {
        SetForegroundWindow(hwnd);
        SetFocus(hwnd);
        TrackPopupMenu(st->mainMenu, TPM_RIGHTALIGN | TPM_BOTTOMALIGN, pt.x, pt.y, 0, hwnd, nullptr);
        // Lets the menu close when the user clicks elsewhere next time.
        PostMessageA(hwnd, WM_NULL, 0, 0);
        RedrawTaskbar();
    }
    st->tracking = false;
}

static void MainWnd_OnTray(HWND hwnd, LPARAM lParam)
{
    switch ((UINT)lParam)
    {
        case WM_LBUTTONDOWN:
            OnTrayClick(hwnd, 1);
            break;
        case WM_RBUTTONDOWN:
        case WM_CONTEXTMENU:
            OnTrayClick(hwnd, 0);
            break;
        case WM_LBUTTONDBLCLK:
            OnShowWizard(hwnd);
            break;
    }
}

// --- Splash and About ------------------------------------------------------------

static void ShowSplash(HWND hwnd)
{
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    CenterWindow(hwnd);
    SetTimer(hwnd, AGENT_TIMER_SPLASH, 3000, nullptr);
}

static void ShowAbout(HWND hwnd)
{
    CenterWindow(hwnd);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// --- The one-second tick ---------------------------------------------------------

static void CheckScreenSaverCorner(AgentState* st)
{
    const AgentSettings& settings = st->settings;
    if (!settings.runScreenSaver)
        return;
    POINT pt;
    if (!GetCursorPos(&pt))
        return;
    if (ScreenSaverCornerTick(settings.screenSaverCorner, settings.screenSaverTime, pt.x, pt.y,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), &st->cornerCount))
        SendMessageA(GetDesktopWindow(), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
}

static bool Exists(HWND dlg)
{
    return dlg && IsWindow(dlg);
}

static void CheckNoExitNotice(HWND hwnd)
{
    AgentState* st = AgentStateOf(hwnd);
    if (!st->noExitPending)
        return;
    DWORD exitMessage = RegReadSetting(AGENT_EXIT_MESSAGE);
    if (FindWindowA("_TVMEDIT_MAINWND", nullptr) || FindWindowA("_TVEDIT_MAINWND", nullptr) ||
        FindWindowA("_TVSCHED_MAINWND", nullptr))
        return;
    const AgentDialogs& dlgs = st->dialogs;
    if (Exists(dlgs.pref) || Exists(dlgs.wizard) || Exists(dlgs.hidden) || Exists(dlgs.log) ||
        Exists(dlgs.overdue) || IsWindowVisible(hwnd))
        return;
    if (!exitMessage)
        return;
    OpenNoExitDlg(st->instance, &st->dialogs.noExit);
    st->noExitPending = FALSE;
}

static void OnActionsTimer(HWND hwnd)
{
    CheckScreenSaverCorner(AgentStateOf(hwnd));
    CheckNoExitNotice(hwnd);
    RunDueTasks(hwnd);
    AgentStateOf(hwnd)->hiddenWindows.RetryJournal();
}

// --- Window procedure ------------------------------------------------------------

static void MainWnd_OnTimer(HWND hwnd, UINT id)
{
    if (id == AGENT_TIMER_SPLASH)
    {
        KillTimer(hwnd, AGENT_TIMER_SPLASH);
        ShowWindow(hwnd, SW_HIDE);
        if (RegReadSetting(AGENT_SHOW_WIZARD))
            PostMessageA(hwnd, WM_COMMAND, IDM_STARTUPWIZARD, 0);
    }
    else if (id == AGENT_TIMER_ACTIONS)
        OnActionsTimer(hwnd);
    else if (id == AGENT_TIMER_EXIT)
    {
        KillTimer(hwnd, AGENT_TIMER_EXIT);
        PostQuitMessage(0);
    }
}

static void MainWnd_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    switch (id)
    {
        case IDM_EXIT:
            PostQuitMessage(0);
            break;
        case IDM_EDITOR:
            LaunchFromMyDir("tvedit.exe", nullptr, nullptr, 1);
            break;
        case IDM_ABOUT:
            ShowAbout(hwnd);
            break;
        case IDM_MENUEDITOR:
            LaunchFromMyDir("tvmedit.exe", nullptr, nullptr, 1);
            break;
        case IDM_SCHEDULER:
            LaunchFromMyDir("tvsched.exe", nullptr, nullptr, 1);
            break;
        case IDM_HIDDENWINDOWS:
            OnHiddenWindows(hwnd);
            break;
        case IDM_HELP:
            ShowHelpTopic("tv2.chm::/tvagent_main.html");
            break;
        case IDM_STARTUPWIZARD:
            OnShowWizard(hwnd);
            break;
        case IDM_VIEWLOG:
            OnViewLog(hwnd);
            break;
        case IDM_OVERDUE:
            OnViewOverdue(hwnd);
            break;
        case IDM_PREF_GENERAL:
        case IDM_PREF_SCREENSAVER:
        case IDM_PREF_KEYS:
        case IDM_PREF_LOGGING:
        case IDM_PREF_LAUNCHFILE:
            OnPreferences(hwnd, id);
            break;
        case IDC_WEBLINK:
            ShowWindow(hwnd, SW_HIDE);
            ShellExecuteA(GetDesktopWindow(), "Open", g_szWebSite, nullptr, nullptr, SW_SHOWNORMAL);
            break;
    }
}

static void MainWnd_OnIpcNotify(HWND hwnd, HWND from)
{
    if (from == hwnd)
        return;
    CMMapIPC* ipc = &AgentStateOf(hwnd)->ipc;
    if (ipc->ReadMessage(0))
    {
        OnProcessMessage(hwnd);
        return;
    }
    int error = ipc->GetError();
    // An expired message is read late, typically right after start-up while
    // the first request waited in the queue; its sender times out and sends
    // again, so a box would only stop an unattended run. So would one for a
    // slot without a terminating zero, which only a foreign writer leaves and
    // the next sender overwrites. A notice that comes while a start-up
    // question is open, before the channel is set up, is left for the
    // sender's next attempt in the same way.
    if (error == MMAPIPC_ERR_NOTFORME || error == MMAPIPC_ERR_EMPTY || error == MMAPIPC_ERR_TIMEDOUT ||
        error == MMAPIPC_ERR_TAKETEXT || error == MMAPIPC_ERR_NOTINIT)
        return;
    char text[128];
    StrFormat(text, sizeof(text), "Interprocess communication read failed.\n   Error code: %d", error);
    MessageBoxA(hwnd, text, nullptr, MB_OK | MB_ICONWARNING);
}

static void MainWnd_OnShowAgent(HWND hwnd)
{
    // Brings back an icon lost when the taskbar was restarted.
    CTrayIcon& icon = AgentStateOf(hwnd)->trayIcon;
    icon.Show(false);
    icon.Show(true);
    OnShowWizard(hwnd);
}

// A restarted taskbar forgets every icon and announces itself; a delete first
// keeps an add from failing where the icon survived.
static void MainWnd_OnTaskbarCreated(HWND hwnd)
{
    CTrayIcon& icon = AgentStateOf(hwnd)->trayIcon;
    icon.Show(false);
    icon.Show(true);
}

static void MainWnd_OnLButtonUp(HWND hwnd, int, int, UINT)
{
    ShowWindow(hwnd, SW_HIDE);
}

static void MainWnd_OnHotKey(HWND hwnd, int id, UINT, UINT)
{
    AgentOnHotKey(hwnd, id);
}

static void MainWnd_OnMeasureItem(HWND hwnd, MEASUREITEMSTRUCT* mis)
{
    MenuXP_MeasureItem(mis, &AgentStateOf(hwnd)->diItem);
}

static void MainWnd_OnDrawItem(HWND hwnd, const DRAWITEMSTRUCT* dis)
{
    AgentState* st = AgentStateOf(hwnd);
    MenuXP_DrawEntry(dis, &st->diItem, &st->diSidebar);
}

// The session ends without the message loop ending: the process is ended
// once this message has been answered.
static void MainWnd_OnEndSession(HWND hwnd, BOOL ending)
{
    if (!ending)
        return;
    EndSession(hwnd);
    PostQuitMessage(0);
}

// The one-second tick does not run while the machine sleeps, and a clock set
// forward skips minutes: a task whose minute passed meanwhile is overdue,
// listed for the user as at start-up and never run without asking.
static void MainWnd_OnPowerBroadcast(HWND hwnd, WPARAM event)
{
    if (event == PBT_APMRESUMEAUTOMATIC)
        RecheckOverdueTasks(hwnd);
}

static void MainWnd_OnTimeChange(HWND hwnd)
{
    RecheckOverdueTasks(hwnd);
}

// A window closed by another program goes before the message loop ends: the
// exit steps run now, while it is still whole.
static void MainWnd_OnDestroy(HWND hwnd)
{
    AgentState* st = AgentStateOf(hwnd);
    Uninitialize(st);
    ReleasePaintObjects(st);
    PostQuitMessage(0);
}

// The last message the window gets: from here on nothing reaches the state
// through it.
static void MainWnd_OnNCDestroy(HWND hwnd)
{
    AgentState* st = AgentStateOf(hwnd);
    SetWindowState(hwnd, nullptr);
    if (st)
        st->hwnd = nullptr;
}

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    static const UINT s_taskbarCreatedMsg = RegisterWindowMessageA("TaskbarCreated");
    if (msg == WM_NCCREATE)
    {
        // Everything after this message finds the agent's state on the window.
        AgentState* st = (AgentState*)((CREATESTRUCTA*)lParam)->lpCreateParams;
        SetWindowState(hwnd, st);
        st->hwnd = hwnd;
        CreatePaintObjects(st, ((CREATESTRUCTA*)lParam)->hInstance);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    if (!AgentStateOf(hwnd))
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == s_taskbarCreatedMsg)
    {
        MainWnd_OnTaskbarCreated(hwnd);
        return 0;
    }
    if (msg == IpcNotifyMsg())
    {
        MainWnd_OnIpcNotify(hwnd, (HWND)wParam);
        return 0;
    }
    if (msg == ShowAgentMsg())
    {
        MainWnd_OnShowAgent(hwnd);
        return 0;
    }
    if (msg == ScheduleChangedMsg())
    {
        LoadSchedule(hwnd);
        return 0;
    }
    switch (msg)
    {
        HANDLE_MSG(hwnd, WM_TIMER, MainWnd_OnTimer);
        HANDLE_MSG(hwnd, WM_LBUTTONUP, MainWnd_OnLButtonUp);
        HANDLE_MSG(hwnd, WM_HOTKEY, MainWnd_OnHotKey);
        HANDLE_MSG(hwnd, WM_MEASUREITEM, MainWnd_OnMeasureItem);
        HANDLE_MSG(hwnd, WM_DRAWITEM, MainWnd_OnDrawItem);
        HANDLE_MSG(hwnd, WM_COMMAND, MainWnd_OnCommand);
        HANDLE_MSG(hwnd, WM_DESTROY, MainWnd_OnDestroy);
        case WM_NCDESTROY:
            MainWnd_OnNCDestroy(hwnd);
            break;
            HANDLE_MSG(hwnd, WM_ENDSESSION, MainWnd_OnEndSession);
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_POWERBROADCAST:
            MainWnd_OnPowerBroadcast(hwnd, wParam);
            return TRUE;
        case WM_TIMECHANGE:
            MainWnd_OnTimeChange(hwnd);
            return 0;
        case WM_PAINT:
            OnPaint(hwnd);
            return 0;
        case WM_AGENT_SPLASH:
            ShowSplash(hwnd);
            return 0;
        case WM_AGENT_NOEXIT:
            AgentStateOf(hwnd)->noExitPending = TRUE;
            break;
        case WM_AGENT_TRAY:
            MainWnd_OnTray(hwnd, lParam);
            return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// --- Program -----------------------------------------------------------------------

static bool OfferToDialogs(const AgentDialogs& dlgs, MSG* msg)
{
    HWND dialogs[] = {dlgs.pref, dlgs.wizard, dlgs.noExit, dlgs.hidden, dlgs.log, dlgs.overdue};
    for (HWND dlg : dialogs)
    {
        if (dlg && IsWindow(dlg) && IsDialogMessageA(dlg, msg))
            return true;
    }
    return false;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    AgentState state;
    state.instanceSem = CreateSemaphoreA(nullptr, 1, 1, AGENT_SEMAPHORE_NAME);
    if (GetLastError() == ERROR_ALREADY_EXISTS)
    {
        PostMessageA(HWND_BROADCAST, ShowAgentMsg(), 0, 0);
        return 0;
    }
    // Held for the program's life: an installer sees the suite in use.
    HoldSuiteInUseMutex();

    state.instance = instance;
    HICON icon = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(IDA_MAIN), IMAGE_ICON, 32, 32, 0);
    HICON smallIcon = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(IDA_MAIN), IMAGE_ICON, 16, 16, 0);
    if (!RegisterMainWindowClass(instance, AGENT_WINDOW_CLASS, WindowProcedure, icon, smallIcon,
                                 (HBRUSH)GetStockObject(WHITE_BRUSH)))
        return 0;

    HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, AGENT_WINDOW_CLASS, AGENT_WINDOW_TITLE, WS_POPUP, 100, 100,
                                258, 172, nullptr, nullptr, instance, &state);
    if (!hwnd)
        return 0;

    Initialize(hwnd);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
    {
        if (OfferToDialogs(state.dialogs, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // The exit steps, then the window, then (on return) the state the
    // window refers to.
    Uninitialize(&state);
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
    return (int)msg.wParam;
}
