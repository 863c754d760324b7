// Owner-drawn icon menus: a tinted icon column, a framed selection box,
// embossed icons for disabled entries, etched separators, right-aligned
// shortcut text after a tab and an optional gradient side bar with rotated
// text. The owner of a menu built with the MenuXP_Append functions forwards
// WM_MEASUREITEM and WM_DRAWITEM to MenuXP_MeasureItem and MenuXP_DrawItem.
#pragma once

#include <windows.h>

// Filled once at start-up, read by every measure and draw call.
struct tagMENUXP_DRAWINFO
{
    HFONT hFont;          // captions (an entry may carry its own)
    COLORREF clrText;     // caption of an unselected entry
    COLORREF clrBack;     // entry area
    COLORREF clrIconBar;  // icon column, and the whole side-bar column
    COLORREF clrSelText;  // caption of the selected entry; side bar: its text
    COLORREF clrSelFrame; // frame of the selection box; side bar: gradient's far colour
    COLORREF clrSelFill;  // fill of the selection box; side bar: gradient's near colour
    COLORREF clrGrayText; // kept for the owners; the drawing does not read it
    int nTextGap;         // between icon column and caption
    int nIconSpacing;     // around the icon inside the icon column
    int nMargin;          // inset of the selection box and everything else
    int nIconSize;        // edge of the square icon
};

// Kinds of tagMENUXP_ITEMDATA::nKind.
const unsigned int MENUXP_KIND_ITEM = 0; // command or submenu
const unsigned int MENUXP_KIND_SEPARATOR = 2;
const unsigned int MENUXP_KIND_SIDEBAR = 4;

// One per entry, the entry's item data; freed by MenuXP_DestroyMenu.
struct tagMENUXP_ITEMDATA
{
    HMENU hMenu;         // the menu the entry was added to
    HFONT hFont;         // own font, null = the draw info's
    HICON hIcon;         // 16x16 or null
    unsigned int nKind;  // MENUXP_KIND_...
    unsigned int nWidth; // side bar only
    // Not copied: points into the caller's data, which must outlive the menu.
    const char* pszText;
    void* pUserData; // the caller's, never read here
};

// The suite's side bar: its column's width in pixels.
const unsigned int MENUXP_SIDEBAR_WIDTH = 18;

// Appending. An entry that follows a side bar starts the menu's second
// column. Each returns nonzero on success.
int MenuXP_AppendItem(HMENU hMenu, unsigned int id, const char* text, HICON hIcon, void* userData);
int MenuXP_AppendMenu(HMENU hMenu, HMENU hSubMenu, const char* text, HICON hIcon);
// Must be the first entry of its menu.
int MenuXP_AppendSidebar(HMENU hMenu, const char* text, HICON hIcon, unsigned int width);
int MenuXP_AppendSeparator(HMENU hMenu);

// WM_MEASUREITEM and WM_DRAWITEM; 0 for anything that is not an entry with
// item data, so that the caller can pass the message on.
int MenuXP_MeasureItem(MEASUREITEMSTRUCT* mis, tagMENUXP_DRAWINFO* di);
int MenuXP_DrawItem(DRAWITEMSTRUCT* dis, tagMENUXP_DRAWINFO* di);
// WM_DRAWITEM for an owner with two draw infos: the side bar drawn with its
// own, every other entry with the item one. 0 as MenuXP_DrawItem.
int MenuXP_DrawEntry(const DRAWITEMSTRUCT* dis, tagMENUXP_DRAWINFO* item, tagMENUXP_DRAWINFO* sidebar);

// The pieces of an entry.
int MenuXP_DrawItemBg(HDC hdc, RECT* rc, tagMENUXP_DRAWINFO* di, int selected);
int MenuXP_DrawItemText(HDC hdc, RECT* rc, const char* text, unsigned long colour);
int MenuXP_DrawIcon(HDC hdc, RECT* rc, HICON hIcon, int selected, int grayed, int checked);
int MenuXP_DrawEmbossed(HDC hdc, HICON hIcon, RECT* rc, int colourBitmap, int shadow);
// Called with the side-bar draw info; the icon is not drawn.
int MenuXP_DrawSideBar(HDC hdc, RECT* rc, HICON hIcon, const char* text, tagMENUXP_DRAWINFO* di);

// A bitmap of width x height filled with n colours (at most 256) running
// from -> to. Direction 0: bottom to top; 1: diagonal; 2: left to right;
// 3: the other diagonal. The caller deletes it; null on failure.
HBITMAP MenuXP_CreateGradientBMP(HDC hdc, unsigned long from, unsigned long to, int width, int height,
                                 int direction, int colours);

// Frees the item data of every entry (submenus first) and destroys the menu.
// freeTexts: the texts were malloc'ed for this menu and the entries' fonts
// belong to it; destroyIcons: so were the icons.
int MenuXP_DestroyMenu(HMENU hMenu, int freeTexts, int destroyIcons, int reserved);

// Adds amount to red, green and blue, each saturating at 255.
unsigned long MenuXP_Lighten(unsigned long colour, unsigned char amount);

// The suite's standard settings: normal entries, or (sidebar != 0) the side
// bar's bold rotated font and caption colours. The font belongs to the draw
// info: free it with MenuXP_FreeDrawInfo. Nonzero when the font was made.
int MenuXP_InitDrawInfo(tagMENUXP_DRAWINFO* di, int sidebar);
void MenuXP_FreeDrawInfo(tagMENUXP_DRAWINFO* di);
