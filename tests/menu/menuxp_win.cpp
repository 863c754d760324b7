#include <windows.h>
#include <stdlib.h>
#include <string>
#include <gtest/gtest.h>

#include "menu_testutil.h"
#include "strutils.h"
#include "wintestutil.h"

namespace
{
using wintest::Canvas;

const COLORREF kText = RGB(0, 0, 0);
const COLORREF kBack = RGB(250, 250, 250);
const COLORREF kIconBar = RGB(200, 200, 200);
const COLORREF kSelText = RGB(128, 0, 0);
const COLORREF kSelFrame = RGB(0, 0, 255);
const COLORREF kSelFill = RGB(180, 180, 255);
const COLORREF kIconRed = RGB(255, 0, 0);

HFONT MakeFont(int height, int escapement, int weight)
{
    return CreateFontA(height, 0, escapement, escapement, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       "Verdana");
}

// A draw info with colours that cannot be confused with each other.
struct TestDrawInfo
{
    tagMENUXP_DRAWINFO di;
    TestDrawInfo(bool sidebar = false)
    {
        di.hFont = sidebar ? MakeFont(16, 900, FW_BOLD) : MakeFont(13, 0, FW_NORMAL);
        di.clrText = kText;
        di.clrBack = kBack;
        di.clrIconBar = kIconBar;
        di.clrSelText = kSelText;
        di.clrSelFrame = kSelFrame;
        di.clrSelFill = kSelFill;
        di.clrGrayText = RGB(128, 128, 128);
        di.nTextGap = 2;
        di.nIconSpacing = 2;
        di.nMargin = 0;
        di.nIconSize = 16;
    }
    ~TestDrawInfo()
    {
        DeleteObject(di.hFont);
    }
    TestDrawInfo(const TestDrawInfo&) = delete;
    TestDrawInfo& operator=(const TestDrawInfo&) = delete;
};

// A 16x16 icon: a red 12x12 square at (2, 2), transparent around it.
HICON MakeRedSquareIcon()
{
    return wintest::MakeIcon(16, [](int x, int y) {
        return x >= 2 && x < 14 && y >= 2 && y < 14 ? (DWORD)0x00FF0000 : wintest::kTransparent;
    });
}

// Fills the whole canvas with a gradient bitmap; false when none was made.
bool BlitGradient(Canvas& canvas, COLORREF from, COLORREF to, int direction, int colours)
{
    HBITMAP bmp =
        MenuXP_CreateGradientBMP(canvas.Dc(), from, to, canvas.Width(), canvas.Height(), direction, colours);
    if (!bmp)
        return false;
    HDC mem = CreateCompatibleDC(canvas.Dc());
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(canvas.Dc(), 0, 0, canvas.Width(), canvas.Height(), mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
    return true;
}

bool IconAlive(HICON icon)
{
    ICONINFO ii;
    if (!GetIconInfo(icon, &ii))
        return false;
    if (ii.hbmColor)
        DeleteObject(ii.hbmColor);
    if (ii.hbmMask)
        DeleteObject(ii.hbmMask);
    return true;
}

DRAWITEMSTRUCT DrawStruct(HDC hdc, const RECT& rc, tagMENUXP_ITEMDATA* data, UINT state)
{
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hDC = hdc;
    dis.rcItem = rc;
    dis.itemData = (ULONG_PTR)data;
    return dis;
}

tagMENUXP_ITEMDATA ItemData(unsigned int kind, const char* text, HICON icon = nullptr, unsigned int width = 0)
{
    tagMENUXP_ITEMDATA data = {};
    data.nKind = kind;
    data.pszText = text;
    data.hIcon = icon;
    data.nWidth = width;
    return data;
}

MEASUREITEMSTRUCT Measure(tagMENUXP_ITEMDATA* data, tagMENUXP_DRAWINFO* di, int expectedResult = 1)
{
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemData = (ULONG_PTR)data;
    EXPECT_EQ(MenuXP_MeasureItem(&mis, di), expectedResult);
    return mis;
}

// One entry drawn into a fresh canvas of the given size.
wintest::Pixels Drawn(int width, int height, tagMENUXP_DRAWINFO* di, tagMENUXP_ITEMDATA* data, UINT state)
{
    Canvas canvas(width, height);
    RECT rc = {0, 0, width, height};
    DRAWITEMSTRUCT dis = DrawStruct(canvas.Dc(), rc, data, state);
    EXPECT_EQ(MenuXP_DrawItem(&dis, di), 1);
    return canvas.Read();
}
} // namespace

TEST(MenuXPColour, LightenAddsToEachChannelAndSaturates)
{
    struct
    {
        COLORREF in;
        unsigned char amount;
        COLORREF out;
    } cases[] = {
        {RGB(250, 100, 0), 30, RGB(255, 130, 30)},   {RGB(0, 0, 0), 70, RGB(70, 70, 70)},
        {RGB(255, 255, 255), 1, RGB(255, 255, 255)}, {RGB(10, 200, 225), 0, RGB(10, 200, 225)},
        {RGB(1, 2, 3), 255, RGB(255, 255, 255)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MenuXP_Lighten(c.in, c.amount), c.out) << std::hex << c.in << " + " << (int)c.amount;
}

TEST(MenuXPGradient, RunsFromColourToColourAndStaysInsideTheTable)
{
    const COLORREF from = RGB(0, 0, 0);
    const COLORREF to = RGB(255, 128, 64);
    Canvas canvas(300, 100);
    // Direction 0: "from" in the bottom row rising to "to", rows single-coloured;
    // 2: from the left; 1 and 3: diagonals from a bottom corner.
    ASSERT_TRUE(BlitGradient(canvas, from, to, 0, 256));
    EXPECT_EQ(canvas.At(299, 99), from);
    EXPECT_EQ(canvas.At(150, 0), RGB(253, 127, 63));
    EXPECT_EQ(canvas.At(0, 50), canvas.At(299, 50));
    ASSERT_TRUE(BlitGradient(canvas, from, to, 2, 256));
    EXPECT_EQ(canvas.At(0, 0), from);
    EXPECT_EQ(canvas.At(150, 0), canvas.At(150, 99));
    EXPECT_EQ(canvas.At(299, 50), to);
    for (int direction : {1, 3})
    {
        ASSERT_TRUE(BlitGradient(canvas, from, to, direction, 256));
        EXPECT_EQ(canvas.At(direction == 1 ? 0 : 299, 99), from);
        EXPECT_NE(canvas.At(0, 0), canvas.At(299, 0));
    }

    // 256 colours over 1000 rows: the rounded colour number of the top rows
    // is 256, one past the table; it must stay the last colour.
    Canvas tall(4, 1000);
    for (int colours : {256, 100000})
    {
        ASSERT_TRUE(BlitGradient(tall, from, to, 0, colours));
        EXPECT_EQ(tall.At(0, 0), to) << colours;
        EXPECT_EQ(tall.At(3, 999), from) << colours;
    }
    ASSERT_TRUE(BlitGradient(tall, from, to, 0, 1));
    EXPECT_EQ(tall.At(0, 0), from);

    struct
    {
        int cx, cy, direction, colours;
    } refused[] = {{0, 10, 0, 256}, {10, -1, 0, 256}, {10, 10, 0, 0}, {10, 10, 4, 256}};
    for (const auto& r : refused)
        EXPECT_EQ(MenuXP_CreateGradientBMP(tall.Dc(), from, to, r.cx, r.cy, r.direction, r.colours), nullptr);
    EXPECT_EQ(MenuXP_CreateGradientBMP(nullptr, from, to, 10, 10, 0, 256), nullptr);
}

TEST(MenuXPAppend, OwnerDrawnEntriesAndOnlyTheEntryAfterASideBarStartsAColumn)
{
    HMENU menu = CreatePopupMenu();
    int user = 7;
    static const char open[] = "Open";
    HICON icon = MakeRedSquareIcon();
    ASSERT_EQ(MenuXP_AppendSidebar(menu, "Tarvin", nullptr, 18), 1);
    // A submenu with its own side bar and entries, built before it is appended.
    HMENU sub = CreatePopupMenu();
    ASSERT_EQ(MenuXP_AppendSidebar(sub, "Sub", nullptr, 18), 1);
    MenuXP_AppendItem(sub, 10, "Inner", nullptr, nullptr);
    MenuXP_AppendItem(sub, 11, "Inner 2", nullptr, nullptr);
    ASSERT_EQ(MenuXP_AppendMenu(menu, sub, "Sub", nullptr), 1);
    ASSERT_EQ(MenuXP_AppendItem(menu, 42, open, icon, &user), 1);
    ASSERT_EQ(MenuXP_AppendSeparator(menu), 1);
    // An empty submenu with only a side bar leaves the parent alone.
    HMENU empty = CreatePopupMenu();
    MenuXP_AppendSidebar(empty, "Empty", nullptr, 18);
    MenuXP_AppendMenu(menu, empty, "Empty", nullptr);
    MenuXP_AppendItem(menu, 4, "Four", nullptr, nullptr);

    MenuEntry bar = EntryAt(menu, 0);
    ASSERT_NE(bar.data, nullptr);
    EXPECT_EQ(bar.data->nKind, MENUXP_KIND_SIDEBAR);
    EXPECT_EQ(bar.data->nWidth, 18u);
    EXPECT_EQ(EntryAt(menu, 1).sub, sub);
    const UINT types[] = {MFT_OWNERDRAW, MFT_OWNERDRAW | MFT_MENUBREAK,
                          MFT_OWNERDRAW, MFT_OWNERDRAW,
                          MFT_OWNERDRAW, MFT_OWNERDRAW};
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        EXPECT_EQ(EntryAt(menu, i).type, types[i]) << i;
    EXPECT_EQ(EntryAt(sub, 1).type, (UINT)(MFT_OWNERDRAW | MFT_MENUBREAK));
    EXPECT_EQ(EntryAt(sub, 2).type, (UINT)MFT_OWNERDRAW);

    MenuEntry item = EntryAt(menu, 2);
    EXPECT_EQ(item.id, 42u);
    ASSERT_NE(item.data, nullptr);
    EXPECT_EQ(item.data->hMenu, menu);
    EXPECT_EQ(item.data->hIcon, icon);
    EXPECT_EQ(item.data->pszText, open) << "the text is not copied";
    EXPECT_EQ(item.data->pUserData, &user);
    ASSERT_NE(EntryAt(menu, 3).data, nullptr);
    EXPECT_EQ(EntryAt(menu, 3).data->nKind, MENUXP_KIND_SEPARATOR);
    EXPECT_EQ(MenuXP_DestroyMenu(menu, 0, 1, 0), 1);

    // Nothing to append to.
    EXPECT_EQ(MenuXP_AppendItem(nullptr, 1, open, nullptr, nullptr), 0);
    EXPECT_EQ(MenuXP_AppendSeparator(menu), 0) << "the menu is gone";
    HMENU other = CreatePopupMenu();
    EXPECT_EQ(MenuXP_AppendMenu(other, nullptr, "More", nullptr), 0);
    DestroyMenu(other);
}

// Entries are tall enough for their icon and its spacing; separators and the
// side bar take (almost) no room; anything else is left to the caller.
TEST(MenuXPMeasure, RoomForTheIconAndNothingForOthers)
{
    TestDrawInfo info;
    tagMENUXP_DRAWINFO big = info.di;
    big.nMargin = 3;
    big.nIconSpacing = 4;
    big.nIconSize = 32;
    tagMENUXP_ITEMDATA data = ItemData(MENUXP_KIND_ITEM, "x");
    EXPECT_EQ((int)Measure(&data, &info.di).itemHeight, 20);
    EXPECT_EQ((int)Measure(&data, &big).itemHeight, 32 + 2 * (3 + 4));
    EXPECT_GT(Measure(&data, &big).itemWidth, Measure(&data, &info.di).itemWidth);
    tagMENUXP_ITEMDATA separator = ItemData(MENUXP_KIND_SEPARATOR, nullptr);
    EXPECT_EQ(Measure(&separator, &info.di).itemWidth, 0u);
    tagMENUXP_ITEMDATA bar = ItemData(MENUXP_KIND_SIDEBAR, "Bar", nullptr, 18);
    EXPECT_EQ(Measure(&bar, &info.di).itemHeight, 1u);

    Measure(nullptr, &info.di, 0);
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_LISTBOX;
    mis.itemData = (ULONG_PTR)&data;
    EXPECT_EQ(MenuXP_MeasureItem(&mis, &info.di), 0);
    EXPECT_EQ(mis.itemWidth, 0u);
}

TEST(MenuXPDraw, BackgroundIconColumnAndSelectionBox)
{
    TestDrawInfo info;
    tagMENUXP_ITEMDATA data = ItemData(MENUXP_KIND_ITEM, "");

    const struct
    {
        UINT state;
        int margin, x, y;
        COLORREF colour;
    } points[] = {// The icon column, 16 + 2 * 2 + 2 = 22 pixels, then the background.
                  {0, 0, 0, 0, kIconBar},
                  {0, 0, 21, 19, kIconBar},
                  {0, 0, 22, 0, kBack},
                  {0, 0, 119, 19, kBack},
                  // Selected: a one-pixel frame over the whole entry, filled inside.
                  {ODS_SELECTED, 0, 0, 0, kSelFrame},
                  {ODS_SELECTED, 0, 119, 19, kSelFrame},
                  {ODS_SELECTED, 0, 60, 19, kSelFrame},
                  {ODS_SELECTED, 0, 1, 1, kSelFill},
                  {ODS_SELECTED, 0, 118, 18, kSelFill},
                  // With a margin, everything moves in by it.
                  {ODS_SELECTED, 2, 1, 1, kBack},
                  {ODS_SELECTED, 2, 2, 2, kSelFrame},
                  {ODS_SELECTED, 2, 117, 21, kSelFrame},
                  {ODS_SELECTED, 2, 118, 22, kBack}};
    for (const auto& p : points)
    {
        tagMENUXP_DRAWINFO di = info.di;
        di.nMargin = p.margin;
        wintest::Pixels canvas = Drawn(120, 20 + 2 * p.margin, &di, &data, p.state);
        EXPECT_EQ(canvas.At(p.x, p.y), p.colour)
            << p.state << " margin " << p.margin << " at " << p.x << "," << p.y;
    }

    // Anything that is not one of our entries is left to the caller.
    Canvas untouched(10, 10, RGB(1, 2, 3));
    RECT rc = {0, 0, 10, 10};
    DRAWITEMSTRUCT dis = DrawStruct(untouched.Dc(), rc, nullptr, 0);
    EXPECT_EQ(MenuXP_DrawItem(&dis, &info.di), 0);
    dis = DrawStruct(untouched.Dc(), rc, &data, 0);
    dis.CtlType = ODT_BUTTON;
    EXPECT_EQ(MenuXP_DrawItem(&dis, &info.di), 0);
    EXPECT_EQ(untouched.Count(rc, RGB(1, 2, 3)), 100);
}

TEST(MenuXPDraw, CaptionColoursAndShortcutText)
{
    TestDrawInfo info;
    const int cx = GetSystemMetrics(SM_CXMENUCHECK);

    // "Ctrl+O" ends right-aligned, short of the check-mark width.
    tagMENUXP_ITEMDATA data = ItemData(MENUXP_KIND_ITEM, "Open\tCtrl+O");
    wintest::Pixels canvas = Drawn(200, 20, &info.di, &data, 0);
    RECT all = {0, 0, 200, 20};
    const int last = canvas.Column(all, kText, true);
    EXPECT_LE(last, 198 - (cx - 1));
    EXPECT_GE(last, 198 - (cx - 1) - 3);
    EXPECT_GE(canvas.Column(all, kText), 24) << "the caption starts after the icon column";

    // Texts that must look alike: a shortcut of more than 14 characters
    // keeps the last 15 of the whole text; a caption keeps 62 characters.
    const std::string longShortcut = "Open\tCtrl+Shift+Alt+PageDown";
    struct
    {
        std::string text;
        std::string looksLike;
        bool same;
    } cases[] = {
        {longShortcut, "Open\t" + longShortcut.substr(longShortcut.size() - 15), true},
        {"Go\tCtrl+Shift+F12", "Go\ttrl+Shift+F12", false}, // 14: whole
        {std::string(70, 'W'), std::string(62, 'W'), true},
    };
    for (const auto& c : cases)
    {
        tagMENUXP_ITEMDATA a = ItemData(MENUXP_KIND_ITEM, c.text.c_str());
        tagMENUXP_ITEMDATA b = ItemData(MENUXP_KIND_ITEM, c.looksLike.c_str());
        EXPECT_EQ(c.same, Drawn(900, 20, &info.di, &a, 0) == Drawn(900, 20, &info.di, &b, 0)) << c.text;
    }

    // Selected: the selected text colour; grayed: still the normal one.
    tagMENUXP_ITEMDATA word = ItemData(MENUXP_KIND_ITEM, "Selected");
    wintest::Pixels sel = Drawn(200, 20, &info.di, &word, ODS_SELECTED);
    EXPECT_GT(sel.Count(all, kSelText), 10);
    EXPECT_EQ(sel.Count(all, kText), 0);
    wintest::Pixels gray = Drawn(200, 20, &info.di, &word, ODS_GRAYED);
    EXPECT_GT(gray.Count(all, kText), 10);

    // An entry's own font wins over the draw info's.
    HFONT big = MakeFont(18, 0, FW_BOLD);
    tagMENUXP_ITEMDATA own = ItemData(MENUXP_KIND_ITEM, "Font");
    own.hFont = big;
    wintest::Pixels ownCanvas = Drawn(200, 24, &info.di, &own, 0);
    own.hFont = nullptr;
    wintest::Pixels sharedCanvas = Drawn(200, 24, &info.di, &own, 0);
    RECT tall = {0, 0, 200, 24};
    EXPECT_GT(ownCanvas.Count(tall, kText), sharedCanvas.Count(tall, kText));
    DeleteObject(big);
}

TEST(MenuXPDraw, IconsPlainRaisedAndEmbossed)
{
    TestDrawInfo info;
    HICON icon = MakeRedSquareIcon();
    ASSERT_NE(icon, nullptr);
    tagMENUXP_ITEMDATA data = ItemData(MENUXP_KIND_ITEM, "", icon);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    // The icon square starts at (3, 3); the red square inside it at (5, 5).
    RECT iconArea = {0, 0, 22, 22};

    wintest::Pixels plain = Drawn(100, 22, &info.di, &data, 0);
    EXPECT_EQ(plain.At(5, 5), kIconRed);
    EXPECT_EQ(plain.At(4, 4), kIconBar);
    EXPECT_EQ(plain.At(17, 17), kIconBar);
    EXPECT_EQ(plain.Count(iconArea, kIconRed), 144);

    // Selected: a shadow at the icon's place, the icon one pixel up and left.
    wintest::Pixels raised = Drawn(100, 22, &info.di, &data, ODS_SELECTED);
    EXPECT_EQ(raised.At(4, 4), kIconRed);
    EXPECT_EQ(raised.At(16, 16), shadow);
    EXPECT_EQ(raised.Count(iconArea, kIconRed), 144);

    // Checked and selected: flat.
    wintest::Pixels checked = Drawn(100, 22, &info.di, &data, ODS_SELECTED | ODS_CHECKED);
    EXPECT_EQ(checked.At(5, 5), kIconRed);
    EXPECT_NE(checked.At(17, 17), shadow);

    // Grayed: no colour of the icon left, the embossed shape instead: the
    // shadow at its place, the highlight one pixel right and down.
    wintest::Pixels grayed = Drawn(100, 22, &info.di, &data, ODS_GRAYED);
    EXPECT_EQ(grayed.Count(iconArea, kIconRed), 0);
    EXPECT_EQ(grayed.At(16, 16), shadow);
    EXPECT_EQ(grayed.At(17, 17), highlight);
    EXPECT_EQ(grayed.At(4, 4), kIconBar);
    EXPECT_EQ(grayed.Count(iconArea, shadow), 144);

    RECT rc = {3, 3, 19, 19};
    EXPECT_EQ(MenuXP_DrawIcon(Canvas(20, 20).Dc(), &rc, nullptr, 0, 0, 0), 0);
    DestroyIcon(icon);
}

TEST(MenuXPDraw, SeparatorIsAnEtchedLineBesideTheIconColumn)
{
    TestDrawInfo info;
    tagMENUXP_ITEMDATA data = ItemData(MENUXP_KIND_SEPARATOR, nullptr);
    wintest::Pixels canvas = Drawn(100, 9, &info.di, &data, ODS_SELECTED);
    // Never selected-looking.
    EXPECT_EQ(canvas.At(0, 0), kIconBar);
    EXPECT_EQ(canvas.At(50, 0), kBack);
    // Etched: shadow over highlight at the middle row, from the caption's left.
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(canvas.At(24, 4), shadow);
    EXPECT_EQ(canvas.At(98, 4), shadow);
    EXPECT_EQ(canvas.At(25, 5), highlight);
    EXPECT_EQ(canvas.At(23, 4), kBack);
    EXPECT_EQ(canvas.At(50, 3), kBack);
}

TEST(MenuXPDraw, SideBarIsAGradientWithUpwardText)
{
    TestDrawInfo info(true);
    info.di.clrSelFill = RGB(0, 0, 128);    // near colour, at the bottom
    info.di.clrSelFrame = RGB(0, 128, 255); // far colour, at the top
    info.di.clrSelText = RGB(255, 255, 255);
    tagMENUXP_ITEMDATA data = ItemData(MENUXP_KIND_SIDEBAR, "Tarvin Menu", nullptr, 18);

    // The entry is one pixel high: the bar takes the whole height of the
    // DC's clip box, and the clip box gets the icon column colour first.
    Canvas canvas(60, 300);
    RECT item = {0, 0, 18, 1};
    DRAWITEMSTRUCT dis = DrawStruct(canvas.Dc(), item, &data, 0);
    ASSERT_EQ(MenuXP_DrawItem(&dis, &info.di), 1);
    EXPECT_EQ(canvas.At(40, 10), info.di.clrIconBar);
    EXPECT_EQ(canvas.At(59, 299), info.di.clrIconBar);
    EXPECT_EQ(canvas.At(17, 299), info.di.clrSelFill);
    EXPECT_EQ(canvas.At(0, 0), info.di.clrSelFrame);
    EXPECT_EQ(canvas.At(17, 0), info.di.clrSelFrame);
    EXPECT_EQ(canvas.At(18, 0), info.di.clrIconBar);

    // The text: white pixels in the bar, none in the last four rows and none
    // right of the bar.
    RECT bar = {0, 0, 18, 300};
    RECT bottom = {0, 296, 18, 300};
    RECT outside = {18, 0, 60, 300};
    EXPECT_GT(canvas.Count(bar, RGB(255, 255, 255)), 50);
    EXPECT_EQ(canvas.Count(bottom, RGB(255, 255, 255)), 0);
    EXPECT_EQ(canvas.Count(outside, RGB(255, 255, 255)), 0);
    // A keyboard selection redraws the bar alone: the rest of the menu stays.
    Canvas again(60, 300, RGB(1, 2, 3));
    dis = DrawStruct(again.Dc(), item, &data, ODS_SELECTED);
    dis.itemAction = ODA_SELECT;
    ASSERT_EQ(MenuXP_DrawItem(&dis, &info.di), 1);
    EXPECT_EQ(again.At(40, 10), RGB(1, 2, 3));
    EXPECT_EQ(again.At(17, 299), info.di.clrSelFill);
}

TEST(MenuXPDestroy, FreesEntriesSubmenusAndIcons)
{
    HICON icons[3] = {MakeRedSquareIcon(), MakeRedSquareIcon(), MakeRedSquareIcon()};
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    HMENU subsub = CreatePopupMenu();
    MenuXP_AppendSidebar(menu, "Bar", nullptr, 18);
    MenuXP_AppendItem(menu, 1, "One", icons[0], nullptr);
    MenuXP_AppendItem(subsub, 3, "Deep", icons[2], nullptr);
    MenuXP_AppendMenu(sub, subsub, "Deeper", nullptr);
    MenuXP_AppendItem(sub, 2, "Two", icons[1], nullptr);
    MenuXP_AppendSeparator(menu);
    MenuXP_AppendMenu(menu, sub, "Sub", nullptr);
    // A plain entry without item data is left alone.
    AppendMenuA(menu, MF_STRING, 9, "Plain");

    EXPECT_EQ(MenuXP_DestroyMenu(menu, 0, 1, 0), 1);
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_FALSE(IsMenu(subsub));
    for (HICON icon : icons)
        EXPECT_FALSE(IconAlive(icon));
    EXPECT_EQ(MenuXP_DestroyMenu(menu, 0, 1, 0), 0);

    // Icons the caller keeps survive, in submenus too.
    HICON kept[2] = {MakeRedSquareIcon(), MakeRedSquareIcon()};
    menu = CreatePopupMenu();
    sub = CreatePopupMenu();
    MenuXP_AppendItem(sub, 2, "Two", kept[1], nullptr);
    MenuXP_AppendItem(menu, 1, "One", kept[0], nullptr);
    MenuXP_AppendMenu(menu, sub, "Sub", nullptr);
    EXPECT_EQ(MenuXP_DestroyMenu(menu, 0, 0, 0), 1);
    EXPECT_FALSE(IsMenu(sub));
    for (HICON icon : kept)
    {
        EXPECT_TRUE(IconAlive(icon));
        DestroyIcon(icon);
    }

    // Texts and fonts that were made for the menu go with it.
    menu = CreatePopupMenu();
    char* text = (char*)malloc(8);
    StrCopy(text, 8, "Owned");
    MenuXP_AppendItem(menu, 1, text, nullptr, nullptr);
    HFONT font = MakeFont(13, 0, FW_NORMAL);
    EntryAt(menu, 0).data->hFont = font;
    EXPECT_EQ(MenuXP_DestroyMenu(menu, 1, 1, 0), 1);
    LOGFONTA lf;
    EXPECT_EQ(GetObjectA(font, sizeof(lf), &lf), 0);
}
