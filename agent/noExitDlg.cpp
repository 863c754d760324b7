// The no-exit notice.
#include <windows.h>
#include <windowsx.h>

#include "noExitDlg.h"
#include "init.h"
#include "agent_res.h"
#include "winutils.h"
#include "strutils.h"

static BOOL NoExitDlg_OnInit(HWND hwnd, HWND, LPARAM)
{
    HFONT font = CreateFontA(13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Verdana");
    SetWindowLongPtrA(hwnd, DWLP_USER, (LONG_PTR)font);
    if (font)
        SendDlgItemMessageA(hwnd, IDC_NOEXIT_TEXT, WM_SETFONT, (WPARAM)font, FALSE);

    ForceTaskbarButton(hwnd);
    CenterWindow(hwnd);
    BringWindowToTop(hwnd);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    CheckDlgButton(hwnd, IDC_NOEXIT_DONTSHOW,
                   ReadAgentSetting("Exit Message", 1) == 0 ? BST_CHECKED : BST_UNCHECKED);
    return FALSE;
}

static void NoExitDlg_OnDontShowAgain(HWND hwnd)
{
    WriteAgentSetting("Exit Message", IsDlgButtonChecked(hwnd, IDC_NOEXIT_DONTSHOW) == BST_CHECKED ? 0 : 1);
}

static void NoExitDlg_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    switch (id)
    {
        case IDC_NOEXIT_DONTSHOW:
            NoExitDlg_OnDontShowAgain(hwnd);
            break;
        case IDOK:
        case IDCANCEL:
            DestroyWindow(hwnd);
            break;
    }
}

static void NoExitDlg_OnClose(HWND hwnd)
{
    DestroyWindow(hwnd);
}

static void NoExitDlg_OnDestroy(HWND hwnd)
{
    HFONT font = (HFONT)GetWindowLongPtrA(hwnd, DWLP_USER);
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    if (font)
        DeleteObject(font);
    g_hNoExitDlg = nullptr;
}

INT_PTR CALLBACK NoExitDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
        case WM_INITDIALOG:
            return HANDLE_WM_INITDIALOG(hwnd, wParam, lParam, NoExitDlg_OnInit);
        case WM_COMMAND:
            HANDLE_WM_COMMAND(hwnd, wParam, lParam, NoExitDlg_OnCommand);
            return TRUE;
        case WM_CLOSE:
            HANDLE_WM_CLOSE(hwnd, wParam, lParam, NoExitDlg_OnClose);
            return TRUE;
        case WM_DESTROY:
            HANDLE_WM_DESTROY(hwnd, wParam, lParam, NoExitDlg_OnDestroy);
            return TRUE;
    }
    return FALSE;
}

void OpenNoExitDlg()
{
    if (g_hNoExitDlg && IsWindow(g_hNoExitDlg))
    {
        BringWindowToTop(g_hNoExitDlg);
        return;
    }
    g_hNoExitDlg =
        CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(IDD_NOEXIT), GetDesktopWindow(), NoExitDlgProc, 0);
}
