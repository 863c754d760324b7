#include <windows.h>
#include <windowsx.h>

#include "iconButton.h"
#include "staticLink.h"
#include "strutils.h"

static void StaticLink_Paint(HWND hwnd, HDC hdc)
{
    LONG_PTR hot = GetCapture() == hwnd ? 1 : 0;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, hot);

    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(hdc, &rc, (HBRUSH)GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND));

    LOGFONTA lf;
    HFONT font = nullptr;
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf))
    {
        lf.lfUnderline = TRUE;
        font = CreateFontIndirectA(&lf);
    }
    HGDIOBJ oldFont = SelectObject(hdc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    char caption[255];
    GetWindowTextA(hwnd, caption, sizeof(caption));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(hot ? COLOR_HIGHLIGHT : COLOR_BTNTEXT));
    DrawTextA(hdc, caption, -1, &rc, DT_WORDBREAK);
    SelectObject(hdc, oldFont);
    if (font)
        DeleteObject(font);
}

static void StaticLink_OnPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (hdc)
        StaticLink_Paint(hwnd, hdc);
    EndPaint(hwnd, &ps);
}

static LRESULT CALLBACK StaticLinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
        HANDLE_MSG(hwnd, WM_PAINT, StaticLink_OnPaint);
        case WM_ERASEBKGND:
            return 1; // the paint fills its own background
        case WM_PRINTCLIENT:
            StaticLink_Paint(hwnd, (HDC)wParam);
            return 0;
        case WM_MOUSEMOVE:
            TrackControlHover(hwnd, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            RedrawControl(hwnd);
            return 0;
        case WM_LBUTTONUP:
            NotifyControlClick(hwnd, lParam);
            return 0;
        case WM_DESTROY:
            DestroyControlTooltip(hwnd);
            return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND CreateStaticLink(HWND parent, HINSTANCE instance, int id, const RECT* rect, const char* text)
{
    if (!instance)
        instance = GetModuleHandleA(nullptr);
    char caption[255];
    char tip[512];
    SplitControlText(text, caption, sizeof(caption), tip, sizeof(tip));
    if (!rect || !RegisterControlClass(instance, STATICLINK_CLASS, StaticLinkProc))
        return nullptr;

    HWND hwnd = CreateWindowExA(0, STATICLINK_CLASS, caption, WS_CHILD | WS_VISIBLE, rect->left, rect->top,
                                rect->right - rect->left, rect->bottom - rect->top, parent,
                                (HMENU)(INT_PTR)id, instance, nullptr);
    if (!hwnd)
        return nullptr;
    AddControlTooltip(hwnd, instance, rect, tip);
    return hwnd;
}
