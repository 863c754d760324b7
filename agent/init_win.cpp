// The agent's process-wide state, start-up and shut-down.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <new>

#include "init.h"
#include "traymenu.h"
#include "firstrun.h"
#include "dirutils_win.h"
#include "regutils.h"
#include "staticLink.h"
#include "thmutils.h"
#include "winutils.h"
#include "agent_res.h"
#include "Time.h"
#include "hiddenjournal.h"
#include "strutils.h"

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

HINSTANCE g_hInst;
HWND g_hWnd;
HANDLE g_hInstanceSem;
CTrayIcon g_trayIcon;
HMENU g_hMainMenu;
CSTaskList g_schedule;
CMMapIPC g_ipc;
tagMENUXP_DRAWINFO g_diItem;
tagMENUXP_DRAWINFO g_diSidebar;
DWORD g_dwSwopMouse;
DWORD g_dwRunScreenSaver;
DWORD g_dwScreenSaverCorner;
DWORD g_dwScreenSaverTime = 1;
DWORD g_dwCornerCount;
BOOL g_bNoExitPending;
HWND g_hWebLink;

HWND g_hPrefDlg;
HWND g_hWizardDlg;
HWND g_hNoExitDlg;
HWND g_hHiddenDlg;
HWND g_hLogDlg;
HWND g_hOverdueDlg;

const UINT g_uIpcNotifyMsg = RegisterWindowMessageA(MMAPIPC_NOTIFY_NAME);
const UINT g_uShowAgentMsg = RegisterWindowMessageA(AGENT_SHOWAGENT_MSG_NAME);
const UINT g_uScheduleChangedMsg = RegisterWindowMessageA(AGENT_SCHEDCHANGED_MSG_NAME);

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

DWORD ReadAgentSetting(const char* name, DWORD defaultValue)
{
    unsigned long value = defaultValue;
    RegReadDWORD(HKEY_CURRENT_USER, AGENT_REG_KEY, name, &value);
    return (DWORD)value;
}

void WriteAgentSetting(const char* name, DWORD value)
{
    RegWriteDWORD(HKEY_CURRENT_USER, AGENT_REG_KEY, name, value);
}

void CheckDontShowAgain(HWND dialog, int id, const char* setting)
{
    CheckDlgButton(dialog, id, ReadAgentSetting(setting, 1) == 0 ? BST_CHECKED : BST_UNCHECKED);
}

void SaveDontShowAgain(HWND dialog, int id, const char* setting)
{
    WriteAgentSetting(setting, IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 0 : 1);
}

void RedrawTaskbar()
{
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    if (taskbar)
        RedrawWindow(taskbar, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW |
                         RDW_ERASENOW | RDW_FRAME);
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
    int loaded = 1;
    if (FileExists(path))
        loaded = g_schedule.Load(path);
    else
        g_schedule.Clear();
    // The dialog lists from this schedule; it does not read the file itself.
    RefreshOverdueTasksDialog(g_hOverdueDlg);
    if (!loaded)
        MessageBoxA(
            owner,
            "An error has occured while reading the schedule data.\n\nTarvin has recovered as much of "
            "the data as possible.",
            "File Error", MB_OK | MB_ICONWARNING);
}

void RunStartupTasks(HWND hwnd)
{
    if (RunStartupPass(g_schedule, g_uScheduleChangedMsg))
        OnViewOverdue(hwnd);
}

void RunDueTasks(HWND)
{
    RunMinuteCheck(g_schedule, g_uScheduleChangedMsg);
}

void RecheckOverdueTasks(HWND hwnd)
{
    // An open dialog lists what was overdue when it last filled.
    RefreshOverdueTasksDialog(g_hOverdueDlg);
    if (CountOverdueAt(g_schedule, CTime()))
        OnViewOverdue(hwnd);
}

// --- Log ---------------------------------------------------------------------

static CLogFile g_log(100, nullptr);

static void LogOpen(HWND hwnd)
{
    DWORD size = ReadAgentSetting("Log File", 0);
    char path[MAX_PATH] = "";
    GetMyTarvinFilesFolder(path, "Tarvin.log");
    if (TarvinFileExists("Tarvin.log"))
    {
        MessageBoxA(hwnd, "Cannot open log file.\n\nA new log file will be created.", "Tarvin 2",
                    MB_OK | MB_ICONERROR);
        g_log.SetFileName(path);
    }
    else
    {
        int rc = g_log.Open(path);
        if (rc != 0 && rc != 4)
            MessageBoxA(
                hwnd, "Cannot read log file.\n\nThe log file may be damaged. A new log file will be created.",
                "Tarvin 2", MB_OK | MB_ICONERROR);
    }
    g_log.SetSize(size);
}

bool AgentKeepsLog()
{
    return g_log.GetSize() != 0;
}

void AgentLog(const char* source, const char* event)
{
    CLogFile::CLogItem* item = new (std::nothrow) CLogFile::CLogItem(CLogFile::LOG_INFO, source, event);
    if (item)
        g_log.Append(item);
}

// --- Hidden windows ----------------------------------------------------------

static CHiddenWindows g_hiddenWindows;

int AgentHideWindow(HWND hwnd)
{
    return g_hiddenWindows.Hide(hwnd);
}

int AgentShowHidden(unsigned index)
{
    return g_hiddenWindows.Show(index);
}

void AgentShowAllHidden()
{
    g_hiddenWindows.ShowAll();
}

unsigned AgentHiddenCount()
{
    return g_hiddenWindows.GetSize();
}

void AgentRefreshHidden()
{
    g_hiddenWindows.Refresh();
}

bool AgentHiddenTitle(unsigned index, char* buf, size_t size)
{
    CHiddenWnd* record = g_hiddenWindows.GetAt(index);
    if (!record)
        return false;
    StrCopy(buf, size, record->title ? record->title : "");
    return true;
}

void OnHiddenWindows(HWND)
{
    OpenHiddenWindowsDialog(g_hInst, &g_hiddenWindows, &g_hHiddenDlg);
}

// --- Hot keys and the other units' dialogs -------------------------------------

namespace
{
// What the hot-key actions reach in the rest of the agent.
class CAgentHotKeyHost : public CHotKeyHost
{
  public:
    CHiddenWindows* GetHiddenWindows() override
    {
        return &g_hiddenWindows;
    }
    void ShowHiddenWindowList(HWND mainWnd) override
    {
        OnHiddenWindows(mainWnd);
    }
};

CTarvinKeys g_keys;
CAgentHotKeyHost g_keyHost;
} // namespace

static int KeysLoad()
{
    return LoadTarvinKeys(g_hWnd, g_keys);
}
static void KeysRegister()
{
    RegisterTarvinKeys(g_hWnd, g_keys, g_keyHost);
}
static void KeysSave()
{
    SaveTarvinKeys(g_hWnd, g_keys);
}
void AgentOnHotKey(HWND hwnd, int id)
{
    OnHotKey(hwnd, id, g_keys, g_keyHost);
}

void OnViewLog(HWND)
{
    OpenLogViewer(g_hInst, &g_log, &g_hLogDlg);
}

void OnViewOverdue(HWND)
{
    OpenOverdueTasksDialog(g_hInst, &g_hOverdueDlg);
}

CLogFile* AgentLogFile()
{
    return &g_log;
}

CTarvinKeys* AgentKeys()
{
    return &g_keys;
}

// Filled on the first browse and kept for the agent's life.
static CAppList g_appList;

CAppList* AgentAppList()
{
    return &g_appList;
}

// --- Start-up and shut-down ------------------------------------------------------

static void AddTrayIcon(HWND hwnd)
{
    HICON icon = LoadIconA(g_hInst, MAKEINTRESOURCEA(IsWindows2000OrLater() ? IDI_TRAY : IDI_TRAY16));
    g_trayIcon.Set(hwnd, icon, "Tarvin 2");
    g_trayIcon.Show(true);
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

static void KeepHiddenJournal()
{
    char path[MAX_PATH];
    if (GetMyTarvinFilesFolder(path, HIDDENFILE_NAME))
        g_hiddenWindows.SetJournal(path);
}

int Initialize(HWND hwnd)
{
    unsigned leftHidden = 0;
    unsigned restored = RestoreLeftHidden(&leftHidden);

    INITCOMMONCONTROLSEX icc = {sizeof(icc),
                                ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    InitThemeLib();

    char agentPath[MAX_PATH], tourPath[MAX_PATH];
    GetMyDir(agentPath, sizeof(agentPath), "tvagent.exe");
    GetMyDir(tourPath, sizeof(tourPath), "tv2.chm::/tvqtour_1.html");
    FIRSTRUN_DATA frd = {hwnd, g_hInst, "tvtip.sys", agentPath, tourPath};
    if (CheckFirstRunAndMenu(&frd) != 0)
    {
        MessageBoxA(hwnd, "Tarvin 2 is exiting.", "Tarvin 2", MB_OK | MB_ICONERROR);
        PostQuitMessage(1);
    }
    SetFirstRun(0);

    UseLocaleTaskDates();
    LoadSchedule(hwnd);

    LogOpen(hwnd);
    AgentLog("Tarvin 2 Agent", "Tarvin Agent started");
    if (leftHidden)
    {
        char event[128];
        StrFormat(event, sizeof(event), "Restored %u of %u windows left hidden when the agent last ended",
                  restored, leftHidden);
        AgentLog("Tarvin 2 Agent", event);
    }
    KeepHiddenJournal();

    g_appList.m_hInstance = g_hInst;
    InitBrowseApplications(g_hInst);

    RECT linkRect = {3, 156, 140, 170};
    g_hWebLink = CreateStaticLink(hwnd, g_hInst, IDC_WEBLINK, &linkRect, g_szWebLink);

    g_dwSwopMouse = ReadAgentSetting("Swop Mouse", 0);
    g_dwRunScreenSaver = ReadAgentSetting("Run Screen Saver", 0);
    g_dwScreenSaverCorner = ReadAgentSetting("Screen Saver Corner", 0);
    g_dwScreenSaverTime = ReadAgentSetting("Screen Saver Time", 1);
    // A stored 0 would start the screen saver at every tick wherever the cursor is.
    if (g_dwScreenSaverTime == 0)
        g_dwScreenSaverTime = 1;

    if (!KeysLoad())
        MessageBoxA(hwnd, "Unable to load your Tarvin Keys.", nullptr, MB_OK | MB_ICONWARNING);
    KeysRegister();

    AddTrayIcon(hwnd);

    g_hMainMenu = BuildMainMenu(g_hInst);

    if (!g_ipc.Init(hwnd, AGENT_IPC_ID, MMAPIPC_MUTEX_NAME, MMAPIPC_MEMMAP_NAME))
    {
        char text[128];
        StrFormat(text, sizeof(text), "Unable to initialize interprocess communication:\n   Error code: %d",
                  g_ipc.GetError());
        MessageBoxA(hwnd, text, nullptr, MB_OK | MB_ICONWARNING);
    }

    MenuXP_InitDrawInfo(&g_diItem, 0);
    MenuXP_InitDrawInfo(&g_diSidebar, 1);

    SetTimer(hwnd, AGENT_TIMER_ACTIONS, 1000, nullptr);

    if (ReadAgentSetting("No Splash", 0) == 0)
        PostMessageA(hwnd, WM_AGENT_SPLASH, 0, 0);
    else if (ReadAgentSetting("Show Wizard", 1) != 0)
        PostMessageA(hwnd, WM_COMMAND, IDM_STARTUPWIZARD, 0);

    RunStartupTasks(hwnd);
    return 1;
}

int Uninitialize(HWND)
{
    // The session's end runs these steps before the message loop ends; the
    // loop's end must not show, save or log a second time.
    static bool s_done = false;
    if (s_done)
        return 1;
    s_done = true;
    AgentShowAllHidden();
    FreeThemeLib();
    g_trayIcon.Show(false);
    if (g_hMainMenu)
        MenuXP_DestroyMenu(g_hMainMenu, 0, 1, 0);
    g_hMainMenu = nullptr;
    KeysSave();
    if (g_hInstanceSem)
        ReleaseSemaphore(g_hInstanceSem, 1, nullptr);
    AgentLog("Tarvin 2 Agent", "Tarvin Agent exit");
    MenuXP_FreeDrawInfo(&g_diItem);
    MenuXP_FreeDrawInfo(&g_diSidebar);
    return 1;
}

void EndSession(HWND hwnd)
{
    Uninitialize(hwnd);
    // The system may end the process as soon as the session's end has been
    // answered, before any destructor runs: the log is written now.
    g_log.Flush();
}
