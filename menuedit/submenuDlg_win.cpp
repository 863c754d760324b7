// The plain submenu dialog of the advanced mode: a name and an icon for a new
// submenu or a new menu's root.
#include <windows.h>
#include <windowsx.h>

#include "meditdlg.h"
#include "winstate.h"
#include "dialogs_res.h"
#include "dlgcommon.h"
#include "winutils.h"
#include "xmlutils.h"

namespace
{

struct SubmenuState
{
    HINSTANCE instance;
    bool newMenu;
    CMenuItem work;
};

BOOL Submenu_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    SubmenuState* ss = (SubmenuState*)lParam;
    SetDialogState(hwnd, ss);
    if (ss->newMenu)
    {
        SetWindowTextA(hwnd, "New Menu");
        SetDlgItemTextA(hwnd, IDC_SUB_PROMPT, "Select a name and icon to create a new menu.");
    }
    else
        SetDlgItemTextA(hwnd, IDC_SUB_PROMPT, "Select a name and icon to create a new submenu.");
    SendDlgItemMessageA(hwnd, IDC_SUB_NAME, EM_LIMITTEXT, MENU_PATH_SIZE - 1, 0);
    SetDlgItemTextA(hwnd, IDC_SUB_NAME, ss->work.GetText());
    ShowEntryIcon(GetDlgItem(hwnd, IDC_SUB_ICON), ss->work, ss->instance);
    CenterWindow(hwnd);
    return TRUE;
}

void Submenu_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    SubmenuState* ss = DialogState<SubmenuState>(hwnd);
    if (!ss)
        return;
    switch (id)
    {
        case IDC_SUB_CHANGEICON:
            if (PickEntryIcon(hwnd, &ss->work))
                ShowEntryIcon(GetDlgItem(hwnd, IDC_SUB_ICON), ss->work, ss->instance);
            break;
        case IDOK: {
            char name[MENU_PATH_SIZE];
            GetDlgItemTextA(hwnd, IDC_SUB_NAME, name, sizeof(name));
            ss->work.SetText(name);
            if (!ss->work.IsStorable())
            {
                MessageBoxA(hwnd, TAG_VALUE_QUOTES_TEXT, ss->newMenu ? "New Menu" : "New Submenu",
                            MB_OK | MB_ICONWARNING);
                break;
            }
            EndDialog(hwnd, 1);
            break;
        }
        case IDCANCEL:
            EndDialog(hwnd, 2);
            break;
    }
}

void Submenu_OnDestroy(HWND hwnd)
{
    ShowEntryIcon(GetDlgItem(hwnd, IDC_SUB_ICON), CMenuItem(), nullptr);
}

INT_PTR CALLBACK SubmenuDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, Submenu_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, Submenu_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, Submenu_OnDestroy);
    }
    return FALSE;
}

} // namespace

int ShowSubmenuDialog(HWND owner, HINSTANCE instance, bool newMenu, CMenuItem* entry)
{
    if (!entry)
        return 2;
    SubmenuState ss;
    ss.instance = instance;
    ss.newMenu = newMenu;
    ss.work.Copy(entry);
    ss.work.SetText(newMenu ? "New Tarvin Menu" : "New Submenu");
    ss.work.SetIconPath("shell32.dll");
    ss.work.SetIconNumber(4);
    INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SUBMENU), owner, SubmenuDlgProc, (LPARAM)&ss);
    if (result != 1)
        return 2;
    entry->SetText(ss.work.GetText());
    entry->SetIconPath(ss.work.GetIconPath());
    entry->SetIconNumber(ss.work.GetIconNumber());
    return 1;
}
