// Preferences: a tab frame with one page, "General". OK stores "Advanced
// Mode", "Show Startup" and "Window State" at once; "Test Full" stays with
// the editor, which writes it at exit.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include "meditdlg.h"
#include "winstate.h"
#include "dialogs_res.h"
#include "dlgcommon.h"
#include "regutils.h"
#include "thmutils.h"
#include "winutils.h"

namespace
{

struct PrefState
{
    HINSTANCE instance;
    int* testFull;
    HWND hTab;
    HWND hPage;
    bool store; // the page writes back when it goes (OK), not on Cancel
};

void Check(HWND hwnd, int id, bool on)
{
    CheckDlgButton(hwnd, id, on ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND hwnd, int id)
{
    return IsDlgButtonChecked(hwnd, id) == BST_CHECKED;
}

const struct
{
    int id;
    const DwordSetting& setting;
} g_generalBoxes[] = {{IDC_PREF_ADVANCED, MEDIT_ADVANCED_MODE}, {IDC_PREF_SHOWSTARTUP, MEDIT_SHOW_STARTUP}};

BOOL General_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    PrefState* ps = (PrefState*)lParam;
    SetDialogState(hwnd, ps);
    Check(hwnd, IDC_PREF_TESTFULL, ps->testFull && *ps->testFull);
    for (const auto& box : g_generalBoxes)
        Check(hwnd, box.id, RegReadSetting(box.setting) != 0);
    FillWindowStates(GetDlgItem(hwnd, IDC_PREF_WINDOWSTATE), RegReadSetting(MEDIT_WINDOW_STATE));
    return TRUE;
}

void General_OnDestroy(HWND hwnd)
{
    PrefState* ps = DialogState<PrefState>(hwnd);
    SetDialogState(hwnd, nullptr);
    if (!ps || !ps->store)
        return;
    if (ps->testFull)
        *ps->testFull = IsChecked(hwnd, IDC_PREF_TESTFULL) ? 1 : 0;
    for (const auto& box : g_generalBoxes)
        RegWriteSetting(box.setting, IsChecked(hwnd, box.id) ? 1 : 0);
    RegWriteSetting(MEDIT_WINDOW_STATE, SelectedWindowState(GetDlgItem(hwnd, IDC_PREF_WINDOWSTATE), 1));
}

INT_PTR CALLBACK GeneralPageProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, General_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, General_OnDestroy);
    }
    return FALSE;
}

BOOL Frame_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    PrefState* ps = (PrefState*)lParam;
    SetDialogState(hwnd, ps);
    ps->hTab = GetDlgItem(hwnd, IDC_PREF_TAB);
    TCITEMA tab;
    ZeroMemory(&tab, sizeof(tab));
    tab.mask = TCIF_TEXT;
    tab.pszText = (LPSTR) "General";
    SendMessageA(ps->hTab, TCM_INSERTITEMA, 0, (LPARAM)&tab);
    CenterWindow(hwnd);
    ps->hPage = CreateDialogParamA(ps->instance, MAKEINTRESOURCEA(IDD_PREF_GENERAL), hwnd, GeneralPageProc,
                                   (LPARAM)ps);
    if (!ps->hPage)
    {
        MessageBoxA(hwnd, "Cannot create property sheet.", "Preferences", MB_OK | MB_ICONERROR);
        EndDialog(hwnd, IDCANCEL);
        return TRUE;
    }
    ShowTabPage(hwnd, ps->hTab, ps->hPage);
    return TRUE;
}

void Frame_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    PrefState* ps = DialogState<PrefState>(hwnd);
    if (!ps || (id != IDOK && id != IDCANCEL))
        return;
    ps->store = id == IDOK;
    if (ps->hPage)
        DestroyWindow(ps->hPage);
    ps->hPage = nullptr;
    EndDialog(hwnd, id);
}

void Frame_OnClose(HWND hwnd)
{
    Frame_OnCommand(hwnd, IDCANCEL, nullptr, 0);
}

INT_PTR CALLBACK PreferencesDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
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

int ShowPreferences(HWND owner, HINSTANCE instance, int* testFull)
{
    PrefState ps = {instance, testFull, nullptr, nullptr, false};
    INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PREFERENCES), owner, PreferencesDlgProc, (LPARAM)&ps);
    if (result == -1)
        MessageBoxA(owner, "Cannot create property sheet.", "Preferences", MB_OK | MB_ICONERROR);
    return result == IDOK ? 1 : 0;
}
