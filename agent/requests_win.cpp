// The interpreter's requests.
#include <windows.h>

#include "requests.h"
#include "init.h"
#include "strutils.h"
#include "winutils.h"

namespace
{
// A hide request's pattern and the agent that keeps the windows.
struct HideRequest
{
    AgentState* st;
    const char* pattern;
};
} // namespace

int CALLBACK HideWindowsEnumProc(HWND hwnd, LPARAM request)
{
    const HideRequest* req = (const HideRequest*)request;
    if (WindowTitleMatches(hwnd, req->pattern))
        AgentHideWindow(req->st, hwnd);
    return 1;
}

int ShowWindowsProc(AgentState* st, const char* pattern)
{
    if (!pattern[0])
        return 1;
    bool found = true;
    while (found)
    {
        found = false;
        AgentRefreshHidden(st);
        char title[AGENT_ARG_SIZE];
        for (unsigned i = 0; AgentHiddenTitle(st, i, title, sizeof(title)); i++)
        {
            if (TitleMatches(title, pattern))
            {
                AgentShowHidden(st, i);
                found = true;
                break;
            }
        }
    }
    return 1;
}

int OnProcessMessage(HWND hwnd)
{
    AgentState* st = AgentStateOf(hwnd);
    CMMapIPC* ipc = &st->ipc;
    char arg[AGENT_ARG_SIZE];
    AgentRequest request = ParseAgentRequest(ipc->GetMessage(), arg);
    if (request == AGENT_REQ_NONE)
        return 1;
    // The interpreter goes on at once; a message box must not hold it up.
    ipc->ReplyToMessage(AGENT_REPLY_OK, AGENT_REPLY_TTL_MS, 0);
    switch (request)
    {
        case AGENT_REQ_HIDE: {
            CharLowerBuffA(arg, (DWORD)strlen(arg));
            HideRequest req = {st, arg};
            EnumWindows(HideWindowsEnumProc, (LPARAM)&req);
            break;
        }
        case AGENT_REQ_SHOW:
            CharLowerBuffA(arg, (DWORD)strlen(arg));
            ShowWindowsProc(st, arg);
            break;
        case AGENT_REQ_SHOWALL:
            AgentShowAllHidden(st);
            break;
        case AGENT_REQ_MESSAGE:
            MessageBoxA(hwnd, arg, "Message", MB_OK | MB_ICONINFORMATION);
            break;
        case AGENT_REQ_EXIT:
            // With the log on, the interpreter follows its request with the
            // request's log entry and waits for that to be answered too; an
            // agent already gone would leave it asking the user about a
            // missing reply. The agent stays for that entry, for a while.
            if (AgentKeepsLog(st) && !st->exitPending)
            {
                st->exitPending = true;
                SetTimer(hwnd, AGENT_TIMER_EXIT, AGENT_EXIT_GRACE_MS, nullptr);
            }
            else
                PostQuitMessage(0);
            break;
        case AGENT_REQ_LOG:
            AgentLog(st, "Tarvin Interpreter", arg);
            if (st->exitPending)
                PostQuitMessage(0);
            break;
        case AGENT_REQ_NONE:
            break;
    }
    return 1;
}
