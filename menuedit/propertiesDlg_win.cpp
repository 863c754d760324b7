// Entry properties: a tab frame with one page, "General". The page writes its
// controls into the dialog's working copy when it is destroyed; OK copies the
// working copy to the caller's entry.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include "meditdlg.h"
#include "winstate.h"
#include "dialogs_res.h"
#include "dlgcommon.h"
#include "thmutils.h"
#include "winutils.h"
#include "xmlutils.h"
#include "strutils.h"

namespace
{

struct PropState
{
    HINSTANCE instance;
    CAppList* apps;
    CMenuItem work;
    HWND hTab;
    HWND hPage;
};

const int kCommandControls[] = {IDC_PROP_TARGETLABEL,  IDC_PROP_TARGET,     IDC_PROP_BROWSE,
                                IDC_PROP_WORKDIRLABEL, IDC_PROP_WORKDIR,    IDC_PROP_CMDLINELABEL,
                                IDC_PROP_CMDLINE,      IDC_PROP_STATELABEL, IDC_PROP_WINDOWSTATE};

// --- General page -----------------------------------------------------------------

BOOL General_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    PropState* ps = (PropState*)lParam;
    SetDialogState(hwnd, ps);
    const CMenuItem& e = ps->work;
    SendDlgItemMessageA(hwnd, IDC_PROP_TEXT, EM_LIMITTEXT, MENU_TEXT_SIZE - 1, 0);
    SetDlgItemTextA(hwnd, IDC_PROP_TEXT, e.GetText());
    const int paths[] = {IDC_PROP_TARGET, IDC_PROP_WORKDIR, IDC_PROP_CMDLINE};
    const char* values[] = {e.GetTarget(), e.GetWorkDir(), e.GetCmdLine()};
    for (int i = 0; i < 3; i++)
    {
        SendDlgItemMessageA(hwnd, paths[i], EM_LIMITTEXT, MENU_PATH_SIZE - 1, 0);
        SetDlgItemTextA(hwnd, paths[i], values[i]);
    }
    FillWindowStates(GetDlgItem(hwnd, IDC_PROP_WINDOWSTATE), e.GetWindowState());
    bool command = (e.GetStyle() & MENU_STYLE_ITEM) != 0;
    for (int id : kCommandControls)
        EnableWindow(GetDlgItem(hwnd, id), command);
    ShowEntryIcon(GetDlgItem(hwnd, IDC_PROP_ICON), e, ps->instance);
    return TRUE;
}

void General_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    PropState* ps = DialogState<PropState>(hwnd);
    if (!ps)
        return;
    if (id == IDC_PROP_BROWSE)
    {
        char path[MAX_PATH] = "";
        GetDlgItemTextA(hwnd, IDC_PROP_TARGET, path, sizeof(path));
        if (BrowseTarget(hwnd, ps->apps, path, sizeof(path)))
            SetDlgItemTextA(hwnd, IDC_PROP_TARGET, path);
    }
    else if (id == IDC_PROP_CHANGEICON)
    {
        // The picker starts at the target typed so far.
        char target[MENU_PATH_SIZE];
        GetDlgItemTextA(hwnd, IDC_PROP_TARGET, target, sizeof(target));
        ps->work.SetTarget(target);
        if (PickEntryIcon(hwnd, &ps->work))
            ShowEntryIcon(GetDlgItem(hwnd, IDC_PROP_ICON), ps->work, ps->instance);
    }
}

void General_OnDestroy(HWND hwnd)
{
    PropState* ps = DialogState<PropState>(hwnd);
    ShowEntryIcon(GetDlgItem(hwnd, IDC_PROP_ICON), CMenuItem(), nullptr);
    if (!ps)
        return;
    SetDialogState(hwnd, nullptr);
    CMenuItem& e = ps->work;
    char text[MENU_PATH_SIZE];
    GetDlgItemTextA(hwnd, IDC_PROP_TEXT, text, sizeof(text));
    e.SetText(text);
    if (!(e.GetStyle() & MENU_STYLE_ITEM))
        return;
    GetDlgItemTextA(hwnd, IDC_PROP_TARGET, text, sizeof(text));
    e.SetTarget(text);
    GetDlgItemTextA(hwnd, IDC_PROP_WORKDIR, text, sizeof(text));
    e.SetWorkDir(text);
    GetDlgItemTextA(hwnd, IDC_PROP_CMDLINE, text, sizeof(text));
    e.SetCmdLine(text);
    e.SetWindowState(SelectedWindowState(GetDlgItem(hwnd, IDC_PROP_WINDOWSTATE), e.GetWindowState()));
}

INT_PTR CALLBACK GeneralPageProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, General_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, General_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, General_OnDestroy);
    }
    return FALSE;
}

// --- Frame ------------------------------------------------------------------------

bool Frame_CreatePage(HWND hwnd, PropState* ps)
{
    ps->hPage = CreateDialogParamA(ps->instance, MAKEINTRESOURCEA(IDD_PROP_GENERAL), hwnd, GeneralPageProc,
                                   (LPARAM)ps);
    if (!ps->hPage)
    {
        MessageBoxA(hwnd,
                    "Cannot create subdialog.\n\nIf you consistently receive this error, please notify the "
                    "developers.",
                    "Properties - Error", MB_OK | MB_ICONERROR);
        return false;
    }
    ShowTabPage(hwnd, ps->hTab, ps->hPage);
    return true;
}

void Frame_DestroyPage(PropState* ps)
{
    if (ps->hPage)
        DestroyWindow(ps->hPage);
    ps->hPage = nullptr;
}

BOOL Frame_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    PropState* ps = (PropState*)lParam;
    SetDialogState(hwnd, ps);
    ps->hTab = GetDlgItem(hwnd, IDC_PROP_TAB);
    TCITEMA tab;
    ZeroMemory(&tab, sizeof(tab));
    tab.mask = TCIF_TEXT;
    tab.pszText = (LPSTR) "General";
    SendMessageA(ps->hTab, TCM_INSERTITEMA, 0, (LPARAM)&tab);
    CenterWindow(hwnd);
    if (!Frame_CreatePage(hwnd, ps))
        EndDialog(hwnd, IDCANCEL);
    return TRUE;
}

void Frame_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    PropState* ps = DialogState<PropState>(hwnd);
    if (!ps || (id != IDOK && id != IDCANCEL))
        return;
    Frame_DestroyPage(ps);
    // A text with both quote characters could not be read back from the menu
    // file: the user mends it on the page.
    if (id == IDOK && !ps->work.IsStorable())
    {
        MessageBoxA(hwnd, TAG_VALUE_QUOTES_TEXT, "Properties", MB_OK | MB_ICONWARNING);
        if (!Frame_CreatePage(hwnd, ps))
            EndDialog(hwnd, IDCANCEL);
        return;
    }
    EndDialog(hwnd, id);
}

void Frame_OnClose(HWND hwnd)
{
    Frame_OnCommand(hwnd, IDCANCEL, nullptr, 0);
}

INT_PTR CALLBACK PropertiesDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, Frame_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, Frame_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_CLOSE, Frame_OnClose);
    }
    return FALSE;
}

} // namespace

int ShowEntryProperties(HWND owner, HINSTANCE instance, CMenuItem* item, CAppList* apps)
{
    if (!item)
        return 0;
    PropState ps;
    ps.instance = instance;
    ps.apps = apps;
    ps.work.Copy(item);
    ps.hTab = nullptr;
    ps.hPage = nullptr;
    INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PROPERTIES), owner, PropertiesDlgProc, (LPARAM)&ps);
    if (result != IDOK)
        return 0;
    item->Copy(&ps.work);
    return 1;
}
