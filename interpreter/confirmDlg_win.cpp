#include <windows.h>
#include <windowsx.h>

#include "confirmDlg.h"
#include "winstate.h"
#include "interpreter_res.h"
#include "winutils.h"
#include "strutils.h"

namespace
{
const UINT_PTR kCountdownTimer = 1;

struct ConfirmState
{
    const tagDONFIRMTIMEOUT_DATA* data;
    unsigned remaining;
    HFONT boldFont;
};

void ConfirmDlg_ShowCountdown(HWND hwnd, const ConfirmState* state)
{
    char text[64];
    StrFormat(text, sizeof(text), "Assuming %s in %d seconds.", state->data->bAssumeYes ? "yes" : "no",
              (int)state->remaining);
    SetDlgItemTextA(hwnd, IDC_CONFIRM_COUNTDOWN, text);
}

BOOL ConfirmDlg_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    ConfirmState* state = (ConfirmState*)lParam;
    SetDialogState(hwnd, state);
    const tagDONFIRMTIMEOUT_DATA* data = state->data;

    SetWindowTextA(hwnd, data->pszCaption ? data->pszCaption : "");
    SetDlgItemTextA(hwnd, IDC_CONFIRM_TEXT, data->pszText ? data->pszText : "");

    LOGFONTA lf;
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf) == sizeof(lf))
    {
        lf.lfWeight = FW_BOLD;
        state->boldFont = CreateFontIndirectA(&lf);
        if (state->boldFont)
            SendDlgItemMessageA(hwnd, IDC_CONFIRM_TEXT, WM_SETFONT, (WPARAM)state->boldFont, FALSE);
    }
    if (data->hIcon)
        SendDlgItemMessageA(hwnd, IDC_CONFIRM_ICON, STM_SETICON, (WPARAM)data->hIcon, 0);

    if (state->remaining > 0)
    {
        ConfirmDlg_ShowCountdown(hwnd, state);
        SetTimer(hwnd, kCountdownTimer, 1000, NULL);
    }
    // Usually owned by the desktop: without its own taskbar button the
    // question could be lost behind other windows.
    ForceTaskbarButton(hwnd);
    CenterWindow(hwnd);
    SetForegroundWindow(hwnd);
    BringWindowToTop(hwnd);
    return TRUE;
}

void ConfirmDlg_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    switch (id)
    {
        case IDYES:
            EndDialog(hwnd, 1);
            break;
        case IDNO:
        case IDCANCEL:
            EndDialog(hwnd, 0);
            break;
    }
}

void ConfirmDlg_OnTimer(HWND hwnd, UINT id)
{
    ConfirmState* state = DialogState<ConfirmState>(hwnd);
    if (id != kCountdownTimer || !state)
        return;
    if (state->remaining > 0)
        state->remaining--;
    ConfirmDlg_ShowCountdown(hwnd, state);
    if (state->remaining == 0)
    {
        KillTimer(hwnd, kCountdownTimer);
        ConfirmDlg_OnCommand(hwnd, state->data->bAssumeYes ? IDYES : IDNO, NULL, BN_CLICKED);
    }
}

void ConfirmDlg_OnDestroy(HWND hwnd)
{
    KillTimer(hwnd, kCountdownTimer);
    ConfirmState* state = DialogState<ConfirmState>(hwnd);
    if (state && state->boldFont)
    {
        // The control must not keep a deleted font.
        SendDlgItemMessageA(hwnd, IDC_CONFIRM_TEXT, WM_SETFONT, 0, FALSE);
        DeleteObject(state->boldFont);
        state->boldFont = NULL;
    }
}

INT_PTR CALLBACK ConfirmDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_COMMAND, ConfirmDlg_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_TIMER, ConfirmDlg_OnTimer);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, ConfirmDlg_OnDestroy);
        // WM_INITDIALOG's result is the return value itself.
        case WM_INITDIALOG:
            return HANDLE_WM_INITDIALOG(hwnd, wParam, lParam, ConfirmDlg_OnInitDialog);
    }
    return FALSE;
}
} // namespace

int ShowConfirmTimeout(const tagDONFIRMTIMEOUT_DATA* data)
{
    if (!data)
        return 0;
    // The interpreter binds the common controls here, at its only dialog,
    // not at start: most launch files never show it.
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    ConfirmState state = {data, data->nCountdown, NULL};
    INT_PTR result = DialogBoxParamA(data->hInstance, MAKEINTRESOURCEA(IDD_CONFIRM), data->hwndOwner,
                                     ConfirmDlgProc, (LPARAM)&state);
    return result == 1 ? 1 : 0;
}
