// tvtip.dll: the tip-of-the-day dialog, built in code with no dialog
// resource, over the tips collection of Tips.cpp.
#include <windows.h>
#include <windowsx.h>
#include <new>

#include "tvtip.h"
#include "winstate.h"
#include "Tips.h"
#include "dlgtemplate.h"
#include "regutils.h"
#include "strutils.h"
#include "winutils.h"

#define TIPS_CLASS "_mh_TVTIPS_CLS__"
#define TIPS_DEFAULT_TITLE "Tarvin Tips DLLVERSION 1.01"

enum
{
    IDC_TIPS_CLOSE = 100,
    IDC_TIPS_NEXT = 101,
    IDC_TIPS_PREV = 102,
    IDC_TIPS_SHOWTIPS = 103
};

// What ShowTips ends with when the tips file cannot be used.
const int TIPS_RESULT_NO_TIPS = 2;
const COLORREF TIPS_HEADING_COLOUR = RGB(12, 12, 212);

struct tagTIPS_PRIVATEDATA
{
    explicit tagTIPS_PRIVATEDATA(TIPS_DATA* caller) : data(caller), picture(nullptr)
    {
        tip[0] = '\0';
    }
    tagTIPS_PRIVATEDATA(const tagTIPS_PRIVATEDATA&) = delete;
    tagTIPS_PRIVATEDATA& operator=(const tagTIPS_PRIVATEDATA&) = delete;

    TIPS_DATA* data;
    CTips tips;
    char tip[CTips::TEXT_SIZE];
    HBITMAP picture;
};

static HWND CreateControl(HWND hwnd, HINSTANCE instance, const char* className, const char* text, DWORD style,
                          int x, int y, int cx, int cy, int id)
{
    HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, cx,
                                   cy, hwnd, (HMENU)(INT_PTR)id, instance, nullptr);
    if (control)
        SetWindowFont(control, GetStockObject(DEFAULT_GUI_FONT), FALSE);
    return control;
}

// Where the default GUI font is wider than the check box was laid out for,
// the box grows so that its text is not cut (there is room up to the
// buttons).
static void FitCheckBox(HWND box)
{
    char text[64];
    HDC hdc = GetDC(box);
    if (!hdc || !GetWindowTextA(box, text, sizeof(text)))
    {
        if (hdc)
            ReleaseDC(box, hdc);
        return;
    }
    HGDIOBJ old = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    RECT rc = {0, 0, 0, 0};
    DrawTextA(hdc, text, -1, &rc, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(hdc, old);
    ReleaseDC(box, hdc);
    // The box itself, the gap after it and a little air.
    int needed = rc.right + GetSystemMetrics(SM_CXMENUCHECK) + 8;
    RECT now;
    GetWindowRect(box, &now);
    if (needed > now.right - now.left)
        SetWindowPos(box, nullptr, 0, 0, needed < 300 ? needed : 300, now.bottom - now.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static BOOL _mh_TVTipDll_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    tagTIPS_PRIVATEDATA* pd = (tagTIPS_PRIVATEDATA*)lParam;
    SetDialogState(hwnd, pd);
    CenterWindow(hwnd);
    SetWindowTextA(hwnd, pd->data->title ? pd->data->title : TIPS_DEFAULT_TITLE);

    HINSTANCE instance = pd->data->hInstance;
    CreateControl(hwnd, instance, "BUTTON", "&Next Tip", BS_PUSHBUTTON, 320, 6, 90, 24, IDC_TIPS_NEXT);
    CreateControl(hwnd, instance, "BUTTON", "&Previous Tip", BS_PUSHBUTTON, 320, 36, 90, 24, IDC_TIPS_PREV);
    FitCheckBox(CreateControl(hwnd, instance, "BUTTON", "Don't &show tips at startup.", BS_AUTOCHECKBOX, 6,
                              265, 150, 20, IDC_TIPS_SHOWTIPS));
    CreateControl(hwnd, instance, "BUTTON", "&Close", BS_PUSHBUTTON, 320, 244, 90, 24, IDC_TIPS_CLOSE);

    // A name that no set has leaves the file's last set selected.
    if (pd->data->setName)
        pd->tips.OpenSet(pd->data->setName);
    else
        pd->tips.OpenFirstSet();
    StrCopy(pd->tip, pd->tips.GetRandomTip());

    unsigned long show = 1;
    RegReadDWORD(HKEY_CURRENT_USER, pd->tips.GetRegPath(), SHOW_TIPS_NAME, &show);
    if (show == 0)
        CheckDlgButton(hwnd, IDC_TIPS_SHOWTIPS, BST_CHECKED);
    return TRUE;
}

// Paints the white panel with the picture strip, the heading and the tip.
static void PaintTip(HWND hwnd, HDC hdc)
{
    tagTIPS_PRIVATEDATA* pd = DialogState<tagTIPS_PRIVATEDATA>(hwnd);
    if (!pd)
        return;
    int saved = SaveDC(hdc);

    RECT panel = {6, 6, 312, 266};
    FillRect(hdc, &panel, (HBRUSH)GetStockObject(WHITE_BRUSH));
    DrawEdge(hdc, &panel, BDR_SUNKENINNER, BF_RECT);

    // A missing picture leaves the strip empty.
    if (pd->picture)
    {
        HDC mem = CreateCompatibleDC(hdc);
        if (mem)
        {
            HGDIOBJ old = SelectObject(mem, pd->picture);
            BitBlt(hdc, 8, 8, 48, 256, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteDC(mem);
        }
    }

    HFONT guiFont = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    LOGFONTA lf;
    HFONT heading = nullptr;
    if (GetObjectA(guiFont, sizeof(lf), &lf) == sizeof(lf))
    {
        lf.lfWeight = FW_BOLD;
        lf.lfItalic = TRUE;
        lf.lfHeight = 24;
        heading = CreateFontIndirectA(&lf);
    }
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, TIPS_HEADING_COLOUR);
    SelectObject(hdc, heading ? heading : guiFont);
    RECT headingRect = {64, 16, 304, 42};
    DrawTextA(hdc, "Did you know...", -1, &headingRect, DT_WORDBREAK | DT_NOPREFIX);

    HPEN pen = CreatePen(PS_SOLID, 2, TIPS_HEADING_COLOUR);
    if (pen)
    {
        SelectObject(hdc, pen);
        MoveToEx(hdc, 64, 48, nullptr);
        LineTo(hdc, 304, 48);
    }

    SelectObject(hdc, guiFont);
    RECT tipRect = {64, 66, 304, 260};
    DrawTextA(hdc, pd->tip, -1, &tipRect, DT_WORDBREAK | DT_NOPREFIX);

    RestoreDC(hdc, saved);
    if (pen)
        DeleteObject(pen);
    if (heading)
        DeleteObject(heading);
}

static void _mh_TVTipDll_OnPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (hdc)
        PaintTip(hwnd, hdc);
    EndPaint(hwnd, &ps);
}

static void ShowOtherTip(HWND hwnd, const char* tip)
{
    tagTIPS_PRIVATEDATA* pd = DialogState<tagTIPS_PRIVATEDATA>(hwnd);
    StrCopy(pd->tip, tip);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

static void _mh_TVTipDll_OnNext(HWND hwnd)
{
    ShowOtherTip(hwnd, DialogState<tagTIPS_PRIVATEDATA>(hwnd)->tips.GetNextTip());
}

static void _mh_TVTipDll_OnPrev(HWND hwnd)
{
    ShowOtherTip(hwnd, DialogState<tagTIPS_PRIVATEDATA>(hwnd)->tips.GetPrevTip());
}

// The setting belongs to the calling program: it reads SHOW_TIPS_NAME at its
// start to decide whether to show the dialog.
static void _mh_TVTipDll_OnShowTips(HWND hwnd)
{
    tagTIPS_PRIVATEDATA* pd = DialogState<tagTIPS_PRIVATEDATA>(hwnd);
    unsigned long show = IsDlgButtonChecked(hwnd, IDC_TIPS_SHOWTIPS) == BST_CHECKED ? 0 : 1;
    int rc = RegWriteDWORD(HKEY_CURRENT_USER, pd->tips.GetRegPath(), SHOW_TIPS_NAME, show);
    if (rc != 0)
    {
        char text[128];
        StrFormat(text, sizeof(text), "Cannot write registry entry.\n\nThe reported error code is: %d", rc);
        MessageBoxA(hwnd, text, nullptr, MB_OK | MB_ICONWARNING);
    }
}

static void _mh_TVTipDll_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    switch (id)
    {
        case IDC_TIPS_CLOSE:
            EndDialog(hwnd, 1);
            break;
        case IDCANCEL: // Escape
            EndDialog(hwnd, 0);
            break;
        case IDC_TIPS_NEXT:
            _mh_TVTipDll_OnNext(hwnd);
            break;
        case IDC_TIPS_PREV:
            _mh_TVTipDll_OnPrev(hwnd);
            break;
        case IDC_TIPS_SHOWTIPS:
            _mh_TVTipDll_OnShowTips(hwnd);
            break;
    }
}

static void _mh_TVTipDll_OnClose(HWND hwnd)
{
    EndDialog(hwnd, 0);
}

static void _mh_TVTipDll_OnDestroy(HWND hwnd)
{
    SetDialogState(hwnd, nullptr);
}

static INT_PTR CALLBACK _mh_TVTipDll_DlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        case WM_INITDIALOG:
            return HANDLE_WM_INITDIALOG(hwnd, wParam, lParam, _mh_TVTipDll_OnInitDialog);
        case WM_PAINT:
            _mh_TVTipDll_OnPaint(hwnd);
            return TRUE;
        case WM_PRINTCLIENT: // a picture of the dialog, for instance for PrintWindow
            PaintTip(hwnd, (HDC)wParam);
            return TRUE;
            HANDLE_DLGMSG(hwnd, WM_COMMAND, _mh_TVTipDll_OnCommand);
            HANDLE_DLGMSG(hwnd, WM_CLOSE, _mh_TVTipDll_OnClose);
            HANDLE_DLGMSG(hwnd, WM_DESTROY, _mh_TVTipDll_OnDestroy);
    }
    return FALSE;
}

TVTIP_EXTERN TVTIP_API int __cdecl InitTips(HINSTANCE instance)
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefDlgProcA;
    // The dialog manager's own bytes and the dialog's user data live here: a
    // class with fewer than DLGWINDOWEXTRA bytes breaks on 64-bit Windows.
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(INT_PTR)COLOR_BTNFACE;
    wc.lpszClassName = TIPS_CLASS;
    return RegisterClassA(&wc) ? 1 : 0;
}

TVTIP_EXTERN TVTIP_API int __cdecl ShowTips(TIPS_DATA* data)
{
    if (!data)
        return TIPS_RESULT_NO_TIPS;

    // The header alone: the dialog's own class paints and creates the rest.
    CDlgTemplate tmpl;
    if (!tmpl.Begin(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 100, 100, 210, 144,
                    "", TIPS_CLASS))
        return -1;

    tagTIPS_PRIVATEDATA* pd = new (std::nothrow) tagTIPS_PRIVATEDATA(data);
    if (!pd)
        return -1;
    // The file is read before the dialog exists: a dialog ended while it
    // initialises is still shown for a moment, as its template is visible.
    // A file without a single set is as useless as a damaged one: there is
    // no tip to show and no key to keep the setting under.
    if (pd->tips.Load(data->tipsFile) != CTips::TIPS_OK || pd->tips.GetSetCount() == 0)
    {
        delete pd;
        return TIPS_RESULT_NO_TIPS;
    }
    if (data->pictureFile)
        pd->picture = (HBITMAP)LoadImageA(nullptr, data->pictureFile, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);

    int result = (int)DialogBoxIndirectParamA(data->hInstance, tmpl.Get(), data->hwndOwner,
                                              _mh_TVTipDll_DlgProc, (LPARAM)pd);

    if (pd->picture)
        DeleteObject(pd->picture);
    delete pd;
    return result;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(instance);
    return TRUE;
}
