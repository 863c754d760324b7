// Task dates in the user's own formats, and the one way a task is started.
#include <windows.h>
#include <shellapi.h>

#include "ScheduledTask_win.h"
#include "dtmutils_win.h"

#include "strutils.h"

int FormatTaskDateLocale(const CTime& t, char* date, size_t dateSize, char* timeOfDay, size_t timeSize)
{
    StrCopy(date, dateSize, "");
    StrCopy(timeOfDay, timeSize, "");
    if (!IsValidTaskTime(t))
        return 0;

    // The arithmetic leaves wDayOfWeek stale; hand over the true one rather
    // than rely on the system to work it out from the date.
    SYSTEMTIME st = *t.GetSystemTimePtr();
    st.wDayOfWeek = (WORD)((GetTaskWeekday(t) + 1) % 7);

    if (FormatLocaleDateTime(&st, date, dateSize, timeOfDay, timeSize))
        return 1;
    StrCopy(date, dateSize, "");
    StrCopy(timeOfDay, timeSize, "");
    return 0;
}

void UseLocaleTaskDates()
{
    SetTaskDateFormatter(FormatTaskDateLocale);
}

// The shell's own failure codes (below 33) as the system's error codes, for
// the system's texts.
static DWORD ShellErrorCode(INT_PTR code)
{
    switch (code)
    {
        case SE_ERR_FNF:
        case SE_ERR_PNF:
        case SE_ERR_ACCESSDENIED:
        case SE_ERR_OOM:
            return (DWORD)code;
        case SE_ERR_SHARE:
            return ERROR_SHARING_VIOLATION;
        case SE_ERR_ASSOCINCOMPLETE:
        case SE_ERR_NOASSOC:
            return ERROR_NO_ASSOCIATION;
        case SE_ERR_DDETIMEOUT:
        case SE_ERR_DDEFAIL:
        case SE_ERR_DDEBUSY:
            return ERROR_DDE_FAIL;
        case SE_ERR_DLLNOTFOUND:
            return ERROR_DLL_NOT_FOUND;
        default:
            return ERROR_GEN_FAILURE;
    }
}

DWORD StartScheduledTask(CSTask& task)
{
    SHELLEXECUTEINFOA sei;
    ZeroMemory(&sei, sizeof(sei));
    sei.cbSize = sizeof(sei);
    // Nobody may be at the screen when a task runs: the reason goes to the
    // task (and the agent's log), not into a message box that waits.
    sei.fMask = SEE_MASK_FLAG_NO_UI;
    sei.lpVerb = "Open";
    sei.lpFile = task.GetTarget();
    sei.lpParameters = task.GetCmdLine();
    sei.lpDirectory = task.GetDir();
    sei.nShow = task.GetWindowState();
    SetLastError(0);
    if (ShellExecuteExA(&sei))
    {
        task.SetLastResult(ST_RESULT_OK);
        return 0;
    }
    DWORD error = GetLastError();
    if (error == 0)
        error = ShellErrorCode((INT_PTR)sei.hInstApp);
    char reason[ST_RESULT_SIZE];
    if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, reason,
                        sizeof(reason), nullptr))
        StrFormat(reason, sizeof(reason), "Error %lu", (unsigned long)error);
    TrimStr(reason);
    task.SetLastResult(reason);
    return error;
}
