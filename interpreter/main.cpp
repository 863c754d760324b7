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

#include "TVInt.h"
#include "winstate.h"
#include "check.h"
#include "tvintTimes.h"
#include "MMapIPC_win.h"
#include "regutils.h"
#include "interpreterSettings.h"
#include "agentSettings.h"
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
static const DWORD kOKTimeout = TVINT_OK_TIMEOUT;
static const DWORD kOKRetryTimeout = 500;
// How often a request the agent has not read yet is sent again without
// asking, while the agent's window is there (a busy machine, not a lost OK).
static const int kQuietResends = 4;
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

// Where the run stands. Each line is one posted step; between steps the run
// waits on exactly one thing. The status strip shows and hides itself beside
// this, on its own timer.
enum RunState
{
    RUN_STARTING,        // the file is not loaded yet
    RUN_STEPPING,        // the next step is posted
    RUN_WAITING,         // a Wait action: its timer runs
    RUN_AWAITING_OK,     // an agent action was sent: its OK, or the time-out
    RUN_AWAITING_LOG_OK, // a log entry was sent: its OK, or the time-out
    RUN_ASKING,          // the OK timed out and the question is open
    RUN_ENDING,          // past the last line: the stay at the end
    RUN_QUITTING         // the quit is posted: nothing runs any more
};

struct StatusStrip
{
    DWORD time = 0; // ms it stays up; 0: never shown
    char text[TVINT_TEXT_SIZE] = {};
    DWORD painted = 0;    // tick of the last paint
    bool pending = false; // lines came since the strip was last painted
    HICON icon = NULL;
};

// Everything the main window owns, reached through GWLP_USERDATA.
struct IntState
{
    explicit IntState(HINSTANCE inst) : instance(inst), tvint(inst, NULL, NULL, NULL, 1, 1, 1, 0, 10)
    {
    }
    IntState(const IntState&) = delete;
    IntState& operator=(const IntState&) = delete;

    HWND hwnd = NULL;
    HINSTANCE instance;
    UINT notifyMsg = 0;
    char cmdLine[kCmdLineSize] = {};
    char launchFile[MAX_PATH] = {};
    CMMapIPC ipc;
    CTVInt tvint;
    RunState run = RUN_STARTING;
    // The agent's logging; No to the log question turns it off for the rest
    // of the run.
    bool logging = false;
    // An OK came while the time-out question was open: it is kept for the
    // answer instead of starting the next step under the open box.
    bool lateOK = false;
    // A read-error box is open; further read errors meanwhile say nothing.
    bool readErrorOpen = false;
    // Requests of the current wait sent again because the agent had not read them.
    int quietResends = 0;
    StatusStrip status;
};

// --- Transitions of the run ------------------------------------------------------

// Once the quit is posted the run stays there: steps and timers already queued
// find it and do nothing.
static void SetRun(IntState* st, RunState next)
{
    if (st->run != RUN_QUITTING)
        st->run = next;
}

static void Quit(IntState* st, int code)
{
    if (st->run == RUN_QUITTING)
        return;
    st->run = RUN_QUITTING;
    KillTimer(st->hwnd, TIMER_WAITINGFOROK);
    KillTimer(st->hwnd, TIMER_WAIT);
    KillTimer(st->hwnd, TIMER_END);
    PostQuitMessage(code);
}

static void ToStepping(IntState* st)
{
    SetRun(st, RUN_STEPPING);
    if (st->run != RUN_QUITTING)
        PostMessageA(st->hwnd, WM_TVINT_STEP, 0, 0);
}

static void ToWaiting(IntState* st, UINT ms)
{
    SetTimer(st->hwnd, TIMER_WAIT, ms, NULL);
    SetRun(st, RUN_WAITING);
}

static void ToAwaitingOK(IntState* st)
{
    SetTimer(st->hwnd, TIMER_WAITINGFOROK, kOKTimeout, NULL);
    st->quietResends = 0;
    SetRun(st, RUN_AWAITING_OK);
}

// The run only counts as waiting for the log OK once the entry is sent.
static void ToAwaitingLogOK(IntState* st)
{
    st->tvint.SendLog();
    SetRun(st, RUN_AWAITING_LOG_OK);
    st->quietResends = 0;
    SetTimer(st->hwnd, TIMER_WAITINGFOROK, kOKTimeout, NULL);
}

// The strip stays up for its time after the last line; without a strip the
// run ends at once (a timer of 0 ms would still take the system's minimum).
static void ToEnding(IntState* st)
{
    if (st->status.time == 0)
    {
        Quit(st, EXIT_OK);
        return;
    }
    SetTimer(st->hwnd, TIMER_END, st->status.time, NULL);
    SetRun(st, RUN_ENDING);
}

// With logging on, every action becomes a log entry that the agent must
// acknowledge before the next line.
static void LogOrContinue(IntState* st)
{
    if (st->logging)
        ToAwaitingLogOK(st);
    else
        ToStepping(st);
}

// The question is open: an OK that comes in meanwhile is only noted.
static void ToAsking(IntState* st)
{
    SetRun(st, RUN_ASKING);
    st->lateOK = false;
}

// The question is answered: the run waits for the same OK again, unless the
// answer moves it on.
static void EndAsking(IntState* st, bool forLog)
{
    SetRun(st, forLog ? RUN_AWAITING_LOG_OK : RUN_AWAITING_OK);
}

// The OK that was awaited: the next line, or first the log entry of an
// agent action.
static void OnAgentOK(IntState* st)
{
    if (st->run == RUN_AWAITING_LOG_OK || !st->logging)
    {
        KillTimer(st->hwnd, TIMER_WAITINGFOROK);
        ToStepping(st);
        return;
    }
    ToAwaitingLogOK(st);
}

// --- Status strip -----------------------------------------------------------------

// Painting the strip at every line would cost more than a fast line itself.
// A line that comes within kStatusRepaintMs of the last paint only takes the
// text and leaves the strip marked for painting: the system paints it (and
// the hide timer starts again) as soon as this thread has nothing else to
// do, so it is current whenever the run waits (a Wait, the agent's OK, a
// question, the stay at the end).
static void ShowStatus(IntState* st)
{
    StatusStrip& status = st->status;
    if (status.time == 0)
        return;
    HWND hwnd = st->hwnd;
    StrCopy(status.text, st->tvint.GetError());
    if (IsWindowVisible(hwnd) && GetTickCount() - status.painted < kStatusRepaintMs)
    {
        if (!status.pending)
        {
            status.pending = true;
            InvalidateRect(hwnd, NULL, TRUE);
        }
        return;
    }
    status.pending = false;
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, kStatusWidth, kStatusHeight, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(hwnd, NULL, TRUE);
    UpdateWindow(hwnd);
    SetTimer(hwnd, TIMER_HIDESTATUS, status.time, NULL);
}

static void OnHideStatus(HWND hwnd)
{
    if (!IsWindow(hwnd))
        return;
    KillTimer(hwnd, TIMER_HIDESTATUS);
    ShowWindow(hwnd, SW_HIDE);
}

static void OnPaint(HWND hwnd)
{
    StatusStrip& status = WindowState<IntState>(hwnd)->status;
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    HGDIOBJ oldFont = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    if (status.icon)
        DrawIconEx(hdc, 1, 1, status.icon, 16, 16, 0, NULL, DI_NORMAL);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, kStatusTextColour);
    TextOutA(hdc, 20, 2, status.text, (int)strlen(status.text));
    SelectObject(hdc, oldFont);
    EndPaint(hwnd, &ps);
    status.painted = GetTickCount();
    if (status.pending)
    {
        status.pending = false;
        SetTimer(hwnd, TIMER_HIDESTATUS, status.time, NULL);
    }
}

// --- The run ----------------------------------------------------------------------

static BOOL Initialize(IntState* st)
{
    char exe[MAX_PATH];
    DWORD len = GetModuleFileNameA(NULL, exe, sizeof(exe));
    if (len > 0 && len < sizeof(exe))
    {
        char command[MAX_PATH + 32];
        StrFormat(command, sizeof(command), "\"%s\" -file=\"%%1\"", exe);
        AssociateFile(".launch", "Tarvin.LaunchFile", "Tarvin File", command, "Open");
    }

    HWND hwnd = st->hwnd;
    st->launchFile[0] = '\0';
    if (GetPropertyValue(st->cmdLine, "-file", st->launchFile, sizeof(st->launchFile)) <= 0 ||
        !st->launchFile[0])
    {
        MessageBoxA(hwnd, "This application must be run with a -file parameter", NULL, MB_OK | MB_ICONERROR);
        Quit(st, EXIT_STOPPED);
        return FALSE;
    }

    // The run has nothing else to do while its request waits for the slot,
    // which other launch files talking to the agent keep busy: it waits three
    // times as long as the channel's default before giving up.
    st->ipc.SetDefaults(30, 100, 250, 250, MMAPIPC_MSG_SIZE);
    char id[MMAPIPC_ID_SIZE];
    StrFormat(id, sizeof(id), "%d", (int)(INT_PTR)hwnd);
    if (!st->ipc.Init(hwnd, id, MMAPIPC_MUTEX_NAME, MMAPIPC_MEMMAP_NAME))
    {
        char text[96];
        StrFormat(text, sizeof(text), "Unable to initialize interprocess communication:\n   Error code: %d",
                  st->ipc.GetError());
        MessageBoxA(hwnd, text, NULL, MB_OK | MB_ICONWARNING);
        Quit(st, EXIT_STOPPED);
        return FALSE;
    }

    st->status.time = StatusStripMilliseconds(RegReadSetting(INTERPRETER_STATUS_WINDOW),
                                              RegReadSetting(INTERPRETER_SHOW_STATUS) != 0);
    return TRUE;
}

static void OnInterpret(HWND hwnd)
{
    IntState* st = WindowState<IntState>(hwnd);
    if (st->run != RUN_STARTING)
        return;
    int confirmExit = (int)RegReadSetting(INTERPRETER_CONFIRM_EXIT);
    int confirmShutdown = (int)RegReadSetting(INTERPRETER_CONFIRM_SHUTDOWN);
    int confirmRestart = (int)RegReadSetting(INTERPRETER_CONFIRM_RESTART);
    int assumeYes = RegReadSetting(INTERPRETER_ASSUME_ANSWER) == 0;
    unsigned countdown = (unsigned)RegReadSetting(INTERPRETER_ASSUME_TIMEOUT);
    if (RegReadSetting(INTERPRETER_ALLOW_ASSUME) == 0)
        countdown = 0;
    st->tvint.Init(st->instance, GetDesktopWindow(), st->launchFile, &st->ipc, confirmExit, confirmShutdown,
                   confirmRestart, assumeYes, countdown);
    ToStepping(st);
}

static void OnStep(HWND hwnd)
{
    IntState* st = WindowState<IntState>(hwnd);
    if (st->run != RUN_STEPPING)
        return;
    CTVInt& tvint = st->tvint;
    switch (tvint.Step())
    {
        case TVINT_END:
            ToEnding(st);
            return;
        case TVINT_NOLINES:
            MessageBoxA(hwnd, tvint.GetError(), NULL, MB_OK | MB_ICONERROR);
            Quit(st, EXIT_STOPPED);
            return;
        case TVINT_SENT:
            ShowStatus(st);
            ToAwaitingOK(st);
            return;
        case TVINT_WAIT:
            ShowStatus(st);
            ToWaiting(st, (UINT)tvint.GetResult());
            return;
        case TVINT_CLOSE:
            EnumWindows(CTVInt::CloseEnumWindowsProc, (LPARAM)tvint.GetResultText());
            break;
        case TVINT_DESTROY:
            EnumWindows(CTVInt::DestroyEnumWindowsProc, (LPARAM)tvint.GetResultText());
            break;
        case TVINT_DONE:
            break;
        default: {
            char text[TVINT_TEXT_SIZE + 128];
            StrFormat(text, sizeof(text),
                      "An error occured:\n\n%s\n\nWould you like to continue to process this launch file?",
                      tvint.GetError());
            if (MessageBoxA(hwnd, text, NULL, MB_YESNO | MB_ICONERROR) == IDYES)
                ToStepping(st);
            else
                Quit(st, EXIT_STOPPED);
            return;
        }
    }
    ShowStatus(st);
    LogOrContinue(st);
}

static void ShowReadError(IntState* st, int error)
{
    // An expired message is one whose sender has given up on it: most often
    // another interpreter's OK that its addressee read too late. The read has
    // already cleared the slot; a box would only stop this run for nothing.
    if (error == MMAPIPC_ERR_NOTFORME || error == MMAPIPC_ERR_EMPTY || error == MMAPIPC_ERR_TIMEDOUT ||
        st->readErrorOpen)
        return;
    char text[96];
    StrFormat(text, sizeof(text), "Interprocess communication read failed.\n   Error code: %d", error);
    st->readErrorOpen = true;
    MessageBoxA(st->hwnd, text, NULL, MB_OK | MB_ICONWARNING);
    st->readErrorOpen = false;
}

static void OnChannelNotify(HWND hwnd, HWND sender)
{
    IntState* st = WindowState<IntState>(hwnd);
    if (sender == hwnd || st->run == RUN_QUITTING)
        return;
    CMMapIPC& ipc = st->ipc;
    if (!ipc.ReadMessage(0))
    {
        ShowReadError(st, ipc.GetError());
        return;
    }
    if (!IsAgentReplyOK(ipc.GetMessage(), ipc.GetMsgObj()->GetFromId()))
        return;
    switch (st->run)
    {
        case RUN_AWAITING_OK:
        case RUN_AWAITING_LOG_OK:
            OnAgentOK(st);
            return;
        case RUN_ASKING:
            st->lateOK = true;
            return;
        default:
            return; // nothing is awaited
    }
}

// Sends the awaited log entry or request once more and waits for its OK.
static void SendAgain(IntState* st, bool forLog, DWORD wait)
{
    if (forLog)
        st->tvint.SendLog();
    else
        st->tvint.Resend();
    SetTimer(st->hwnd, TIMER_WAITINGFOROK, wait, NULL);
}

static void OnWaitingForOKTimeout(HWND hwnd)
{
    IntState* st = WindowState<IntState>(hwnd);
    KillTimer(hwnd, TIMER_WAITINGFOROK);
    if (st->run != RUN_AWAITING_OK && st->run != RUN_AWAITING_LOG_OK)
        return;

    bool forLog = st->run == RUN_AWAITING_LOG_OK;
    // On a busy machine the agent may not have come to read the request yet.
    // While its window is there and the request still waits unread in the
    // slot, the request is taken back and sent again, a few times, before the
    // user is asked. One the agent has read is never sent twice this way.
    if (st->quietResends < kQuietResends && FindWindowA(AGENT_WINDOW_CLASS, NULL) &&
        st->ipc.Withdraw(AGENT_CHANNEL_ID))
    {
        st->quietResends++;
        SendAgain(st, forLog, kOKTimeout);
        return;
    }
    ToAsking(st);
    int answer = MessageBoxA(hwnd, forLog ? kLogTimeoutText : kActionTimeoutText, NULL,
                             MB_YESNOCANCEL | MB_ICONQUESTION);
    if (st->run == RUN_QUITTING)
        return;
    EndAsking(st, forLog);

    switch (answer)
    {
        case IDYES:
            // Sending again what was served meanwhile would do it twice.
            if (st->lateOK)
            {
                st->lateOK = false;
                OnAgentOK(st);
                return;
            }
            SendAgain(st, forLog, kOKRetryTimeout);
            return;
        case IDNO:
            st->lateOK = false;
            if (forLog)
                st->logging = false;
            ToStepping(st);
            return;
        default:
            Quit(st, EXIT_STOPPED);
            return;
    }
}

static void OnWaitElapsed(HWND hwnd)
{
    IntState* st = WindowState<IntState>(hwnd);
    KillTimer(hwnd, TIMER_WAIT);
    if (st->run == RUN_WAITING)
        LogOrContinue(st);
}

static void OnEndReached(HWND hwnd)
{
    IntState* st = WindowState<IntState>(hwnd);
    KillTimer(hwnd, TIMER_END);
    Quit(st, EXIT_OK);
}

// --- Window procedure -------------------------------------------------------------

static BOOL MainWnd_OnNCCreate(HWND hwnd, LPCREATESTRUCT cs)
{
    IntState* st = (IntState*)cs->lpCreateParams;
    st->hwnd = hwnd;
    SetWindowState(hwnd, st);
    return FORWARD_WM_NCCREATE(hwnd, cs, DefWindowProcA);
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
            OnEndReached(hwnd);
            break;
    }
}

// Only when someone else closes the window: the run cannot go on without it.
static void MainWnd_OnDestroy(HWND hwnd)
{
    Quit(WindowState<IntState>(hwnd), EXIT_STOPPED);
}

static void MainWnd_OnNCDestroy(HWND hwnd)
{
    SetWindowState(hwnd, nullptr);
}

static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE)
        return HANDLE_WM_NCCREATE(hwnd, wParam, lParam, MainWnd_OnNCCreate);
    IntState* st = WindowState<IntState>(hwnd);
    if (!st)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg)
    {
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_TIMER, MainWnd_OnTimer);
        HANDLE_MSG(hwnd, WM_DESTROY, MainWnd_OnDestroy);
        HANDLE_MSG(hwnd, WM_NCDESTROY, MainWnd_OnNCDestroy);
        case WM_TVINT_INTERPRET:
            OnInterpret(hwnd);
            return 0;
        case WM_TVINT_STEP:
            OnStep(hwnd);
            return 0;
    }
    if (msg == st->notifyMsg && st->notifyMsg != 0)
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
    IntState st(hInstance);
    st.notifyMsg = RegisterWindowMessageA(MMAPIPC_NOTIFY_NAME);
    st.status.icon = (HICON)LoadImageA(hInstance, TVINT_ICON_NAME, IMAGE_ICON, 16, 16, 0);

    int exitCode = EXIT_STOPPED;
    HWND hwnd = NULL;
    if (RegisterMainWindowClass(hInstance, kClassName, WindowProcedure, LoadIconA(hInstance, TVINT_ICON_NAME),
                                st.status.icon, (HBRUSH)GetStockObject(WHITE_BRUSH)))
    {
        hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, kWindowTitle, WS_POPUP, 100, 100, 256, 18, NULL,
                               NULL, hInstance, &st);
    }
    if (hwnd)
    {
        st.logging = RegReadSetting(AGENT_LOG_FILE) != 0;
        // The agent must be up before the first log entry.
        if (st.logging)
            st.tvint.CheckTVAgent();

        StrCopy(st.cmdLine, lpCmdLine ? lpCmdLine : "");
        if (Initialize(&st))
            PostMessageA(hwnd, WM_TVINT_INTERPRET, 0, 0);

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

    if (hwnd && IsWindow(hwnd))
        DestroyWindow(hwnd);
    if (st.status.icon)
        DestroyIcon(st.status.icon);
    if (uninstallMutex)
        CloseHandle(uninstallMutex);
    return exitCode;
}
