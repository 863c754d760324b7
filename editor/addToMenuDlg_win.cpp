// The add-to-menu dialog: the user's menu file as a tree of its submenus;
// Select adds an entry for the launch file under the chosen submenu and
// writes the menu file at once. New submenus made here live in the model
// only until then.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <shellapi.h>

#include "wizardDlg.h"
#include "winstate.h"
#include "wizardDlg_res.h"
#include "editmain.h"
#include "Menu.h"
#include "Menu_win.h"
#include "PickIconDialog.h"
#include "dirutils.h"
#include "firstrun.h"
#include "staticLink.h"
#include "winholders.h"
#include "winutils.h"
#include "strutils.h"

namespace
{

const char* const kMenuFile = "Tarvin.menu";

struct tagADDTOMENU_DATA
{
    const char* launchPath;
    bool afterFirstSave;
    HINSTANCE instance;
    char menuPath[MAX_PATH];
    CMenu menu;
    CImageList images; // the tree's icons
    bool added;
};

int AddTreeImage(tagADDTOMENU_DATA* data, const CMenuItem& item)
{
    CIcon icon(GetMenuItemIcon(item, data->instance));
    if (!icon.Get() || !data->images.Get())
        return -1;
    return ImageList_AddIcon(data->images.Get(), icon.Get());
}

HTREEITEM InsertIntoTree(HWND tree, tagADDTOMENU_DATA* data, const CMenuItem& item, HTREEITEM parent)
{
    int image = AddTreeImage(data, item);
    TVINSERTSTRUCTA tvis;
    ZeroMemory(&tvis, sizeof(tvis));
    tvis.hParent = parent;
    tvis.hInsertAfter = TVI_LAST;
    tvis.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tvis.item.pszText = const_cast<char*>(item.GetText());
    tvis.item.lParam = (LPARAM)item.GetId();
    tvis.item.iImage = image;
    tvis.item.iSelectedImage = image;
    return (HTREEITEM)SendMessageA(tree, TVM_INSERTITEMA, 0, (LPARAM)&tvis);
}

// Only submenus are shown: the tree chooses where an entry goes.
void BuildTreeChildren(HWND tree, tagADDTOMENU_DATA* data, CPtrTree<CMenuItem>* node, HTREEITEM parent)
{
    node->ResetCur();
    for (CPtrTree<CMenuItem>* child = node->GetCur(); child; child = node->GetNext())
    {
        const CMenuItem* item = child->GetData();
        if (!item || !(item->GetStyle() & MENU_STYLE_SUBMENU))
            continue;
        HTREEITEM added = InsertIntoTree(tree, data, *item, parent);
        if (added)
            BuildTreeChildren(tree, data, child, added);
    }
}

void BuildTree(HWND tree, tagADDTOMENU_DATA* data)
{
    TreeView_DeleteAllItems(tree);
    if (data->images.Get())
        ImageList_RemoveAll(data->images.Get());
    CPtrTree<CMenuItem>* root = data->menu.GetMenuTree();
    if (!root || !root->GetData())
        return;
    HTREEITEM top = InsertIntoTree(tree, data, *root->GetData(), TVI_ROOT);
    BuildTreeChildren(tree, data, root, top);
    TreeView_Expand(tree, top, TVE_EXPAND);
    TreeView_SelectItem(tree, top);
}

// The tree node whose data is the entry id, depth-first from node.
HTREEITEM FindTreeItem(HWND tree, HTREEITEM node, unsigned long id)
{
    for (; node; node = TreeView_GetNextSibling(tree, node))
    {
        TVITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = TVIF_PARAM;
        item.hItem = node;
        if (TreeView_GetItem(tree, &item) && (unsigned long)item.lParam == id)
            return node;
        if (HTREEITEM found = FindTreeItem(tree, TreeView_GetChild(tree, node), id))
            return found;
    }
    return nullptr;
}

// The selected node's menu entry, or null.
CMenuItem* GetTreeSelection(HWND tree, tagADDTOMENU_DATA* data)
{
    HTREEITEM selected = TreeView_GetSelection(tree);
    if (!selected)
        return nullptr;
    TVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = TVIF_PARAM;
    item.hItem = selected;
    if (!TreeView_GetItem(tree, &item))
        return nullptr;
    CPtrTree<CMenuItem>* node = data->menu.FindItem((unsigned long)item.lParam);
    return node ? node->GetData() : nullptr;
}

// --- New submenu (dialog 2000) ---------------------------------------------------

struct NewSubmenuData
{
    char name[MENU_TEXT_SIZE];
    char iconPath[MAX_PATH];
    int iconIndex;
};

void NewSubmenu_ShowIcon(HWND hwnd, NewSubmenuData* sub)
{
    HICON icon = nullptr;
    ExtractIconExA(sub->iconPath, sub->iconIndex, &icon, nullptr, 1);
    HICON old = (HICON)SendDlgItemMessageA(hwnd, IDC_NSM_ICON, STM_SETICON, (WPARAM)icon, 0);
    if (old)
        DestroyIcon(old);
}

BOOL NewSubmenu_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    NewSubmenuData* sub = (NewSubmenuData*)lParam;
    SetDialogState(hwnd, sub);
    CenterWindow(hwnd);
    SendDlgItemMessageA(hwnd, IDC_NSM_NAME, EM_LIMITTEXT, MENU_TEXT_SIZE - 1, 0);
    SetDlgItemTextA(hwnd, IDC_NSM_NAME, sub->name);
    NewSubmenu_ShowIcon(hwnd, sub);
    return TRUE;
}

void NewSubmenu_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    NewSubmenuData* sub = DialogState<NewSubmenuData>(hwnd);
    if (!sub)
        return;
    switch (id)
    {
        case IDC_NSM_CHANGEICON: {
            char path[MAX_PATH];
            StrCopy(path, sub->iconPath);
            int index = sub->iconIndex;
            if (SelectIconA(hwnd, path, sizeof(path), &index))
            {
                StrCopy(sub->iconPath, path);
                sub->iconIndex = index;
                NewSubmenu_ShowIcon(hwnd, sub);
            }
            return;
        }
        case IDOK:
            GetDlgItemTextA(hwnd, IDC_NSM_NAME, sub->name, sizeof(sub->name));
            EndDialog(hwnd, IDOK);
            return;
        case IDCANCEL:
            EndDialog(hwnd, IDCANCEL);
            return;
    }
}

void NewSubmenu_OnDestroy(HWND hwnd)
{
    HICON icon = (HICON)SendDlgItemMessageA(hwnd, IDC_NSM_ICON, STM_SETICON, 0, 0);
    if (icon)
        DestroyIcon(icon);
}

INT_PTR CALLBACK NewSubmenuDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, NewSubmenu_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, NewSubmenu_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, NewSubmenu_OnDestroy);
    }
    return FALSE;
}

// --- Add to menu (dialog 1900) ---------------------------------------------------

void AddToMenuDlg_OnNewSubmenu(HWND hwnd, tagADDTOMENU_DATA* data)
{
    HWND tree = GetDlgItem(hwnd, IDC_ATM_TREE);
    CMenuItem* parent = GetTreeSelection(tree, data);
    if (!parent)
        return;
    unsigned long parentId = parent->GetId();
    NewSubmenuData sub;
    StrCopy(sub.name, "New Submenu");
    StrCopy(sub.iconPath, "shell32.dll");
    sub.iconIndex = 19;
    if (DialogBoxParamA(data->instance, MAKEINTRESOURCEA(IDD_NEWSUBMENU), hwnd, NewSubmenuDlgProc,
                        (LPARAM)&sub) != IDOK)
        return;
    CMenuItem* item = new CMenuItem(0UL);
    item->SetText(sub.name);
    item->SetIconPath(sub.iconPath);
    item->SetIconNumber((unsigned long)sub.iconIndex);
    item->SetStyle(MENU_STYLE_SUBMENU);
    unsigned long id = data->menu.InsertItem(item, parentId, 1);
    if (!id)
    {
        delete item;
        return;
    }
    HTREEITEM parentNode = FindTreeItem(tree, TreeView_GetRoot(tree), parentId);
    HTREEITEM added = InsertIntoTree(tree, data, *item, parentNode);
    if (parentNode)
        TreeView_Expand(tree, parentNode, TVE_EXPAND);
    if (added)
        TreeView_SelectItem(tree, added);
}

bool AddToMenuDlg_OnOK(HWND hwnd, tagADDTOMENU_DATA* data)
{
    CMenuItem* parent = GetTreeSelection(GetDlgItem(hwnd, IDC_ATM_TREE), data);
    if (!parent)
        return true;
    char title[MAX_PATH];
    GetFileTitleFromPath(data->launchPath, title, sizeof(title));
    CMenuItem* item = new CMenuItem(0UL);
    item->SetText(title);
    item->SetTarget(data->launchPath);
    item->SetCmdLine("");
    item->SetWorkDir("");
    item->SetWindowState(1);
    item->SetIconPath(data->launchPath);
    item->SetIconNumber(0);
    item->SetStyle(MENU_STYLE_ITEM);
    if (!item->IsStorable())
    {
        delete item;
        MessageBoxA(hwnd, "The launch file's name or path cannot be written into the menu file.",
                    "Add to Tarvin 2 Shortcuts menu", MB_OK | MB_ICONWARNING);
        return false;
    }
    if (!data->menu.InsertItem(item, parent->GetId(), 1))
    {
        delete item;
        return true;
    }
    if (!data->menu.WriteFile(data->menuPath))
    {
        char text[160];
        StrFormat(text, sizeof(text), "Error code %d occurred while trying to write the menu file.",
                  data->menu.GetLastError());
        MessageBoxA(hwnd, text, "Add to Tarvin 2 Shortcuts menu", MB_OK | MB_ICONWARNING);
        return false;
    }
    data->added = true;
    return true;
}

// A missing menu file reads as an empty menu. A file that exists but
// cannot be read is reported: writing the part read back would lose the
// rest of the user's menu.
bool LoadMenu(HWND hwnd, tagADDTOMENU_DATA* data)
{
    if (data->menu.ReadFile(data->menuPath))
        return true;
    if (data->menu.GetLastError() == MENU_ERR_CANNOT_OPEN &&
        GetFileAttributesA(data->menuPath) == INVALID_FILE_ATTRIBUTES)
    {
        data->menu.New();
        CMenuItem* root = data->menu.GetMenuTree()->GetData();
        root->SetStyle(MENU_STYLE_SUBMENU);
        root->SetText("Tarvin 2");
        return true;
    }
    char text[160];
    StrFormat(text, sizeof(text), "Error code %d occurred while trying to read the menu file.",
              data->menu.GetLastError());
    MessageBoxA(hwnd, text, "Add to Tarvin 2 Shortcuts menu", MB_OK | MB_ICONWARNING);
    return false;
}

BOOL AddToMenuDlg_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    tagADDTOMENU_DATA* data = (tagADDTOMENU_DATA*)lParam;
    SetDialogState(hwnd, data);
    CenterWindow(hwnd);
    if (!data->afterFirstSave)
        SetDlgItemTextA(hwnd, IDC_ATM_TEXT1,
                        "You have selected to add your launch file to your Tarvin 2 Shortcuts menu.");
    RECT link = {7, 164, 224, 176};
    MapDialogRect(hwnd, &link);
    CreateStaticLink(hwnd, data->instance, IDC_ATM_HELP, &link,
                     "Help...\tClick this to view help about your Tarvin 2 shortcut menu.");
    if (!LoadMenu(hwnd, data))
    {
        EndDialog(hwnd, 0);
        return TRUE;
    }
    HWND tree = GetDlgItem(hwnd, IDC_ATM_TREE);
    data->images.Reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 8, 8));
    TreeView_SetImageList(tree, data->images.Get(), TVSIL_NORMAL);
    BuildTree(tree, data);
    return TRUE;
}

void AddToMenuDlg_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    tagADDTOMENU_DATA* data = DialogState<tagADDTOMENU_DATA>(hwnd);
    if (!data)
        return;
    switch (id)
    {
        case IDC_ATM_NEWSUBMENU:
            AddToMenuDlg_OnNewSubmenu(hwnd, data);
            return;
        case IDC_ATM_HELP:
            ShowHelpTopic("tv2.chm::/menufile.html");
            return;
        case IDOK:
            if (AddToMenuDlg_OnOK(hwnd, data))
                EndDialog(hwnd, data->added ? 1 : 0);
            return;
        case IDCANCEL:
            EndDialog(hwnd, 0);
            return;
    }
}

void AddToMenuDlg_OnDestroy(HWND hwnd)
{
    // The tree lets go of its images before they are destroyed.
    TreeView_SetImageList(GetDlgItem(hwnd, IDC_ATM_TREE), nullptr, TVSIL_NORMAL);
    SetDialogState(hwnd, nullptr);
}

INT_PTR CALLBACK AddToMenuDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, AddToMenuDlg_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, AddToMenuDlg_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, AddToMenuDlg_OnDestroy);
    }
    return FALSE;
}

} // namespace

int ShowAddToMenuDialog(HWND mainWnd, HINSTANCE instance, const char* launchPath, bool afterFirstSave)
{
    if (!launchPath || !launchPath[0])
        return 0;
    tagADDTOMENU_DATA data;
    data.launchPath = launchPath;
    data.afterFirstSave = afterFirstSave;
    data.instance = instance;
    data.added = false;
    if (!GetMyTarvinFilesFolder(data.menuPath, kMenuFile))
        return 0;
    INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ADDTOMENU), mainWnd, AddToMenuDlgProc, (LPARAM)&data);
    return result == 1 ? 1 : 0;
}

void OnAddToMenu(HWND mainWnd, HINSTANCE instance)
{
    const char* path = EditorFilePath(mainWnd);
    if (!path || !path[0])
    {
        if (MessageBoxA(
                mainWnd,
                "The launch file must be saved before you can add it to the menu.\n\nWould you like to "
                "save it now?",
                "Save Now?", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        if (!EditorSave(mainWnd, false))
            return;
        path = EditorFilePath(mainWnd);
    }
    ShowAddToMenuDialog(mainWnd, instance, path, false);
}
