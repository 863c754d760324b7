#include <windows.h>

#include "Menu_win.h"
#include "menu_testutil.h"
#include "strutils.h"
#include "testutil.h"

namespace
{
// Edge of an icon, from its colour (or mask) bitmap.
SIZE IconSize(HICON icon)
{
    ICONINFO info = {};
    SIZE size = {0, 0};
    if (!GetIconInfo(icon, &info))
        return size;
    BITMAP bm = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
    size.cx = bm.bmWidth;
    size.cy = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return size;
}

std::string WindowsPath(const char* name)
{
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof(dir));
    return std::string(dir) + "\\" + name;
}

const char* const kMenu = "<?TarvinMenu version=\"1.00\"?>\r\n"
                          "<menu text=\"Main\" iconpath=\"\" iconnumber=\"0\" sidebar=\"true\">\r\n"
                          "<menuitem text=\"Notepad\" target=\"notepad.exe\" cmdline=\"\" workdir=\"\" "
                          "windowstate=\"1\" iconpath=\"%s\" iconnumber=\"0\" />\r\n"
                          "<menuseparator />\r\n"
                          "<menu text=\"Tools\" iconpath=\"\" iconnumber=\"0\" sidebar=\"true\">\r\n"
                          "<menuitem text=\"Inner\" target=\"x\" cmdline=\"\" workdir=\"\" windowstate=\"1\" "
                          "iconpath=\"\" iconnumber=\"0\" />\r\n"
                          "<menu text=\"Empty\" iconpath=\"\" iconnumber=\"0\" sidebar=\"false\">\r\n"
                          "</menu>\r\n"
                          "</menu>\r\n"
                          "<menuitem text=\"Last\" target=\"y\" cmdline=\"\" workdir=\"\" windowstate=\"1\" "
                          "iconpath=\"\" iconnumber=\"0\" />\r\n"
                          "</menu>\r\n";
} // namespace

TEST(MenuPopup, BuildsOwnerDrawnEntriesWithTheModelsIds)
{
    ScratchDir dir;
    char bytes[2048];
    ASSERT_TRUE(StrFormat(bytes, sizeof(bytes), kMenu, WindowsPath("notepad.exe").c_str()));
    WriteBytes(dir.Path("t.menu"), bytes);
    CMenu model;
    ASSERT_TRUE(model.ReadFile(dir.Path("t.menu").c_str())) << model.GetLastError();

    HMENU menu = CreateMenuPopup(model, GetModuleHandleA(nullptr));
    ASSERT_NE(menu, nullptr);
    // Side bar, Notepad, separator, Tools, Last.
    ASSERT_EQ(GetMenuItemCount(menu), 5);
    for (int i = 0; i < 5; i++)
    {
        MenuEntry e = EntryAt(menu, i);
        EXPECT_TRUE(e.type & MFT_OWNERDRAW) << i;
        ASSERT_NE(e.data, nullptr) << i;
        // Only the entry right after the side bar starts a new column.
        EXPECT_EQ((e.type & MFT_MENUBREAK) != 0, i == 1) << i;
    }
    MenuEntry bar = EntryAt(menu, 0);
    EXPECT_EQ(bar.data->nKind, MENUXP_KIND_SIDEBAR);
    EXPECT_EQ(bar.data->nWidth, 18u);
    EXPECT_EQ(bar.data->pszText, model.FindItem(0)->GetData()->GetText());

    MenuEntry notepad = EntryAt(menu, 1);
    EXPECT_EQ(notepad.id, 1u);
    EXPECT_EQ(notepad.sub, nullptr);
    EXPECT_EQ(notepad.data->nKind, MENUXP_KIND_ITEM);
    // Captions point into the model rather than being copied.
    EXPECT_EQ(notepad.data->pszText, model.FindItem(1)->GetData()->GetText());
    EXPECT_NE(notepad.data->hIcon, nullptr);

    EXPECT_EQ(EntryAt(menu, 2).data->nKind, MENUXP_KIND_SEPARATOR);

    MenuEntry tools = EntryAt(menu, 3);
    ASSERT_NE(tools.sub, nullptr);
    EXPECT_STREQ(tools.data->pszText, "Tools");
    ASSERT_EQ(GetMenuItemCount(tools.sub), 3); // its own side bar, Inner, Empty
    EXPECT_EQ(EntryAt(tools.sub, 0).data->nKind, MENUXP_KIND_SIDEBAR);
    EXPECT_EQ(EntryAt(tools.sub, 1).id, 4u);
    MenuEntry empty = EntryAt(tools.sub, 2);
    ASSERT_NE(empty.sub, nullptr);
    EXPECT_EQ(GetMenuItemCount(empty.sub), 0);

    EXPECT_EQ(EntryAt(menu, 4).id, 6u);
    EXPECT_STREQ(model.FindItem(EntryAt(menu, 4).id)->GetData()->GetText(), "Last");

    EXPECT_EQ(MenuXP_DestroyMenu(menu, 0, 1, 0), 1);
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(IsMenu(tools.sub));
}

TEST(MenuPopup, PlainRootHasNoSideBar)
{
    CMenu model;
    model.GetMenuTree()->GetData()->SetStyle(MENU_STYLE_SUBMENU);
    HINSTANCE instance = GetModuleHandleA(nullptr);

    HMENU empty = CreatePopupMenu();
    EXPECT_FALSE(AppendMenuPopupChildren(empty, model.GetMenuTree(), instance));
    EXPECT_EQ(GetMenuItemCount(empty), 0);
    DestroyMenu(empty);

    ASSERT_TRUE(model.InsertFromXML("<menuseparator />\n<menuitem text=\"a\" />\n", 0, 1));
    HMENU menu = CreateMenuPopup(model, instance);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    EXPECT_EQ(EntryAt(menu, 0).data->nKind, MENUXP_KIND_SEPARATOR);
    MenuEntry item = EntryAt(menu, 1);
    EXPECT_EQ(item.id, 2u);
    EXPECT_FALSE(item.type & MFT_MENUBREAK);
    MenuXP_DestroyMenu(menu, 0, 1, 0);
}

TEST(MenuIcon, ComesFromTheFileOrItsAssociation)
{
    // The association falls back on the caller's own icon resources for
    // files that have none; the test program has no icons, shell32 has.
    HINSTANCE self = GetModuleHandleA(nullptr);
    HINSTANCE shell = GetModuleHandleA("shell32.dll");
    ASSERT_NE(shell, nullptr);
    ScratchDir dir;
    WriteBytes(dir.Path("note.txt"), "text");
    struct Case
    {
        std::string path;
        unsigned long number;
        HINSTANCE instance;
        bool required;
    } cases[] = {
        {WindowsPath("notepad.exe"), 0, self, true},
        {WindowsPath("system32\\shell32.dll"), 4, self, true},
        {dir.Path("note.txt"), 0, self, false},
        {dir.Path("note.txt"), 0, shell, true},
        {WindowsPath("no such file.exe"), 0, self, false},
        {WindowsPath("no such file.exe"), 0, shell, true},
        {"", 0, self, false},
    };
    for (const Case& c : cases)
    {
        CMenuItem item;
        item.SetIconPath(c.path.c_str());
        item.SetIconNumber(c.number);
        HICON icon = GetMenuItemIcon(item, c.instance);
        if (c.required)
        {
            ASSERT_NE(icon, nullptr) << c.path;
        }
        if (icon)
        {
            SIZE size = IconSize(icon);
            EXPECT_EQ(size.cx, 16) << c.path;
            EXPECT_EQ(size.cy, 16) << c.path;
            EXPECT_TRUE(DestroyIcon(icon));
        }
        // Looking up the associated icon does not rewrite the entry.
        EXPECT_EQ(std::string(item.GetIconPath()), c.path);
        EXPECT_EQ(item.GetIconNumber(), c.number);
    }
}
