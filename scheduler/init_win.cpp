// The scheduler's start-up, settings, the schedule file and the task list.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <shellapi.h>

#include "schedstate.h"
#include "winholders.h"
#include "winstate.h"
#include "sched_res.h"
#include "firstrun.h"
#include "mainwnd.h"
#include "userfiles.h"
#include "dirutils_win.h"
#include "regutils.h"
#include "thmutils.h"
#include "winutils.h"
#include "strutils.h"
#include "ScheduledTask_win.h"

SchedState* GetSchedState(HWND hwnd)
{
    return WindowState<SchedState>(hwnd);
}

// --- Settings ------------------------------------------------------------------

static void ReadSettings(SchedState* st)
{
    ReadFrameSettings(st, SCHED_REG_KEY, true);
    ReadColumnWidths(SCHED_REG_KEY, st->columnWidths, SCHED_COLUMNS);
}

void SaveSettings(SchedState* st)
{
    WriteFrameSettings(st, SCHED_REG_KEY);
    WriteColumnWidths(SCHED_REG_KEY, st->hList, SCHED_COLUMNS);
}

// --- Controls ------------------------------------------------------------------

static const ToolbarButton kToolButtons[] = {
    {IDI_UPDATE, IDM_UPDATE, 0, "Update"},
    {0, 0, 0, nullptr},
    {IDI_PROPERTIES, IDM_PROPERTIES, 0, "Properties"},
    {IDI_INSERT, IDM_INSERT, 0, "Insert"},
    {IDI_DELETE, IDM_DELETE, 0, "Delete"},
    {0, 0, 0, nullptr},
    {IDI_ABOUT, IDM_ABOUT, 0, "About"},
    {IDI_HELP, IDM_HELPCONTENTS, 0, "Help"},
};

static HWND CreateTaskList(SchedState* st)
{
    HWND list =
        CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                        0, 0, 0, 0, st->hwnd, (HMENU)(INT_PTR)IDC_TASKLIST, g_hInst, nullptr);
    if (!list)
        return nullptr;
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
    ListViewColumn columns[SCHED_COLUMNS];
    for (int i = 0; i < SCHED_COLUMNS; i++)
        columns[i] = {g_schedColumnNames[i], st->columnWidths[i]};
    AddListViewColumns(list, columns, SCHED_COLUMNS);
    st->listImages.Reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 8, 8));
    ListView_SetImageList(list, st->listImages.Get(), LVSIL_SMALL);
    return list;
}

void LayoutWindow(SchedState* st)
{
    RECT rc = LayoutFrame(st, IDM_VIEWTOOLBAR, IDM_VIEWSTATUSBAR);
    if (st->hList)
        MoveWindow(st->hList, 0, rc.top, rc.right, rc.bottom - rc.top, TRUE);
}

// --- Schedule file -------------------------------------------------------------

bool GetSchedulePath(char* path, size_t size)
{
    char buf[MAX_PATH];
    if (!GetMyTarvinFilesFolder(buf, SCHED_FILE_NAME))
        return false;
    return StrCopy(path, size, buf);
}

int LoadScheduleFile(SchedState* st, HWND owner)
{
    char path[MAX_PATH];
    int loaded = 1;
    if (GetSchedulePath(path, sizeof(path)) && FileExists(path))
        loaded = st->tasks.Load(path);
    else
        st->tasks.Clear();
    if (!loaded)
        MessageBoxA(
            owner,
            "An error has occured while reading the schedule data.\n\nTarvin has recovered as much of "
            "the data as possible.",
            "File Error", MB_OK | MB_ICONWARNING);
    return loaded;
}

bool SaveScheduleFile(SchedState* st, HWND owner)
{
    char path[MAX_PATH];
    if (GetSchedulePath(path, sizeof(path)) && st->tasks.Save(path))
        return true;
    // Reporting success here would let the user close the program believing
    // the changes were kept.
    MessageBoxA(owner,
                "The scheduled tasks could not be saved.\n\nThe schedule file is unchanged. Check that the "
                "Tarvin Files folder can be written to, then click Update again.",
                "File Error", MB_OK | MB_ICONWARNING);
    return false;
}

// --- The list ------------------------------------------------------------------

int SelectedRow(SchedState* st)
{
    return st->hList ? ListView_GetNextItem(st->hList, -1, LVNI_SELECTED) : -1;
}

static int TargetIcon(SchedState* st, const char* target)
{
    if (!st->listImages.Get())
        return -1;
    char path[MAX_PATH];
    StrCopy(path, target);
    WORD index = 0;
    CIcon icon(ExtractAssociatedIconA(g_hInst, path, &index));
    if (!icon.Get())
        return -1;
    return ImageList_AddIcon(st->listImages.Get(), icon.Get());
}

static void SetCell(HWND list, int row, int column, const char* text)
{
    ListView_SetItemText(list, row, column, (LPSTR)text);
}

static void UpdateList(SchedState* st, CSTask* task, int row, bool insert)
{
    SchedRowTexts texts;
    FormatTaskRow(*task, CTime(), &texts);

    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.pszText = texts.cells[SCHED_COL_NAME];
    item.iImage = I_IMAGECALLBACK;
    if (insert)
        row = (int)SendMessageA(st->hList, LVM_INSERTITEMA, 0, (LPARAM)&item);
    else
        SendMessageA(st->hList, LVM_SETITEMA, 0, (LPARAM)&item);
    if (row < 0)
        return;
    for (int column = SCHED_COL_NAME + 1; column < SCHED_COLUMNS; column++)
        SetCell(st->hList, row, column, texts.cells[column]);
    if (st->filling)
        return;
    ListView_SetItemState(st->hList, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(st->hList, row, FALSE);
}

void GetRowImage(SchedState* st, NMLVDISPINFOA* info)
{
    if (!(info->item.mask & LVIF_IMAGE))
        return;
    CSTask* task = st->tasks.GetAt((unsigned)info->item.iItem);
    info->item.iImage = task ? TargetIcon(st, task->GetTarget()) : -1;
    // The list keeps the picture from now on.
    info->item.mask |= LVIF_DI_SETITEM;
}

void BuildList(SchedState* st, bool selectLast)
{
    if (!st->hList)
        return;
    int selected = SelectedRow(st);
    SendMessageA(st->hList, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(st->hList);
    if (st->listImages.Get())
        ImageList_RemoveAll(st->listImages.Get());
    int count = st->tasks.GetCount();
    // One interface update at the end, not one per row's selection change.
    st->filling = true;
    for (int i = 0; i < count; i++)
        UpdateList(st, st->tasks.GetAt(i), i, true);
    st->filling = false;
    ListView_SetItemState(st->hList, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    int row = -1;
    if (count > 0)
    {
        if (selectLast || selected < 0 || selected >= count)
            row = count - 1;
        else
            row = selected;
    }
    if (row >= 0)
    {
        ListView_SetItemState(st->hList, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(st->hList, row, FALSE);
    }
    SendMessageA(st->hList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(st->hList, nullptr, TRUE);
    UpdateUI(st);
}

void UpdateUI(SchedState* st)
{
    SetWindowTextA(st->hwnd, st->modified ? SCHED_WINDOW_TITLE " - Modified*" : SCHED_WINDOW_TITLE);
    if (st->hStatus)
        SendMessageA(st->hStatus, SB_SETTEXTA, 0,
                     (LPARAM)(st->modified
                                  ? "Scheduled items have been modified. Click Update to save changes."
                                  : "Ready."));
    bool selected = SelectedRow(st) >= 0;
    HMENU menu = GetMenu(st->hwnd);
    UINT sel = selected ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(menu, IDM_DELETE, sel);
    EnableMenuItem(menu, IDM_PROPERTIES, sel);
    EnableMenuItem(menu, IDM_NEXTFUTURE, sel);
    EnableMenuItem(menu, IDM_RUNNOW, sel);
    EnableMenuItem(menu, IDM_UPDATE, st->modified ? MF_ENABLED : MF_GRAYED);
    if (st->hToolbar)
    {
        SendMessageA(st->hToolbar, TB_ENABLEBUTTON, IDM_DELETE, selected);
        SendMessageA(st->hToolbar, TB_ENABLEBUTTON, IDM_PROPERTIES, selected);
        SendMessageA(st->hToolbar, TB_ENABLEBUTTON, IDM_UPDATE, st->modified);
    }
}

// --- Start-up ------------------------------------------------------------------

bool Initialize(SchedState* st)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                 ICC_DATE_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);

    if (!PrepareUserFiles(st->hwnd, g_hInst))
    {
        MessageBoxA(st->hwnd, "Tarvin 2 is exiting.", "Tarvin 2", MB_OK | MB_ICONERROR);
        return false;
    }
    UseLocaleTaskDates();
    ReadSettings(st);

    st->hStatus = CreateWindowExA(0, STATUSCLASSNAMEA, "Ready.", WS_CHILD | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                  st->hwnd, (HMENU)(INT_PTR)IDC_STATUSBAR, g_hInst, nullptr);
    if (!st->hStatus)
        MessageBoxA(st->hwnd, "Cannot create statusbar.", nullptr, MB_OK | MB_ICONWARNING);

    if (!LoadScheduleFile(st, st->hwnd))
        st->modified = true; // the next Update writes a clean file

    st->hToolbar =
        CreateButtonToolbar(st->hwnd, g_hInst, IDC_TOOLBAR, 0, kToolButtons,
                            (int)(sizeof(kToolButtons) / sizeof(kToolButtons[0])), &st->toolImages);
    if (!st->hToolbar)
        MessageBoxA(st->hwnd, "Cannot create toolbar.", nullptr, MB_OK | MB_ICONWARNING);

    RestoreFrameRect(st);
    st->hList = CreateTaskList(st);
    LayoutWindow(st);

    MenuXP_InitDrawInfo(&st->diItem, 0);
    MenuXP_InitDrawInfo(&st->diSidebar, 1);
    BuildList(st, false);
    return true;
}
