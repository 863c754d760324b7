#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <shellapi.h>
#include <new>

#include "overdueTasks.h"
#include "winholders.h"
#include "winstate.h"
#include "overdueTasksRes.h"
#include "init.h"
#include "schedrunner.h"
#include "dirutils_win.h"
#include "winutils.h"

#include "strutils.h"

namespace
{
const UINT WM_OVERDUE_REFRESH = WM_APP + 1;

struct OverdueState
{
    HINSTANCE instance;
    AgentState* agent; // where a failed start is logged
    CSTaskList* schedule;
    HWND* slot;
    HIMAGELIST images;
};

int AddTargetIcon(HINSTANCE instance, HIMAGELIST images, const char* target)
{
    if (!images)
        return -1;
    // ExtractAssociatedIcon writes the path of the icon's file into its argument.
    char path[MAX_PATH];
    StrCopy(path, sizeof(path), target);
    WORD index = 0;
    CIcon icon(ExtractAssociatedIconA(instance, path, &index));
    if (!icon.Get())
        return -1;
    return ImageList_AddIcon(images, icon.Get());
}

void OverdueTasksDlg_OnRefresh(HWND hwnd)
{
    OverdueState* state = DialogState<OverdueState>(hwnd);
    HWND list = GetDlgItem(hwnd, IDC_OVERDUE_LIST);
    if (!state || !list)
        return;
    int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    ListView_DeleteAllItems(list);
    if (state->images)
        ImageList_RemoveAll(state->images);

    CTime now;
    int row = 0;
    CSTaskList& schedule = *state->schedule;
    for (unsigned i = 0; i < schedule.GetSize(); i++)
    {
        CSTask* task = schedule.GetAt(i);
        if (!task || !IsTaskListedOverdue(*task, now))
            continue;
        LVITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = row++;
        item.pszText = (LPSTR)task->GetName();
        item.iImage = AddTargetIcon(state->instance, state->images, task->GetTarget());
        item.lParam = (LPARAM)i;
        int at = ListView_InsertItem(list, &item);

        char date[ST_DATE_TEXT_SIZE] = "", timeOfDay[ST_DATE_TEXT_SIZE] = "";
        char text[2 * ST_DATE_TEXT_SIZE + 8];
        FormatTaskDate(task->GetScheduledTime(), date, sizeof(date), timeOfDay, sizeof(timeOfDay));
        if (date[0])
            StrFormat(text, sizeof(text), "%s at %s", date, timeOfDay);
        else
            StrCopy(text, sizeof(text), "Unknown");
        ListView_SetItemText(list, at, 1, text);
    }
    ReselectListRow(list, selected);
}

void OverdueTasksDlg_OnRun(HWND hwnd)
{
    HWND list = GetDlgItem(hwnd, IDC_OVERDUE_LIST);
    int row = ListView_GetNextItem(list, -1, LVNI_SELECTED | LVNI_FOCUSED);
    if (row < 0)
        return;
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!ListView_GetItem(list, &item))
        return;
    OverdueState* state = DialogState<OverdueState>(hwnd);
    if (!state)
        return;
    CSTask* task = state->schedule->GetAt((unsigned)item.lParam);
    if (!task)
        return;
    // One run stands for every occurrence missed: the task leaves the list.
    CTime now;
    task->MoveOnPast(now);
    task->SetLastScheduledTime(now);
    task->Recurred();
    RunScheduledTask(state->agent, *task);
    // The broadcast comes back to the main window, which reloads the file and
    // refills this list. A failed save tells no one, so the list is refilled
    // here from the schedule in memory, where the task has moved on.
    if (SaveScheduleAndAnnounce(*state->schedule, ScheduleChangedMsg()))
        return;
    OverdueTasksDlg_OnRefresh(hwnd);
    MessageBoxA(hwnd, OVERDUE_RUN_NOT_SAVED_TEXT, "File Error", MB_OK | MB_ICONWARNING);
}

void OverdueTasksDlg_OnScheduler(HWND)
{
    LaunchFromMyDir("tvsched.exe", nullptr, nullptr, 1);
}

BOOL OverdueTasksDlg_OnInit(HWND hwnd, HWND, LPARAM lParam)
{
    OverdueState* state = (OverdueState*)lParam;
    SetDialogState(hwnd, state);
    ForceTaskbarButton(hwnd);
    CenterWindow(hwnd);

    static const ListViewColumn columns[] = {{"Task Name", 164}, {"Scheduled Time", 160}};
    state->images = SetUpListView(GetDlgItem(hwnd, IDC_OVERDUE_LIST), columns, 2, 10, 10);

    OverdueTasksDlg_OnRefresh(hwnd);
    return TRUE;
}

void OverdueTasksDlg_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    switch (id)
    {
        case IDC_OVERDUE_RUN:
            OverdueTasksDlg_OnRun(hwnd);
            break;
        case IDC_OVERDUE_SCHEDULER:
            OverdueTasksDlg_OnScheduler(hwnd);
            break;
        case IDC_OVERDUE_CLOSE:
            DestroyWindow(hwnd);
            break;
    }
}

void OverdueTasksDlg_OnClose(HWND hwnd)
{
    DestroyWindow(hwnd);
}

void OverdueTasksDlg_OnDestroy(HWND hwnd)
{
    OverdueState* state = DialogState<OverdueState>(hwnd);
    if (!state)
        return;
    ReleaseListDialog(hwnd, IDC_OVERDUE_LIST, state->images, state->slot);
    delete state;
}

INT_PTR CALLBACK OverdueTasksDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // The schedule-changed broadcast reaches this dialog too; the main
    // window reloads the file and then asks for a refill, so the file is read
    // once per change.
    if (uMsg == WM_OVERDUE_REFRESH)
    {
        OverdueTasksDlg_OnRefresh(hwnd);
        return TRUE;
    }
    switch (uMsg)
    {
        // WM_INITDIALOG's result is the return value itself.
        case WM_INITDIALOG:
            return HANDLE_WM_INITDIALOG(hwnd, wParam, lParam, OverdueTasksDlg_OnInit);
            HANDLE_DLGMSG(hwnd, WM_COMMAND, OverdueTasksDlg_OnCommand);
            HANDLE_DLGMSG(hwnd, WM_CLOSE, OverdueTasksDlg_OnClose);
            HANDLE_DLGMSG(hwnd, WM_DESTROY, OverdueTasksDlg_OnDestroy);
    }
    return FALSE;
}
} // namespace

HWND OpenOverdueTasksDialog(HINSTANCE instance, AgentState* agent, CSTaskList* schedule, HWND* slot)
{
    if (HWND open = RaiseOpenDialog(slot))
        return open;
    OverdueState* state = new (std::nothrow) OverdueState{instance, agent, schedule, slot, NULL};
    return OpenModelessWithState(instance, IDD_OVERDUE, OverdueTasksDlgProc, state, slot);
}

void RefreshOverdueTasksDialog(HWND dlg)
{
    if (dlg && IsWindow(dlg))
        SendMessageA(dlg, WM_OVERDUE_REFRESH, 0, 0);
}
