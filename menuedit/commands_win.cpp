// The menu editor's edit commands: inserting entries, delete, move, sort,
// properties and the test pop-up.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <commdlg.h>
#include <new>

#include "meditstate.h"
#include "medit_res.h"
#include "meditdlg.h"
#include "meditmain.h"
#include "meditEntries.h"
#include "meditViews.h"
#include "Menu_win.h"
#include "MenuLaunch.h"
#include "browseAppsDlg.h"
#include "browseFavsDlg.h"
#include "dirutils_win.h"
#include "filedlg.h"
#include "firstrun.h"
#include "regutils.h"
#include "strutils.h"

static bool IsSubmenuEntry(const CMenuItem* item)
{
    return item && (item->GetStyle() & MENU_STYLE_SUBMENU);
}

// Puts the tree nodes of node's submenus below treeNode again, in the
// model's order, after the children were moved.
static void RebuildSubmenuNodes(MeditState* st, HTREEITEM treeNode, CPtrTree<CMenuItem>* node)
{
    HTREEITEM child;
    while ((child = TreeView_GetChild(st->hTree, treeNode)) != nullptr)
        TreeView_DeleteItem(st->hTree, child);
    node->ResetCur();
    for (CPtrTree<CMenuItem>* c = node->GetCur(); c; c = node->GetNext())
    {
        if (!IsSubmenuEntry(c->GetData()))
            continue;
        HTREEITEM added = InsertTreeNode(st, treeNode, c->GetData(), -1);
        if (added && c->GetSize() > 0)
            RebuildSubmenuNodes(st, added, c);
    }
    TreeView_Expand(st->hTree, treeNode, TVE_EXPAND);
}

// --- Inserting -------------------------------------------------------------------------

unsigned long InsertNewEntry(MeditState* st, CMenuItem* entry)
{
    long listId = SelectedListId(st);
    long treeId = SelectedTreeId(st);
    if (!st->menuOpen || (listId < 0 && treeId < 0))
    {
        delete entry;
        return 0;
    }
    bool wasModified = st->modified;
    AddUndo(st->hwnd);
    unsigned long id = listId >= 0 ? st->menu.InsertItem(entry, (unsigned long)listId, 0)
                                   : st->menu.InsertItem(entry, (unsigned long)treeId, 1);
    if (!id)
    {
        // Nothing changed: the step just recorded is not one.
        st->undo.DropLast();
        st->modified = wasModified;
        delete entry;
        MessageBeep(MB_ICONHAND);
        UpdateUI(st);
        return 0;
    }
    HTREEITEM parentNode = TreeView_GetSelection(st->hTree);
    if (listId >= 0)
    {
        InsertListRow(st, entry, 0, listId);
        if (IsSubmenuEntry(entry))
            InsertTreeNode(st, parentNode, entry, FindMenuBefore(st, id, true));
    }
    else
    {
        InsertListRow(st, entry, ListView_GetItemCount(st->hList));
        if (IsSubmenuEntry(entry))
            InsertTreeNode(st, parentNode, entry, -1);
    }
    if (parentNode)
        TreeView_Expand(st->hTree, parentNode, TVE_EXPAND);
    st->treeHasFocus = false;
    UpdateUI(st);
    return id;
}

static CMenuItem* MakeApplicationShortcut(MeditState* st)
{
    char result[MAX_PATH] = "";
    if (!BrowseTarget(st->hwnd, &st->apps, result, sizeof(result)) || !result[0])
        return nullptr;
    return MakeFileEntry(result);
}

static CMenuItem* MakeLaunchFileShortcut(MeditState* st)
{
    char folder[MAX_PATH] = "";
    GetMyTarvinFilesFolder(folder, "");
    char path[MAX_PATH] = "";
    FileDialogOptions options = {"Browse for Launch File", "Launch Files (*.launch)\0*.launch\0", folder,
                                 "launch", OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY};
    if (!AskOpenFileName(st->hwnd, options, path, sizeof(path)))
        return nullptr;
    CMenuItem* item = MakeFileEntry(path);
    if (!item)
        return nullptr;
    char editor[MAX_PATH];
    GetMyDir(editor, sizeof(editor), "tvedit.exe");
    item->SetIconPath(editor);
    item->SetIconNumber(1);
    return item;
}

static CMenuItem* MakeWebsiteShortcut(MeditState* st)
{
    char address[MAX_PATH] = "", name[MAX_PATH] = "";
    tagBROWSEFAVS bf;
    ZeroMemory(&bf, sizeof(bf));
    bf.hwndOwner = st->hwnd;
    bf.hInstance = g_hInst;
    bf.pszResult = address;
    bf.pszName = name;
    bf.pFavList = &st->favs;
    if (!BrowseFavorites(&bf) || !address[0])
        return nullptr;
    char browser[MAX_PATH] = "";
    GetDefaultBrowserPath(browser, sizeof(browser));
    return MakeWebsiteEntry(browser, address, name);
}

void FillWizardData(MeditState* st, tagWIZARD_DATA* wd, uint32_t flags)
{
    wd->flags = flags;
    wd->openProperties = 0;
    wd->instance = g_hInst;
    wd->owner = st->hwnd;
    wd->menu = &st->menu;
    wd->locationId = 0;
    wd->insertAsChild = 0;
    wd->itemCallback = InsertItemCallback;
    wd->saveCallback = SaveMenuCallback;
    wd->otherCallback = nullptr;
    wd->apps = &st->apps;
    wd->testLaunches = st->testFull;
}

static CMenuItem* MakeWithWizard(MeditState* st, uint32_t flags, int* openProperties)
{
    tagWIZARD_DATA wd;
    FillWizardData(st, &wd, flags);
    if (flags & WIZ_SUBMENU)
    {
        wd.entry.SetStyle(MENU_STYLE_SUBMENU);
        wd.entry.SetText("New Submenu");
        wd.entry.SetIconPath("shell32.dll");
        wd.entry.SetIconNumber(19);
    }
    else
        wd.entry.SetStyle(MENU_STYLE_ITEM);
    if (RunItemWizard(&wd) != 1)
        return nullptr;
    *openProperties = wd.openProperties;
    CMenuItem* item = new (std::nothrow) CMenuItem(&wd.entry);
    if (item)
        SetDefaultWorkDir(item);
    return item;
}

static CMenuItem* MakeSubmenu(MeditState* st, int* openProperties)
{
    if (!RegReadSetting(MEDIT_ADVANCED_MODE))
        return MakeWithWizard(st, WIZ_SUBMENU, openProperties);
    CMenuItem entry(0UL);
    entry.SetText("New Submenu");
    entry.SetIconPath("shell32.dll");
    entry.SetIconNumber(4);
    if (ShowSubmenuDialog(st->hwnd, g_hInst, false, &entry) != 1)
        return nullptr;
    CMenuItem* item = new (std::nothrow) CMenuItem(&entry);
    if (item)
        item->SetStyle(MENU_STYLE_SUBMENU);
    return item;
}

void OnInsertCommand(MeditState* st, int command)
{
    if (!st->menuOpen)
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    CMenuItem* item = nullptr;
    int openProperties = 0;
    switch (command)
    {
        case IDM_ITEMWIZARD:
            item = MakeWithWizard(st, WIZ_ITEM | WIZ_OPENPROPS, &openProperties);
            break;
        case IDM_APPSHORTCUT:
            item = MakeApplicationShortcut(st);
            break;
        case IDM_LAUNCHSHORTCUT:
            item = MakeLaunchFileShortcut(st);
            break;
        case IDM_WEBSHORTCUT:
            item = MakeWebsiteShortcut(st);
            break;
        case IDM_INSERTSUBMENU:
            item = MakeSubmenu(st, &openProperties);
            break;
        case IDM_INSERTSEPARATOR:
            item = new (std::nothrow) CMenuItem(0UL);
            if (item)
            {
                // As a separator read from a file.
                item->SetStyle(MENU_STYLE_SEPARATOR);
                item->SetText("-");
            }
            break;
    }
    if (!item)
        return;
    if (item->GetStyle() & MENU_STYLE_ITEM)
        item->SetWindowState(RegReadSetting(MEDIT_WINDOW_STATE));
    unsigned long id = InsertNewEntry(st, item);
    if (id && openProperties)
    {
        CPtrTree<CMenuItem>* node = st->menu.FindItem(id);
        if (node)
            DoProperties(st->hwnd, node->GetData());
    }
}

// --- Delete, move, sort ------------------------------------------------------------

void DeleteEntry(MeditState* st, bool confirm)
{
    long id = SelectedEntryId(st);
    if (id < 0)
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    if (id == 0)
    {
        MessageBoxA(st->hwnd, "You cannot delete or cut the root item in the menu hierarchy.", nullptr,
                    MB_OK | MB_ICONERROR);
        return;
    }
    if (confirm && MessageBoxA(st->hwnd, "Are you sure you want to delete this menu item?", "Confirm Delete",
                               MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    CPtrTree<CMenuItem>* node = st->menu.FindItem((unsigned long)id);
    bool submenu = node && IsSubmenuEntry(node->GetData());
    AddUndo(st->hwnd);
    if (!st->menu.DeleteItem((unsigned long)id))
    {
        MessageBoxA(st->hwnd,
                    st->menu.GetLastError() == MENU_ERR_NOT_FOUND
                        ? "Cannot find item in the internal data structure."
                        : "Cannot find item's parent in the internal data structure.",
                    nullptr, MB_OK | MB_ICONERROR);
        return;
    }
    int row = FindListRow(st, (unsigned long)id);
    if (submenu)
    {
        HTREEITEM treeNode = FindTreeNode(st, (unsigned long)id);
        if (treeNode)
            TreeView_DeleteItem(st->hTree, treeNode); // a selected node hands the selection on
        else
            MessageBoxA(st->hwnd, "Cannot find the menu item in the tree.", nullptr, MB_OK | MB_ICONERROR);
    }
    if (!TreeView_GetSelection(st->hTree))
        SelectTreeNode(st, 0);
    if (row >= 0 && FindListRow(st, (unsigned long)id) == row)
    {
        ListView_DeleteItem(st->hList, row);
        int rows = ListView_GetItemCount(st->hList);
        SelectListRow(st, row < rows ? row : rows - 1);
    }
    UpdateUI(st);
}

void MoveEntry(MeditState* st, bool up)
{
    int row = SelectedListRow(st);
    int rows = ListView_GetItemCount(st->hList);
    long treeId = SelectedTreeId(st);
    if (row < 0 || treeId < 0 || (up && row == 0) || (!up && row >= rows - 1))
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    CPtrTree<CMenuItem>* parent = st->menu.FindItem((unsigned long)treeId);
    if (!parent || (unsigned)rows != parent->GetSize())
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    AddUndo(st->hwnd);
    int first = up ? row - 1 : row;
    CPtrTree<CMenuItem>* a = parent->GetAt((unsigned)first);
    CPtrTree<CMenuItem>* b = parent->GetAt((unsigned)first + 1);
    bool submenus = IsSubmenuEntry(a->GetData()) && IsSubmenuEntry(b->GetData());
    parent->SwapWithNext((unsigned)first);
    BuildList(st);
    if (submenus)
        RebuildSubmenuNodes(st, TreeView_GetSelection(st->hTree), parent);
    SelectListRow(st, up ? row - 1 : row + 1);
    UpdateUI(st);
}

void SortSelectedMenu(MeditState* st)
{
    long treeId = SelectedTreeId(st);
    CPtrTree<CMenuItem>* node = treeId >= 0 ? st->menu.FindItem((unsigned long)treeId) : nullptr;
    if (!st->menuOpen || !node)
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    AddUndo(st->hwnd);
    SortMenuChildren(node);
    // The tree shows the submenus in the model's order too.
    RebuildSubmenuNodes(st, TreeView_GetSelection(st->hTree), node);
    BuildList(st);
}

// --- Properties ------------------------------------------------------------------------

void DoProperties(HWND hwnd, CMenuItem* item)
{
    MeditState* st = GetMeditState(hwnd);
    if (!item)
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    if (item->GetStyle() & MENU_STYLE_SEPARATOR)
    {
        MessageBoxA(hwnd, "A separator has no properties", "Properties", MB_OK | MB_ICONINFORMATION);
        return;
    }
    st->editCopy.Copy(item);
    if (ShowEntryProperties(hwnd, g_hInst, &st->editCopy, &st->apps) != 1)
        return;
    AddUndo(hwnd);
    unsigned long id = item->GetId();
    item->Copy(&st->editCopy);
    item->SetId(id);
    if (IsSubmenuEntry(item))
        UpdateTreeNode(st, FindTreeNode(st, id), item);
    UpdateListRow(st, FindListRow(st, id), item);
    UpdateUI(st);
}

void OnProperties(MeditState* st)
{
    long id = st->treeHasFocus ? SelectedTreeId(st) : SelectedEntryId(st);
    CPtrTree<CMenuItem>* node = id >= 0 ? st->menu.FindItem((unsigned long)id) : nullptr;
    if (!st->menuOpen || !node)
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    DoProperties(st->hwnd, node->GetData());
}

// --- Test ------------------------------------------------------------------------------

void TestMenuPopup(HWND mainWnd, int x, int y)
{
    MeditState* st = GetMeditState(mainWnd);
    CPtrTree<CMenuItem>* root = st->menu.GetMenuTree();
    if (!st->menuOpen || !root->GetData() || root->GetSize() == 0)
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    HMENU popup = CreateMenuPopup(st->menu, g_hInst);
    if (!popup)
        return;
    SetForegroundWindow(mainWnd);
    // The pop-up's captions point into the model.
    st->inPopup = true;
    UINT id = (UINT)TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_LEFTBUTTON, x, y,
                                   0, mainWnd, nullptr);
    st->inPopup = false;
    MenuXP_DestroyMenu(popup, 0, 1, 0);
    if (st->checkPending)
    {
        st->checkPending = false;
        PostMessageA(mainWnd, WM_MEDIT_CHECKFILE, 0, 0);
    }
    CPtrTree<CMenuItem>* node = id ? st->menu.FindItem(id) : nullptr;
    const CMenuItem* item = node ? node->GetData() : nullptr;
    if (!item || !(item->GetStyle() & MENU_STYLE_ITEM))
        return;
    char text[MENU_TEXT_SIZE + 2 * MENU_PATH_SIZE + 96];
    if (!st->testFull)
    {
        StrFormat(text, sizeof(text), "You selected:\n  %s\n  %s %s", item->GetText(), item->GetTarget(),
                  item->GetCmdLine());
        MessageBoxA(mainWnd, text, "Menu Selection", MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (LaunchMenuItem(item, st->filePath) <= 32)
    {
        StrFormat(text, sizeof(text),
                  "An error occurred while trying to execute the menu command:\n  %s\n  %s %s",
                  item->GetText(), item->GetTarget(), item->GetCmdLine());
        MessageBoxA(mainWnd, text, nullptr, MB_OK | MB_ICONERROR);
    }
}

void TestMenu(MeditState* st)
{
    POINT pt;
    GetCursorPos(&pt);
    RECT rc;
    if (st->hToolbar && IsWindowVisible(st->hToolbar) &&
        SendMessageA(st->hToolbar, TB_GETRECT, IDM_TEST, (LPARAM)&rc))
    {
        MapWindowPoints(st->hToolbar, nullptr, (POINT*)&rc, 2);
        pt.x = rc.left;
        pt.y = rc.bottom;
    }
    TestMenuPopup(st->hwnd, pt.x, pt.y);
}
