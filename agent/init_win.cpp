// The agent's process-wide state, start-up and shut-down.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <new>

#include "init.h"
#include "winstate.h"
#include "traymenu.h"
#include "firstrun.h"
#include "dirutils_win.h"
#include "dirutils.h"
#include "regutils.h"
#include "staticLink.h"
#include "thmutils.h"
#include "winutils.h"
#include "agent_res.h"
#include "Time.h"
#include "hiddenjournal.h"
#include "strutils.h"
#include "xmlutils.h"

#include "LogFile.h"
#include "logfileDlg.h"
#include "HiddenWindows.h"
#include "hiddenWndDlg.h"
#include "TarvinKeys.h"
#include "schedrunner.h"
#include "ScheduledTask_win.h"
#include "overdueTasks.h"
#include "AppList.h"
#include "browseAppsDlg.h"
#include "prefDlg.h"

UINT IpcNotifyMsg()
{
    static const UINT id = RegisterWindowMessageA(MMAPIPC_NOTIFY_NAME);
    return id;
}

UINT ShowAgentMsg()
{
    static const UINT id = RegisterWindowMessageA(AGENT_SHOWAGENT_MSG_NAME);
    return id;
}

UINT ScheduleChangedMsg()
{
    static const UINT id = RegisterWindowMessageA(AGENT_SCHEDCHANGED_MSG_NAME);
    return id;
}

AgentState* AgentStateOf(HWND mainWnd)
{
    return WindowState<AgentState>(mainWnd);
}

static const char g_szWebLink[] = "www.norvale.example\tVisit the Norvale web site for news and updates";

// --- Tray icon ---------------------------------------------------------------

CTrayIcon::CTrayIcon()
{
    ZeroMemory(&m_nid, sizeof(m_nid));
    // The original record without the balloon fields (64-character tip).
    m_nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    m_nid.uID = 0;
    m_nid.uCallbackMessage = WM_AGENT_TRAY;
    m_nid.uFlags = NIF_MESSAGE;
}

CTrayIcon::~CTrayIcon()
{
    if (m_nid.hWnd)
        Shell_NotifyIconA(NIM_DELETE, &m_nid);
}

void CTrayIcon::Set(HWND hwnd, HICON icon, const char* tip)
{
    m_nid.hWnd = hwnd;
    m_nid.uFlags = NIF_MESSAGE;
    m_nid.hIcon = icon;
    if (icon)
        m_nid.uFlags |= NIF_ICON;
    m_nid.szTip[0] = '\0';
    if (tip && strlen(tip) < sizeof(m_nid.szTip))
    {
        StrCopy(m_nid.szTip, sizeof(m_nid.szTip), tip);
        m_nid.uFlags |= NIF_TIP;
    }
}

bool CTrayIcon::Show(bool show)
{
    return Shell_NotifyIconA(show ? NIM_ADD : NIM_DELETE, &m_nid) != FALSE;
}

// --- Settings ----------------------------------------------------------------

void CheckDontShowAgain(HWND dialog, int id, const DwordSetting& setting)
{
    CheckDlgButton(dialog, id, RegReadSetting(setting) == 0 ? BST_CHECKED : BST_UNCHECKED);
}

void SaveDontShowAgain(HWND dialog, int id, const DwordSetting& setting)
{
    RegWriteSetting(setting, IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 0 : 1);
}

// --- Schedule ----------------------------------------------------------------

void LoadSchedule(HWND owner)
{
    char path[MAX_PATH];
    if (!GetMyTarvinFilesFolder(path, "Tarvin Schedule.dat"))
        return;
    // No file is an empty schedule, not a damaged one: a file deleted while
    // the agent runs must not leave its old tasks running, nor have them
    // written back to a new file after the next run.
    AgentState* st = AgentStateOf(owner);
    int loaded = 1;
    if (FileExists(path))
        loaded = st->schedule.Load(path);
    else
        st->schedule.Clear();
    // The dialog lists from this schedule; it does not read the file itself.
    RefreshOverdueTasksDialog(st->dialogs.overdue);
    if (!loaded)
        MessageBoxA(
            owner,
            "An error has occured while reading the schedule data.\n\nTarvin has recovered as much of "
            "the data as possible.",
            "File Error", MB_OK | MB_ICONWARNING);
}

void RunStartupTasks(HWND hwnd)
{
    AgentState* st = AgentStateOf(hwnd);
    if (RunStartupPass(st, st->schedule, ScheduleChangedMsg()))
        OnViewOverdue(hwnd);
}

void RunDueTasks(HWND hwnd)
{
    AgentState* st = AgentStateOf(hwnd);
    RunMinuteCheck(st, st->schedule, ScheduleChangedMsg());
}

void RecheckOverdueTasks(HWND hwnd)
{
    // An open dialog lists what was overdue when it last filled.
    AgentState* st = AgentStateOf(hwnd);
    RefreshOverdueTasksDialog(st->dialogs.overdue);
    if (CountOverdueAt(st->schedule, CTime()))
        OnViewOverdue(hwnd);
}

// --- Log ---------------------------------------------------------------------

static void LogOpen(AgentState* st, HWND hwnd)
{
    CLogFile& log = st->log;
    // The size is set before the file is read: reading appends, and with the
    // size before it a larger log would lose its oldest entries at every start.
    log.SetSize(RegReadSetting(AGENT_LOG_FILE));
    char path[MAX_PATH] = "";
    GetMyTarvinFilesFolder(path, "Tarvin.log");
    if (TarvinFileExists("Tarvin.log"))
    {
        MessageBoxA(hwnd, "Cannot open log file.\n\nA new log file will be created.", "Tarvin 2",
                    MB_OK | MB_ICONERROR);
        log.SetFileName(path);
    }
    else
    {
        int rc = log.Open(path);
        if (rc != 0 && rc != 4)
            MessageBoxA(
                hwnd, "Cannot read log file.\n\nThe log file may be damaged. A new log file will be created.",
                "Tarvin 2", MB_OK | MB_ICONERROR);
    }
}

bool AgentKeepsLog(const AgentState* st)
{
    return st->log.GetSize() != 0;
}

void AgentLog(AgentState* st, const char* source, const char* event, CLogFile::LOG_SEVERITY severity)
{
    CLogFile::CLogItem* item = new (std::nothrow) CLogFile::CLogItem(severity, source, event);
    if (item)
        st->log.Append(item);
}

// --- Hidden windows ----------------------------------------------------------

int AgentHideWindow(AgentState* st, HWND hwnd)
{
    return st->hiddenWindows.Hide(hwnd);
}

int AgentShowHidden(AgentState* st, unsigned index)
{
    return st->hiddenWindows.Show(index);
}

void AgentShowAllHidden(AgentState* st)
{
    st->hiddenWindows.ShowAll();
}

unsigned AgentHiddenCount(AgentState* st)
{
    return st->hiddenWindows.GetSize();
}

void AgentRefreshHidden(AgentState* st)
{
    st->hiddenWindows.Refresh();
}

bool AgentHiddenTitle(AgentState* st, unsigned index, char* buf, size_t size)
{
    CHiddenWnd* record = st->hiddenWindows.GetAt(index);
    if (!record)
        return false;
    StrCopy(buf, size, record->title ? record->title : "");
    return true;
}

void OnHiddenWindows(HWND hwnd)
{
    AgentState* st = AgentStateOf(hwnd);
    OpenHiddenWindowsDialog(st->instance, &st->hiddenWindows, &st->dialogs.hidden);
}

// --- Hot keys and the other units' dialogs -------------------------------------

CHiddenWindows* CAgentHotKeyHost::GetHiddenWindows()
{
    return &m_state->hiddenWindows;
}

void CAgentHotKeyHost::ShowHiddenWindowList(HWND mainWnd)
{
    OnHiddenWindows(mainWnd);
}

static int KeysLoad(AgentState* st)
{
    return LoadTarvinKeys(st->hwnd, st->keys);
}
static void KeysRegister(AgentState* st)
{
    RegisterTarvinKeys(st->hwnd, st->keys, st->keyHost);
}
// The keys file is the user's: what the save at exit did to it, and any key
// it could not keep, goes to the log.
static void KeysSave(AgentState* st)
{
    tagKEYS_SAVE result;
    SaveTarvinKeys(st->hwnd, st->keys, &result);
    const char* source = "Tarvin 2 Agent";
    const CLogFile::LOG_SEVERITY warning = CLogFile::LOG_WARNING;
    char event[MAX_PATH + 160], name[MAX_PATH];
    switch (result.outcome)
    {
        case KEYS_LEFT_UNREAD:
            AgentLog(st, source, TVKEYS_FILE_NAME " could not be read at start and was left as it was",
                     warning);
            break;
        case KEYS_SAVED_OLD_KEPT:
            GetFileNameFromPath(result.kept, name, sizeof(name));
            StrFormat(event, sizeof(event), TVKEYS_FILE_NAME " could not be read at start; it was kept as %s",
                      name);
            AgentLog(st, source, event, warning);
            AgentLog(st, source, "The Tarvin Keys of this session were saved to " TVKEYS_FILE_NAME);
            break;
        case KEYS_NOT_SAVED:
            AgentLog(st, source,
                     "The Tarvin Keys could not be saved; " TVKEYS_FILE_NAME " was left as it was", warning);
            break;
    }
    if (!result.unwritten)
        return;
    for (unsigned i = 0; i < st->keys.GetSize(); i++)
    {
        CTarvinKey* key = st->keys.GetAt(i);
        if (!key || IsStorableValue(key->target))
            continue;
        char text[128];
        st->keys.GetText(i, text, sizeof(text));
        StrFormat(event, sizeof(event),
                  "The Tarvin Key %s was not saved: its target holds both double and single quotes", text);
        AgentLog(st, source, event, warning);
    }
}
void AgentOnHotKey(HWND hwnd, int id)
{
    AgentState* st = AgentStateOf(hwnd);
    OnHotKey(hwnd, id, st->keys, st->keyHost);
}

void OnViewLog(HWND hwnd)
{
    AgentState* st = AgentStateOf(hwnd);
    OpenLogViewer(st->instance, &st->log, &st->dialogs.log);
}

void OnViewOverdue(HWND hwnd)
{
    AgentState* st = AgentStateOf(hwnd);
    OpenOverdueTasksDialog(st->instance, st, &st->schedule, &st->dialogs.overdue);
}

void OnPreferences(HWND hwnd, int id)
{
    OpenPreferences(AgentStateOf(hwnd), id);
}

// --- Start-up and shut-down ------------------------------------------------------

static void AddTrayIcon(AgentState* st, HWND hwnd)
{
    HICON icon = LoadIconA(st->instance, MAKEINTRESOURCEA(IsWindows2000OrLater() ? IDI_TRAY : IDI_TRAY16));
    st->trayIcon.Set(hwnd, icon, "Tarvin 2");
    st->trayIcon.Show(true);
}

// Windows that an agent which was killed or crashed left hidden come back
// first, before any question can hold up the start.
static unsigned RestoreLeftHidden(unsigned* listed)
{
    char path[MAX_PATH];
    *listed = 0;
    if (!GetMyTarvinFilesFolder(path, HIDDENFILE_NAME))
        return 0;
    return RestoreJournalWindows(path, listed);
}

static void WarnHiddenJournal(void* context)
{
    AgentLog(
        (AgentState*)context, "Tarvin 2 Agent",
        "The list of hidden windows could not be written to " HIDDENFILE_NAME
        "; windows hidden now may stay hidden if the agent does not end normally. Tarvin tries again every "
        "second.",
        CLogFile::LOG_WARNING);
}

static void KeepHiddenJournal(AgentState* st)
{
    char path[MAX_PATH];
    if (GetMyTarvinFilesFolder(path, HIDDENFILE_NAME))
        st->hiddenWindows.SetJournal(path, WarnHiddenJournal, st);
}

int Initialize(HWND hwnd)
{
    AgentState* st = AgentStateOf(hwnd);
    st->hwnd = hwnd;
    unsigned leftHidden = 0;
    unsigned restored = RestoreLeftHidden(&leftHidden);

    INITCOMMONCONTROLSEX icc = {sizeof(icc),
                                ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    InitThemeLib();

    char agentPath[MAX_PATH], tourPath[MAX_PATH];
    GetMyDir(agentPath, sizeof(agentPath), "tvagent.exe");
    GetMyDir(tourPath, sizeof(tourPath), "tv2.chm::/tvqtour_1.html");
    FIRSTRUN_DATA frd = {hwnd, st->instance, "tvtip.sys", agentPath, tourPath};
    if (CheckFirstRunAndMenu(&frd) != 0)
    {
        MessageBoxA(hwnd, "Tarvin 2 is exiting.", "Tarvin 2", MB_OK | MB_ICONERROR);
        PostQuitMessage(1);
    }
    SetFirstRun(0);

    UseLocaleTaskDates();
    LoadSchedule(hwnd);

    LogOpen(st, hwnd);
    AgentLog(st, "Tarvin 2 Agent", "Tarvin Agent started");
    if (leftHidden)
    {
        char event[128];
        StrFormat(event, sizeof(event), "Restored %u of %u windows left hidden when the agent last ended",
                  restored, leftHidden);
        AgentLog(st, "Tarvin 2 Agent", event);
    }
    KeepHiddenJournal(st);

    st->appList.m_hInstance = st->instance;
    InitBrowseApplications(st->instance);

    RECT linkRect = {3, 156, 140, 170};
    st->webLink = CreateStaticLink(hwnd, st->instance, IDC_WEBLINK, &linkRect, g_szWebLink);

    AgentSettings& settings = st->settings;
    settings.swopMouse = RegReadSetting(AGENT_SWOP_MOUSE);
    settings.runScreenSaver = RegReadSetting(AGENT_RUN_SCREEN_SAVER);
    settings.screenSaverCorner = RegReadSetting(AGENT_SCREEN_SAVER_CORNER);
    settings.screenSaverTime = RegReadSetting(AGENT_SCREEN_SAVER_TIME);
    // A stored 0 would start the screen saver at every tick wherever the cursor is.
    if (settings.screenSaverTime == 0)
        settings.screenSaverTime = 1;

    if (!KeysLoad(st))
        MessageBoxA(hwnd, "Unable to load your Tarvin Keys.", nullptr, MB_OK | MB_ICONWARNING);
    KeysRegister(st);

    AddTrayIcon(st, hwnd);

    st->mainMenu = BuildMainMenu(st->instance);

    if (!st->ipc.Init(hwnd, AGENT_CHANNEL_ID, MMAPIPC_MUTEX_NAME, MMAPIPC_MEMMAP_NAME))
    {
        char text[128];
        StrFormat(text, sizeof(text), "Unable to initialize interprocess communication:\n   Error code: %d",
                  st->ipc.GetError());
        MessageBoxA(hwnd, text, nullptr, MB_OK | MB_ICONWARNING);
    }

    MenuXP_InitDrawInfo(&st->diItem, 0);
    MenuXP_InitDrawInfo(&st->diSidebar, 1);

    SetTimer(hwnd, AGENT_TIMER_ACTIONS, 1000, nullptr);

    if (RegReadSetting(AGENT_NO_SPLASH) == 0)
        PostMessageA(hwnd, WM_AGENT_SPLASH, 0, 0);
    else if (RegReadSetting(AGENT_SHOW_WIZARD) != 0)
        PostMessageA(hwnd, WM_COMMAND, IDM_STARTUPWIZARD, 0);

    RunStartupTasks(hwnd);
    return 1;
}

// The modeless dialogs go before anything else: a preferences page writes
// what it shows as it is destroyed, and no dialog may outlive the state it
// works on.
static void CloseAgentDialogs(AgentState* st)
{
    AgentDialogs& d = st->dialogs;
    HWND* slots[] = {&d.pref, &d.wizard, &d.noExit, &d.hidden, &d.log, &d.overdue};
    for (HWND* slot : slots)
    {
        if (*slot && IsWindow(*slot))
            DestroyWindow(*slot);
        *slot = nullptr;
    }
}

int Uninitialize(AgentState* st)
{
    // The session's end runs these steps before the message loop ends; the
    // loop's end must not show, save or log a second time.
    if (!st || st->uninitialized)
        return 1;
    st->uninitialized = true;
    CloseAgentDialogs(st);
    AgentShowAllHidden(st);
    FreeThemeLib();
    st->trayIcon.Show(false);
    if (st->mainMenu)
        MenuXP_DestroyMenu(st->mainMenu, 0, 1, 0);
    st->mainMenu = nullptr;
    KeysSave(st);
    if (st->instanceSem)
        ReleaseSemaphore(st->instanceSem, 1, nullptr);
    AgentLog(st, "Tarvin 2 Agent", "Tarvin Agent exit");
    MenuXP_FreeDrawInfo(&st->diItem);
    MenuXP_FreeDrawInfo(&st->diSidebar);
    return 1;
}

void EndSession(HWND hwnd)
{
    AgentState* st = AgentStateOf(hwnd);
    Uninitialize(st);
    // The system may end the process as soon as the session's end has been
    // answered, before any destructor runs: the log is written now.
    if (st)
        st->log.Flush();
}
