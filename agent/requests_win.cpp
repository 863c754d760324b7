// The interpreter's requests.
#include <windows.h>

#include "requests.h"
#include "init.h"
#include "strutils.h"
#include "winutils.h"

int CALLBACK HideWindowsEnumProc(HWND hwnd, LPARAM pattern)
{
    if (WindowTitleMatches(hwnd, (const char*)pattern))
        AgentHideWindow(hwnd);
    return 1;
}

int ShowWindowsProc(const char* pattern)
{
    if (!pattern[0])
        return 1;
    bool found = true;
    while (found)
    {
        found = false;
        AgentRefreshHidden();
        char title[AGENT_ARG_SIZE];
        for (unsigned i = 0; AgentHiddenTitle(i, title, sizeof(title)); i++)
        {
            if (TitleMatches(title, pattern))
            {
                AgentShowHidden(i);
                found = true;
                break;
            }
        }
    }
    return 1;
}

static bool s_exitPending = false;

int OnProcessMessage(HWND hwnd)
{
    char arg[AGENT_ARG_SIZE];
    AgentRequest request = ParseAgentRequest(g_ipc.GetMessage(), arg);
    if (request == AGENT_REQ_NONE)
        return 1;
    // The interpreter goes on at once; a message box must not hold it up.
    g_ipc.ReplyToMessage("OK", 0, 0);
    switch (request)
    {
        case AGENT_REQ_HIDE:
            CharLowerBuffA(arg, (DWORD)strlen(arg));
            EnumWindows(HideWindowsEnumProc, (LPARAM)arg);
            break;
        case AGENT_REQ_SHOW:
            CharLowerBuffA(arg, (DWORD)strlen(arg));
            ShowWindowsProc(arg);
            break;
        case AGENT_REQ_SHOWALL:
            AgentShowAllHidden();
            break;
        case AGENT_REQ_MESSAGE:
            MessageBoxA(hwnd, arg, "Message", MB_OK | MB_ICONINFORMATION);
            break;
        case AGENT_REQ_EXIT:
            // With the log on, the interpreter follows its request with the
            // request's log entry and waits for that to be answered too; an
            // agent already gone would leave it asking the user about a
            // missing reply. The agent stays for that entry, for a while.
            if (AgentKeepsLog() && !s_exitPending)
            {
                s_exitPending = true;
                SetTimer(hwnd, AGENT_TIMER_EXIT, AGENT_EXIT_GRACE_MS, nullptr);
            }
            else
                PostQuitMessage(0);
            break;
        case AGENT_REQ_LOG:
            AgentLog("Tarvin Interpreter", arg);
            if (s_exitPending)
                PostQuitMessage(0);
            break;
        case AGENT_REQ_NONE:
            break;
    }
    return 1;
}
