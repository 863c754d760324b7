// Timing driver for bench/agent-requests; runs inside one Wine session in
// which the agent is already running.
//
//   agent_requests N
//   agent_requests -start N TVAGENT_EXE NULL_GUI_EXE
//
// Talks to the agent as the interpreter does: its own identifier is its
// window handle in decimal, each request goes to the agent's channel at its
// window, and the next request is sent when the agent's "OK" has been read.
// The request is a Hide whose title matches no window, so the agent's work
// is one walk over the top-level windows.
//
// Three figures, N runs each, medians:
//   floor   the agent's window answering WM_NULL through SendMessageTimeout:
//           one round trip between the two processes without the channel;
//   one     Hide -> OK, each run starting from a free slot (a pause before
//           every run lets what the last run left in the slot expire);
//   ten     10 Hide requests back to back, each sent when the last OK is read.
// Prints one "figure" line per speed goal it measures.
//
// With -start (no agent running yet): the agent's start, from CreateProcess
// to ready (its window there, its tray icon added and its channel open, both
// before its message loop, and its answer to a first request read), next to
// an empty GUI program (bench/null_gui.cpp -stay) from CreateProcess to its
// window answering WM_NULL. N runs of each, alternating, after one warm-up
// run of each; each program is ended (and waited for) before the next start.
#include <windows.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vector>

#include "MMapIPC_win.h"
#include "agentproto.h"
#include "strutils.h"

static char g_request[AGENT_REQUEST_SIZE];
static const DWORD kOKTimeout = 5000;
// Longer than the channel's time-to-live: whatever a run leaves in the slot
// has expired before the next single run.
static const DWORD kSettle = 400;

static CMMapIPC g_ipc;
static HWND g_hwnd;
static int g_nOK;
static int g_nOther;
// Sends that needed more than one attempt (the slot busy, or the mutex).
static int g_nRetried;

static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == g_ipc.GetNotifyMsg() && msg != 0)
    {
        if ((HWND)wParam == hwnd)
            return 0;
        if (g_ipc.ReadMessage(0))
        {
            if (IsAgentReplyOK(g_ipc.GetMessage(), g_ipc.GetMsgObj()->GetFromId()))
                g_nOK++;
            else
                g_nOther++;
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

static double Now()
{
    static LARGE_INTEGER freq;
    if (!freq.QuadPart)
        QueryPerformanceFrequency(&freq);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)freq.QuadPart;
}

// Runs the message loop until the count of OKs passes `count` or the time is
// up; with count < 0, just for ms.
static bool PumpUntilOK(int count, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;)
    {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (count >= 0 && g_nOK > count)
            return true;
        DWORD spent = GetTickCount() - start;
        if (spent >= ms)
            return count < 0;
        MsgWaitForMultipleObjects(0, NULL, FALSE, ms - spent, QS_ALLINPUT);
    }
}

// One request and its OK; seconds, negative on failure.
static double Request(HWND agent)
{
    int before = g_nOK;
    double start = Now();
    if (!g_ipc.SendMessage(g_request, AGENT_CHANNEL_ID, agent, 0, 0))
    {
        fprintf(stderr, "send failed, error %d\n", g_ipc.GetError());
        return -1;
    }
    if (g_ipc.GetError() != MMAPIPC_ERR_NONE)
        g_nRetried++;
    if (!PumpUntilOK(before, kOKTimeout))
    {
        fprintf(stderr, "no OK within %lu ms\n", kOKTimeout);
        return -1;
    }
    return Now() - start;
}

static double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

static void PrintRuns(const char* name, const std::vector<double>& v)
{
    printf("%-6s runs ms:", name);
    for (double x : v)
        printf(" %.1f", x * 1000);
    printf("   median %.1f  min %.1f\n", Median(v) * 1000, *std::min_element(v.begin(), v.end()) * 1000);
}

static bool Spawn(const char* cmdline, PROCESS_INFORMATION* pi)
{
    char buf[MAX_PATH + 32];
    if (!StrCopy(buf, sizeof(buf), cmdline))
        return false;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    return CreateProcessA(NULL, buf, NULL, NULL, FALSE, 0, NULL, NULL, &si, pi) != 0;
}

// The top-level window of that class, waited for while this thread's
// messages are handled; null after the time-out.
static HWND WaitWindow(const char* cls, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;)
    {
        HWND found = FindWindowA(cls, NULL);
        if (found || GetTickCount() - start >= ms)
            return found;
        PumpUntilOK(-1, 1);
    }
}

static bool Ended(PROCESS_INFORMATION* pi)
{
    bool ok = WaitForSingleObject(pi->hProcess, 30000) == WAIT_OBJECT_0;
    CloseHandle(pi->hThread);
    CloseHandle(pi->hProcess);
    return ok;
}

// Seconds from the agent's start to its first OK; negative on failure.
static double AgentStart(const char* exe)
{
    PROCESS_INFORMATION pi;
    double start = Now();
    if (!Spawn(exe, &pi))
        return -1;
    // As the interpreter does: the window comes before the agent reads its
    // files, and a request sent then would expire unread.
    HWND agent = WaitWindow(AGENT_WINDOW_CLASS, 60000);
    DWORD_PTR result;
    if (agent && !SendMessageTimeoutA(agent, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result))
        agent = NULL;
    // Sent again while no OK comes, as the interpreter does: a request that
    // came before the channel was open expires unread.
    double t = -1;
    for (int tries = 0; agent && t < 0 && tries < 100; tries++)
    {
        int before = g_nOK;
        if (g_ipc.SendMessage(g_request, AGENT_CHANNEL_ID, agent, 0, 0) && PumpUntilOK(before, 300))
            t = Now() - start;
    }
    PumpUntilOK(-1, kSettle);
    int before = g_nOK;
    char exitRequest[AGENT_REQUEST_SIZE];
    BuildAgentRequest(AGENT_REQ_EXIT, nullptr, exitRequest, sizeof(exitRequest));
    if (agent && g_ipc.SendMessage(exitRequest, AGENT_CHANNEL_ID, agent, 0, 0))
        PumpUntilOK(before, kOKTimeout);
    if (!Ended(&pi))
        return -1;
    PumpUntilOK(-1, kSettle);
    return t;
}

static double EmptyStart(const char* exe)
{
    char cmd[MAX_PATH + 16];
    StrFormat(cmd, sizeof(cmd), "%s -stay", exe);
    PROCESS_INFORMATION pi;
    double start = Now();
    if (!Spawn(cmd, &pi))
        return -1;
    HWND hwnd = WaitWindow("_TV_NULL_GUI", 60000);
    DWORD_PTR result;
    double t =
        hwnd && SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) ? Now() - start : -1;
    if (hwnd)
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return Ended(&pi) ? t : -1;
}

static int StartRuns(int n, const char* agentExe, const char* emptyExe)
{
    std::vector<double> agent, empty, ratio;
    for (int i = -1; i < n; i++)
    {
        double a = AgentStart(agentExe), e = EmptyStart(emptyExe);
        if (a < 0 || e < 0)
        {
            fprintf(stderr, "start run %d failed (agent %.3f s, empty program %.3f s)\n", i, a, e);
            return 1;
        }
        if (i < 0)
            continue;
        agent.push_back(a);
        empty.push_back(e);
        ratio.push_back(a / e);
    }
    PrintRuns("agent", agent);
    PrintRuns("empty", empty);
    double ma = Median(agent) * 1000, me = Median(empty) * 1000, mr = Median(ratio);
    printf("figure: agent start to ready (tray, channel, first OK)   %6.0f ms   floor (empty GUI program) "
           "%6.0f ms"
           "   ratio %.2f (median of pairs %.2f)   goal <= 2  %s\n",
           ma, me, ma / me, mr, mr <= 2 ? "met" : "NOT MET");
    fflush(stdout);
    return 0;
}

int main(int argc, char** argv)
{
    bool startMode = argc == 5 && strcmp(argv[1], "-start") == 0;
    if ((argc != 2 && !startMode) || atoi(argv[startMode ? 2 : 1]) < 1)
    {
        fprintf(stderr, "usage: agent_requests N | agent_requests -start N TVAGENT_EXE NULL_GUI_EXE\n");
        return 2;
    }
    int n = atoi(argv[startMode ? 2 : 1]);
    BuildAgentRequest(AGENT_REQ_HIDE, "no window has this title 5c1e", g_request, sizeof(g_request));

    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "_TV_BENCH_REQUESTS";
    RegisterClassA(&wc);
    // Top-level and never shown, as the interpreter's window: the agent's
    // OK is posted to every top-level window.
    g_hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                             wc.hInstance, NULL);
    char id[MMAPIPC_ID_SIZE];
    StrFormat(id, sizeof(id), "%d", (int)(INT_PTR)g_hwnd);
    if (!g_hwnd || !g_ipc.Init(g_hwnd, id, MMAPIPC_MUTEX_NAME, MMAPIPC_MEMMAP_NAME))
    {
        fprintf(stderr, "channel not set up, error %d\n", g_ipc.GetError());
        return 1;
    }

    if (startMode)
        return StartRuns(n, argv[3], argv[4]);
    HWND agent = WaitWindow(AGENT_WINDOW_CLASS, 60000);
    if (!agent)
    {
        fprintf(stderr, "no agent window\n");
        return 1;
    }

    // Warm-up: the first request wakes the agent's paths.
    PumpUntilOK(-1, kSettle);
    if (Request(agent) < 0)
        return 1;

    std::vector<double> base, one, ten;
    for (int i = 0; i < n; i++)
    {
        PumpUntilOK(-1, kSettle);
        double start = Now();
        DWORD_PTR result;
        if (!SendMessageTimeoutA(agent, WM_NULL, 0, 0, SMTO_NORMAL, kOKTimeout, &result))
        {
            fprintf(stderr, "the agent does not answer WM_NULL\n");
            return 1;
        }
        base.push_back(Now() - start);

        PumpUntilOK(-1, kSettle);
        double t = Request(agent);
        if (t < 0)
            return 1;
        one.push_back(t);

        PumpUntilOK(-1, kSettle);
        start = Now();
        for (int r = 0; r < 10; r++)
            if (Request(agent) < 0)
                return 1;
        ten.push_back(Now() - start);
    }
    PrintRuns("floor", base);
    PrintRuns("one", one);
    PrintRuns("ten", ten);
    double mf = Median(base) * 1000, m1 = Median(one) * 1000, m10 = Median(ten) * 1000;
    printf("figure: Hide -> OK round trip, one request      %8.1f ms   floor (WM_NULL round trip) %6.2f ms"
           "   goal <= 20 ms              %s\n",
           m1, mf, m1 <= 20 ? "met" : "NOT MET");
    printf("figure: 10 agent requests back to back          %8.1f ms   floor 10 x one request %8.1f ms"
           "   goal <= 10 x one + 50 = %.1f ms  %s\n",
           m10, 10 * m1, 10 * m1 + 50, m10 <= 10 * m1 + 50 ? "met" : "NOT MET");
    if (g_nOther)
        printf("(read %d messages other than the agent's OK)\n", g_nOther);
    printf("(%d of %d requests found the slot busy or the mutex taken at their first attempt)\n", g_nRetried,
           n * 11 + 1);
    fflush(stdout);
    DestroyWindow(g_hwnd);
    return 0;
}
