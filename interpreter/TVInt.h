// The interpreter engine: runs a launch file one action per Step. Actions
// that belong to the agent (hiding and showing windows, messages, exiting it,
// log entries) become requests on the shared-memory channel; Wait, Close and
// Destroy only return a code, and the program does the timing and the window
// enumeration, so that every action is one turn of the message loop.
#pragma once

#include <windows.h>
#include "LaunchFile.h"
#include "agentproto.h"

class CMMapIPC;
class CTaskList;

// Results of CTVInt::Step.
enum
{
    TVINT_DONE = 0,       // show the action text, log it, go on
    TVINT_SENT = 1,       // a request went to the agent: wait for its OK
    TVINT_WAIT = 2,       // go on after GetResult() milliseconds
    TVINT_CLOSE = 3,      // close the windows matching GetResultText()
    TVINT_DESTROY = 4,    // terminate the processes owning matching windows
    TVINT_NOLINES = -1,   // nothing to run (empty or unreadable file)
    TVINT_UNKNOWN = -2,   // unrecognised action
    TVINT_FAILED = -3,    // the action failed or the user declined it
    TVINT_END = -4,       // past the last line
    TVINT_KILLFAILED = -6 // a process could not be terminated
};

const int TVINT_TEXT_SIZE = 1545;
const int TVINT_REQUEST_SIZE = 1024;
// How long the run waits for the agent's OK before it looks again.
const unsigned TVINT_OK_TIMEOUT = 1000;
// How long a request lives in the channel's slot: longer than the wait, so
// that a request the agent reads late is not dropped as expired just before
// the run looks for it (and takes it back to send again). The agent's read
// frees the slot at once; only a request nobody reads holds it that long.
const unsigned TVINT_REQUEST_TTL = 2 * TVINT_OK_TIMEOUT;

// The system calls behind Shutdown and Restart; under Wine they end every
// process of the prefix, so tests put their own in their place.
typedef BOOL(WINAPI* PFN_EXITWINDOWSEX)(UINT flags, DWORD reason);
extern PFN_EXITWINDOWSEX g_pfnExitWindowsEx;

// Fills the process list behind Kill (CTaskList::GetTaskList by default):
// the number of processes, or -1 when there is no list. Tests replace it to
// see what Kill makes of a missing list.
typedef int (*PFN_TAKETASKLIST)(CTaskList* list);
extern PFN_TAKETASKLIST g_pfnTakeTaskList;

class CTVInt
{
  public:
    CTVInt(HINSTANCE instance, HWND owner = NULL, const char* path = NULL, CMMapIPC* channel = NULL,
           int confirmExit = 1, int confirmShutdown = 1, int confirmRestart = 1, int assumeYes = 0,
           unsigned countdown = 10);
    virtual ~CTVInt();
    CTVInt(const CTVInt&) = delete;
    CTVInt& operator=(const CTVInt&) = delete;

    // Starts over with these settings; loads path when one is given.
    int Init(HINSTANCE instance, HWND owner, const char* path, CMMapIPC* channel, int confirmExit,
             int confirmShutdown, int confirmRestart, int assumeYes, unsigned countdown);
    // 1, or 0 with the model emptied and the action text saying why: a file
    // that cannot be read whole is not run at all.
    int Load(const char* path);
    int Step();
    int InterpretLine();

    int GetResult() const
    {
        return m_nResult;
    }
    const char* GetResultText() const
    {
        return m_szWindowPattern;
    }
    const char* GetError() const
    {
        return m_szActionText;
    }
    int GetIndex() const
    {
        return m_nIndex;
    }
    CLaunchFile* GetLaunchFile()
    {
        return &m_launchFile;
    }
    const char* GetRequest() const
    {
        return m_szRequest;
    }

    int CheckTVAgent();
    int Resend();
    int SendLog();
    int EnableShutdown();

    // EnumWindows callbacks; lParam is the lower-cased window pattern.
    static BOOL CALLBACK CloseEnumWindowsProc(HWND hwnd, LPARAM lParam);
    static BOOL CALLBACK DestroyEnumWindowsProc(HWND hwnd, LPARAM lParam);

  private:
    int DoShellExecute(int action, const char* verb);
    int DoKill();
    int DoCopy();
    int DoDelete();
    int DoMove();
    int DoAgentRequest(AgentRequest request, const char* param);
    int DoExit();
    int DoShutdown(int restart);
    int Confirm(const char* caption, const char* text);
    void SetText(const char* fmt, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    char m_szActionText[TVINT_TEXT_SIZE];
    int m_nIndex;
    CMMapIPC* m_pChannel;
    char m_szRequest[TVINT_REQUEST_SIZE];
    int m_nResult;
    char m_szWindowPattern[MAX_PATH];
    CLaunchFile m_launchFile;
    HWND m_hwndAgent;
    HWND m_hwndOwner;
    HINSTANCE m_hInstance;
    int m_bConfirmExit;
    int m_bConfirmShutdown;
    int m_bConfirmRestart;
    int m_bAssumeYes;
    unsigned m_nCountdown;
};
