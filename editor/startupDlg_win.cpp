// The startup dialog: New, Open, help and the tutorial as icon buttons.
#include <windows.h>
#include <windowsx.h>

#include "wizardDlg.h"
#include "winstate.h"
#include "wizardDlg_res.h"
#include "editmain.h"
#include "iconButton.h"
#include "winholders.h"
#include "winutils.h"

namespace
{

struct StartupButton
{
    int id;
    int icon;
    const char* text;
};

const StartupButton kButtons[] = {
    {IDC_STARTUP_NEW, IDI_STARTUPNEW,
     "Create a\nnew launch file\tSelect this option to create a new launch file."},
    {IDC_STARTUP_OPEN, IDI_STARTUPOPEN,
     "Open an\nexisting launch file\tSelect this option to open and edit an existing launch file."},
    {IDC_STARTUP_HELP, IDI_STARTUPHELP, "Help\tClick this to view the Tarvin Editor help files."},
    {IDC_STARTUP_TUTORIAL, IDI_TUT,
     "Tutorial\tClick this to view a quick Tarvin Editor and launch file tutorial."},
};
const int kButtonCount = sizeof(kButtons) / sizeof(kButtons[0]);

// The buttons leave their icons and font to the dialog; both are released
// after the dialog and its buttons are gone.
struct StartupState
{
    HWND mainWnd;
    HINSTANCE instance;
    CGdiObject<HFONT> font;
    CIcon icons[kButtonCount];
};

BOOL Startup_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    StartupState* st = (StartupState*)lParam;
    SetDialogState(hwnd, st);
    CenterWindow(hwnd);
    st->font.Reset(CreateFontA(-11, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Verdana"));
    // Four buttons side by side below the question, in dialog units.
    for (int i = 0; i < kButtonCount; i++)
    {
        RECT rect = {7 + i * 72, 22, 7 + i * 72 + 68, 100};
        MapDialogRect(hwnd, &rect);
        st->icons[i].Reset(
            (HICON)LoadImageA(st->instance, MAKEINTRESOURCEA(kButtons[i].icon), IMAGE_ICON, 48, 48, 0));
        CreateIconButton(hwnd, st->instance, kButtons[i].id, &rect, kButtons[i].text, st->icons[i].Get(),
                         st->font.Get());
    }
    return TRUE;
}

void Startup_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    StartupState* st = DialogState<StartupState>(hwnd);
    switch (id)
    {
        case IDC_STARTUP_NEW:
            EndDialog(hwnd, 1);
            return;
        case IDC_STARTUP_OPEN:
            EndDialog(hwnd, 2);
            return;
        case IDC_STARTUP_HELP:
            ShowHelpTopic("tv2.chm::/tvedit_startupwizard.html");
            return;
        case IDC_STARTUP_TUTORIAL:
            ShowHelpTopic("tv2.chm::/tvedit_tutorial_intro.html>TVEDIT_TUT");
            return;
        case IDC_STARTUP_PREFS:
            if (!st)
                return;
            // Modal to this dialog, which keeps the main window disabled:
            // each dialog gives back only what it took, whichever ends first.
            EditorPreferences(st->mainWnd, hwnd);
            return;
        case IDCANCEL:
            EndDialog(hwnd, 0);
            return;
    }
}

INT_PTR CALLBACK StartupDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, Startup_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, Startup_OnCommand);
    }
    return FALSE;
}

} // namespace

int ShowStartupDialog(HWND mainWnd, HINSTANCE instance)
{
    StartupState st;
    st.mainWnd = mainWnd;
    st.instance = instance;
    INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_STARTUP), mainWnd, StartupDlgProc, (LPARAM)&st);
    return result == 1 || result == 2 ? (int)result : 0;
}
