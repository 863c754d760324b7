// The welcome wizard.
#include <windows.h>
#include <windowsx.h>
#include <new>

#include "wizard.h"
#include "winstate.h"
#include "init.h"
#include "traymenu.h"
#include "agent_res.h"
#include "iconButton.h"
#include "dirutils_win.h"
#include "winholders.h"
#include "winutils.h"
#include "strutils.h"

namespace
{
struct WizardButton
{
    int id;
    RECT rect;
    int icon;
    const char* text;
};

const WizardButton g_buttons[] = {
    {IDC_WIZ_EDIT,
     {10, 36, 138, 136},
     IDI_EDITLRG,
     "Create or edit\na launch file\tLaunch files are instructions that allow you to open files or "
     "applications, move, copy or delete file and many other things."},
    {IDC_WIZ_MEDIT,
     {154, 36, 282, 136},
     IDI_MEDITLRG,
     "Create or edit\na menu\tMenus can be added to your quick launch tray and allow you to organize your "
     "shortcuts. You can also edit your Tarvin menu."},
    {IDC_WIZ_SCHED,
     {298, 36, 426, 136},
     IDI_SCHEDLRG,
     "Schedule tasks\nto run automatically\tScheduled tasks can be set to automatically run any application "
     "or launch file at one or more scheduled times."},
    {IDC_WIZ_PREF,
     {82, 138, 210, 238},
     IDI_PREFLRG,
     "Edit your\npreferences\tYour Tarvin preferences include automatically starting when you log on, "
     "various screen saver options and creating or changing Tarvin Keys."},
    {IDC_WIZ_HELP, {226, 138, 354, 238}, IDI_HELPLRG, "Help\tView the Tarvin 2 Help files."},
};
const int WIZARD_BUTTONS = sizeof(g_buttons) / sizeof(g_buttons[0]);

// The icon buttons leave their icons to the dialog.
struct WizardData
{
    HWND mainWnd;
    HINSTANCE instance;
    HWND* slot;
    CGdiObject<HFONT> font;
    CIcon icons[WIZARD_BUTTONS];
};
} // namespace

static BOOL WizardDlg_OnInit(HWND hwnd, HWND, LPARAM lParam)
{
    WizardData* data = (WizardData*)lParam;
    SetDialogState(hwnd, data);

    BringNoticeForward(hwnd);

    HFONT font = nullptr;
    LOGFONTA lf;
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf))
    {
        lf.lfWeight = FW_BOLD;
        font = CreateFontIndirectA(&lf);
    }
    data->font.Reset(font);
    if (font)
        SendDlgItemMessageA(hwnd, IDC_WIZ_HEADING, WM_SETFONT, (WPARAM)font, FALSE);

    for (int i = 0; i < WIZARD_BUTTONS; i++)
    {
        HICON icon =
            (HICON)LoadImageA(data->instance, MAKEINTRESOURCEA(g_buttons[i].icon), IMAGE_ICON, 48, 48, 0);
        data->icons[i].Reset(icon);
        CreateIconButton(hwnd, data->instance, g_buttons[i].id, &g_buttons[i].rect, g_buttons[i].text, icon,
                         font);
    }

    CheckDontShowAgain(hwnd, IDC_WIZ_DONTSHOW, AGENT_SHOW_WIZARD);
    return FALSE;
}

static void WizardDlg_OnDontShowWizard(HWND hwnd)
{
    SaveDontShowAgain(hwnd, IDC_WIZ_DONTSHOW, AGENT_SHOW_WIZARD);
}

static void WizardDlg_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    WizardData* data = DialogState<WizardData>(hwnd);
    HWND mainWnd = data ? data->mainWnd : nullptr;
    switch (id)
    {
        case IDC_WIZ_EDIT:
            LaunchFromMyDir("tvedit.exe", "-wizard='true'", nullptr, 1);
            DestroyWindow(hwnd);
            break;
        case IDC_WIZ_MEDIT:
            LaunchFromMyDir("tvmedit.exe", "-wizard='true'", nullptr, 1);
            DestroyWindow(hwnd);
            break;
        case IDC_WIZ_SCHED:
            LaunchFromMyDir("tvsched.exe", "-wizard='true'", nullptr, 1);
            DestroyWindow(hwnd);
            break;
        case IDC_WIZ_PREF:
            PostMessageA(mainWnd, WM_COMMAND, IDM_PREF_GENERAL, 0);
            DestroyWindow(hwnd);
            break;
        case IDC_WIZ_HELP:
            PostMessageA(mainWnd, WM_COMMAND, IDM_HELP, 0);
            break;
        case IDC_WIZ_DONTSHOW:
            WizardDlg_OnDontShowWizard(hwnd);
            break;
        case IDCANCEL:
            DestroyWindow(hwnd);
            break;
    }
}

static void WizardDlg_OnClose(HWND hwnd)
{
    DestroyWindow(hwnd);
}

static void WizardDlg_OnDestroy(HWND hwnd)
{
    WizardData* data = DialogState<WizardData>(hwnd);
    SetDialogState(hwnd, nullptr);
    if (!data)
        return;
    // The notice follows once nothing else holds it back.
    PostMessageA(data->mainWnd, WM_AGENT_NOEXIT, 0, 0);
    ForgetDialog(data->slot, hwnd);
    delete data;
}

INT_PTR CALLBACK WizardDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        // WM_INITDIALOG's result is the return value itself.
        case WM_INITDIALOG:
            return HANDLE_WM_INITDIALOG(hwnd, wParam, lParam, WizardDlg_OnInit);
            HANDLE_DLGMSG(hwnd, WM_COMMAND, WizardDlg_OnCommand);
            HANDLE_DLGMSG(hwnd, WM_CLOSE, WizardDlg_OnClose);
            HANDLE_DLGMSG(hwnd, WM_DESTROY, WizardDlg_OnDestroy);
    }
    return FALSE;
}

int OnShowWizard(HWND hwnd)
{
    AgentState* st = AgentStateOf(hwnd);
    RedrawTaskbar();
    if (st->dialogs.noExit && IsWindow(st->dialogs.noExit))
        DestroyWindow(st->dialogs.noExit);
    if (RaiseOpenDialog(&st->dialogs.wizard))
        return 1;
    WizardData* data = new (std::nothrow) WizardData();
    if (!data)
        return 1;
    data->mainWnd = hwnd;
    data->instance = st->instance;
    data->slot = &st->dialogs.wizard;
    OpenModelessWithState(st->instance, IDD_WIZARD, WizardDlgProc, data, &st->dialogs.wizard);
    return 1;
}
