// fakeagent: plays the agent's side of the channel for the interpreter's
// tests. It owns a hidden top-level window of the agent's class, reads every
// request addressed to the agent's channel, records it, and answers OK unless told to
// stay silent.
//
//   fakeagent.exe [-record=FILE] [-silent[=PREFIX]] [-ignore=N] [-delay=MS]
//                 [-replies=FILE] [-life=MS] [-slowread=MS]
//
// -record   FILE receives one line per request read: "<sender id>|<body>";
//           default: fakeagent.log beside the program (for an agent the
//           interpreter starts by itself)
// -silent   answer nothing; with PREFIX, nothing to requests that start with
//           it (any case), e.g. -silent=agent:log
// -ignore   leave the first N requests that would be answered unanswered
// -delay    send the first answer this long after reading its request
// -replies  FILE receives one line "OK" per answer sent
// -life     end by itself after this long (default 120000)
// -slowread read the first request only this long after its notification,
//           as a busy agent does; later notifications are read at once
//
// An exit request is answered and then ends the program,
// as the real agent does. WM_CLOSE ends it too.
#include <windows.h>
#include <stdlib.h>

#include "MMapIPC_win.h"
#include "agentproto.h"
#include "strutils.h"

namespace
{

struct Options
{
    char record[MAX_PATH] = "";
    int silent = 0;
    const char* silentPrefix = nullptr;
    int ignore = 0;
    DWORD delay = 0;
    char replies[MAX_PATH] = "";
    DWORD life = 120000;
    DWORD slowRead = 0;
};

const UINT_PTR kLifeTimer = 1;
const UINT_PTR kDelayTimer = 2;
const UINT_PTR kReadTimer = 3;

Options g_opt;
CMMapIPC g_ipc;
HWND g_hwnd = nullptr;
int g_bExitAfterReply = 0;

// Opened per line, so that a test can read the file while the agent runs.
void AppendLine(const char* path, const char* line)
{
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, (DWORD)strlen(line), &written, nullptr);
    CloseHandle(file);
}

void Record(const char* from, const char* body)
{
    char line[MMAPIPC_MSG_SIZE + MMAPIPC_ID_SIZE + 8];
    StrFormat(line, sizeof(line), "%s|%s\r\n", from, body);
    AppendLine(g_opt.record, line);
}

// Answers the sender of the last request read.
void Reply(int exitAfter)
{
    g_ipc.ReplyToMessage(AGENT_REPLY_OK, 0, 0);
    if (g_opt.replies[0])
        AppendLine(g_opt.replies, "OK\r\n");
    if (exitAfter)
        PostQuitMessage(0);
}

bool Answers(const char* body)
{
    if (g_opt.silent && !g_opt.silentPrefix)
        return false;
    if (g_opt.silentPrefix && StrCompareNoCaseN(body, g_opt.silentPrefix, strlen(g_opt.silentPrefix)) == 0)
        return false;
    if (g_opt.ignore > 0)
    {
        g_opt.ignore--;
        return false;
    }
    return true;
}

void Agent_OnNotify(HWND from)
{
    if (from == g_hwnd)
        return;
    if (g_opt.slowRead)
    {
        SetTimer(g_hwnd, kReadTimer, g_opt.slowRead, nullptr);
        g_opt.slowRead = 0;
        return;
    }
    if (!g_ipc.ReadMessage(0))
        return;
    char body[MMAPIPC_MSG_SIZE];
    StrCopy(body, g_ipc.GetMessage());
    Record(g_ipc.GetMsgObj()->GetFromId(), body);
    if (!Answers(body))
        return;
    char arg[AGENT_ARG_SIZE];
    int exitAfter = ParseAgentRequest(body, arg) == AGENT_REQ_EXIT;
    if (g_opt.delay == 0)
    {
        Reply(exitAfter);
        return;
    }
    g_bExitAfterReply = exitAfter;
    SetTimer(g_hwnd, kDelayTimer, g_opt.delay, nullptr);
    g_opt.delay = 0;
}

LRESULT CALLBACK Agent_WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == g_ipc.GetNotifyMsg())
    {
        Agent_OnNotify((HWND)wParam);
        return 0;
    }
    switch (msg)
    {
        case WM_TIMER:
            if (wParam == kReadTimer)
            {
                KillTimer(hwnd, kReadTimer);
                Agent_OnNotify(nullptr);
            }
            else if (wParam == kDelayTimer)
            {
                KillTimer(hwnd, kDelayTimer);
                Reply(g_bExitAfterReply);
            }
            else
                DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

const char* OptionValue(const char* arg, const char* name)
{
    size_t len = strlen(name);
    if (arg[0] != '-' || strncmp(arg + 1, name, len) != 0 || arg[len + 1] != '=')
        return nullptr;
    return arg + len + 2;
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    for (int i = 1; i < __argc; i++)
    {
        const char* arg = __argv[i];
        const char* v;
        if ((v = OptionValue(arg, "record")))
            StrCopy(g_opt.record, v);
        else if ((v = OptionValue(arg, "silent")))
        {
            g_opt.silent = 1;
            g_opt.silentPrefix = v;
        }
        else if (strcmp(arg, "-silent") == 0)
            g_opt.silent = 1;
        else if ((v = OptionValue(arg, "ignore")))
            g_opt.ignore = atoi(v);
        else if ((v = OptionValue(arg, "delay")))
            g_opt.delay = strtoul(v, nullptr, 10);
        else if ((v = OptionValue(arg, "replies")))
            StrCopy(g_opt.replies, v);
        else if ((v = OptionValue(arg, "slowread")))
            g_opt.slowRead = strtoul(v, nullptr, 10);
        else if ((v = OptionValue(arg, "life")))
            g_opt.life = strtoul(v, nullptr, 10);
        else
            return 2;
    }
    if (!g_opt.record[0])
    {
        DWORD len = GetModuleFileNameA(nullptr, g_opt.record, sizeof(g_opt.record));
        if (len == 0 || len >= sizeof(g_opt.record))
            return 2;
        char* slash = strrchr(g_opt.record, '\\');
        if (slash)
            slash[1] = '\0';
        StrAppend(g_opt.record, "fakeagent.log");
    }

    WNDCLASSA wc = {};
    wc.lpfnWndProc = Agent_WndProc;
    wc.hInstance = instance;
    wc.lpszClassName = AGENT_WINDOW_CLASS;
    if (!RegisterClassA(&wc))
        return 1;
    // Top-level and never shown: broadcasts reach it, message-only windows
    // they do not.
    g_hwnd = CreateWindowExA(0, AGENT_WINDOW_CLASS, "Tarvin Agent (test)", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                             100, nullptr, nullptr, instance, nullptr);
    if (!g_hwnd)
        return 1;
    SetTimer(g_hwnd, kLifeTimer, g_opt.life, nullptr);
    if (!g_ipc.Init(g_hwnd, AGENT_CHANNEL_ID, MMAPIPC_MUTEX_NAME, MMAPIPC_MEMMAP_NAME))
        return 1;

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
