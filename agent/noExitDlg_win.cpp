// The no-exit notice.
#include <windows.h>
#include <windowsx.h>
#include <new>

#include "noExitDlg.h"
#include "winstate.h"
#include "init.h"
#include "agent_res.h"
#include "winutils.h"
#include "winholders.h"
#include "strutils.h"

namespace
{
// The notice's slot and its heading font, which goes with the notice.
struct NoExitData
{
    explicit NoExitData(HWND* slot) : slot(slot)
    {
    }
    HWND* slot;
    CGdiObject<HFONT> font;
};
} // namespace

static BOOL NoExitDlg_OnInit(HWND hwnd, HWND, LPARAM lParam)
{
    NoExitData* data = (NoExitData*)lParam;
    SetDialogState(hwnd, data);
    data->font.Reset(CreateFontA(13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_SWISS, "Verdana"));
    HFONT font = data->font.Get();
    if (font)
        SendDlgItemMessageA(hwnd, IDC_NOEXIT_TEXT, WM_SETFONT, (WPARAM)font, FALSE);

    BringNoticeForward(hwnd);
    CheckDontShowAgain(hwnd, IDC_NOEXIT_DONTSHOW, AGENT_EXIT_MESSAGE);
    return FALSE;
}

static void NoExitDlg_OnDontShowAgain(HWND hwnd)
{
    SaveDontShowAgain(hwnd, IDC_NOEXIT_DONTSHOW, AGENT_EXIT_MESSAGE);
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
    NoExitData* data = DialogState<NoExitData>(hwnd);
    SetDialogState(hwnd, nullptr);
    if (!data)
        return;
    ForgetDialog(data->slot, hwnd);
    delete data;
}

INT_PTR CALLBACK NoExitDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        // WM_INITDIALOG's result is the return value itself.
        case WM_INITDIALOG:
            return HANDLE_WM_INITDIALOG(hwnd, wParam, lParam, NoExitDlg_OnInit);
            HANDLE_DLGMSG(hwnd, WM_COMMAND, NoExitDlg_OnCommand);
            HANDLE_DLGMSG(hwnd, WM_CLOSE, NoExitDlg_OnClose);
            HANDLE_DLGMSG(hwnd, WM_DESTROY, NoExitDlg_OnDestroy);
    }
    return FALSE;
}

void OpenNoExitDlg(HINSTANCE instance, HWND* slot)
{
    if (RaiseOpenDialog(slot))
        return;
    OpenModelessWithState(instance, IDD_NOEXIT, NoExitDlgProc, new (std::nothrow) NoExitData(slot), slot);
}
