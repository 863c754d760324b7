// The Preferences dialog and its General, Screen Saver, Logging and Launch
// File pages.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include "prefDlg.h"
#include "winstate.h"
#include "prefDlgRes.h"
#include "init.h"
#include "LogFile.h"
#include "logfileDlg.h"
#include "regutils.h"
#include "interpreterSettings.h"
#include "strutils.h"
#include "thmutils.h"
#include "winutils.h"

namespace
{
struct PrefPage
{
    const char* label;
    int dialog;
    DLGPROC proc;
};

INT_PTR CALLBACK PrefGeneralDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK PrefScrSavDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK PrefLoggingDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK PrefLaunchFileDlgProc(HWND, UINT, WPARAM, LPARAM);

const PrefPage g_pages[] = {
    {"General", IDD_PREF_GENERAL, PrefGeneralDlgProc},
    {"Screen Saver", IDD_PREF_SCREENSAVER, PrefScrSavDlgProc},
    {"Tarvin Keys", IDD_PREF_KEYS, PrefKeysDlgProc},
    {"Logging", IDD_PREF_LOGGING, PrefLoggingDlgProc},
    {"Launch  File", IDD_PREF_LAUNCHFILE, PrefLaunchFileDlgProc},
};
const int kPageCount = sizeof(g_pages) / sizeof(g_pages[0]);
const int kFirstPageCommand = 220;

const char kRunName[] = "Tarvin";
const char kUpDownFailed[] = "An error has occured while creating the up-down control.";

struct PrefState
{
    AgentState* agent;
    HWND page;
    int command; // the page asked for at opening
};
} // namespace

AgentState* PrefPageAgent(HWND page)
{
    PrefState* st = DialogState<PrefState>(GetParent(page));
    return st ? st->agent : nullptr;
}

// --- Small helpers of the pages ------------------------------------------------

static bool IsChecked(HWND dlg, int id)
{
    return IsDlgButtonChecked(dlg, id) == BST_CHECKED;
}

static void Check(HWND dlg, int id, bool on)
{
    CheckDlgButton(dlg, id, on ? BST_CHECKED : BST_UNCHECKED);
}

static void EnableItems(HWND dlg, const int* ids, int count, bool on)
{
    for (int i = 0; i < count; i++)
        EnableWindow(GetDlgItem(dlg, ids[i]), on);
}

// A decimal number, optionally signed, after optional blanks.
static bool IsNumberText(const char* text)
{
    while (*text == ' ' || *text == '\t')
        text++;
    if (*text == '-' || *text == '+')
        text++;
    return *text >= '0' && *text <= '9';
}

int ClampSeconds(const char* text, int fallback)
{
    if (!IsNumberText(text))
        return fallback;
    int n = StrToInt(text);
    return n < 1 ? 1 : n > 60 ? 60 : n;
}

static int SecondsOf(HWND dlg, int editId, int fallback)
{
    char text[32] = "";
    GetDlgItemTextA(dlg, editId, text, sizeof(text));
    return ClampSeconds(text, fallback);
}

// Puts the clamped number back into the box through its up-down control.
static void ClampSecondsBox(HWND dlg, int editId, int updownId, int fallback)
{
    char text[32] = "";
    GetDlgItemTextA(dlg, editId, text, sizeof(text));
    HWND updown = GetDlgItem(dlg, updownId);
    if (!IsNumberText(text))
    {
        SendMessageA(updown, UDM_SETPOS32, 0, fallback);
        return;
    }
    int n = ClampSeconds(text, fallback);
    // Setting the same position again would not rewrite the box's text.
    SendMessageA(updown, UDM_SETPOS32, 0, n - 1);
    SendMessageA(updown, UDM_SETPOS32, 0, n);
}

static HWND CreateSecondsUpDown(HWND dlg, int editId, int updownId, int pos)
{
    return CreateUpDownControl(WS_CHILD | WS_BORDER | WS_VISIBLE | UDS_WRAP | UDS_SETBUDDYINT |
                                   UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                               0, 0, 0, 0, dlg, updownId, (HINSTANCE)GetWindowLongPtrA(dlg, GWLP_HINSTANCE),
                               GetDlgItem(dlg, editId), 60, 1,
                               pos < 1    ? 1
                               : pos > 60 ? 60
                                          : pos);
}

// --- General page ------------------------------------------------------------------

namespace
{

BOOL PrefGeneralDlg_OnInit(HWND hwnd, HWND, LPARAM)
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof(self));
    Check(hwnd, IDC_GEN_RUNATLOGON, IsRunningAtStartUp(kRunName, self) == 1);
    Check(hwnd, IDC_GEN_NOSPLASH, RegReadSetting(AGENT_NO_SPLASH) != 0);
    Check(hwnd, IDC_GEN_SWOPMOUSE, PrefPageAgent(hwnd)->settings.swopMouse != 0);
    return TRUE;
}

void PrefGeneralDlg_OnRunAtLogon(HWND hwnd)
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof(self));
    if (IsChecked(hwnd, IDC_GEN_RUNATLOGON))
    {
        // Setting reports success with 0.
        if (RunAtStartUp(kRunName, self, 1) != 0)
        {
            MessageBoxA(hwnd, "Unable to set run at startup registry key.", nullptr, MB_OK | MB_ICONWARNING);
            Check(hwnd, IDC_GEN_RUNATLOGON, false);
        }
    }
    else if (RunAtStartUp(kRunName, self, 0) != 1)
    {
        MessageBoxA(hwnd, "Unable to unset run at startup registry key.", nullptr, MB_OK | MB_ICONWARNING);
        Check(hwnd, IDC_GEN_RUNATLOGON, true);
    }
}

void PrefGeneralDlg_OnCommand(HWND hwnd, int id, HWND, UINT code)
{
    if (code != BN_CLICKED)
        return;
    switch (id)
    {
        case IDC_GEN_RUNATLOGON:
            PrefGeneralDlg_OnRunAtLogon(hwnd);
            break;
        case IDC_GEN_NOSPLASH:
            RegWriteSetting(AGENT_NO_SPLASH, IsChecked(hwnd, IDC_GEN_NOSPLASH) ? 1 : 0);
            break;
        case IDC_GEN_SWOPMOUSE: {
            DWORD& swop = PrefPageAgent(hwnd)->settings.swopMouse;
            swop = IsChecked(hwnd, IDC_GEN_SWOPMOUSE) ? 1 : 0;
            RegWriteSetting(AGENT_SWOP_MOUSE, swop);
            break;
        }
    }
}

INT_PTR CALLBACK PrefGeneralDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, PrefGeneralDlg_OnInit);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, PrefGeneralDlg_OnCommand);
    }
    return FALSE;
}

// --- Screen Saver page ----------------------------------------------------------------

const struct
{
    int id;
    DWORD bit;
} g_corners[] = {{IDC_SS_TOPLEFT, 1}, {IDC_SS_TOPRIGHT, 2}, {IDC_SS_BOTTOMLEFT, 4}, {IDC_SS_BOTTOMRIGHT, 8}};

void PrefScrSavDlg_OnScreenSaver(HWND hwnd)
{
    AgentSettings& settings = PrefPageAgent(hwnd)->settings;
    settings.runScreenSaver = IsChecked(hwnd, IDC_SS_RUN) ? 1 : 0;
    RegWriteSetting(AGENT_RUN_SCREEN_SAVER, settings.runScreenSaver);
    DWORD mask = 0;
    for (const auto& c : g_corners)
        mask |= IsChecked(hwnd, c.id) ? c.bit : 0;
    settings.screenSaverCorner = mask;
    RegWriteSetting(AGENT_SCREEN_SAVER_CORNER, mask);
    // A 0 would start the screen saver at every tick wherever the cursor is.
    settings.screenSaverTime = (DWORD)SecondsOf(hwnd, IDC_SS_TIME, (int)settings.screenSaverTime);
    RegWriteSetting(AGENT_SCREEN_SAVER_TIME, settings.screenSaverTime);
    static const int dependents[] = {IDC_SS_TIME,        IDC_SS_TOPLEFT, IDC_SS_TOPRIGHT,  IDC_SS_BOTTOMLEFT,
                                     IDC_SS_BOTTOMRIGHT, IDC_SS_UPDOWN,  IDC_SS_TIMELABEL, IDC_SS_SECONDS};
    EnableItems(hwnd, dependents, sizeof(dependents) / sizeof(dependents[0]), settings.runScreenSaver != 0);
}

BOOL PrefScrSavDlg_OnInit(HWND hwnd, HWND, LPARAM)
{
    const AgentSettings& settings = PrefPageAgent(hwnd)->settings;
    Check(hwnd, IDC_SS_RUN, settings.runScreenSaver != 0);
    for (const auto& c : g_corners)
        Check(hwnd, c.id, (settings.screenSaverCorner & c.bit) != 0);
    if (!CreateSecondsUpDown(hwnd, IDC_SS_TIME, IDC_SS_UPDOWN, (int)settings.screenSaverTime))
    {
        MessageBoxA(hwnd, kUpDownFailed, nullptr, MB_OK | MB_ICONWARNING);
        DestroyWindow(hwnd);
        return FALSE;
    }
    PrefScrSavDlg_OnScreenSaver(hwnd);
    return TRUE;
}

void PrefScrSavDlg_OnCommand(HWND hwnd, int id, HWND, UINT code)
{
    if (id == IDC_SS_TIME)
    {
        if (code == EN_KILLFOCUS)
            ClampSecondsBox(hwnd, IDC_SS_TIME, IDC_SS_UPDOWN,
                            (int)PrefPageAgent(hwnd)->settings.screenSaverTime);
        return;
    }
    PrefScrSavDlg_OnScreenSaver(hwnd);
}

void PrefScrSavDlg_OnDestroy(HWND hwnd)
{
    if (GetDlgItem(hwnd, IDC_SS_UPDOWN))
        PrefScrSavDlg_OnScreenSaver(hwnd);
}

INT_PTR CALLBACK PrefScrSavDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, PrefScrSavDlg_OnInit);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, PrefScrSavDlg_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, PrefScrSavDlg_OnDestroy);
    }
    return FALSE;
}

// --- Logging page ------------------------------------------------------------------------

void PrefLoggingDlg_OnKeepLogFile(HWND hwnd)
{
    CLogFile* log = &PrefPageAgent(hwnd)->log;
    bool keep = IsChecked(hwnd, IDC_LOG_KEEP);
    static const int dependents[] = {IDC_LOG_TEXT, IDC_LOG_SETSIZE, IDC_LOG_VIEW};
    EnableItems(hwnd, dependents, 3, keep);
    char text[128];
    if (keep)
    {
        if (log->GetSize() == 0)
            log->SetSize(100);
        StrFormat(text, sizeof(text), "Tarvin is keeping a log file with a maximum size of %d entries.",
                  (int)log->GetSize());
    }
    else
    {
        log->SetSize(0);
        StrCopy(text, "Tarvin is not keeping a log file");
    }
    SetDlgItemTextA(hwnd, IDC_LOG_TEXT, text);
    RegWriteSetting(AGENT_LOG_FILE, log->GetSize());
}

BOOL PrefLoggingDlg_OnInit(HWND hwnd, HWND, LPARAM)
{
    Check(hwnd, IDC_LOG_KEEP, PrefPageAgent(hwnd)->log.GetSize() != 0);
    PrefLoggingDlg_OnKeepLogFile(hwnd);
    return TRUE;
}

void PrefLoggingDlg_OnCommand(HWND hwnd, int id, HWND, UINT code)
{
    if (code != BN_CLICKED)
        return;
    AgentState* agent = PrefPageAgent(hwnd);
    CLogFile* log = &agent->log;
    switch (id)
    {
        case IDC_LOG_KEEP:
            PrefLoggingDlg_OnKeepLogFile(hwnd);
            break;
        case IDC_LOG_SETSIZE: {
            unsigned size = ShowSetLogSizeDialog(agent->instance, hwnd, log->GetSize());
            if (size)
                log->SetSize(size);
            Check(hwnd, IDC_LOG_KEEP, log->GetSize() != 0);
            PrefLoggingDlg_OnKeepLogFile(hwnd);
            break;
        }
        case IDC_LOG_VIEW:
            OnViewLog(agent->hwnd);
            break;
    }
}

INT_PTR CALLBACK PrefLoggingDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, PrefLoggingDlg_OnInit);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, PrefLoggingDlg_OnCommand);
    }
    return FALSE;
}

// --- Launch File page -------------------------------------------------------------------------

const struct
{
    int id;
    const DwordSetting& setting;
} g_launchBoxes[] = {{IDC_LF_ALLOWASSUME, INTERPRETER_ALLOW_ASSUME},
                     {IDC_LF_SHOWSTATUS, INTERPRETER_SHOW_STATUS},
                     {IDC_LF_CONFIRMEXIT, INTERPRETER_CONFIRM_EXIT},
                     {IDC_LF_CONFIRMSHUTDOWN, INTERPRETER_CONFIRM_SHUTDOWN},
                     {IDC_LF_CONFIRMRESTART, INTERPRETER_CONFIRM_RESTART}};

// The seconds boxes: an entry out of range falls back to the stored value.
const struct
{
    int edit;
    int updown;
    const DwordSetting& setting;
} g_launchSeconds[] = {{IDC_LF_TIMEOUT, IDC_LF_TIMEOUTUPDOWN, INTERPRETER_ASSUME_TIMEOUT},
                       {IDC_LF_STATUSTIME, IDC_LF_STATUSUPDOWN, INTERPRETER_STATUS_WINDOW}};

void PrefLaunchFileDlg_Enable(HWND hwnd)
{
    static const int assume[] = {IDC_LF_ASSUME,  IDC_LF_ANSWER,        IDC_LF_AFTER,
                                 IDC_LF_TIMEOUT, IDC_LF_TIMEOUTUPDOWN, IDC_LF_TIMEOUTSECONDS};
    static const int status[] = {IDC_LF_SHOWFOR, IDC_LF_STATUSTIME, IDC_LF_STATUSUPDOWN,
                                 IDC_LF_STATUSSECONDS};
    EnableItems(hwnd, assume, sizeof(assume) / sizeof(assume[0]), IsChecked(hwnd, IDC_LF_ALLOWASSUME));
    EnableItems(hwnd, status, sizeof(status) / sizeof(status[0]), IsChecked(hwnd, IDC_LF_SHOWSTATUS));
}

BOOL PrefLaunchFileDlg_OnInit(HWND hwnd, HWND, LPARAM)
{
    HWND answer = GetDlgItem(hwnd, IDC_LF_ANSWER);
    ComboBox_AddString(answer, "Yes");
    ComboBox_AddString(answer, "No");
    for (const auto& box : g_launchSeconds)
    {
        if (!CreateSecondsUpDown(hwnd, box.edit, box.updown, (int)RegReadSetting(box.setting)))
        {
            MessageBoxA(hwnd, kUpDownFailed, nullptr, MB_OK | MB_ICONWARNING);
            DestroyWindow(hwnd);
            return FALSE;
        }
    }
    ComboBox_SetCurSel(answer, RegReadSetting(INTERPRETER_ASSUME_ANSWER) == 0 ? 0 : 1);
    for (const auto& box : g_launchBoxes)
        Check(hwnd, box.id, RegReadSetting(box.setting) != 0);
    PrefLaunchFileDlg_Enable(hwnd);
    return TRUE;
}

void PrefLaunchFileDlg_OnCommand(HWND hwnd, int id, HWND, UINT code)
{
    switch (id)
    {
        case IDC_LF_ALLOWASSUME:
        case IDC_LF_SHOWSTATUS:
            if (code == BN_CLICKED)
                PrefLaunchFileDlg_Enable(hwnd);
            break;
    }
    for (const auto& box : g_launchSeconds)
    {
        if (id == box.edit && code == EN_KILLFOCUS)
            ClampSecondsBox(hwnd, box.edit, box.updown, (int)RegReadSetting(box.setting));
    }
}

void PrefLaunchFileDlg_OnDestroy(HWND hwnd)
{
    // A page whose initialisation failed has nothing to save.
    if (!GetDlgItem(hwnd, IDC_LF_STATUSUPDOWN))
        return;
    for (const auto& box : g_launchBoxes)
        RegWriteSetting(box.setting, IsChecked(hwnd, box.id) ? 1 : 0);
    for (const auto& box : g_launchSeconds)
        RegWriteSetting(box.setting, (DWORD)SecondsOf(hwnd, box.edit, (int)RegReadSetting(box.setting)));
    int answer = ComboBox_GetCurSel(GetDlgItem(hwnd, IDC_LF_ANSWER));
    RegWriteSetting(INTERPRETER_ASSUME_ANSWER, answer == 0 ? 0 : 1);
}

INT_PTR CALLBACK PrefLaunchFileDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, PrefLaunchFileDlg_OnInit);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, PrefLaunchFileDlg_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, PrefLaunchFileDlg_OnDestroy);
    }
    return FALSE;
}

} // namespace

// --- The dialog ----------------------------------------------------------------------------------

// Destroys the current page (which saves itself) and creates the one of tab.
static bool PrefDlg_ShowPage(HWND hwnd, int tab)
{
    PrefState* st = DialogState<PrefState>(hwnd);
    if (st->page && IsWindow(st->page))
        DestroyWindow(st->page);
    st->page = nullptr;
    if (tab < 0 || tab >= kPageCount)
        return false;
    HWND page = CreateDialogParamA(st->agent->instance, MAKEINTRESOURCEA(g_pages[tab].dialog), hwnd,
                                   g_pages[tab].proc, 0);
    if (!page || !IsWindow(page))
        return false;
    st->page = page;
    SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    g_EnableThemeDialogTexture(page, ETDT_ENABLETAB);
    RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return true;
}

static BOOL PrefDlg_OnInit(HWND hwnd, HWND, LPARAM lParam)
{
    SetDialogState(hwnd, (void*)lParam);
    int command = ((PrefState*)lParam)->command;
    ForceTaskbarButton(hwnd);
    CenterWindow(hwnd);
    HWND tabs = GetDlgItem(hwnd, IDC_PREF_TAB);
    for (int i = 0; i < kPageCount; i++)
    {
        TCITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = TCIF_TEXT;
        item.pszText = (char*)g_pages[i].label;
        TabCtrl_InsertItem(tabs, i, &item);
    }
    int tab = command - kFirstPageCommand;
    if (tab < 0 || tab >= kPageCount)
        tab = 0;
    TabCtrl_SetCurSel(tabs, tab);
    if (!PrefDlg_ShowPage(hwnd, tab))
    {
        MessageBoxA(hwnd, "Cannot create property sheet.", nullptr, MB_OK | MB_ICONWARNING);
        DestroyWindow(hwnd);
        return FALSE;
    }
    return TRUE;
}

static LRESULT PrefDlg_OnNotify(HWND hwnd, int id, NMHDR* nm)
{
    if (id == IDC_PREF_TAB && nm->code == TCN_SELCHANGE)
        PrefDlg_ShowPage(hwnd, TabCtrl_GetCurSel(nm->hwndFrom));
    return 0;
}

static void PrefDlg_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    if (id == IDC_PREF_CLOSE || id == IDCANCEL)
        DestroyWindow(hwnd);
}

static void PrefDlg_OnClose(HWND hwnd)
{
    DestroyWindow(hwnd);
}

static void PrefDlg_OnDestroy(HWND hwnd)
{
    PrefState* st = DialogState<PrefState>(hwnd);
    if (!st)
        return;
    // The page saves itself while the dialog is still whole.
    if (st->page && IsWindow(st->page))
        DestroyWindow(st->page);
    SetDialogState(hwnd, nullptr);
    ForgetDialog(&st->agent->dialogs.pref, hwnd);
    delete st;
}

static INT_PTR CALLBACK PrefDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, PrefDlg_OnInit);
        HANDLE_DLGMSG(hwnd, WM_NOTIFY, PrefDlg_OnNotify);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, PrefDlg_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_CLOSE, PrefDlg_OnClose);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, PrefDlg_OnDestroy);
    }
    return FALSE;
}

HWND OpenPreferences(AgentState* agent, int command)
{
    HWND* slot = &agent->dialogs.pref;
    HWND open = RaiseOpenDialog(slot);
    if (open)
        return open;
    PrefState* st = new PrefState{agent, nullptr, command};
    HWND dlg = CreateModelessDialog(agent->instance, IDD_PREF, PrefDlgProc, (LPARAM)st, slot);
    // A dialog that failed in its initialisation has freed st on its way out.
    if (!dlg || !IsWindow(dlg))
    {
        *slot = nullptr;
        return nullptr;
    }
    return dlg;
}
