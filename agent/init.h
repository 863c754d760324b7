// The agent's process-wide state, its start-up and shut-down, and the
// services the main window reaches in other units.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "MMapIPC_win.h"
#include "ScheduledTask.h"
#include "menuxp.h"
#include "winholders.h"
#include "AppList.h"
#include "HiddenWindows.h"
#include "LogFile.h"
#include "TarvinKeys.h"
#include "agentproto.h"
#include "agentSettings.h"

#define AGENT_WINDOW_TITLE "Tarvin 2 Agent"
#define AGENT_SEMAPHORE_NAME "__Tarvin__TVAgent__"
#define AGENT_SHOWAGENT_MSG_NAME "568392F0-DE75-4bae-9A75-4422143F8FB8"
#define AGENT_SCHEDCHANGED_MSG_NAME "FD891CBC-B188-4471-B9A5-CE617A9005CB"

// Private messages of the main window.
#define WM_AGENT_SPLASH (WM_USER + 1)
#define WM_AGENT_NOEXIT (WM_USER + 11)
#define WM_AGENT_TRAY 0x0BAF

#define AGENT_TIMER_SPLASH 1
#define AGENT_TIMER_ACTIONS 2
// After an exit request with the log on: the longest wait for the sender's
// log entry of that request.
#define AGENT_TIMER_EXIT 3
const UINT AGENT_EXIT_GRACE_MS = 3000;

// The notification-area icon: one record, added or deleted as a whole.
class CTrayIcon
{
  public:
    CTrayIcon();
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // The window that gets the icon's messages, the icon (none: no icon) and
    // the tip (none, or one too long for the record: no tip).
    void Set(HWND hwnd, HICON icon, const char* tip);
    // What Shell_NotifyIcon answered to the add or the delete.
    bool Show(bool show);

  private:
    NOTIFYICONDATAA m_nid;
};

// Registered on first use; the same ids in every process.
UINT IpcNotifyMsg();
UINT ShowAgentMsg();
UINT ScheduleChangedMsg();

struct AgentState;

// What the hot-key actions reach in the rest of the agent.
class CAgentHotKeyHost : public CHotKeyHost
{
  public:
    explicit CAgentHotKeyHost(AgentState* state) : m_state(state)
    {
    }
    CHiddenWindows* GetHiddenWindows() override;
    void ShowHiddenWindowList(HWND mainWnd) override;

  private:
    AgentState* m_state;
};

// The settings the preferences change in the running agent.
struct AgentSettings
{
    DWORD swopMouse = 0;
    DWORD runScreenSaver = 0;
    DWORD screenSaverCorner = 0;
    DWORD screenSaverTime = 1;
};

// The modeless dialogs; each clears its own slot when it is destroyed.
struct AgentDialogs
{
    HWND pref = nullptr;
    HWND wizard = nullptr;
    HWND noExit = nullptr;
    HWND hidden = nullptr;
    HWND log = nullptr;
    HWND overdue = nullptr;
};

// What the main window holds for the agent's life: created by WinMain, handed
// to the window at its creation and reached through its GWLP_USERDATA.
struct AgentState
{
    AgentState() : log(100, nullptr), keyHost(this)
    {
    }
    AgentState(const AgentState&) = delete;
    AgentState& operator=(const AgentState&) = delete;

    HINSTANCE instance = nullptr;
    HWND hwnd = nullptr;
    HANDLE instanceSem = nullptr;
    CTrayIcon trayIcon;
    HMENU mainMenu = nullptr;
    CMMapIPC ipc;
    tagMENUXP_DRAWINFO diItem = {};
    tagMENUXP_DRAWINFO diSidebar = {};
    AgentSettings settings;
    DWORD cornerCount = 0;
    BOOL noExitPending = FALSE;
    HWND webLink = nullptr;
    AgentDialogs dialogs;
    CSTaskList schedule;
    CLogFile log;
    CHiddenWindows hiddenWindows;
    CTarvinKeys keys;
    CAgentHotKeyHost keyHost;
    // Filled on the first browse and kept for the agent's life.
    CAppList appList;
    // A tray menu is being tracked.
    bool tracking = false;
    // An exit request waits for the sender's log entry.
    bool exitPending = false;
    // The shut-down steps have run.
    bool uninitialized = false;
    // The About view's picture and fonts: made with the window, gone with it.
    CGdiObject<HBITMAP> aboutPicture;
    CGdiObject<HFONT> boldFont;
    CGdiObject<HFONT> normalFont;
};

// The state of the agent's main window; null before WM_NCCREATE.
AgentState* AgentStateOf(HWND mainWnd);

int Initialize(HWND hwnd);
// Shut-down: closes the open dialogs (the preferences write their page),
// shows the hidden windows again, removes the tray icon, saves the keys and
// logs the exit; once per run, later calls do nothing. Runs while the main
// window exists: at the end of the message loop, or in WM_DESTROY when the
// window goes first.
int Uninitialize(AgentState* st);
// At logoff or shutdown: the shut-down steps, and the log written at once.
void EndSession(HWND hwnd);

// A dialog's "don't show again" box and the setting behind it: 0 means the
// box is checked, and a missing setting means it is not.
void CheckDontShowAgain(HWND dialog, int id, const DwordSetting& setting);
void SaveDontShowAgain(HWND dialog, int id, const DwordSetting& setting);

// Loads "Tarvin Schedule.dat" (no file: an empty schedule), refills the
// Overdue Tasks dialog when it is open, and tells the user when only part of
// the file could be read. Start-up and every schedule-changed message.
void LoadSchedule(HWND owner);
// The schedule runner: the start-up pass (last step of start-up) and the
// minute check (third step of every tick).
void RunStartupTasks(HWND hwnd);
void RunDueTasks(HWND hwnd);
// After the machine wakes or the clock is changed: the start-up pass's
// overdue check again (the start-up tasks do not run), which opens the
// Overdue Tasks dialog when a task's time passed meanwhile.
void RecheckOverdueTasks(HWND hwnd);

// --- Services of the log, hidden-window and hot-key units ------------------
void AgentLog(AgentState* st, const char* source, const char* event,
              CLogFile::LOG_SEVERITY severity = CLogFile::LOG_INFO);
// True while a log is kept (its size is not 0).
bool AgentKeepsLog(const AgentState* st);
int AgentHideWindow(AgentState* st, HWND hwnd);
// Shows the record at index and removes it; 0 when there is none.
int AgentShowHidden(AgentState* st, unsigned index);
// Shows every hidden window and forgets them all.
void AgentShowAllHidden(AgentState* st);
unsigned AgentHiddenCount(AgentState* st);
// Drops records of windows that are gone and re-reads the titles.
void AgentRefreshHidden(AgentState* st);
// The record's title; false past the end.
bool AgentHiddenTitle(AgentState* st, unsigned index, char* buf, size_t size);
void AgentOnHotKey(HWND hwnd, int id);
// Open or raise the dialogs of the other agent units.
void OnHiddenWindows(HWND hwnd);
void OnViewLog(HWND hwnd);
void OnViewOverdue(HWND hwnd);
void OnPreferences(HWND hwnd, int id);
