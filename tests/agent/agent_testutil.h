// Helpers of the agent's unit tests: waiting with the message loop running,
// plain test windows, and tvtarget.exe as a second process.
#pragma once

#include <windows.h>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "strutils.h"

namespace agenttest
{

// Runs this thread's messages until cond holds or timeoutMs has passed;
// cond is tried once more at the end.
inline bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs = 5000)
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
        if (cond())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return cond();
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
    }
}

inline void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

inline const char* TestClass()
{
    static bool registered = false;
    if (!registered)
    {
        WNDCLASSA wc;
        ZeroMemory(&wc, sizeof(wc));
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.lpszClassName = "TVAgentTestWindow";
        registered = RegisterClassA(&wc) != 0;
    }
    return "TVAgentTestWindow";
}

// A visible top-level window of this process, destroyed with the object.
class CTestWindow
{
  public:
    explicit CTestWindow(const char* title, HWND owner = NULL, DWORD exStyle = 0, int x = 100, int y = 100)
    {
        m_hwnd = CreateWindowExA(exStyle, TestClass(), title, WS_OVERLAPPEDWINDOW, x, y, 300, 200, owner,
                                 NULL, GetModuleHandleA(NULL), NULL);
        if (m_hwnd)
            ShowWindow(m_hwnd, owner ? SW_SHOWNOACTIVATE : SW_SHOW);
        PumpPending();
    }
    ~CTestWindow()
    {
        if (m_hwnd && IsWindow(m_hwnd))
            DestroyWindow(m_hwnd);
        PumpPending();
    }
    CTestWindow(const CTestWindow&) = delete;
    CTestWindow& operator=(const CTestWindow&) = delete;

    HWND Get() const
    {
        return m_hwnd;
    }
    operator HWND() const
    {
        return m_hwnd;
    }

  private:
    HWND m_hwnd;
};

// The folder of the test program, with a trailing backslash.
inline std::string ProgramDir()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof(path));
    if (n == 0 || n >= sizeof(path))
        return "";
    char* slash = strrchr(path, '\\');
    if (slash)
        slash[1] = '\0';
    return path;
}

struct FindTitle
{
    const char* title;
    DWORD pid;
    bool includeHidden;
    HWND found;
};

inline BOOL CALLBACK FindTitleProc(HWND hwnd, LPARAM lParam)
{
    FindTitle* f = (FindTitle*)lParam;
    char text[256];
    GetWindowTextA(hwnd, text, sizeof(text));
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (strcmp(text, f->title) == 0 && (f->pid == 0 || pid == f->pid) &&
        (f->includeHidden || IsWindowVisible(hwnd)))
    {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A top-level window of that process with exactly that title, or null.
inline HWND FindTopLevel(const char* title, DWORD pid, bool includeHidden = true)
{
    FindTitle f = {title, pid, includeHidden, NULL};
    EnumWindows(FindTitleProc, (LPARAM)&f);
    return f.found;
}

// tvtarget.exe with the given arguments; killed when the object goes.
class CTargetProcess
{
  public:
    CTargetProcess()
    {
        ZeroMemory(&m_pi, sizeof(m_pi));
    }
    ~CTargetProcess()
    {
        if (m_pi.hProcess)
        {
            if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT)
            {
                TerminateProcess(m_pi.hProcess, 1);
                WaitForSingleObject(m_pi.hProcess, 5000);
            }
            CloseHandle(m_pi.hProcess);
            CloseHandle(m_pi.hThread);
        }
    }
    CTargetProcess(const CTargetProcess&) = delete;
    CTargetProcess& operator=(const CTargetProcess&) = delete;

    bool Start(const std::string& args)
    {
        std::string exe = ProgramDir() + "tvtarget.exe";
        std::string cmd = "\"" + exe + "\" " + args;
        STARTUPINFOA si;
        ZeroMemory(&si, sizeof(si));
        si.cb = sizeof(si);
        std::string buf = cmd;
        return CreateProcessA(exe.c_str(), &buf[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &m_pi) != 0;
    }
    DWORD Pid() const
    {
        return m_pi.dwProcessId;
    }
    // Waits for the visible window with that title.
    HWND WaitWindow(const char* title, DWORD timeoutMs = 10000)
    {
        HWND found = NULL;
        PumpUntil(
            [&] {
                found = FindTopLevel(title, m_pi.dwProcessId, false);
                return found != NULL;
            },
            timeoutMs);
        return found;
    }
    bool Exited(DWORD timeoutMs)
    {
        return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
    }

  private:
    PROCESS_INFORMATION m_pi;
};

inline std::string WindowTextOf(HWND hwnd)
{
    char text[1024];
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

} // namespace agenttest
