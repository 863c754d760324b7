#include <windows.h>

#include "iconButton.h"
#include "staticLink.h"
#include "strutils.h"
#include "winholders.h"

// The underlined font is made once per link, kept in a window property (the
// user data is the hot flag) and deleted when the link goes.
static const char kFontProp[] = "TVStaticLinkFont";

static HFONT StaticLink_MakeFont()
{
    LOGFONTA lf;
    if (!GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf))
        return nullptr;
    lf.lfUnderline = TRUE;
    return CreateFontIndirectA(&lf);
}

static HFONT StaticLink_GetFont(HWND hwnd)
{
    return (HFONT)GetPropA(hwnd, kFontProp);
}

static void StaticLink_Paint(HWND hwnd, HDC hdc)
{
    LONG_PTR hot = GetCapture() == hwnd ? 1 : 0;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, hot);

    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(hdc, &rc, (HBRUSH)GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND));

    HFONT font = StaticLink_GetFont(hwnd);
    CSelectObject selected(hdc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    char caption[255];
    GetWindowTextA(hwnd, caption, sizeof(caption));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(hot ? COLOR_HIGHLIGHT : COLOR_BTNTEXT));
    DrawTextA(hdc, caption, -1, &rc, DT_WORDBREAK);
}

static LRESULT CALLBACK StaticLinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result;
    if (HandleControlMessage(hwnd, msg, wParam, lParam, StaticLink_Paint, &result))
        return result;
    switch (msg)
    {
        case WM_NCCREATE: {
            HFONT font = StaticLink_MakeFont();
            if (font && !SetPropA(hwnd, kFontProp, font))
                DeleteObject(font); // painted in the plain font then
            break;
        }
        case WM_NCDESTROY: {
            HFONT font = (HFONT)RemovePropA(hwnd, kFontProp);
            if (font)
                DeleteObject(font);
            break;
        }
        case WM_GETFONT:
            return (LRESULT)StaticLink_GetFont(hwnd);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND CreateStaticLink(HWND parent, HINSTANCE instance, int id, const RECT* rect, const char* text)
{
    return CreateOwnerDrawnControl(parent, instance, STATICLINK_CLASS, StaticLinkProc, id, rect, text,
                                   nullptr);
}
