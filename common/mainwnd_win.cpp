#include "mainwnd.h"
#include "iconstrip_win.h"
#include "winholders.h"
#include "regutils.h"
#include "strutils.h"
#include "winutils.h"

// Every program keeps its rectangle under this name, whatever it is called.
static const char kWindowRectValue[] = "Editor WindowPos";
static const char kViewToolbarValue[] = "View Toolbar";
static const char kViewStatusbarValue[] = "View Statusbar";

bool ReadWindowRect(const char* key, RECT* rect)
{
    RECT rc;
    if (!RegReadRECT(HKEY_CURRENT_USER, key, kWindowRectValue, &rc) || rc.right <= rc.left ||
        rc.bottom <= rc.top)
        return false;
    *rect = rc;
    return true;
}

void WriteWindowRect(const char* key, const RECT& rect)
{
    RegWriteRECT(HKEY_CURRENT_USER, key, kWindowRectValue, rect);
}

void ReadFrameSettings(MainFrame* frame, const char* key, bool toolbarByDefault)
{
    frame->showToolbar =
        RegReadDWORDOr(HKEY_CURRENT_USER, key, kViewToolbarValue, toolbarByDefault ? 1 : 0) != 0;
    frame->showStatus = RegReadDWORDOr(HKEY_CURRENT_USER, key, kViewStatusbarValue, 1) != 0;
    if (ReadWindowRect(key, &frame->wndRect))
        frame->haveWndRect = true;
}

void WriteFrameSettings(const MainFrame* frame, const char* key)
{
    if (frame->haveWndRect)
        WriteWindowRect(key, frame->wndRect);
    RegWriteDWORD(HKEY_CURRENT_USER, key, kViewToolbarValue, frame->showToolbar ? 1 : 0);
    RegWriteDWORD(HKEY_CURRENT_USER, key, kViewStatusbarValue, frame->showStatus ? 1 : 0);
}

void RememberFrameRect(MainFrame* frame)
{
    if (IsIconic(frame->hwnd) || IsZoomed(frame->hwnd))
        return;
    if (GetWindowRect(frame->hwnd, &frame->wndRect))
        frame->haveWndRect = true;
}

void RestoreFrameRect(const MainFrame* frame)
{
    if (!frame->haveWndRect)
        return;
    const RECT& rc = frame->wndRect;
    MoveWindow(frame->hwnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
}

RECT LayoutFrame(const MainFrame* frame, int viewToolbarId, int viewStatusId)
{
    RECT rc = LayoutBars(frame->hwnd, frame->hToolbar, frame->showToolbar, frame->hStatus, frame->showStatus);
    HMENU menu = GetMenu(frame->hwnd);
    CheckMenuItem(menu, viewToolbarId, frame->showToolbar ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(menu, viewStatusId, frame->showStatus ? MF_CHECKED : MF_UNCHECKED);
    return rc;
}

static void ColumnValueName(int column, char* name, size_t size)
{
    StrFormat(name, size, "Column %d Width", column + 1);
}

void ReadColumnWidths(const char* key, int* widths, int count)
{
    for (int i = 0; i < count; i++)
    {
        char name[32];
        ColumnValueName(i, name, sizeof(name));
        widths[i] = (int)RegReadDWORDOr(HKEY_CURRENT_USER, key, name, (unsigned long)widths[i]);
    }
}

void WriteColumnWidths(const char* key, HWND list, int count)
{
    for (int i = 0; i < count && list; i++)
    {
        char name[32];
        ColumnValueName(i, name, sizeof(name));
        RegWriteDWORD(HKEY_CURRENT_USER, key, name, (DWORD)ListView_GetColumnWidth(list, i));
    }
}

HWND CreateButtonToolbar(HWND parent, HINSTANCE instance, int id, DWORD extraStyle,
                         const ToolbarButton* buttons, int count, CImageList* images)
{
    HWND tb =
        CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                        WS_CHILD | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER | extraStyle, 0,
                        0, 0, 0, parent, (HMENU)(INT_PTR)id, instance, nullptr);
    if (!tb)
        return nullptr;
    SendMessageA(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    for (int i = 0; i < count; i++)
        if (buttons[i].style & BTNS_DROPDOWN)
        {
            SendMessageA(tb, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
            break;
        }
    // The pictures of the buttons, in order, separators left out.
    int ids[64];
    int pictures = 0;
    for (int i = 0; i < count && pictures < (int)(sizeof(ids) / sizeof(ids[0])); i++)
        if (buttons[i].command)
            ids[pictures++] = buttons[i].icon;
    images->Reset(LoadIconStrip(instance, ids, pictures, 24, ILC_COLOR32 | ILC_MASK));
    SendMessageA(tb, TB_SETIMAGELIST, 0, (LPARAM)images->Get());
    int picture = 0;
    for (int i = 0; i < count; i++)
    {
        const ToolbarButton& b = buttons[i];
        TBBUTTON t;
        ZeroMemory(&t, sizeof(t));
        if (!b.command)
            t.fsStyle = BTNS_SEP;
        else
        {
            t.iBitmap = images->Get() && picture < pictures ? picture++ : I_IMAGENONE;
            t.idCommand = b.command;
            t.fsState = TBSTATE_ENABLED;
            t.fsStyle = (BYTE)(BTNS_BUTTON | b.style);
            t.iString = (INT_PTR)b.text;
        }
        SendMessageA(tb, TB_ADDBUTTONSA, 1, (LPARAM)&t);
    }
    SendMessageA(tb, TB_AUTOSIZE, 0, 0);
    return tb;
}

int RunMainMessageLoop(HWND hwnd, HACCEL accel)
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
    {
        if (IsWindow(hwnd) && TranslateAcceleratorA(hwnd, accel, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
