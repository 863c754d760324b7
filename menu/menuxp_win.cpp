#include <windows.h>
#include <stdlib.h>
#include <new>

#include "menuxp.h"
#include "winutils.h"
#include "winholders.h"
#include "emboss.h"
#include "strutils.h"

namespace
{
// Caption before the tab, and the shortcut after it.
const size_t kCaptionSize = 63;
const size_t kShortcutMax = 14;
const size_t kShortcutTail = 15;
const int kMaxGradientColours = 256;

tagMENUXP_ITEMDATA* GetItemData(ULONG_PTR data)
{
    return (tagMENUXP_ITEMDATA*)data;
}

// Menus built here hold only entries made here, so an owner-drawn entry's
// data is one of ours.
bool LastEntryIsSidebar(HMENU menu)
{
    int count = GetMenuItemCount(menu);
    if (count <= 0)
        return false;
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_DATA;
    if (!GetMenuItemInfoA(menu, (UINT)(count - 1), TRUE, &mii) || !(mii.fType & MFT_OWNERDRAW))
        return false;
    const tagMENUXP_ITEMDATA* data = GetItemData(mii.dwItemData);
    return data && data->nKind == MENUXP_KIND_SIDEBAR;
}

int AppendEntry(HMENU menu, UINT id, HMENU subMenu, const char* text, HICON icon, void* userData,
                unsigned int kind, unsigned int width)
{
    if (!menu || !IsMenu(menu))
        return 0;
    tagMENUXP_ITEMDATA* data = new (std::nothrow) tagMENUXP_ITEMDATA();
    if (!data)
        return 0;
    data->hMenu = menu;
    data->hFont = nullptr;
    data->hIcon = icon;
    data->nKind = kind;
    data->nWidth = width;
    data->pszText = text;
    data->pUserData = userData;

    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STATE | MIIM_ID | MIIM_FTYPE | MIIM_DATA | (subMenu ? MIIM_SUBMENU : 0);
    mii.fType = MFT_OWNERDRAW;
    // The side bar stands alone in the first column: whatever follows it
    // starts the second. Asking the menu itself (not a process-wide flag)
    // keeps this right while submenus are built in between.
    if (kind != MENUXP_KIND_SIDEBAR && LastEntryIsSidebar(menu))
        mii.fType |= MFT_MENUBREAK;
    mii.fState = 0;
    mii.wID = id;
    mii.hSubMenu = subMenu;
    mii.dwItemData = (ULONG_PTR)data;
    if (!InsertMenuItemA(menu, (UINT)GetMenuItemCount(menu), TRUE, &mii))
    {
        delete data;
        return 0;
    }
    return 1;
}

int RectWidth(const RECT& rc)
{
    return rc.right - rc.left;
}

int RectHeight(const RECT& rc)
{
    return rc.bottom - rc.top;
}

// Width of the icon column: the icon, spacing on both sides and a 2-pixel gap.
int IconColumnWidth(const tagMENUXP_DRAWINFO* di)
{
    return di->nIconSize + 2 * di->nIconSpacing + 2;
}

int FillSolid(HDC hdc, const RECT* rc, COLORREF colour)
{
    CGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    if (!brush.Get())
        return 0;
    return FillRect(hdc, rc, brush.Get()) ? 1 : 0;
}

int ClampIndex(int index, int count)
{
    if (index < 0)
        return 0;
    if (index >= count)
        return count - 1;
    return index;
}

BYTE Channel(int from, int to, int k, int count)
{
    if (count < 2)
        return (BYTE)from;
    return (BYTE)(from + MulDiv(to - from, k, count - 1));
}
} // namespace

int MenuXP_AppendItem(HMENU hMenu, unsigned int id, const char* text, HICON hIcon, void* userData)
{
    return AppendEntry(hMenu, id, nullptr, text, hIcon, userData, MENUXP_KIND_ITEM, 0);
}

int MenuXP_AppendMenu(HMENU hMenu, HMENU hSubMenu, const char* text, HICON hIcon)
{
    if (!hSubMenu)
        return 0;
    return AppendEntry(hMenu, 0, hSubMenu, text, hIcon, nullptr, MENUXP_KIND_ITEM, 0);
}

int MenuXP_AppendSidebar(HMENU hMenu, const char* text, HICON hIcon, unsigned int width)
{
    return AppendEntry(hMenu, 0, nullptr, text, hIcon, nullptr, MENUXP_KIND_SIDEBAR, width);
}

int MenuXP_AppendSeparator(HMENU hMenu)
{
    return AppendEntry(hMenu, 0, nullptr, nullptr, nullptr, nullptr, MENUXP_KIND_SEPARATOR, 0);
}

int MenuXP_MeasureItem(MEASUREITEMSTRUCT* mis, tagMENUXP_DRAWINFO* di)
{
    if (!mis || !di || mis->CtlType != ODT_MENU || !mis->itemData)
        return 0;
    const tagMENUXP_ITEMDATA* data = GetItemData(mis->itemData);

    if (data->nKind == MENUXP_KIND_SIDEBAR)
    {
        // The system adds the check-mark width less one to every owner-drawn
        // entry; what remains is the requested width. The bar is drawn over
        // the whole column whatever its entry's height, but an entry of no
        // height at all is never drawn by some menu implementations: one
        // pixel.
        int width = (int)data->nWidth + 1 - GetSystemMetrics(SM_CXMENUCHECK);
        mis->itemWidth = width > 0 ? (UINT)width : 0;
        mis->itemHeight = 1;
        return 1;
    }
    if (data->nKind == MENUXP_KIND_SEPARATOR)
    {
        mis->itemWidth = 0;
        mis->itemHeight = (UINT)(GetSystemMetrics(SM_CYMENUCHECK) >> 1);
        return 1;
    }

    RECT rc = {0, 0, 0, 0};
    CScreenDC screen;
    if (screen.Get())
    {
        CSelectObject font(screen.Get(), data->hFont ? data->hFont : di->hFont);
        DrawTextA(screen.Get(), data->pszText ? data->pszText : "", -1, &rc, DT_CALCRECT | DT_SINGLELINE);
    }
    int height = RectHeight(rc) + 2 * (di->nIconSpacing + di->nMargin) + 2;
    int minHeight = di->nIconSize + 2 * (di->nMargin + di->nIconSpacing);
    if (height < minHeight)
        height = minHeight;
    int width = RectWidth(rc) + di->nTextGap + 3 * di->nIconSpacing + 2 * di->nMargin + di->nIconSize + 2;
    mis->itemWidth = width > 0 ? (UINT)width : 0;
    mis->itemHeight = height > 0 ? (UINT)height : 0;
    return 1;
}

int MenuXP_DrawItem(DRAWITEMSTRUCT* dis, tagMENUXP_DRAWINFO* di)
{
    if (!dis || !di || dis->CtlType != ODT_MENU || !dis->itemData || !dis->hDC)
        return 0;
    const tagMENUXP_ITEMDATA* data = GetItemData(dis->itemData);
    HDC hdc = dis->hDC;
    RECT rc = dis->rcItem;

    if (data->nKind == MENUXP_KIND_SIDEBAR)
    {
        RECT clip;
        if (GetClipBox(hdc, &clip) == ERROR)
            clip = rc;
        // The bar is the menu's first column from edge to edge, measured on
        // the menu window when there is one: a partial repaint must not
        // squeeze the gradient, and a menu that keeps a margin inside its
        // window gets no stripe beside the bar. The background is laid only
        // when the whole menu is painted; a selection of the bar (by the
        // keyboard) redraws it alone, over the other entries.
        RECT full = clip;
        HWND wnd = WindowFromDC(hdc);
        if (wnd)
            GetClientRect(wnd, &full);
        if (dis->itemAction & ODA_DRAWENTIRE)
            FillSolid(hdc, &clip, di->clrIconBar);
        RECT bar = {full.left < rc.left ? full.left : rc.left, full.top, rc.right, full.bottom};
        return MenuXP_DrawSideBar(hdc, &bar, data->hIcon, data->pszText, di);
    }

    const int captionLeft = rc.left + di->nMargin + di->nTextGap + IconColumnWidth(di);
    if (data->nKind == MENUXP_KIND_SEPARATOR)
    {
        MenuXP_DrawItemBg(hdc, &rc, di, 0);
        RECT line = {captionLeft, rc.top + RectHeight(rc) / 2, rc.right - di->nMargin, rc.bottom};
        DrawEdge(hdc, &line, EDGE_ETCHED, BF_TOP);
        return 1;
    }

    const int selected = (dis->itemState & ODS_SELECTED) ? 1 : 0;
    const int grayed = (dis->itemState & ODS_GRAYED) ? 1 : 0;
    const int checked = (dis->itemState & ODS_CHECKED) ? 1 : 0;
    MenuXP_DrawItemBg(hdc, &rc, di, selected);
    if (data->hIcon)
    {
        RECT icon;
        icon.left = rc.left + di->nMargin + di->nIconSpacing + 1;
        icon.top = rc.top + di->nMargin + di->nIconSpacing + 1;
        icon.right = icon.left + di->nIconSize;
        icon.bottom = icon.top + di->nIconSize;
        MenuXP_DrawIcon(hdc, &icon, data->hIcon, selected, grayed, checked);
    }
    RECT caption = {captionLeft, rc.top + di->nMargin + di->nIconSpacing,
                    rc.right - di->nMargin - di->nIconSpacing, rc.bottom - di->nMargin - di->nIconSpacing};
    CSelectObject font(hdc, data->hFont ? data->hFont : di->hFont);
    MenuXP_DrawItemText(hdc, &caption, data->pszText, selected ? di->clrSelText : di->clrText);
    return 1;
}

int MenuXP_DrawEntry(const DRAWITEMSTRUCT* dis, tagMENUXP_DRAWINFO* item, tagMENUXP_DRAWINFO* sidebar)
{
    if (!dis || dis->CtlType != ODT_MENU || !dis->itemData)
        return 0;
    const tagMENUXP_ITEMDATA* data = (const tagMENUXP_ITEMDATA*)dis->itemData;
    return MenuXP_DrawItem((DRAWITEMSTRUCT*)dis, data->nKind == MENUXP_KIND_SIDEBAR ? sidebar : item);
}

int MenuXP_DrawItemBg(HDC hdc, RECT* rc, tagMENUXP_DRAWINFO* di, int selected)
{
    if (!hdc || !rc || !di)
        return 0;
    FillSolid(hdc, rc, di->clrBack);
    RECT column = {rc->left + di->nMargin, rc->top, rc->left + di->nMargin + IconColumnWidth(di), rc->bottom};
    FillSolid(hdc, &column, di->clrIconBar);
    if (!selected)
        return 1;

    CGdiObject<HBRUSH> fill(CreateSolidBrush(di->clrSelFill));
    CGdiObject<HPEN> frame(CreatePen(PS_INSIDEFRAME, 1, di->clrSelFrame));
    if (!fill.Get() || !frame.Get())
        return 0;
    CSelectObject brush(hdc, fill.Get());
    CSelectObject pen(hdc, frame.Get());
    Rectangle(hdc, rc->left + di->nMargin, rc->top + di->nMargin, rc->right - di->nMargin,
              rc->bottom - di->nMargin);
    return 1;
}

int MenuXP_DrawItemText(HDC hdc, RECT* rc, const char* text, unsigned long colour)
{
    if (!hdc || !rc)
        return 0;
    if (!text)
        text = "";

    char caption[kCaptionSize];
    const char* shortcut = nullptr;
    int tab = CharFind(text, '\t', 0);
    if (tab < 0)
    {
        StrCopy(caption, text);
    }
    else
    {
        StrCopyN(caption, sizeof(caption), text, (size_t)tab);
        shortcut = text + tab + 1;
        // A long shortcut keeps its end, where the key is.
        if (strlen(shortcut) > kShortcutMax)
            shortcut = text + strlen(text) - kShortcutTail;
    }

    CTextState state(hdc);
    SetTextColor(hdc, colour);
    SetBkMode(hdc, TRANSPARENT);
    RECT left = *rc;
    DrawTextA(hdc, caption, -1, &left, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (shortcut)
    {
        RECT right = *rc;
        right.right -= GetSystemMetrics(SM_CXMENUCHECK) - 1;
        DrawTextA(hdc, shortcut, -1, &right, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    }
    return 1;
}

int MenuXP_DrawIcon(HDC hdc, RECT* rc, HICON hIcon, int selected, int grayed, int checked)
{
    if (!hdc || !rc || !hIcon)
        return 0;
    if (grayed)
        return MenuXP_DrawEmbossed(hdc, hIcon, rc, 0, 0);

    int x = rc->left;
    int y = rc->top;
    if (selected && !checked)
    {
        // Raised: the shadow at the icon's place, the icon a pixel up and left.
        MenuXP_DrawEmbossed(hdc, hIcon, rc, 0, 1);
        --x;
        --y;
    }
    return DrawIconEx(hdc, x, y, hIcon, RectWidth(*rc), RectHeight(*rc), 0, nullptr, DI_NORMAL) ? 1 : 0;
}

int MenuXP_DrawEmbossed(HDC hdc, HICON hIcon, RECT* rc, int colourBitmap, int shadow)
{
    return rc && DrawEmbossedIcon(hdc, hIcon, *rc, colourBitmap != 0, shadow != 0) ? 1 : 0;
}

int MenuXP_DrawSideBar(HDC hdc, RECT* rc, HICON, const char* text, tagMENUXP_DRAWINFO* di)
{
    if (!hdc || !rc || !di)
        return 0;
    const int width = RectWidth(*rc);
    const int height = RectHeight(*rc);
    if (width <= 0 || height <= 0)
        return 0;

    CGdiObject<HBITMAP> gradient(MenuXP_CreateGradientBMP(hdc, di->clrSelFill, di->clrSelFrame, width, height,
                                                          0, kMaxGradientColours));
    CMemoryDC memDC(hdc);
    if (!gradient.Get() || !memDC.Get())
        return 0;
    {
        CSelectObject select(memDC.Get(), gradient.Get());
        BitBlt(hdc, rc->left, rc->top, width, height, memDC.Get(), 0, 0, SRCCOPY);
    }

    if (!text || !*text)
        return 1;
    const int length = (int)strlen(text);
    CSelectObject font(hdc, di->hFont);
    CTextState state(hdc);
    SetTextColor(hdc, di->clrSelText);
    SetBkMode(hdc, TRANSPARENT);
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(hdc, text, length, &extent);
    int x = width < extent.cx ? rc->left : rc->left + (width - extent.cx) / 2;
    // The font is turned 90 degrees: the text runs upwards from near the
    // bottom; a text longer than the bar is cut at the bar's top.
    ExtTextOutA(hdc, x, rc->bottom - 4, ETO_CLIPPED, rc, text, (UINT)length, nullptr);
    return 1;
}

HBITMAP MenuXP_CreateGradientBMP(HDC hdc, unsigned long from, unsigned long to, int width, int height,
                                 int direction, int colours)
{
    if (!hdc || width <= 0 || height <= 0 || colours < 1 || direction < 0 || direction > 3)
        return nullptr;
    const int n = colours > kMaxGradientColours ? kMaxGradientColours : colours;

    DWORD table[kMaxGradientColours];
    for (int k = 0; k < n; ++k)
    {
        BYTE r = Channel(GetRValue(from), GetRValue(to), k, n);
        BYTE g = Channel(GetGValue(from), GetGValue(to), k, n);
        BYTE b = Channel(GetBValue(from), GetBValue(to), k, n);
        table[k] = ((DWORD)r << 16) | ((DWORD)g << 8) | b; // BGRA in memory
    }

    const size_t count = (size_t)width * (size_t)height;
    DWORD* bits = new (std::nothrow) DWORD[count];
    if (!bits)
        return nullptr;
    // Bottom-up: row 0 of the buffer is the bottom row. MulDiv rounds, so an
    // index can reach n on tall or wide bitmaps: every index is clamped.
    for (int y = 0; y < height; ++y)
    {
        DWORD* row = bits + (size_t)y * (size_t)width;
        const int s = MulDiv(n / 2, y, height);
        const int e = n / 2 + s - 1;
        for (int x = 0; x < width; ++x)
        {
            int index;
            switch (direction)
            {
                case 0:
                    index = MulDiv(n, y, height);
                    break;
                case 1:
                    index = s + MulDiv(n / 2 - 1, x, width);
                    break;
                case 2:
                    index = MulDiv(n, x, width);
                    break;
                default:
                    index = e + MulDiv(s - e, x, width);
                    break;
            }
            row[x] = table[ClampIndex(index, n)];
        }
    }

    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    HBITMAP bmp = CreateDIBitmap(hdc, &bmi.bmiHeader, CBM_INIT, bits, &bmi, DIB_RGB_COLORS);
    delete[] bits;
    return bmp;
}

int MenuXP_DestroyMenu(HMENU hMenu, int freeTexts, int destroyIcons, int)
{
    if (!hMenu || !IsMenu(hMenu))
        return 0;
    const int count = GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i)
    {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
        if (!GetMenuItemInfoA(hMenu, (UINT)i, TRUE, &mii))
            continue;
        if (mii.hSubMenu)
        {
            // Detached first: destroying this menu must not reach the
            // submenu's handle a second time.
            MENUITEMINFOA detach = {};
            detach.cbSize = sizeof(detach);
            detach.fMask = MIIM_SUBMENU;
            detach.hSubMenu = nullptr;
            SetMenuItemInfoA(hMenu, (UINT)i, TRUE, &detach);
            // The caller's flags hold for the whole tree: icons it still
            // owns must survive in submenus too.
            MenuXP_DestroyMenu(mii.hSubMenu, freeTexts, destroyIcons, 0);
        }
        tagMENUXP_ITEMDATA* data = (mii.fType & MFT_OWNERDRAW) ? GetItemData(mii.dwItemData) : nullptr;
        if (!data)
            continue;
        if (freeTexts)
            free((void*)data->pszText);
        if (destroyIcons && data->hIcon)
            DestroyIcon(data->hIcon);
        if (freeTexts && data->hFont)
            DeleteObject(data->hFont);
        delete data;
    }
    return DestroyMenu(hMenu) ? 1 : 0;
}

unsigned long MenuXP_Lighten(unsigned long colour, unsigned char amount)
{
    auto add = [amount](int channel) { return channel + amount > 255 ? 255 : channel + amount; };
    return RGB(add(GetRValue(colour)), add(GetGValue(colour)), add(GetBValue(colour)));
}

int MenuXP_InitDrawInfo(tagMENUXP_DRAWINFO* di, int sidebar)
{
    if (!di)
        return 0;
    ZeroMemory(di, sizeof(*di));
    const bool xp = IsWindowsXP() != FALSE;
    const COLORREF menu = GetSysColor(COLOR_MENU);
    di->clrBack = xp ? menu : MenuXP_Lighten(menu, 30);
    di->clrIconBar = xp ? GetSysColor(COLOR_MENUBAR) : menu;
    di->clrGrayText = GetSysColor(COLOR_GRAYTEXT);
    di->nTextGap = 2;
    di->nIconSpacing = 2;
    di->nMargin = 0;
    di->nIconSize = 16;

    if (!sidebar)
    {
        di->hFont =
            CreateFontA(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Verdana");
        di->clrText = GetSysColor(COLOR_MENUTEXT);
        di->clrSelText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        di->clrSelFrame = GetSysColor(xp ? COLOR_MENUHILIGHT : COLOR_HIGHLIGHT);
        di->clrSelFill = MenuXP_Lighten(di->clrSelFrame, 70);
    }
    else
    {
        // Escapement and orientation 900: the text turned 90 degrees
        // anticlockwise, reading upwards.
        di->hFont =
            CreateFontA(16, 0, 900, 900, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Verdana");
        di->clrText = GetSysColor(COLOR_CAPTIONTEXT);
        di->clrSelText = GetSysColor(COLOR_CAPTIONTEXT);
        // Gradient captions exist from Windows 98 and Windows 2000 on.
        const bool gradientCaptions = IsWindows98OrLater() || IsWindows2000OrLater();
        di->clrSelFrame = gradientCaptions ? GetSysColor(COLOR_GRADIENTACTIVECAPTION)
                                           : MenuXP_Lighten(GetSysColor(COLOR_ACTIVECAPTION), 30);
        di->clrSelFill = GetSysColor(COLOR_ACTIVECAPTION);
    }
    return di->hFont ? 1 : 0;
}

void MenuXP_FreeDrawInfo(tagMENUXP_DRAWINFO* di)
{
    if (!di || !di->hFont)
        return;
    DeleteObject(di->hFont);
    di->hFont = nullptr;
}
