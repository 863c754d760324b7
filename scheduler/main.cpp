// tvsched: the schedule editor. One main window with a menu, a toolbar, the
// report list of the tasks and a status bar; edits stay in memory until
// Update saves the file and tells the agent.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <objbase.h>
#include <new>

#include "schedstate.h"
#include "winstate.h"
#include "browseAppsDlg.h"
#include "propertiesDlg.h"
#include "wizardDlg.h"
#include "ScheduledTask_win.h"
#include "sched_res.h"
#include "tvtip.h"
#include "dirutils_win.h"
#include "regutils.h"
#include "thmutils.h"
#include "winutils.h"
#include "mainwnd.h"
#include "strutils.h"

HINSTANCE g_hInst;

// --- Commands ------------------------------------------------------------------

static void SetModified(SchedState* st)
{
    st->modified = true;
}

// While a dialog works on a row, the list must not be replaced under it: a
// schedule saved elsewhere is read once the dialog has ended.
class CModalScope
{
  public:
    explicit CModalScope(SchedState* st) : m_st(st)
    {
        m_st->modalDepth++;
    }
    ~CModalScope()
    {
        if (--m_st->modalDepth == 0 && m_st->reloadPending)
        {
            m_st->reloadPending = false;
            PostMessageA(m_st->hwnd, m_st->msgScheduleChanged, 0, 0);
        }
    }
    CModalScope(const CModalScope&) = delete;
    CModalScope& operator=(const CModalScope&) = delete;

  private:
    SchedState* m_st;
};

// Saves and tells every agent and scheduler window. A save that failed is
// not announced: the others would reload the old file, and the edits stay
// marked as unsaved.
static bool OnUpdate(SchedState* st)
{
    if (!SaveScheduleFile(st, st->hwnd))
    {
        UpdateUI(st);
        return false;
    }
    PostMessageA(HWND_BROADCAST, st->msgScheduleChanged, 0, 0);
    st->modified = false;
    UpdateUI(st);
    return true;
}

static void OnProperties(SchedState* st)
{
    int row = SelectedRow(st);
    if (row < 0 || row >= st->tasks.GetCount())
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    CModalScope scope(st);
    CSTask* task = st->tasks.GetAt(row);
    st->working.Copy(*task);
    if (RunPropertiesDialog(st->hwnd, &st->working, &st->infoCount) != IDOK)
        return;
    DWORD id = task->GetId();
    task->Copy(st->working);
    task->SetId(id);
    SetModified(st);
    BuildList(st, false);
}

static void OnInsert(SchedState* st)
{
    CModalScope scope(st);
    tagWIZARD_DATA wd;
    wd.hwndOwner = st->hwnd;
    wd.hInstance = g_hInst;
    wd.appList = &st->apps;
    if (RunNewTaskWizard(&wd) != 1)
        return;
    CSTask* task = new (std::nothrow) CSTask(&wd.task);
    if (!task)
        return;
    CSTRecRule* rule = task->GetFirstRule();
    if (!rule)
        rule = task->AddRecurrenceRule();
    if (rule->type == ST_TYPE_EVENT)
        rule->time.Set(0, 0, 0, 0, 0, 0, 0);
    task->SetScheduledTime(rule->time);
    task->SetOrigScheduledTime(rule->time);
    st->tasks.AddTask(task);
    SetModified(st);
    BuildList(st, true);
    if (wd.openAdvanced)
        OnProperties(st);
}

static void OnDelete(SchedState* st)
{
    int row = SelectedRow(st);
    if (row < 0)
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    CModalScope scope(st);
    if (MessageBoxA(st->hwnd, "Are you sure you want to delete this task?", "Confirm Delete",
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    st->tasks.DeleteTask(row);
    SetModified(st);
    BuildList(st, false);
}

static void OnNextFutureTime(SchedState* st)
{
    int row = SelectedRow(st);
    if (row < 0 || row >= st->tasks.GetCount())
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    CSTask* task = st->tasks.GetAt(row);
    CTime now;
    CTime last = task->GetLastScheduledTime();
    // A task without a next time ends all zero, which is never overdue.
    while (task->IsOverdue(now))
        task->SetNextScheduledTime();
    task->SetLastScheduledTime(last);
    SetModified(st);
    BuildList(st, false);
}

// Starts the selected task at once, as the agent's runner does, and records
// the run as a run of the agent's would be: the run time, the count and the
// result, saved at once. With edits not yet updated the record joins them
// and waits for Update, so that Run Now never saves the user's edits
// unasked.
static void OnRunNow(SchedState* st)
{
    int row = SelectedRow(st);
    if (row < 0 || row >= st->tasks.GetCount())
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    CSTask* task = st->tasks.GetAt(row);
    RecordRunNow(*task, CTime());
    StartScheduledTask(*task);
    bool hadEdits = st->modified;
    SetModified(st);
    BuildList(st, false);
    if (!hadEdits)
        OnUpdate(st);
}

static void ShowTipOfTheDay(SchedState* st)
{
    char tips[MAX_PATH], picture[MAX_PATH];
    GetMyDir(tips, sizeof(tips), "tvdt.sys");
    GetMyDir(picture, sizeof(picture), "tvtip.sys");
    TIPS_DATA td = {st->hwnd, g_hInst, "Tip of the Day", tips, "Tarvin Scheduler", picture};
    ShowTips(&td);
}

// Asks about unsaved changes. false: the window must stay (the save failed,
// or the user chose Cancel where it is offered).
static bool ConfirmDiscard(SchedState* st, bool offerCancel)
{
    if (!st->modified)
        return true;
    CModalScope scope(st);
    int answer = MessageBoxA(st->hwnd,
                             "The scheduled tasks have been modified.\n\nWould you like to update (save) the "
                             "changes now?",
                             "Confirm", (offerCancel ? MB_YESNOCANCEL : MB_YESNO) | MB_ICONQUESTION);
    if (answer == IDCANCEL)
        return false;
    return answer != IDYES || OnUpdate(st);
}

// --- Window procedure ------------------------------------------------------------

static BOOL MainWnd_OnNCCreate(HWND hwnd, LPCREATESTRUCT cs)
{
    SchedState* st = (SchedState*)cs->lpCreateParams;
    st->hwnd = hwnd;
    SetWindowState(hwnd, st);
    return FORWARD_WM_NCCREATE(hwnd, cs, DefWindowProcA);
}

static void MainWnd_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    SchedState* st = GetSchedState(hwnd);
    switch (id)
    {
        case IDM_UPDATE:
            OnUpdate(st);
            break;
        case IDM_EXIT:
            // The same question as the close box: Exit must not drop edits
            // without a word.
            if (ConfirmDiscard(st, false))
                DestroyWindow(hwnd);
            break;
        case IDM_VIEWTOOLBAR:
            st->showToolbar = !st->showToolbar;
            LayoutWindow(st);
            break;
        case IDM_VIEWSTATUSBAR:
            st->showStatus = !st->showStatus;
            LayoutWindow(st);
            break;
        case IDM_INSERT:
            OnInsert(st);
            break;
        case IDM_DELETE:
            OnDelete(st);
            break;
        case IDM_PROPERTIES:
            OnProperties(st);
            break;
        case IDM_NEXTFUTURE:
            OnNextFutureTime(st);
            break;
        case IDM_RUNNOW:
            OnRunNow(st);
            break;
        case IDM_HELPCONTENTS:
            ShowHelpTopic("tv2.chm::/tvsched_main.html");
            break;
        case IDM_TIPOFTHEDAY:
            ShowTipOfTheDay(st);
            break;
        case IDM_ABOUT:
            ShowAboutBox(hwnd, g_hInst, IDD_ABOUT);
            break;
    }
}

static LRESULT MainWnd_OnNotify(HWND hwnd, int, NMHDR* nm)
{
    SchedState* st = GetSchedState(hwnd);
    if (nm->code == TBN_GETINFOTIPA)
    {
        NMTBGETINFOTIPA* tip = (NMTBGETINFOTIPA*)nm;
        const char* text = "";
        switch (tip->iItem)
        {
            case IDM_UPDATE:
                text = "Save changes and update the scheduler";
                break;
            case IDM_INSERT:
                text = "Insert scheduled a new task";
                break;
            case IDM_DELETE:
                text = "Delete the selected scheduled task";
                break;
            case IDM_PROPERTIES:
                text = "Scheduled task properties";
                break;
            case IDM_HELPCONTENTS:
                text = "Help Contents";
                break;
            case IDM_ABOUT:
                text = "About Tarvin Scheduler";
                break;
        }
        StrCopy(tip->pszText, (size_t)tip->cchTextMax, text);
        return 0;
    }
    if (nm->idFrom != IDC_TASKLIST)
        return 0;
    switch (nm->code)
    {
        case NM_DBLCLK:
            if (SelectedRow(st) >= 0)
                OnProperties(st);
            break;
        case NM_CLICK:
        case NM_RCLICK:
        case LVN_ITEMCHANGED:
            if (!st->filling)
                UpdateUI(st);
            break;
        case LVN_GETDISPINFOA:
            GetRowImage(st, (NMLVDISPINFOA*)nm);
            break;
    }
    return 0;
}

static void MainWnd_OnContextMenu(HWND hwnd, HWND, UINT x, UINT y)
{
    SchedState* st = GetSchedState(hwnd);
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    auto icon = [](int id) {
        return (HICON)LoadImageA(g_hInst, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0);
    };
    bool selected = SelectedRow(st) >= 0;
    if (selected)
    {
        MenuXP_AppendItem(menu, IDM_PROPERTIES, "Properties...\tEnter", icon(IDI_PROPERTIES), nullptr);
        MenuXP_AppendItem(menu, IDM_RUNNOW, "Run Now\tCtrl+R", icon(IDA_MAIN), nullptr);
        MenuXP_AppendSeparator(menu);
    }
    MenuXP_AppendItem(menu, IDM_INSERT, "Insert...\tIns", icon(IDI_INSERT), nullptr);
    if (selected)
    {
        MenuXP_AppendItem(menu, IDM_DELETE, "Delete...\tDel", icon(IDI_DELETE), nullptr);
        MenuXP_AppendSeparator(menu);
        MenuXP_AppendItem(menu, IDM_NEXTFUTURE, "Next valid futre time...\tF9", icon(IDA_MAIN), nullptr);
    }
    POINT pt = {(int)(short)x, (int)(short)y};
    if (x == (UINT)-1 && y == (UINT)-1)
        GetCursorPos(&pt);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON, pt.x, pt.y, 0, hwnd, nullptr);
    MenuXP_DestroyMenu(menu, 0, 1, 0);
}

static void MainWnd_OnMeasureItem(HWND hwnd, MEASUREITEMSTRUCT* mis)
{
    MenuXP_MeasureItem(mis, &GetSchedState(hwnd)->diItem);
}

static void MainWnd_OnDrawItem(HWND hwnd, const DRAWITEMSTRUCT* dis)
{
    SchedState* st = GetSchedState(hwnd);
    MenuXP_DrawEntry(dis, &st->diItem, &st->diSidebar);
}

static void MainWnd_OnSize(HWND hwnd, UINT state, int, int)
{
    SchedState* st = GetSchedState(hwnd);
    if (state == SIZE_MINIMIZED)
        return;
    RememberFrameRect(st);
    LayoutWindow(st);
}

static void MainWnd_OnMove(HWND hwnd, int, int)
{
    RememberFrameRect(GetSchedState(hwnd));
}

static void MainWnd_OnSetFocus(HWND hwnd, HWND)
{
    SchedState* st = GetSchedState(hwnd);
    if (st->hList)
        SetFocus(st->hList);
}

static void MainWnd_OnClose(HWND hwnd)
{
    if (ConfirmDiscard(GetSchedState(hwnd), false))
        DestroyWindow(hwnd);
}

// Log-off or shut-down asks as closing does, and Cancel is offered: FALSE
// keeps the session waiting, also when the update failed.
static BOOL MainWnd_OnQueryEndSession(HWND hwnd)
{
    return ConfirmDiscard(GetSchedState(hwnd), true);
}

static void MainWnd_OnDestroy(HWND hwnd)
{
    SchedState* st = GetSchedState(hwnd);
    SaveSettings(st);
    if (st->hList)
        ListView_SetImageList(st->hList, nullptr, LVSIL_SMALL);
    if (st->hToolbar)
        SendMessageA(st->hToolbar, TB_SETIMAGELIST, 0, 0);
    MenuXP_FreeDrawInfo(&st->diItem);
    MenuXP_FreeDrawInfo(&st->diSidebar);
    PostQuitMessage(0);
}

static void MainWnd_OnShowScheduler(SchedState* st)
{
    if (IsIconic(st->hwnd))
        ShowWindow(st->hwnd, SW_RESTORE);
    else
        ShowWindow(st->hwnd, SW_SHOW);
    BringWindowToTop(st->hwnd);
    SetForegroundWindow(st->hwnd);
    SetActiveWindow(st->hwnd);
}

// The file was saved by this or another scheduler, or by the agent after a
// run. Unsaved edits are not thrown away without asking: the file is read
// only when there are none or the user agrees.
static void MainWnd_OnScheduleChanged(SchedState* st)
{
    if (st->askingReload)
        return;
    if (st->modalDepth > 0)
    {
        st->reloadPending = true;
        return;
    }
    if (st->modified)
    {
        st->askingReload = true;
        int answer =
            MessageBoxA(st->hwnd,
                        "The schedule has been saved by another program.\n\nWould you like to load it "
                        "now? Your changes that have not been updated will be lost.",
                        "Confirm", MB_YESNO | MB_ICONQUESTION);
        st->askingReload = false;
        if (answer != IDYES)
            return;
        st->modified = false;
    }
    LoadScheduleFile(st, st->hwnd);
    BuildList(st, false);
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    SchedState* st = GetSchedState(hwnd);
    if (st && msg == st->msgShowScheduler)
    {
        MainWnd_OnShowScheduler(st);
        return 0;
    }
    if (st && msg == st->msgScheduleChanged)
    {
        MainWnd_OnScheduleChanged(st);
        return 0;
    }
    switch (msg)
    {
        HANDLE_MSG(hwnd, WM_NCCREATE, MainWnd_OnNCCreate);
        HANDLE_MSG(hwnd, WM_COMMAND, MainWnd_OnCommand);
        HANDLE_MSG(hwnd, WM_NOTIFY, MainWnd_OnNotify);
        HANDLE_MSG(hwnd, WM_CONTEXTMENU, MainWnd_OnContextMenu);
        HANDLE_MSG(hwnd, WM_MEASUREITEM, MainWnd_OnMeasureItem);
        HANDLE_MSG(hwnd, WM_DRAWITEM, MainWnd_OnDrawItem);
        HANDLE_MSG(hwnd, WM_SIZE, MainWnd_OnSize);
        HANDLE_MSG(hwnd, WM_MOVE, MainWnd_OnMove);
        HANDLE_MSG(hwnd, WM_SETFOCUS, MainWnd_OnSetFocus);
        HANDLE_MSG(hwnd, WM_CLOSE, MainWnd_OnClose);
        HANDLE_MSG(hwnd, WM_QUERYENDSESSION, MainWnd_OnQueryEndSession);
        HANDLE_MSG(hwnd, WM_DESTROY, MainWnd_OnDestroy);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// --- Program -------------------------------------------------------------------------

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    CKernelHandle inUse(HoldSuiteInUseMutex());
    CKernelHandle single(CreateSemaphoreA(nullptr, 1, 1, SCHED_SEMAPHORE_NAME));
    if (GetLastError() == ERROR_ALREADY_EXISTS)
    {
        PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(SCHED_SHOWSCHEDULER_MSG_NAME), 0, 0);
        return 0;
    }
    g_hInst = instance;
    InitBrowseApplications(instance);

    SchedState* st = new (std::nothrow) SchedState;
    if (!st)
        return 1;
    st->msgShowScheduler = RegisterWindowMessageA(SCHED_SHOWSCHEDULER_MSG_NAME);
    st->msgScheduleChanged = RegisterWindowMessageA(SCHED_SCHEDCHANGED_MSG_NAME);

    HICON icon = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(IDA_MAIN), IMAGE_ICON, 32, 32, 0);
    HICON smallIcon = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(IDA_MAIN), IMAGE_ICON, 16, 16, 0);
    if (!RegisterMainWindowClass(instance, SCHED_WINDOW_CLASS, MainWndProc, icon, smallIcon,
                                 (HBRUSH)(COLOR_BTNFACE + 1)))
        return 0;
    HWND hwnd = CreateWindowExA(0, SCHED_WINDOW_CLASS, SCHED_WINDOW_TITLE, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 600, 440, nullptr,
                                LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINMENU)), instance, st);
    if (!hwnd)
        return 0;
    HACCEL accel = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAINMENU));
    InitThemeLib();
    CoInitialize(nullptr);

    int result = 0;
    if (!Initialize(st))
    {
        DestroyWindow(hwnd);
        result = 1;
    }
    else
    {
        ShowWindow(hwnd, show);
        UpdateWindow(hwnd);
        InitTips(instance);
        if (RegReadSetting(SCHED_SHOW_TIPS) != 0)
            ShowTipOfTheDay(st);
    }

    int exitCode = RunMainMessageLoop(hwnd, accel);
    if (result == 0)
        result = exitCode;
    CoUninitialize();
    FreeThemeLib();
    delete st;
    return result;
}
