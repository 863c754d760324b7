#include <windows.h>

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

static LRESULT CALLBACK StaticLinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result;
    if (HandleControlMessage(hwnd, msg, wParam, lParam, StaticLink_Paint, &result))
        return result;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND CreateStaticLink(HWND parent, HINSTANCE instance, int id, const RECT* rect, const char* text)
{
    return CreateOwnerDrawnControl(parent, instance, STATICLINK_CLASS, StaticLinkProc, id, rect, text,
                                   nullptr);
}
