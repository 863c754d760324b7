// tvint: runs one launch file, one action per posted message, with a thin
// status strip at the top of the screen and the agent's help for the actions
// that belong to it.
//
//     tvint -file="<launch file>"
//     tvint -check -file="<launch file>"      (reports, runs nothing)
//
// Exit codes: 0 when the file ran to its end, 1 after an error or when the
// user stopped it; with -check 0 clean, 1 warnings only, 2 errors.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include "TVInt.h"
#include "check.h"
#include "MMapIPC_win.h"
#include "regutils.h"
#include "xmlutils.h"
#include "interpreter_res.h"
#include "winutils.h"
#include "strutils.h"

#define WM_TVINT_INTERPRET (WM_USER + 1)
#define WM_TVINT_STEP (WM_USER + 2)

enum
{
    TIMER_WAITINGFOROK = 1,
    TIMER_HIDESTATUS = 2,
    TIMER_WAIT = 3,
    TIMER_END = 4
};

enum
{
    EXIT_OK = 0,
    EXIT_STOPPED = 1
};

static const char kClassName[] = "_TVINT_HIDDENMAINWND";
static const char kWindowTitle[] = "Tarvin Interpretor";
static const char kSettingsKey[] = "Software\\Norvale\\Tarvin 2\\Interpreter";
static const char kAgentKey[] = "Software\\Norvale\\Tarvin 2\\Agent";
static const DWORD kOKTimeout = 1000;
static const DWORD kOKRetryTimeout = 500;
static const int kStatusWidth = 320;
static const int kStatusHeight = 18;
static const COLORREF kStatusTextColour = RGB(0, 0, 204);
// While lines run back to back the strip is repainted at once at most this
// often; in between, a line only marks it for repainting.
static const DWORD kStatusRepaintMs = 50;
// The -file value alone may take 259 characters, quotes and switch around it.
static const size_t kCmdLineSize = 1024;

static const char kLogTimeoutText[] =
    "The OK message for a log entry from the Tarvin Agent has timed out.\n\nWould you like to try again?\n\n"
    "   Click Yes to try again.\n   Click No to continue processing the launch file without logging.\n"
    "   Click Cancel to stop processing the launch file.";
static const char kActionTimeoutText[] =
    "The OK message for a launch action from the Tarvin Agent has timed out.\n\nWould you like to try "
    "again?\n\n"
    "   Click Yes to try again.\n   Click No to continue processing the launch file.\n"
    "   Click Cancel to stop processing the launch file.";

static HWND g_hwndMain;
static HINSTANCE g_hInstance;
static char g_szCmdLine[kCmdLineSize];
static char g_szLaunchFile[MAX_PATH];
static CMMapIPC g_ipc;
static CTVInt g_tvint(GetModuleHandleA(NULL), NULL, NULL, NULL, 1, 1, 1, 0, 10);
static UINT g_uNotifyMsg;
static DWORD g_dwStatusTime;
static char g_szStatus[TVINT_TEXT_SIZE];
static int g_bLogging;
static int g_bWaitingForOK;
static int g_bWaitingForLogOK;

// A time-out question is open: an OK that comes in meanwhile is kept for
// the answer instead of starting the next step under the open box.
static int g_bAsking;
static int g_bLateOK;
static int g_bReadErrorShown;
static int g_bQuitting;
static HICON g_hSmallIcon;
static DWORD g_dwStatusPainted;
// Lines came since the strip was last painted.
static int g_bStatusPending;

static DWORD ReadSetting(const char* key, const char* name, DWORD defaultValue)
{
    unsigned long value = defaultValue;
    RegReadDWORD(HKEY_CURRENT_USER, key, name, &value);
    return value;
}

// Nothing runs after the quit is posted: steps and timers already queued
// find the flag.
static void Quit(HWND hwnd, int code)
{
    if (g_bQuitting)
        return;
    g_bQuitting = 1;
    KillTimer(hwnd, TIMER_WAITINGFOROK);
    KillTimer(hwnd, TIMER_WAIT);
    KillTimer(hwnd, TIMER_END);
    PostQuitMessage(code);
}

static void PostStep(HWND hwnd)
{
    if (!g_bQuitting)
        PostMessageA(hwnd, WM_TVINT_STEP, 0, 0);
}

// Painting the strip at every line would cost more than a fast line itself.
// A line that comes within kStatusRepaintMs of the last paint only takes the
// text and leaves the strip marked for painting: the system paints it (and
// the hide timer starts again) as soon as this thread has nothing else to
// do, so it is current whenever the run waits (a Wait, the agent's OK, a
// question, the stay at the end).
static void ShowStatus(HWND hwnd)
{
    if (g_dwStatusTime == 0)
        return;
    StrCopy(g_szStatus, g_tvint.GetError());
    if (IsWindowVisible(hwnd) && GetTickCount() - g_dwStatusPainted < kStatusRepaintMs)
    {
        if (!g_bStatusPending)
        {
            g_bStatusPending = 1;
            InvalidateRect(hwnd, NULL, TRUE);
        }
        return;
    }
    g_bStatusPending = 0;
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, kStatusWidth, kStatusHeight, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(hwnd, NULL, TRUE);
    UpdateWindow(hwnd);
    SetTimer(hwnd, TIMER_HIDESTATUS, g_dwStatusTime, NULL);
}

// With logging on, every action becomes a log entry that the agent must
// acknowledge before the next line.
static void LogOrContinue(HWND hwnd)
{
    if (!g_bLogging)
    {
        PostStep(hwnd);
        return;
    }
    g_tvint.SendLog();
    g_bWaitingForLogOK = 1;
    g_bWaitingForOK = 1;
    SetTimer(hwnd, TIMER_WAITINGFOROK, kOKTimeout, NULL);
}

static BOOL Initialize(HWND hwnd)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                                                 ICC_COOL_CLASSES | ICC_INTERNET_CLASSES |
                                                 ICC_PAGESCROLLER_CLASS | ICC_NATIVEFNTCTL_CLASS |
                                                 ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&icc);

    char exe[MAX_PATH];
    DWORD len = GetModuleFileNameA(NULL, exe, sizeof(exe));
    if (len > 0 && len < sizeof(exe))
    {
        char command[MAX_PATH + 32];
        StrFormat(command, sizeof(command), "\"%s\" -file=\"%%1\"", exe);
        AssociateFile(".launch", "Tarvin.LaunchFile", "Tarvin File", command, "Open");
    }

    g_szLaunchFile[0] = '\0';
    if (GetPropertyValue(g_szCmdLine, "-file", g_szLaunchFile, sizeof(g_szLaunchFile)) <= 0 ||
        !g_szLaunchFile[0])
    {
        MessageBoxA(hwnd, "This application must be run with a -file parameter", NULL, MB_OK | MB_ICONERROR);
        Quit(hwnd, EXIT_STOPPED);
        return FALSE;
    }

    char id[MMAPIPC_ID_SIZE];
    StrFormat(id, sizeof(id), "%d", (int)(INT_PTR)hwnd);
    if (!g_ipc.Init(hwnd, id, MMAPIPC_MUTEX_NAME, MMAPIPC_MEMMAP_NAME))
    {
        char text[96];
        StrFormat(text, sizeof(text), "Unable to initialize interprocess communication:\n   Error code: %d",
                  g_ipc.GetError());
        MessageBoxA(hwnd, text, NULL, MB_OK | MB_ICONWARNING);
        Quit(hwnd, EXIT_STOPPED);
        return FALSE;
    }

    // Seconds; a timer takes at most 0x7FFFFFFF ms.
    DWORD seconds = ReadSetting(kSettingsKey, "Status Window", 2);
    g_dwStatusTime = seconds > USER_TIMER_MAXIMUM / 1000 ? USER_TIMER_MAXIMUM : seconds * 1000;
    if (ReadSetting(kSettingsKey, "Show Status", 1) == 0)
        g_dwStatusTime = 0;
    return TRUE;
}

static void OnInterpret(HWND hwnd)
{
    int confirmExit = (int)ReadSetting(kSettingsKey, "Confirm Exit", 1);
    int confirmShutdown = (int)ReadSetting(kSettingsKey, "Confirm Shutdown", 1);
    int confirmRestart = (int)ReadSetting(kSettingsKey, "Confirm Restart", 1);
    int assumeYes = ReadSetting(kSettingsKey, "Assume Answer", 1) == 0;
    unsigned countdown = (unsigned)ReadSetting(kSettingsKey, "Assume Timeout", 10);
    if (ReadSetting(kSettingsKey, "Allow Assume", 1) == 0)
        countdown = 0;
    g_tvint.Init(g_hInstance, GetDesktopWindow(), g_szLaunchFile, &g_ipc, confirmExit, confirmShutdown,
                 confirmRestart, assumeYes, countdown);
    PostStep(hwnd);
}

static void OnStep(HWND hwnd)
{
    if (g_bQuitting)
        return;
    int result = g_tvint.Step();
    switch (result)
    {
        case TVINT_END:
            SetTimer(hwnd, TIMER_END, g_dwStatusTime, NULL);
            return;
        case TVINT_NOLINES:
            MessageBoxA(hwnd, g_tvint.GetError(), NULL, MB_OK | MB_ICONERROR);
            Quit(hwnd, EXIT_STOPPED);
            return;
        case TVINT_SENT:
            ShowStatus(hwnd);
            SetTimer(hwnd, TIMER_WAITINGFOROK, kOKTimeout, NULL);
            g_bWaitingForOK = 1;
            return;
        case TVINT_WAIT:
            ShowStatus(hwnd);
            SetTimer(hwnd, TIMER_WAIT, (UINT)g_tvint.GetResult(), NULL);
            return;
        case TVINT_CLOSE:
            EnumWindows(CTVInt::CloseEnumWindowsProc, (LPARAM)g_tvint.GetResultText());
            break;
        case TVINT_DESTROY:
            EnumWindows(CTVInt::DestroyEnumWindowsProc, (LPARAM)g_tvint.GetResultText());
            break;
        case TVINT_DONE:
            break;
        default: {
            char text[TVINT_TEXT_SIZE + 128];
            StrFormat(text, sizeof(text),
                      "An error occured:\n\n%s\n\nWould you like to continue to process this launch file?",
                      g_tvint.GetError());
            if (MessageBoxA(hwnd, text, NULL, MB_YESNO | MB_ICONERROR) == IDYES)
                PostStep(hwnd);
            else
                Quit(hwnd, EXIT_STOPPED);
            return;
        }
    }
    ShowStatus(hwnd);
    LogOrContinue(hwnd);
}

// The OK that was awaited: the next line, or first the log entry of an
// agent action.
static void OnAgentOK(HWND hwnd)
{
    if (g_bWaitingForLogOK || !g_bLogging)
    {
        KillTimer(hwnd, TIMER_WAITINGFOROK);
        g_bWaitingForLogOK = 0;
        g_bWaitingForOK = 0;
        PostStep(hwnd);
        return;
    }
    g_tvint.SendLog();
    g_bWaitingForLogOK = 1;
    SetTimer(hwnd, TIMER_WAITINGFOROK, kOKTimeout, NULL);
}

static void OnChannelNotify(HWND hwnd, HWND sender)
{
    if (sender == hwnd || g_bQuitting)
        return;
    if (!g_ipc.ReadMessage(0))
    {
        int error = g_ipc.GetError();
        // An expired message is one whose sender has given up on it: most
        // often another interpreter's OK that its addressee read too late.
        // The read has already cleared the slot; a box would only stop this
        // run for nothing.
        if (error == MMAPIPC_ERR_NOTFORME || error == MMAPIPC_ERR_EMPTY || error == MMAPIPC_ERR_TIMEDOUT ||
            g_bReadErrorShown)
            return;
        char text[96];
        StrFormat(text, sizeof(text), "Interprocess communication read failed.\n   Error code: %d", error);
        g_bReadErrorShown = 1;
        MessageBoxA(hwnd, text, NULL, MB_OK | MB_ICONWARNING);
        g_bReadErrorShown = 0;
        return;
    }
    if (StrCompareNoCase(g_ipc.GetMessage(), "OK") != 0 ||
        StrCompareNoCase(g_ipc.GetMsgObj()->GetFromId(), TVINT_AGENT_ID) != 0 || !g_bWaitingForOK)
        return;
    if (g_bAsking)
    {
        g_bLateOK = 1;
        return;
    }
    OnAgentOK(hwnd);
}

static void OnWaitingForOKTimeout(HWND hwnd)
{
    KillTimer(hwnd, TIMER_WAITINGFOROK);
    if (!g_bWaitingForOK || g_bAsking || g_bQuitting)
        return;

    int forLog = g_bWaitingForLogOK;
    g_bAsking = 1;
    g_bLateOK = 0;
    int answer = MessageBoxA(hwnd, forLog ? kLogTimeoutText : kActionTimeoutText, NULL,
                             MB_YESNOCANCEL | MB_ICONQUESTION);
    g_bAsking = 0;
    if (g_bQuitting)
        return;

    switch (answer)
    {
        case IDYES:
            // Sending again what was served meanwhile would do it twice.
            if (g_bLateOK)
            {
                g_bLateOK = 0;
                OnAgentOK(hwnd);
                return;
            }
            if (forLog)
                g_tvint.SendLog();
            else
                g_tvint.Resend();
            SetTimer(hwnd, TIMER_WAITINGFOROK, kOKRetryTimeout, NULL);
            return;
        case IDNO:
            g_bLateOK = 0;
            g_bWaitingForOK = 0;
            g_bWaitingForLogOK = 0;
            if (forLog)
                g_bLogging = 0;
            PostStep(hwnd);
            return;
        default:
            Quit(hwnd, EXIT_STOPPED);
            return;
    }
}

static void OnHideStatus(HWND hwnd)
{
    if (!IsWindow(hwnd))
        return;
    KillTimer(hwnd, TIMER_HIDESTATUS);
    ShowWindow(hwnd, SW_HIDE);
}

static void OnWaitElapsed(HWND hwnd)
{
    KillTimer(hwnd, TIMER_WAIT);
    if (!g_bQuitting)
        LogOrContinue(hwnd);
}

static void OnPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    HGDIOBJ oldFont = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    if (g_hSmallIcon)
        DrawIconEx(hdc, 1, 1, g_hSmallIcon, 16, 16, 0, NULL, DI_NORMAL);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, kStatusTextColour);
    TextOutA(hdc, 20, 2, g_szStatus, (int)strlen(g_szStatus));
    SelectObject(hdc, oldFont);
    EndPaint(hwnd, &ps);
    g_dwStatusPainted = GetTickCount();
    if (g_bStatusPending)
    {
        g_bStatusPending = 0;
        SetTimer(hwnd, TIMER_HIDESTATUS, g_dwStatusTime, NULL);
    }
}

static void MainWnd_OnTimer(HWND hwnd, UINT id)
{
    switch (id)
    {
        case TIMER_WAITINGFOROK:
            OnWaitingForOKTimeout(hwnd);
            break;
        case TIMER_HIDESTATUS:
            OnHideStatus(hwnd);
            break;
        case TIMER_WAIT:
            OnWaitElapsed(hwnd);
            break;
        case TIMER_END:
            KillTimer(hwnd, TIMER_END);
            Quit(hwnd, EXIT_OK);
            break;
    }
}

// Only when someone else closes the window: the run cannot go on without it.
static void MainWnd_OnDestroy(HWND hwnd)
{
    Quit(hwnd, EXIT_STOPPED);
}

static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_TIMER, MainWnd_OnTimer);
        HANDLE_MSG(hwnd, WM_DESTROY, MainWnd_OnDestroy);
        case WM_TVINT_INTERPRET:
            OnInterpret(hwnd);
            return 0;
        case WM_TVINT_STEP:
            OnStep(hwnd);
            return 0;
    }
    if (msg == g_uNotifyMsg && g_uNotifyMsg != 0)
    {
        OnChannelNotify(hwnd, (HWND)wParam);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int)
{
    if (lpCmdLine && IsCheckCommandLine(lpCmdLine))
        return RunCheck(lpCmdLine);

    HANDLE uninstallMutex = HoldSuiteInUseMutex();
    g_hInstance = hInstance;
    g_uNotifyMsg = RegisterWindowMessageA(MMAPIPC_NOTIFY_NAME);
    g_hSmallIcon = (HICON)LoadImageA(hInstance, TVINT_ICON_NAME, IMAGE_ICON, 16, 16, 0);

    int exitCode = EXIT_STOPPED;
    if (RegisterMainWindowClass(hInstance, kClassName, WindowProcedure, LoadIconA(hInstance, TVINT_ICON_NAME),
                                g_hSmallIcon, (HBRUSH)GetStockObject(WHITE_BRUSH)))
    {
        g_hwndMain = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, kWindowTitle, WS_POPUP, 100, 100, 256, 18,
                                     NULL, NULL, hInstance, NULL);
    }
    if (g_hwndMain)
    {
        g_bLogging = ReadSetting(kAgentKey, "Log File", 0) != 0;
        // The agent must be up before the first log entry.
        if (g_bLogging)
            g_tvint.CheckTVAgent();

        StrCopy(g_szCmdLine, lpCmdLine ? lpCmdLine : "");
        if (Initialize(g_hwndMain))
            PostMessageA(g_hwndMain, WM_TVINT_INTERPRET, 0, 0);

        MSG msg = {};
        BOOL ret;
        while ((ret = GetMessageA(&msg, NULL, 0, 0)) != 0)
        {
            if (ret == -1)
                break;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (ret == 0)
            exitCode = (int)msg.wParam;
    }

    if (g_hwndMain && IsWindow(g_hwndMain))
        DestroyWindow(g_hwndMain);
    if (g_hSmallIcon)
        DestroyIcon(g_hSmallIcon);
    if (uninstallMutex)
        CloseHandle(uninstallMutex);
    return exitCode;
}
