// The two views of the menu: the tree of submenus and the list of the
// selected submenu's entries. Every node and row carries its entry's id;
// every look-up into the model goes through CMenu::FindItem.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include "meditstate.h"
#include "winholders.h"
#include "medit_res.h"
#include "Menu_win.h"
#include "meditViews.h"
#include "strutils.h"

static bool IsSubmenuEntry(const CMenuItem* item)
{
    return item && (item->GetStyle() & MENU_STYLE_SUBMENU);
}

static int AddIcon(HIMAGELIST images, const CMenuItem* item)
{
    if (!images)
        return -1;
    CIcon icon((item->GetStyle() & MENU_STYLE_SEPARATOR) ? LoadSmallIcon(IDI_SEPARATOR)
                                                         : GetMenuItemIcon(*item, g_hInst));
    if (!icon.Get())
        return -1;
    return ImageList_AddIcon(images, icon.Get());
}

// --- Tree --------------------------------------------------------------------------

static HTREEITEM FindNodeBelow(HWND tree, HTREEITEM node, LPARAM id)
{
    for (; node; node = TreeView_GetNextSibling(tree, node))
    {
        TVITEMA tvi;
        ZeroMemory(&tvi, sizeof(tvi));
        tvi.mask = TVIF_PARAM | TVIF_HANDLE;
        tvi.hItem = node;
        if (SendMessageA(tree, TVM_GETITEMA, 0, (LPARAM)&tvi) && tvi.lParam == id)
            return node;
        HTREEITEM found = FindNodeBelow(tree, TreeView_GetChild(tree, node), id);
        if (found)
            return found;
    }
    return nullptr;
}

HTREEITEM FindTreeNode(MeditState* st, unsigned long id)
{
    return FindNodeBelow(st->hTree, TreeView_GetRoot(st->hTree), (LPARAM)id);
}

HTREEITEM InsertTreeNode(MeditState* st, HTREEITEM parent, const CMenuItem* item, long afterId)
{
    TVINSERTSTRUCTA tis;
    ZeroMemory(&tis, sizeof(tis));
    tis.hParent = parent ? parent : TVI_ROOT;
    tis.hInsertAfter = TVI_LAST;
    if (afterId == -2)
        tis.hInsertAfter = TVI_FIRST;
    else if (afterId >= 0)
    {
        // The preceding submenu is a child of parent.
        HTREEITEM after =
            parent ? FindNodeBelow(st->hTree, TreeView_GetChild(st->hTree, parent), afterId) : nullptr;
        if (after)
            tis.hInsertAfter = after;
    }
    tis.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tis.item.pszText = (LPSTR)item->GetText();
    tis.item.lParam = (LPARAM)item->GetId();
    int image = AddIcon(st->treeImages.Get(), item);
    tis.item.iImage = tis.item.iSelectedImage = image >= 0 ? image : I_IMAGENONE;
    return (HTREEITEM)SendMessageA(st->hTree, TVM_INSERTITEMA, 0, (LPARAM)&tis);
}

void UpdateTreeNode(MeditState* st, HTREEITEM node, const CMenuItem* item)
{
    if (!node)
        return;
    TVITEMA tvi;
    ZeroMemory(&tvi, sizeof(tvi));
    tvi.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tvi.hItem = node;
    tvi.pszText = (LPSTR)item->GetText();
    int image = AddIcon(st->treeImages.Get(), item);
    tvi.iImage = tvi.iSelectedImage = image >= 0 ? image : I_IMAGENONE;
    SendMessageA(st->hTree, TVM_SETITEMA, 0, (LPARAM)&tvi);
}

static void AddSubmenus(MeditState* st, CPtrTree<CMenuItem>* node, HTREEITEM parent)
{
    node->ResetCur();
    // The recursion walks the children's own cursors, never this one's.
    for (CPtrTree<CMenuItem>* child = node->GetCur(); child; child = node->GetNext())
    {
        if (!IsSubmenuEntry(child->GetData()))
            continue;
        HTREEITEM added = InsertTreeNode(st, parent, child->GetData(), -1);
        if (added)
            AddSubmenus(st, child, added);
    }
}

void BuildTree(MeditState* st)
{
    st->building = true;
    SendMessageA(st->hTree, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(st->hTree);
    if (st->treeImages.Get())
        ImageList_RemoveAll(st->treeImages.Get());
    CPtrTree<CMenuItem>* root = st->menu.GetMenuTree();
    HTREEITEM rootNode = nullptr;
    if (root && root->GetData())
    {
        rootNode = InsertTreeNode(st, nullptr, root->GetData(), -1);
        if (rootNode)
            AddSubmenus(st, root, rootNode);
    }
    if (rootNode)
    {
        TreeView_Expand(st->hTree, rootNode, TVE_EXPAND);
        TreeView_SelectItem(st->hTree, rootNode);
    }
    SendMessageA(st->hTree, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(st->hTree, nullptr, TRUE);
    st->building = false;
    BuildList(st);
}

void SelectTreeNode(MeditState* st, unsigned long id)
{
    HTREEITEM node = FindTreeNode(st, id);
    if (!node)
        node = TreeView_GetRoot(st->hTree);
    if (!node)
        return;
    st->building = true;
    TreeView_SelectItem(st->hTree, node);
    TreeView_EnsureVisible(st->hTree, node);
    st->building = false;
    BuildList(st);
}

long SelectedTreeId(MeditState* st)
{
    HTREEITEM node = st->hTree ? TreeView_GetSelection(st->hTree) : nullptr;
    if (!node)
        return -1;
    TVITEMA tvi;
    ZeroMemory(&tvi, sizeof(tvi));
    tvi.mask = TVIF_PARAM | TVIF_HANDLE;
    tvi.hItem = node;
    if (!SendMessageA(st->hTree, TVM_GETITEMA, 0, (LPARAM)&tvi))
        return -1;
    return (long)tvi.lParam;
}

// --- List --------------------------------------------------------------------------

static void SetListCells(MeditState* st, int row, const CMenuItem* item)
{
    ListView_SetItemText(st->hList, row, 1, (LPSTR)EntryTypeText(*item));
    ListView_SetItemText(st->hList, row, 2, (LPSTR)EntryTargetText(*item));
}

void SelectListRow(MeditState* st, int row)
{
    ListView_SetItemState(st->hList, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row < 0)
        return;
    ListView_SetItemState(st->hList, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(st->hList, row, FALSE);
}

int FindListRow(MeditState* st, unsigned long id)
{
    LVFINDINFOA fi;
    ZeroMemory(&fi, sizeof(fi));
    fi.flags = LVFI_PARAM;
    fi.lParam = (LPARAM)id;
    return (int)SendMessageA(st->hList, LVM_FINDITEMA, (WPARAM)-1, (LPARAM)&fi);
}

int InsertListRow(MeditState* st, const CMenuItem* item, int row, long afterId)
{
    if (afterId >= 0)
    {
        int after = FindListRow(st, (unsigned long)afterId);
        row = after >= 0 ? after + 1 : ListView_GetItemCount(st->hList);
    }
    LVITEMA lvi;
    ZeroMemory(&lvi, sizeof(lvi));
    lvi.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    lvi.iItem = row;
    lvi.pszText = (LPSTR)item->GetText();
    lvi.iImage = I_IMAGECALLBACK;
    lvi.lParam = (LPARAM)item->GetId();
    row = (int)SendMessageA(st->hList, LVM_INSERTITEMA, 0, (LPARAM)&lvi);
    if (row < 0)
        return -1;
    SetListCells(st, row, item);
    if (!st->building)
        SelectListRow(st, row);
    return row;
}

void UpdateListRow(MeditState* st, int row, const CMenuItem* item)
{
    if (row < 0)
        return;
    LVITEMA lvi;
    ZeroMemory(&lvi, sizeof(lvi));
    lvi.mask = LVIF_TEXT | LVIF_IMAGE;
    lvi.iItem = row;
    lvi.pszText = (LPSTR)item->GetText();
    lvi.iImage = I_IMAGECALLBACK;
    SendMessageA(st->hList, LVM_SETITEMA, 0, (LPARAM)&lvi);
    SetListCells(st, row, item);
}

void GetListRowImage(MeditState* st, NMLVDISPINFOA* info)
{
    if (!(info->item.mask & LVIF_IMAGE))
        return;
    info->item.iImage = -1;
    // A search moves the cursors of the menu's lists, which a walk that
    // fills the list is using: the list asks again when it paints.
    if (st->building)
        return;
    LVITEMA lvi;
    ZeroMemory(&lvi, sizeof(lvi));
    lvi.mask = LVIF_PARAM;
    lvi.iItem = info->item.iItem;
    if (!ListView_GetItem(st->hList, &lvi))
        return;
    CPtrTree<CMenuItem>* node = st->menu.FindItem((unsigned long)lvi.lParam);
    if (node && node->GetData())
        info->item.iImage = AddIcon(st->listImages.Get(), node->GetData());
    // The list keeps the picture from now on.
    info->item.mask |= LVIF_DI_SETITEM;
}

void BuildList(MeditState* st)
{
    bool wasBuilding = st->building;
    st->building = true;
    SendMessageA(st->hList, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(st->hList);
    if (st->listImages.Get())
        ImageList_RemoveAll(st->listImages.Get());
    long id = SelectedTreeId(st);
    CPtrTree<CMenuItem>* node = id >= 0 ? st->menu.FindItem((unsigned long)id) : nullptr;
    if (id >= 0 && !node)
        MessageBoxA(st->hwnd, "Cannot find selected item", nullptr, MB_OK | MB_ICONERROR);
    if (node)
    {
        int row = 0;
        node->ResetCur();
        for (CPtrTree<CMenuItem>* child = node->GetCur(); child; child = node->GetNext())
            InsertListRow(st, child->GetData(), row++);
    }
    SendMessageA(st->hList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(st->hList, nullptr, TRUE);
    st->building = wasBuilding;
    UpdateUI(st);
}

int SelectedListRow(MeditState* st)
{
    return st->hList ? ListView_GetNextItem(st->hList, -1, LVNI_SELECTED) : -1;
}

long SelectedListId(MeditState* st)
{
    int row = SelectedListRow(st);
    if (row < 0)
        return -1;
    LVITEMA lvi;
    ZeroMemory(&lvi, sizeof(lvi));
    lvi.mask = LVIF_PARAM;
    lvi.iItem = row;
    if (!SendMessageA(st->hList, LVM_GETITEMA, 0, (LPARAM)&lvi))
        return -1;
    return (long)lvi.lParam;
}

long SelectedEntryId(MeditState* st)
{
    long list = SelectedListId(st);
    return list >= 0 ? list : SelectedTreeId(st);
}

long FindMenuBefore(MeditState* st, unsigned long id, bool skipSelf)
{
    int row = FindListRow(st, id);
    if (row >= 0 && skipSelf)
        row--;
    for (; row >= 0; row--)
    {
        LVITEMA lvi;
        ZeroMemory(&lvi, sizeof(lvi));
        lvi.mask = LVIF_PARAM;
        lvi.iItem = row;
        if (!SendMessageA(st->hList, LVM_GETITEMA, 0, (LPARAM)&lvi))
            continue;
        CPtrTree<CMenuItem>* node = st->menu.FindItem((unsigned long)lvi.lParam);
        if (node && IsSubmenuEntry(node->GetData()))
            return (long)lvi.lParam;
    }
    return skipSelf ? -2 : -1;
}

// --- Title, status and enabling ----------------------------------------------------

static void Enable(MeditState* st, HMENU menu, int id, bool enable)
{
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
    if (st->hToolbar)
        SendMessageA(st->hToolbar, TB_ENABLEBUTTON, id, enable);
}

void UpdateUI(MeditState* st)
{
    char title[MENU_TEXT_SIZE + 40];
    CPtrTree<CMenuItem>* root = st->menu.GetMenuTree();
    const CMenuItem* rootEntry = st->menuOpen && root ? root->GetData() : nullptr;
    FormatMeditTitle(rootEntry, st->modified, title, sizeof(title));
    SetWindowTextA(st->hwnd, title);
    if (st->hStatus)
        SendMessageA(st->hStatus, SB_SETTEXTA, 0, (LPARAM)MeditStatusText(st->menuOpen, st->filePath));

    MeditUiFacts facts;
    facts.open = st->menuOpen;
    facts.modified = st->modified;
    facts.canPaste = st->menuOpen && CanPaste(st);
    facts.canUndo = st->undo.CanUndo();
    facts.canRedo = st->undo.CanRedo();
    facts.row = st->menuOpen ? SelectedListRow(st) : -1;
    facts.rows = st->menuOpen ? ListView_GetItemCount(st->hList) : 0;
    facts.selection = st->menuOpen && (facts.row >= 0 || SelectedTreeId(st) >= 0);
    facts.hasEntries = rootEntry && root->GetSize() > 0;
    HMENU menu = GetMenu(st->hwnd);
    for (size_t i = 0; i < g_meditStateCommandCount; i++)
        Enable(st, menu, g_meditStateCommands[i], IsMeditCommandEnabled(facts, g_meditStateCommands[i]));
}
