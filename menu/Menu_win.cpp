// The menu model's Win32 half: icons of entries and the owner-drawn pop-up.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "Menu_win.h"
#include "winholders.h"
#include "menuxp.h"
#include "strutils.h"

namespace
{
typedef CPtrTree<CMenuItem> CMenuNode;

// An image list of 16x16 images redraws whatever icon it is given at that
// size, which is the simplest way to shrink a large one.
HICON ShrinkIcon(HICON icon)
{
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (!list)
        return NULL;
    HICON small = NULL;
    if (ImageList_AddIcon(list, icon) >= 0)
        small = ImageList_GetIcon(list, 0, ILD_NORMAL);
    ImageList_Destroy(list);
    return small;
}
} // namespace

HICON GetMenuItemIcon(const CMenuItem& item, HINSTANCE instance)
{
    HICON small = NULL;
    if (item.GetIconPath()[0])
        ExtractIconExA(item.GetIconPath(), (int)item.GetIconNumber(), NULL, &small, 1);
    if (small)
        return small;

    // ExtractAssociatedIcon writes the associated program's path and icon
    // index back into its arguments; a copy keeps the entry as the user made
    // it (it would otherwise be saved with the program's path).
    char path[MAX_PATH];
    StrCopy(path, item.GetIconPath());
    WORD index = (WORD)item.GetIconNumber();
    CIcon large(ExtractAssociatedIconA(instance, path, &index));
    if (!large.Get())
        return NULL;
    return ShrinkIcon(large.Get());
}

HMENU CreateMenuPopup(const CMenu& model, HINSTANCE instance)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return NULL;
    CMenuNode* tree = model.GetMenuTree();
    CMenuItem* root = tree->GetData();
    if (root && (root->GetStyle() & MENU_STYLE_SIDEBAR))
        MenuXP_AppendSidebar(menu, root->GetText(), NULL, MENUXP_SIDEBAR_WIDTH);
    AppendMenuPopupChildren(menu, tree, instance);
    return menu;
}

bool AppendMenuPopupChildren(HMENU menu, CPtrTree<CMenuItem>* node, HINSTANCE instance)
{
    bool appended = false;
    node->ResetCur();
    for (CMenuNode* child = node->GetCur(); child; child = node->GetNext())
    {
        const CMenuItem* item = child->GetData();
        unsigned long style = item->GetStyle();
        if (style & MENU_STYLE_SUBMENU)
        {
            HMENU sub = CreatePopupMenu();
            if (!sub)
                continue;
            if (style & MENU_STYLE_SIDEBAR)
                MenuXP_AppendSidebar(sub, item->GetText(), NULL, MENUXP_SIDEBAR_WIDTH);
            AppendMenuPopupChildren(sub, child, instance);
            HICON icon = GetMenuItemIcon(*item, instance);
            if (MenuXP_AppendMenu(menu, sub, item->GetText(), icon))
                appended = true;
            else
            {
                // Not attached, so nobody else would free them.
                MenuXP_DestroyMenu(sub, 0, 1, 0);
                if (icon)
                    DestroyIcon(icon);
            }
        }
        else if (style & MENU_STYLE_ITEM)
        {
            HICON icon = GetMenuItemIcon(*item, instance);
            if (MenuXP_AppendItem(menu, (unsigned int)item->GetId(), item->GetText(), icon, NULL))
                appended = true;
            else if (icon)
                DestroyIcon(icon);
        }
        else if (style & MENU_STYLE_SEPARATOR)
        {
            if (MenuXP_AppendSeparator(menu))
                appended = true;
        }
    }
    return appended;
}
