#include <windows.h>
#include <shellapi.h>
#include <stdarg.h>

#include "TVInt.h"
#include "confirmDlg.h"
#include "ShellFileOp.h"
#include "MMapIPC_win.h"
#include "TaskList.h"
#include "tvintTimes.h"
#include "dirutils_win.h"
#include "strutils.h"
#include "winutils.h"

PFN_EXITWINDOWSEX g_pfnExitWindowsEx = ExitWindowsEx;

static int TakeTaskList(CTaskList* list)
{
    return list->GetTaskList();
}
PFN_TAKETASKLIST g_pfnTakeTaskList = TakeTaskList;

namespace
{
// SHFileOperation's flags are 16 bits.
const FILEOP_FLAGS kDeleteFlags = FOF_NOERRORUI | FOF_NOCONFIRMMKDIR | FOF_FILESONLY;
const FILEOP_FLAGS kCopyFlags = FOF_NOCONFIRMMKDIR | FOF_FILESONLY;

bool IsWord(const char* text, const char* word)
{
    return StrCompareNoCase(text, word) == 0;
}

const char* NameOf(const char* path, char* name, size_t size)
{
    return GetFileNameFromPath(path, name, size);
}

// Lower-cases in place, as the window titles it is compared with are.
void LowerCase(char* text)
{
    CharLowerBuffA(text, (DWORD)strlen(text));
}

// Windows of this process never match: closing the interpreter's own window
// or terminating itself would leave the run hanging or cut short.
bool WindowMatches(HWND hwnd, const char* pattern)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid != GetCurrentProcessId() && WindowTitleMatches(hwnd, pattern);
}

int ShowCommandOf(const char* state)
{
    if (IsWord(state, "maximized"))
        return SW_SHOWMAXIMIZED;
    if (IsWord(state, "minimized"))
        return SW_SHOWMINIMIZED;
    return SW_SHOWNORMAL;
}
} // namespace

CTVInt::CTVInt(HINSTANCE instance, HWND owner, const char* path, CMMapIPC* channel, int confirmExit,
               int confirmShutdown, int confirmRestart, int assumeYes, unsigned countdown)
    : m_nIndex(-1), m_pChannel(NULL), m_nResult(0), m_hwndAgent(NULL), m_hwndOwner(NULL), m_hInstance(NULL),
      m_bConfirmExit(1), m_bConfirmShutdown(1), m_bConfirmRestart(1), m_bAssumeYes(0), m_nCountdown(10)
{
    m_szActionText[0] = '\0';
    m_szRequest[0] = '\0';
    m_szWindowPattern[0] = '\0';
    Init(instance, owner, path, channel, confirmExit, confirmShutdown, confirmRestart, assumeYes, countdown);
}

CTVInt::~CTVInt()
{
}

int CTVInt::Init(HINSTANCE instance, HWND owner, const char* path, CMMapIPC* channel, int confirmExit,
                 int confirmShutdown, int confirmRestart, int assumeYes, unsigned countdown)
{
    m_hInstance = instance;
    m_hwndOwner = owner;
    m_pChannel = channel;
    m_bConfirmExit = confirmExit;
    m_bConfirmShutdown = confirmShutdown;
    m_bConfirmRestart = confirmRestart;
    m_bAssumeYes = assumeYes;
    m_nCountdown = countdown;
    m_nResult = 0;
    m_szWindowPattern[0] = '\0';
    m_szActionText[0] = '\0';
    m_nIndex = -1;
    if (path && path[0])
        return Load(path);
    return 1;
}

int CTVInt::Load(const char* path)
{
    if (m_launchFile.Load(path))
    {
        if (m_launchFile.GetCount() == 0)
            SetText("The launch file has no lines:\n   %s", path);
        return 1;
    }
    // A partly read file is not run: its later lines would be skipped
    // without a word.
    int error = m_launchFile.GetLastError();
    m_launchFile.Clear();
    if (error == 301)
        SetText("The launch file has a line longer than %d characters:\n   %s", LAUNCH_LINE_SIZE - 1, path);
    else
        SetText("The launch file cannot be opened:\n   %s", path);
    return 0;
}

int CTVInt::Step()
{
    if (m_launchFile.GetCount() == 0)
    {
        if (!m_szActionText[0])
            SetText("The launch file has no lines.");
        return TVINT_NOLINES;
    }
    if (m_nIndex < m_launchFile.GetCount())
        m_nIndex++;
    if (m_nIndex >= m_launchFile.GetCount())
        return TVINT_END;
    return InterpretLine();
}

int CTVInt::InterpretLine()
{
    if (m_nIndex < 0 || m_nIndex >= m_launchFile.GetCount())
        return TVINT_END;
    const CLaunchAction* action = m_launchFile.GetAction(m_nIndex);
    if (!action)
        return TVINT_END;

    char p1[LAUNCH_LINE_SIZE];
    action->GetParam(1, p1, sizeof(p1));
    switch (action->GetAction())
    {
        case LA_COMMENT:
            action->GetDescription(m_szActionText, sizeof(m_szActionText));
            return TVINT_DONE;
        case LA_LAUNCH:
            return DoShellExecute(LA_LAUNCH, "open");
        case LA_OPEN:
            return DoShellExecute(LA_OPEN, "open");
        case LA_PRINT:
            return DoShellExecute(LA_PRINT, "print");
        case LA_KILL:
            return DoKill();
        case LA_COPY:
            return DoCopy();
        case LA_DELETE:
            return DoDelete();
        case LA_MOVE:
            return DoMove();
        case LA_CLOSE:
        case LA_DESTROY: {
            bool close = action->GetAction() == LA_CLOSE;
            SetText(close ? "Close %s" : "Destroy %s", p1);
            StrCopy(m_szWindowPattern, p1);
            LowerCase(m_szWindowPattern);
            return close ? TVINT_CLOSE : TVINT_DESTROY;
        }
        case LA_HIDE:
            SetText("Hide windows called %s", p1);
            return DoAgentRequest(AGENT_REQ_HIDE, p1);
        case LA_SHOW:
            SetText("Show windows called %s", p1);
            return DoAgentRequest(AGENT_REQ_SHOW, p1);
        case LA_SHOWALL:
            SetText("Show all hidden windows");
            return DoAgentRequest(AGENT_REQ_SHOWALL, NULL);
        case LA_MESSAGE:
            SetText("Message");
            return DoAgentRequest(AGENT_REQ_MESSAGE, p1);
        case LA_EXIT:
            return DoExit();
        case LA_WAIT:
            m_nResult = (int)WaitMilliseconds(p1);
            SetText("Wait for %s", p1);
            return TVINT_WAIT;
        case LA_SCREENSAVER:
            SendMessageA(GetDesktopWindow(), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
            SetText("Screen saver started");
            return TVINT_DONE;
        case LA_SHUTDOWN:
            return DoShutdown(0);
        case LA_RESTART:
            return DoShutdown(1);
    }
    SetText("Unrecognized Command: Line: \"%d\"", m_nIndex);
    return TVINT_UNKNOWN;
}

int CTVInt::DoShellExecute(int action, const char* verb)
{
    const CLaunchAction* line = m_launchFile.GetAction(m_nIndex);
    char file[LAUNCH_LINE_SIZE], dir[LAUNCH_LINE_SIZE], params[LAUNCH_LINE_SIZE], state[LAUNCH_LINE_SIZE];
    line->GetParam(1, file, sizeof(file));
    line->GetParam(2, dir, sizeof(dir));
    line->GetParam(3, params, sizeof(params));
    line->GetParam(4, state, sizeof(state));

    INT_PTR result = (INT_PTR)ShellExecuteA(GetDesktopWindow(), verb, file, params[0] ? params : NULL,
                                            dir[0] ? dir : NULL, ShowCommandOf(state));
    char name[MAX_PATH];
    NameOf(file, name, sizeof(name));
    bool ok = result > 32;
    switch (action)
    {
        case LA_LAUNCH:
            SetText(ok ? "Launch %s" : "Error Launching %s", name);
            break;
        case LA_OPEN:
            SetText(ok ? "Open %s" : "Error Opening %s", name);
            break;
        default:
            SetText(ok ? "Print %s" : "Error Printing %s", name);
            break;
    }
    return ok ? TVINT_DONE : TVINT_FAILED;
}

int CTVInt::DoKill()
{
    char wanted[LAUNCH_LINE_SIZE];
    m_launchFile.GetAction(m_nIndex)->GetParam(1, wanted, sizeof(wanted));
    char name[MAX_PATH];
    NameOf(wanted, name, sizeof(name));
    LowerCase(wanted);

    CTaskList tasks;
    tasks.EnableDebugPriv();
    // No list at all must not read as "nothing to kill".
    if (g_pfnTakeTaskList(&tasks) <= 0)
    {
        SetText("Error while killing %s", name);
        return TVINT_KILLFAILED;
    }

    int killed = 0;
    DWORD self = GetCurrentProcessId();
    tasks.ResetCur();
    for (tagTASK_RECORD* task = tasks.GetCur(); task; task = tasks.GetNext())
    {
        // The idle process cannot be opened, and the interpreter does not
        // end its own run halfway through the list.
        if (task->dwProcessId == (DWORD)-2 || task->dwProcessId == self)
            continue;
        char process[MAX_PATH];
        StrCopy(process, task->ProcessName);
        LowerCase(process);
        if (StrFind(process, wanted, 0) < 0)
            continue;
        HANDLE handle = OpenProcess(PROCESS_TERMINATE, FALSE, task->dwProcessId);
        BOOL ok = handle && TerminateProcess(handle, 1);
        if (handle)
            CloseHandle(handle);
        if (!ok)
        {
            SetText("Error while killing %s", name);
            return TVINT_KILLFAILED;
        }
        killed++;
        SetText("Kill %s", name);
    }
    if (killed == 0)
        SetText("Kill %s: no such process is running", name);
    return TVINT_DONE;
}

int CTVInt::DoCopy()
{
    const CLaunchAction* line = m_launchFile.GetAction(m_nIndex);
    char source[LAUNCH_LINE_SIZE], dest[LAUNCH_LINE_SIZE], option[LAUNCH_LINE_SIZE];
    line->GetParam(1, source, sizeof(source));
    line->GetParam(2, dest, sizeof(dest));
    line->GetParam(3, option, sizeof(option));

    FILEOP_FLAGS flags = kCopyFlags;
    if (IsWord(option, "Overwrite"))
        flags |= FOF_NOCONFIRMATION;
    else if (IsWord(option, "NoOverwrite"))
        flags |= FOF_RENAMEONCOLLISION;

    CShellFileOp op;
    op.AddSource(source);
    op.AddDest(dest);
    op.SetOperationFlags(FO_COPY, GetDesktopWindow(), flags);
    if (!op.Go())
    {
        SetText("Error Copying %s to %s", source, dest);
        return TVINT_FAILED;
    }
    char sourceName[MAX_PATH], destName[MAX_PATH];
    SetText("Copy %s to %s", NameOf(source, sourceName, sizeof(sourceName)),
            NameOf(dest, destName, sizeof(destName)));
    return TVINT_DONE;
}

int CTVInt::DoDelete()
{
    const CLaunchAction* line = m_launchFile.GetAction(m_nIndex);
    char files[LAUNCH_LINE_SIZE], option[LAUNCH_LINE_SIZE];
    line->GetParam(1, files, sizeof(files));
    line->GetParam(2, option, sizeof(option));

    // No undo flag: nothing goes to the recycle bin.
    FILEOP_FLAGS flags = kDeleteFlags;
    if (IsWord(option, "Delete"))
        flags |= FOF_NOCONFIRMATION;

    CShellFileOp op;
    op.AddSource(files);
    op.SetOperationFlags(FO_DELETE, GetDesktopWindow(), flags);
    if (!op.Go())
    {
        SetText("Error Deleting %s", files);
        return TVINT_FAILED;
    }
    char name[MAX_PATH];
    SetText("Delete %s", NameOf(files, name, sizeof(name)));
    return TVINT_DONE;
}

int CTVInt::DoMove()
{
    const CLaunchAction* line = m_launchFile.GetAction(m_nIndex);
    char source[LAUNCH_LINE_SIZE], dest[LAUNCH_LINE_SIZE], option[LAUNCH_LINE_SIZE];
    line->GetParam(1, source, sizeof(source));
    line->GetParam(2, dest, sizeof(dest));
    line->GetParam(3, option, sizeof(option));

    FILEOP_FLAGS flags = kDeleteFlags;
    if (IsWord(option, "AskNone") || IsWord(option, "AskMove"))
        flags |= FOF_NOCONFIRMATION;
    else if (IsWord(option, "NoOverwrite"))
        flags |= FOF_RENAMEONCOLLISION;

    if (IsWord(option, "AskMoveOverwrite") || IsWord(option, "AskMove"))
    {
        char question[2 * LAUNCH_LINE_SIZE + 96];
        StrFormat(question, sizeof(question),
                  "Are you sure you want to copy source the file(s)\n    %s\nto the destination\n    %s",
                  source, dest);
        if (MessageBoxA(NULL, question, "Tarvin - Confirm", MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL) !=
            IDYES)
        {
            SetText("Error Moving %s to %s", source, dest);
            return TVINT_FAILED;
        }
    }

    CShellFileOp op;
    op.AddSource(source);
    op.AddDest(dest);
    op.SetOperationFlags(FO_MOVE, GetDesktopWindow(), flags);
    if (!op.Go())
    {
        SetText("Error Moving %s to %s", source, dest);
        return TVINT_FAILED;
    }
    char sourceName[MAX_PATH], destName[MAX_PATH];
    SetText("Move %s to %s", NameOf(source, sourceName, sizeof(sourceName)),
            NameOf(dest, destName, sizeof(destName)));
    return TVINT_DONE;
}

int CTVInt::DoAgentRequest(AgentRequest request, const char* param)
{
    CheckTVAgent();
    BuildAgentRequest(request, param, m_szRequest, sizeof(m_szRequest));
    Resend();
    return TVINT_SENT;
}

int CTVInt::DoExit()
{
    if (m_bConfirmExit && !Confirm("Confirm Exit", "Are you sure you want to exit Tarvin?"))
    {
        SetText("User Cancelled exit Tarvin Agent");
        return TVINT_DONE;
    }
    SetText("Exiting Tarvin Agent");
    return DoAgentRequest(AGENT_REQ_EXIT, NULL);
}

int CTVInt::DoShutdown(int restart)
{
    if (restart)
    {
        if (m_bConfirmRestart &&
            !Confirm("Confirm Restart", "Are you sure you want to restart your computer?"))
        {
            SetText("User Cancelled Restart");
            return TVINT_DONE;
        }
    }
    else if (m_bConfirmShutdown &&
             !Confirm("Confirm Shutdown", "Are you sure you want to shutdown your computer?"))
    {
        SetText("User Cancelled Shutdown");
        return TVINT_DONE;
    }

    EnableShutdown();
    UINT flags = (restart ? EWX_REBOOT : EWX_SHUTDOWN) | EWX_FORCEIFHUNG;
    // A refused request is not reported as under way.
    if (!g_pfnExitWindowsEx(flags, SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_FLAG_PLANNED))
    {
        SetText(restart ? "Error restarting Windows" : "Error shutting down Windows");
        return TVINT_FAILED;
    }
    SetText(restart ? "Restarting Windows..." : "Shutting down Windows...");
    return TVINT_DONE;
}

int CTVInt::Confirm(const char* caption, const char* text)
{
    tagDONFIRMTIMEOUT_DATA data;
    data.hInstance = m_hInstance;
    data.hwndOwner = m_hwndOwner;
    data.pszCaption = caption;
    data.pszText = text;
    data.bAssumeYes = m_bAssumeYes;
    data.nCountdown = m_nCountdown;
    data.hIcon = LoadIconA(NULL, (LPCSTR)IDI_QUESTION);
    return ShowConfirmTimeout(&data);
}

namespace
{
const int kAgentStartTries = 1000; // of 10 ms
const UINT kAgentReadyMs = 10000;
} // namespace

int CTVInt::CheckTVAgent()
{
    m_hwndAgent = FindWindowA(AGENT_WINDOW_CLASS, NULL);
    if (m_hwndAgent)
        return 1;
    if (LaunchFromMyDir("tvagent.exe", NULL, NULL, SW_SHOWNORMAL) >= 32)
    {
        // A cold start on a busy machine takes longer than a second. The
        // window comes before the agent reads its files; a request sent then
        // would expire unread, so wait until the agent answers messages.
        for (int i = 0; i < kAgentStartTries; i++)
        {
            Sleep(10);
            m_hwndAgent = FindWindowA(AGENT_WINDOW_CLASS, NULL);
            if (m_hwndAgent)
            {
                DWORD_PTR result;
                SendMessageTimeoutA(m_hwndAgent, WM_NULL, 0, 0, SMTO_NORMAL, kAgentReadyMs, &result);
                return 1;
            }
        }
    }
    MessageBoxA(NULL, "Cannot start the Tarvin Agent.", NULL, MB_OK | MB_ICONWARNING);
    return 0;
}

int CTVInt::Resend()
{
    if (m_pChannel)
        m_pChannel->SendMessage(m_szRequest, AGENT_CHANNEL_ID, m_hwndAgent, TVINT_REQUEST_TTL, 0);
    return 1;
}

int CTVInt::SendLog()
{
    char body[TVINT_REQUEST_SIZE];
    BuildAgentRequest(AGENT_REQ_LOG, m_szActionText, body, sizeof(body));
    if (m_pChannel)
        m_pChannel->SendMessage(body, AGENT_CHANNEL_ID, m_hwndAgent, TVINT_REQUEST_TTL, 0);
    return 1;
}

int CTVInt::EnableShutdown()
{
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info) || info.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return 1;
#pragma GCC diagnostic pop

    return EnablePrivilege("SeShutdownPrivilege");
}

BOOL CALLBACK CTVInt::CloseEnumWindowsProc(HWND hwnd, LPARAM lParam)
{
    if (WindowMatches(hwnd, (const char*)lParam))
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

BOOL CALLBACK CTVInt::DestroyEnumWindowsProc(HWND hwnd, LPARAM lParam)
{
    if (!WindowMatches(hwnd, (const char*)lParam))
        return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process = pid ? OpenProcess(PROCESS_TERMINATE, FALSE, pid) : NULL;
    if (process)
    {
        TerminateProcess(process, 1);
        CloseHandle(process);
    }
    return TRUE;
}

void CTVInt::SetText(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    StrFormatV(m_szActionText, sizeof(m_szActionText), fmt, args);
    va_end(args);
}
