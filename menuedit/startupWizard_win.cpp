// The startup wizard: three large icon buttons (new menu, open a menu, open
// the user's menu), help, the tutorial beside the editor, and the
// preferences.
#include <windows.h>
#include <windowsx.h>

#include "meditdlg.h"
#include "winstate.h"
#include "dialogs_res.h"
#include "dlgcommon.h"
#include "regutils.h"
#include "iconButton.h"
#include "winholders.h"
#include "winutils.h"

namespace
{

struct StartButton
{
    int id;
    int icon;
    const char* text;
};

const StartButton kButtons[] = {
    {IDC_START_NEW, IDI_STARTUPNEW,
     "Create a\nnew menu\tMake a new menu, step by step, with the New Menu Wizard."},
    {IDC_START_OPEN, IDI_STARTUPOPEN, "Open an\nexisting menu\tOpen a menu file that you saved before."},
    {IDC_START_OPENTV, IDI_STARTUPOPENTV,
     "Open my\nshortcuts menu\tOpen your own Tarvin menu, the one the Tarvin tray icon shows."},
};
const int kButtonCount = sizeof(kButtons) / sizeof(kButtons[0]);

// The tutorial's help window takes the left of the work area; the editor
// keeps at least this much on the right.
const int kEditorMinWidth = 480;
// The editor's message: remember the window's place and watch the help window.
const UINT WM_MEDIT_WATCHHELP = WM_USER + 10;

struct StartState
{
    HWND mainWnd;
    HINSTANCE instance;
    int* testFull;
    CGdiObject<HFONT> titleFont;
    CIcon icons[kButtonCount];
};

BOOL Start_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    StartState* ss = (StartState*)lParam;
    SetDialogState(hwnd, ss);
    ss->titleFont.Reset(CreateBoldFont());
    if (ss->titleFont.Get())
        SendDlgItemMessageA(hwnd, IDC_START_TITLE, WM_SETFONT, (WPARAM)ss->titleFont.Get(), FALSE);
    for (int i = 0; i < kButtonCount; i++)
    {
        RECT rc = {7 + i * 84, 24, 7 + i * 84 + 78, 90};
        MapDialogRect(hwnd, &rc);
        ss->icons[i].Reset(
            (HICON)LoadImageA(ss->instance, MAKEINTRESOURCEA(kButtons[i].icon), IMAGE_ICON, 48, 48, 0));
        CreateIconButton(hwnd, ss->instance, kButtons[i].id, &rc, kButtons[i].text, ss->icons[i].Get(),
                         nullptr);
    }
    CenterWindow(hwnd);
    return TRUE;
}

// The help window on the left of the work area, the editor on the rest.
void Start_OnTutorial(HWND hwnd, StartState* ss)
{
    HWND help = ShowHelpTopic("tv2.chm::/tvmedit_tutorial_intro.html>TVMEDIT_TUT");
    if (!help)
        return;
    RECT work;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        return;
    int workWidth = work.right - work.left, height = work.bottom - work.top;
    int helpWidth = workWidth / 2 <= kEditorMinWidth ? workWidth - kEditorMinWidth : workWidth / 2;
    if (helpWidth < 1)
        helpWidth = workWidth / 2;
    SetWindowTextA(help, "Tarvin Menu Editor Tutorial");
    SetWindowPos(help, nullptr, work.left, work.top, helpWidth, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (ss->mainWnd)
    {
        // The editor remembers its place first, to go back there when the
        // help window closes.
        SendMessageA(ss->mainWnd, WM_MEDIT_WATCHHELP, 0, (LPARAM)help);
        SetWindowPos(ss->mainWnd, nullptr, work.left + helpWidth, work.top, workWidth - helpWidth, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CenterWindow(hwnd);
}

void Start_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    StartState* ss = DialogState<StartState>(hwnd);
    if (!ss)
        return;
    switch (id)
    {
        case IDC_START_NEW:
            EndDialog(hwnd, 1);
            break;
        case IDC_START_OPEN:
            EndDialog(hwnd, 2);
            break;
        case IDC_START_OPENTV:
            EndDialog(hwnd, 3);
            break;
        case IDC_START_HELP:
            ShowHelpTopic("tv2.chm::/tvmedit_startupwizard.html");
            break;
        case IDC_START_TUTORIAL:
            Start_OnTutorial(hwnd, ss);
            break;
        case IDC_START_ADVANCED:
            ShowPreferences(hwnd, ss->instance, ss->testFull);
            if (!RegReadSetting(MEDIT_SHOW_STARTUP))
                EndDialog(hwnd, 0);
            break;
        case IDCANCEL:
            EndDialog(hwnd, 0);
            break;
    }
}

void Start_OnClose(HWND hwnd)
{
    EndDialog(hwnd, 0);
}

INT_PTR CALLBACK StartupDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, Start_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, Start_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_CLOSE, Start_OnClose);
    }
    return FALSE;
}

} // namespace

int ShowStartupWizard(HWND mainWnd, HINSTANCE instance, int* testFull)
{
    StartState ss;
    ss.mainWnd = mainWnd;
    ss.instance = instance;
    ss.testFull = testFull;
    INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_STARTUP), mainWnd, StartupDlgProc, (LPARAM)&ss);
    // The buttons are gone with the dialog; their icons go with ss.
    return result >= 1 && result <= 3 ? (int)result : 0;
}
