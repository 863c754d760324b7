#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include "hiddenWndDlg.h"
#include "winstate.h"
#include "hiddenWndDlgRes.h"
#include "HiddenWindows.h"
#include "winutils.h"

#include "strutils.h"

namespace
{
const UINT_PTR kRefreshTimer = 0;
// A hung program must not stall the agent's one thread at every tick.
const UINT kIconAskMs = 200;

struct HiddenWndState
{
    CHiddenWindows* list;
    HWND* slot;
    HIMAGELIST images;
};

HICON AskIcon(HWND hwnd, WPARAM which)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETICON, which, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kIconAskMs, &result))
        return NULL;
    return (HICON)result;
}

HICON WindowIcon(HWND hwnd)
{
    HICON icon = AskIcon(hwnd, ICON_SMALL);
    if (!icon)
        icon = AskIcon(hwnd, ICON_BIG);
    if (!icon && IsWindowsXP())
        icon = AskIcon(hwnd, ICON_SMALL2);
    if (!icon)
        icon = (HICON)GetClassLongPtrA(hwnd, GCLP_HICONSM);
    if (!icon)
        icon = (HICON)GetClassLongPtrA(hwnd, GCLP_HICON);
    if (!icon)
        icon = LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
    return icon;
}

int FirstSelected(HWND list)
{
    return ListView_GetNextItem(list, -1, LVNI_SELECTED);
}

void HiddenWndDlg_OnRefresh(HWND hwnd)
{
    HiddenWndState* state = DialogState<HiddenWndState>(hwnd);
    HWND list = GetDlgItem(hwnd, IDC_HIDDENWND_LIST);
    if (!state || !list)
        return;
    int selected = FirstSelected(list);

    state->list->Refresh();
    ListView_DeleteAllItems(list);
    if (state->images)
        ImageList_RemoveAll(state->images);

    int row = 0;
    state->list->ResetCur();
    for (CHiddenWnd* record = state->list->GetCur(); record; record = state->list->GetNext())
    {
        int image = state->images ? ImageList_AddIcon(state->images, WindowIcon(record->hwnd)) : -1;
        InsertListRow(list, row++, record->title, image);
    }
    ReselectListRow(list, selected);
}

void HiddenWndDlg_OnShow(HWND hwnd)
{
    HiddenWndState* state = DialogState<HiddenWndState>(hwnd);
    HWND list = GetDlgItem(hwnd, IDC_HIDDENWND_LIST);
    if (!state || !list)
        return;
    int selected = FirstSelected(list);
    if (selected < 0)
        return;
    ListView_DeleteItem(list, selected);
    state->list->Show((unsigned)selected);
}

BOOL HiddenWndDlg_OnInit(HWND hwnd, HWND, LPARAM lParam)
{
    HiddenWndState* state = (HiddenWndState*)lParam;
    SetDialogState(hwnd, state);
    ForceTaskbarButton(hwnd);
    CenterWindow(hwnd);

    static const ListViewColumn columns[] = {{"Window Title", 324}};
    state->images = SetUpListView(GetDlgItem(hwnd, IDC_HIDDENWND_LIST), columns, 1, 10, 10);

    HiddenWndDlg_OnRefresh(hwnd);
    SetTimer(hwnd, kRefreshTimer, 1000, NULL);
    return TRUE;
}

void HiddenWndDlg_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    switch (id)
    {
        case IDC_HIDDENWND_SHOW:
            HiddenWndDlg_OnShow(hwnd);
            break;
        case IDC_HIDDENWND_CLOSE:
            DestroyWindow(hwnd);
            break;
    }
}

void HiddenWndDlg_OnTimer(HWND hwnd, UINT id)
{
    if (id == kRefreshTimer)
        HiddenWndDlg_OnRefresh(hwnd);
}

void HiddenWndDlg_OnClose(HWND hwnd)
{
    DestroyWindow(hwnd);
}

void HiddenWndDlg_OnDestroy(HWND hwnd)
{
    KillTimer(hwnd, kRefreshTimer);
    HiddenWndState* state = DialogState<HiddenWndState>(hwnd);
    if (!state)
        return;
    ReleaseListDialog(hwnd, IDC_HIDDENWND_LIST, state->images, state->slot);
    delete state;
}

INT_PTR CALLBACK HiddenWndDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        // WM_INITDIALOG's result is the return value itself.
        case WM_INITDIALOG:
            return HANDLE_WM_INITDIALOG(hwnd, wParam, lParam, HiddenWndDlg_OnInit);
            HANDLE_DLGMSG(hwnd, WM_COMMAND, HiddenWndDlg_OnCommand);
            HANDLE_DLGMSG(hwnd, WM_TIMER, HiddenWndDlg_OnTimer);
            HANDLE_DLGMSG(hwnd, WM_CLOSE, HiddenWndDlg_OnClose);
            HANDLE_DLGMSG(hwnd, WM_DESTROY, HiddenWndDlg_OnDestroy);
    }
    return FALSE;
}
} // namespace

HWND OpenHiddenWindowsDialog(HINSTANCE instance, CHiddenWindows* list, HWND* slot)
{
    if (HWND open = RaiseOpenDialog(slot))
        return open;
    if (!list)
        return NULL;
    HiddenWndState* state = new HiddenWndState{list, slot, NULL};
    return OpenModelessWithState(instance, IDD_HIDDENWND, HiddenWndDlgProc, state, slot);
}
