#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <stdlib.h>

#include "iconButton.h"
#include "winstate.h"
#include "emboss.h"
#include "strutils.h"

// Caption and tooltip buffers; at most 254 characters of a caption are drawn.
static const size_t kCaptionSize = 255;
static const size_t kTipSize = 512;
static const char kTooltipProp[] = "TVCtlTooltip";

void SplitControlText(const char* text, char* caption, size_t captionSize, char* tip, size_t tipSize)
{
    if (!text)
        text = "";
    int tab = CharFind(text, '\t', 0);
    if (tab < 0)
    {
        StrCopy(caption, captionSize, text);
        StrCopy(tip, tipSize, "");
        return;
    }
    StrCopyN(caption, captionSize, text, (size_t)tab);
    StrCopy(tip, tipSize, text + tab + 1);
}

bool RegisterControlClass(HINSTANCE instance, const char* name, WNDPROC proc)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExA(instance, name, &wc))
        return true;
    wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = 4;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_HAND);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0;
}

HWND AddControlTooltip(HWND control, HINSTANCE instance, const RECT* rect, const char* tip)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    HWND tooltip = CreateWindowExA(
        WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, control, nullptr, instance, nullptr);
    if (!tooltip)
        return nullptr;
    SetWindowPos(tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    char text[kTipSize];
    StrCopy(text, tip);
    TTTOOLINFOA ti = {};
    // The version 5 control rejects the larger record of newer headers.
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = control;
    ti.uId = (UINT_PTR)control;
    ti.rect = *rect;
    ti.lpszText = text;
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
    SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0, 180);
    SendMessageA(tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 32000);
    SendMessageA(tooltip, TTM_SETDELAYTIME, TTDT_RESHOW, 100);
    // A pop-up cannot be owned by a child window: its owner becomes the
    // dialog, so the control has to destroy it itself.
    SetPropA(control, kTooltipProp, tooltip);
    return tooltip;
}

void DestroyControlTooltip(HWND control)
{
    HWND tooltip = (HWND)RemovePropA(control, kTooltipProp);
    if (tooltip)
        DestroyWindow(tooltip);
}

void RedrawControl(HWND control)
{
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TrackControlHover(HWND control, LPARAM lParam)
{
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(control, &pt);
    if (WindowFromPoint(pt) == control)
    {
        if (GetCapture() != control)
        {
            SetCapture(control);
            RedrawControl(control);
        }
    }
    else if (GetCapture() == control)
    {
        ReleaseCapture();
    }
}

void NotifyControlClick(HWND control, LPARAM lParam)
{
    // With the capture held, a release can arrive from outside the control;
    // like a push button, that is no click.
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT rc;
    GetClientRect(control, &rc);
    if (!PtInRect(&rc, pt))
        return;
    int id = GetDlgCtrlID(control);
    SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)control);
}

bool HandleControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam, void (*paint)(HWND, HDC),
                          LRESULT* result)
{
    *result = 0;
    switch (msg)
    {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(control, &ps);
            if (hdc)
                paint(control, hdc);
            EndPaint(control, &ps);
            return true;
        }
        case WM_ERASEBKGND:
            *result = 1; // the paint fills its own background
            return true;
        case WM_PRINTCLIENT:
            paint(control, (HDC)wParam);
            return true;
        case WM_MOUSEMOVE:
            TrackControlHover(control, lParam);
            return true;
        case WM_CAPTURECHANGED:
            RedrawControl(control);
            return true;
        case WM_LBUTTONUP:
            NotifyControlClick(control, lParam);
            return true;
        case WM_DESTROY:
            DestroyControlTooltip(control);
            return true;
    }
    return false;
}

HWND CreateOwnerDrawnControl(HWND parent, HINSTANCE instance, const char* className, WNDPROC proc, int id,
                             const RECT* rect, const char* text, void* createParam)
{
    if (!instance)
        instance = GetModuleHandleA(nullptr);
    char caption[kCaptionSize];
    char tip[kTipSize];
    SplitControlText(text, caption, sizeof(caption), tip, sizeof(tip));
    if (!rect || !RegisterControlClass(instance, className, proc))
        return nullptr;

    HWND hwnd = CreateWindowExA(0, className, caption, WS_CHILD | WS_VISIBLE, rect->left, rect->top,
                                rect->right - rect->left, rect->bottom - rect->top, parent,
                                (HMENU)(INT_PTR)id, instance, createParam);
    if (!hwnd)
        return nullptr;
    AddControlTooltip(hwnd, instance, rect, tip);
    return hwnd;
}

// Draws into a memory bitmap first so that the lift does not flicker.
class CBufferedPaint
{
  public:
    CBufferedPaint(HDC target, const RECT& rc) : m_target(target), m_rc(rc)
    {
        m_mem = CreateCompatibleDC(target);
        m_bmp = m_mem ? CreateCompatibleBitmap(target, rc.right, rc.bottom) : nullptr;
        m_old = m_bmp ? SelectObject(m_mem, m_bmp) : nullptr;
    }
    ~CBufferedPaint()
    {
        if (m_bmp)
        {
            BitBlt(m_target, 0, 0, m_rc.right, m_rc.bottom, m_mem, 0, 0, SRCCOPY);
            SelectObject(m_mem, m_old);
            DeleteObject(m_bmp);
        }
        if (m_mem)
            DeleteDC(m_mem);
    }
    CBufferedPaint(const CBufferedPaint&) = delete;
    CBufferedPaint& operator=(const CBufferedPaint&) = delete;

    HDC DC() const
    {
        return m_bmp ? m_mem : m_target;
    }

  private:
    HDC m_target;
    RECT m_rc;
    HDC m_mem;
    HBITMAP m_bmp;
    HGDIOBJ m_old;
};

static SIZE GetIconSize(HICON icon)
{
    SIZE size = {0, 0};
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info))
        return size;
    BITMAP bm;
    if (info.hbmColor && GetObjectA(info.hbmColor, sizeof(bm), &bm))
    {
        size.cx = bm.bmWidth;
        size.cy = bm.bmHeight;
    }
    else if (info.hbmMask && GetObjectA(info.hbmMask, sizeof(bm), &bm))
    {
        // A monochrome icon keeps its AND and XOR masks in one bitmap.
        size.cx = bm.bmWidth;
        size.cy = bm.bmHeight / 2;
    }
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return size;
}

// The icon lifted: its silhouette in the shadow colour one pixel right and
// down and at its place, the icon itself one pixel left and up. The menus
// draw a selected entry's icon the same way.
static void DrawLiftedIcon(HDC hdc, HICON icon, int x, int y, SIZE size)
{
    RECT rc = {x, y, x + size.cx, y + size.cy};
    DrawEmbossedIcon(hdc, icon, rc, false, true);
    DrawIconEx(hdc, x - 1, y - 1, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
}

static void IconButton_Paint(HWND hwnd, HDC target)
{
    tagICONBUTTON_DATA* data = WindowState<tagICONBUTTON_DATA>(hwnd);
    RECT rc;
    GetClientRect(hwnd, &rc);
    if (!data || rc.right <= 0 || rc.bottom <= 0)
        return;

    bool hot;
    if (data->state == IBS_FORCENORMAL)
        hot = false;
    else if (data->state == IBS_FORCEHOT)
        hot = true;
    else
    {
        hot = GetCapture() == hwnd;
        data->state = hot ? IBS_HOT : IBS_NORMAL;
    }

    CBufferedPaint buffer(target, rc);
    HDC hdc = buffer.DC();
    FillRect(hdc, &rc, (HBRUSH)GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND));

    RECT inner = rc;
    InflateRect(&inner, -2, -2);
    HICON icon = (HICON)SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0);
    SIZE size = GetIconSize(icon);
    int x = inner.left + (inner.right - inner.left - size.cx) / 2;
    int y = inner.top;
    if (icon && size.cx > 0)
    {
        if (hot)
            DrawLiftedIcon(hdc, icon, x, y, size);
        else
            DrawIconEx(hdc, x, y, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
    }

    char caption[kCaptionSize];
    GetWindowTextA(hwnd, caption, sizeof(caption));
    RECT textRect = {inner.left, y + size.cy + 4, inner.right, inner.bottom};
    HFONT font = data->font ? data->font : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    HGDIOBJ oldFont = SelectObject(hdc, font);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(hot ? COLOR_HIGHLIGHT : COLOR_BTNTEXT));
    DrawTextA(hdc, caption, -1, &textRect, DT_CENTER | DT_WORDBREAK);
    SelectObject(hdc, oldFont);
}

static BOOL IconButton_OnNCCreate(HWND hwnd, LPCREATESTRUCTA cs)
{
    tagICONBUTTON_DATA* data = (tagICONBUTTON_DATA*)calloc(1, sizeof(tagICONBUTTON_DATA));
    if (!data)
        return FALSE;
    data->state = IBS_NORMAL;
    data->font = cs->lpCreateParams ? *(HFONT*)cs->lpCreateParams : nullptr;
    SetWindowState(hwnd, data);
    return FORWARD_WM_NCCREATE(hwnd, cs, DefWindowProcA);
}

static void IconButton_OnNCDestroy(HWND hwnd)
{
    free(WindowState<tagICONBUTTON_DATA>(hwnd));
    SetWindowState(hwnd, nullptr);
}

static void IconButton_SetState(HWND hwnd, LONG state)
{
    tagICONBUTTON_DATA* data = WindowState<tagICONBUTTON_DATA>(hwnd);
    if (!data)
        return;
    data->state = state;
    RedrawControl(hwnd);
}

static void IconButton_OnSetFont(HWND hwnd, HFONT font, BOOL redraw)
{
    tagICONBUTTON_DATA* data = WindowState<tagICONBUTTON_DATA>(hwnd);
    if (!data)
        return;
    data->font = font;
    if (redraw)
        RedrawControl(hwnd);
}

static LRESULT CALLBACK IconButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result;
    if (HandleControlMessage(hwnd, msg, wParam, lParam, IconButton_Paint, &result))
        return result;
    switch (msg)
    {
        HANDLE_MSG(hwnd, WM_NCCREATE, IconButton_OnNCCreate);
        HANDLE_MSG(hwnd, WM_NCDESTROY, IconButton_OnNCDestroy);
        HANDLE_MSG(hwnd, WM_SETFONT, IconButton_OnSetFont);
        case WM_GETFONT: {
            tagICONBUTTON_DATA* data = WindowState<tagICONBUTTON_DATA>(hwnd);
            return data ? (LRESULT)data->font : 0;
        }
        case WM_SETICON: {
            LRESULT old = DefWindowProcA(hwnd, msg, wParam, lParam);
            RedrawControl(hwnd);
            return old;
        }
        case IBM_FORCENORMAL:
            IconButton_SetState(hwnd, IBS_FORCENORMAL);
            return 0;
        case IBM_FORCEHOT:
            IconButton_SetState(hwnd, IBS_FORCEHOT);
            return 0;
        case IBM_RESETSTATE:
            IconButton_SetState(hwnd, IBS_NORMAL);
            return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND CreateIconButton(HWND parent, HINSTANCE instance, int id, const RECT* rect, const char* text, HICON icon,
                      HFONT font)
{
    HWND hwnd =
        CreateOwnerDrawnControl(parent, instance, ICONBUTTON_CLASS, IconButtonProc, id, rect, text, &font);
    if (hwnd)
        SendMessageA(hwnd, WM_SETICON, ICON_BIG, (LPARAM)icon);
    return hwnd;
}
