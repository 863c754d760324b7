// The process and window picker. The list shows full executable paths, but
// Kill compares its name with the interpreter's process names, which carry
// no folder: Select hands back the file name so the line finds its process.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include "selDlg.h"
#include "winstate.h"
#include "propertiesDlg_res.h"
#include "EnumProcess.h"
#include "EnumWindows.h"
#include "strutils.h"
#include "winutils.h"

namespace
{
struct SelectState
{
    bool processes;
    char* name;
    size_t size;
};

void SelDlg_AddRow(HWND list, const char* text)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = (LPSTR)text;
    SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
}

void SelDlg_FillProcesses(HWND list)
{
    CEnumProcess processes;
    processes.SetMethod(processes.GetSuggestedMethod());
    CEnumProcess::CProcessEntry entry;
    for (BOOL more = processes.GetProcessFirst(&entry); more; more = processes.GetProcessNext(&entry))
        SelDlg_AddRow(list, entry.lpFilename);
}

void SelDlg_FillWindows(HWND list)
{
    CEnumWindows windows;
    windows.Enumerate();
    for (int i = 0; i < windows.Count(); i++)
    {
        CEnumWindows::CWindow* w = windows.GetWindow(i);
        if (w && w->m_szTitle[0] && IsWindowVisible(w->m_hwnd) && !GetParent(w->m_hwnd))
            SelDlg_AddRow(list, w->m_szTitle);
    }
}

BOOL SelDlg_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    SelectState* st = (SelectState*)lParam;
    SetDialogState(hwnd, st);
    if (!st->processes)
        SetWindowTextA(hwnd, "Select a Window");
    HWND list = GetDlgItem(hwnd, IDC_SELECT_LIST);
    RECT rc;
    GetClientRect(list, &rc);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    LVCOLUMNA col;
    ZeroMemory(&col, sizeof(col));
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = (LPSTR)(st->processes ? "Processes" : "Windows");
    col.cx = rc.right - GetSystemMetrics(SM_CXVSCROLL) - 4;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, (LPARAM)&col);
    if (st->processes)
        SelDlg_FillProcesses(list);
    else
        SelDlg_FillWindows(list);
    CenterWindow(hwnd);
    return TRUE;
}

void SelDlg_OnSelect(HWND hwnd)
{
    SelectState* st = DialogState<SelectState>(hwnd);
    HWND list = GetDlgItem(hwnd, IDC_SELECT_LIST);
    int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    // Nothing chosen: the name the user typed stays.
    if (row < 0)
    {
        EndDialog(hwnd, 0);
        return;
    }
    char text[MAX_PATH] = "";
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    StrCopy(st->name, st->size, st->processes ? ProcessNameOf(text) : text);
    EndDialog(hwnd, 1);
}

void SelDlg_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    if (id == IDOK)
        SelDlg_OnSelect(hwnd);
    else if (id == IDCANCEL)
        EndDialog(hwnd, 0);
}

LRESULT SelDlg_OnNotify(HWND hwnd, int id, NMHDR* nm)
{
    if (id == IDC_SELECT_LIST && nm->code == NM_DBLCLK)
        SelDlg_OnSelect(hwnd);
    return 0;
}

INT_PTR CALLBACK SelDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, SelDlg_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, SelDlg_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_NOTIFY, SelDlg_OnNotify);
    }
    return FALSE;
}
} // namespace

const char* ProcessNameOf(const char* path)
{
    int slash = CharFindRev(path, '\\', 0);
    return slash >= 0 ? path + slash + 1 : path;
}

int ShowSelectDialog(HWND owner, HINSTANCE instance, bool processes, char* name, size_t size)
{
    SelectState st = {processes, name, size};
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SELECT), owner, SelDlgProc, (LPARAM)&st);
}
