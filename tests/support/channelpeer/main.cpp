// channelpeer: one end of the shared-memory channel in a process of its own.
//
// channelpeer -out=<file> -id=<id> [options]
//   -retries=n -pause=ms -ttl=ms -wait=ms   the channel's tunables
//   -tick=n          pin the clock the channel stamps and judges messages by
//   -hold            take the channel's mutex and keep it until killed
//   -send=<body> -to=<id> [-towindow=<hwnd>]   send once, after start-up
//   -serve           read on every notification from another window
//   -reply=<text>    with -serve: answer each message read
//   -life=ms         end by itself after this long (default 30000)
//
// One line per event is appended to the -out file:
//   READY <hwnd>  |  INITFAIL <error>  |  HOLDING
//   SENT <rc> <error>  |  READ <rc> <error> <from>|<body>  |  REPLIED <rc> <error>
// WM_CLOSE to the window ends it.
#include <windows.h>
#include <stdlib.h>

#include "MMapIPC_win.h"
#include "strutils.h"

namespace
{
const char g_className[] = "_TV_CHANNELPEER";

// A channel whose clock can be pinned to a given tick count.
class CPeerIPC : public CMMapIPC
{
  public:
    int m_bPinned = 0;
    DWORD m_dwTick = 0;

  protected:
    DWORD GetTick() override
    {
        return m_bPinned ? m_dwTick : CMMapIPC::GetTick();
    }
};

struct PeerOptions
{
    const char* out = nullptr;
    const char* id = nullptr;
    const char* send = nullptr;
    const char* to = nullptr;
    const char* reply = nullptr;
    HWND toWindow = nullptr;
    int serve = 0;
    int hold = 0;
    DWORD life = 30000;
};

PeerOptions g_opt;
CPeerIPC g_ipc;
HWND g_hwnd = nullptr;

void Report(const char* fmt, ...)
{
    char line[2 * MMAPIPC_MSG_SIZE];
    va_list args;
    va_start(args, fmt);
    StrFormatV(line, sizeof(line) - 1, fmt, args);
    va_end(args);
    StrAppend(line, "\n");

    // Opened per line, so the test can read it while the peer runs.
    HANDLE file =
        CreateFileA(g_opt.out, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, (DWORD)strlen(line), &written, nullptr);
    CloseHandle(file);
}

// "-name=value": the value, or null when arg is another option.
const char* OptionValue(const char* arg, const char* name)
{
    size_t len = strlen(name);
    if (arg[0] != '-' || strncmp(arg + 1, name, len) != 0 || arg[len + 1] != '=')
        return nullptr;
    return arg + len + 2;
}

void Peer_OnNotify(HWND from)
{
    if (from == g_hwnd || !g_opt.serve)
        return;
    int rc = g_ipc.ReadMessage(0);
    Report("READ %d %d %s|%s", rc, g_ipc.GetError(), g_ipc.GetMsgObj()->GetFromId(), g_ipc.GetMessage());
    if (rc && g_opt.reply && StrCompareNoCase(g_ipc.GetMsgObj()->GetFromId(), g_opt.id) != 0)
    {
        rc = g_ipc.ReplyToMessage(g_opt.reply, 0, 0);
        Report("REPLIED %d %d", rc, g_ipc.GetError());
    }
}

LRESULT CALLBACK Peer_WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == g_ipc.GetNotifyMsg())
    {
        Peer_OnNotify((HWND)wParam);
        return 0;
    }
    switch (msg)
    {
        case WM_TIMER:
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int Hold()
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, MMAPIPC_MUTEX_NAME);
    if (!mutex)
        return 1;
    DWORD rc = WaitForSingleObject(mutex, 10000);
    if (rc != WAIT_OBJECT_0 && rc != WAIT_ABANDONED)
        return 1;
    Report("HOLDING");
    Sleep(g_opt.life);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    int retries = 10;
    DWORD pause = 100, ttl = 250, wait = 250;
    for (int i = 1; i < argc; i++)
    {
        const char* arg = argv[i];
        const char* v;
        if ((v = OptionValue(arg, "out")))
            g_opt.out = v;
        else if ((v = OptionValue(arg, "id")))
            g_opt.id = v;
        else if ((v = OptionValue(arg, "send")))
            g_opt.send = v;
        else if ((v = OptionValue(arg, "to")))
            g_opt.to = v;
        else if ((v = OptionValue(arg, "reply")))
            g_opt.reply = v;
        else if ((v = OptionValue(arg, "towindow")))
            g_opt.toWindow = (HWND)(INT_PTR)_strtoui64(v, nullptr, 10);
        else if ((v = OptionValue(arg, "retries")))
            retries = atoi(v);
        else if ((v = OptionValue(arg, "pause")))
            pause = strtoul(v, nullptr, 10);
        else if ((v = OptionValue(arg, "ttl")))
            ttl = strtoul(v, nullptr, 10);
        else if ((v = OptionValue(arg, "wait")))
            wait = strtoul(v, nullptr, 10);
        else if ((v = OptionValue(arg, "life")))
            g_opt.life = strtoul(v, nullptr, 10);
        else if ((v = OptionValue(arg, "tick")))
        {
            g_ipc.m_bPinned = 1;
            g_ipc.m_dwTick = strtoul(v, nullptr, 10);
        }
        else if (strcmp(arg, "-serve") == 0)
            g_opt.serve = 1;
        else if (strcmp(arg, "-hold") == 0)
            g_opt.hold = 1;
        else
            return 2;
    }
    if (!g_opt.out || !g_opt.id)
        return 2;
    if (g_opt.hold)
        return Hold();

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Peer_WndProc;
    wc.hInstance = instance;
    wc.lpszClassName = g_className;
    if (!RegisterClassA(&wc))
        return 1;
    // Top-level and never shown: broadcasts reach it, message-only windows
    // they do not.
    g_hwnd = CreateWindowExA(0, g_className, g_opt.id, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                             instance, nullptr);
    if (!g_hwnd)
        return 1;
    SetTimer(g_hwnd, 1, g_opt.life, nullptr);

    g_ipc.SetDefaults(retries, pause, ttl, wait, MMAPIPC_MSG_SIZE);
    if (!g_ipc.Init(g_hwnd, g_opt.id, MMAPIPC_MUTEX_NAME, MMAPIPC_MEMMAP_NAME))
    {
        Report("INITFAIL %d", g_ipc.GetError());
        return 1;
    }
    Report("READY %llu", (unsigned long long)(UINT_PTR)g_hwnd);

    if (g_opt.send)
    {
        int rc = g_ipc.SendMessage(g_opt.send, g_opt.to ? g_opt.to : "", g_opt.toWindow, 0, 0);
        Report("SENT %d %d", rc, g_ipc.GetError());
    }

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
