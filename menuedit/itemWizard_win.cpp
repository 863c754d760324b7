// The item wizard: a frame with Back, Next/Finish, Cancel and Test, and one
// child page at a time. A page is made when it is entered and destroyed when
// it is left, and writes its controls into the wizard's entry then. Which
// page follows depends on the wizard's flags and the answers given; Back
// walks the pages actually visited, back to the last entry the item callback
// inserted (that entry is in the menu and cannot be made a second time).
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include "meditdlg.h"
#include "winstate.h"
#include "meditmain.h"
#include "dialogs_res.h"
#include "dlgcommon.h"
#include "regutils.h"
#include "EntryProposal.h"
#include "winholders.h"
#include "winutils.h"
#include "xmlutils.h"
#include "strutils.h"

namespace
{

const int kMaxHistory = 64;
const uint32_t kKindFlags = WIZ_ITEM | WIZ_NEWMENU | WIZ_SUBMENU;

struct WizState
{
    tagWIZARD_DATA* wd;
    uint32_t startFlags;
    HWND hwnd;
    int page;
    HWND hPage;
    CGdiObject<HFONT> titleFont;
    int history[kMaxHistory]; // pages visited before the current one
    int depth;
    // What this run did, for the summary.
    int items;
    int submenus;
    bool createdMenu;
    bool saved; // nothing changed since the last save in this run
    bool savedNow;
    bool shortcutsMade;
    // Answers of the pages, kept while the pages come and go.
    bool addAnother;
    bool addSubmenu;
    bool saveNow;
    // The name and icon the name page proposed for the target.
    tagENTRY_PROPOSAL proposal;
};

bool Has(const WizState* ws, uint32_t flag)
{
    return (ws->wd->flags & flag) != 0;
}

// The location page follows the name page for entries placed into a menu
// that exists already.
bool AsksLocation(const WizState* ws)
{
    return Has(ws, WIZ_LOCATION) && !Has(ws, WIZ_NEWMENU);
}

// --- The flow ---------------------------------------------------------------------

int FirstPage(const WizState* ws)
{
    if (Has(ws, WIZ_STARTANOTHER))
        return IDD_WIZ_ANOTHER;
    return Has(ws, WIZ_ITEM) ? IDD_WIZ_TARGET : IDD_WIZ_NAME;
}

// The closing pages after `after` (the add-another, save or shortcuts page);
// 0 to finish.
int ClosingPage(const WizState* ws, int after)
{
    if (after == IDD_WIZ_ANOTHER && Has(ws, WIZ_SAVE) && !ws->saved)
        return IDD_WIZ_SAVE;
    if ((after == IDD_WIZ_ANOTHER || after == IDD_WIZ_SAVE) && Has(ws, WIZ_SHORTCUTS))
        return IDD_WIZ_SHORTCUTS;
    if (after != IDD_WIZ_SUMMARY && Has(ws, WIZ_SUMMARY))
        return IDD_WIZ_SUMMARY;
    return 0;
}

// The page Next leads to from `from` with the answers given so far; 0 when
// Next finishes the wizard.
int NextPage(const WizState* ws, int from)
{
    switch (from)
    {
        case IDD_WIZ_TARGET:
            return IDD_WIZ_NAME;
        case IDD_WIZ_NAME:
            if (AsksLocation(ws))
                return IDD_WIZ_LOCATION;
            return Has(ws, WIZ_ADDANOTHER) ? IDD_WIZ_ANOTHER : 0;
        case IDD_WIZ_LOCATION:
            return Has(ws, WIZ_ADDANOTHER) ? IDD_WIZ_ANOTHER : 0;
        case IDD_WIZ_ANOTHER:
            return ws->addAnother ? IDD_WIZ_WHAT : ClosingPage(ws, IDD_WIZ_ANOTHER);
        case IDD_WIZ_WHAT:
            return ws->addSubmenu ? IDD_WIZ_NAME : IDD_WIZ_TARGET;
        case IDD_WIZ_SAVE:
        case IDD_WIZ_SHORTCUTS:
            return ClosingPage(ws, from);
    }
    return 0;
}

// The entry the wizard starts from for the kind of entry it makes.
void ResetEntry(CMenuItem* e, uint32_t kind)
{
    CMenuItem fresh;
    e->Copy(&fresh);
    if (kind & WIZ_NEWMENU)
    {
        e->SetStyle(MENU_STYLE_SUBMENU | MENU_STYLE_SIDEBAR);
        e->SetText("New Tarvin Menu");
        e->SetIconPath("shell32.dll");
        e->SetIconNumber(4);
    }
    else if (kind & WIZ_SUBMENU)
    {
        e->SetStyle(MENU_STYLE_SUBMENU);
        e->SetText("New Submenu");
        e->SetIconPath("shell32.dll");
        e->SetIconNumber(19);
    }
    else
    {
        e->SetStyle(MENU_STYLE_ITEM);
        e->SetWindowState(RegReadSetting(MEDIT_WINDOW_STATE));
    }
}

const char* PageTitle(const WizState* ws, int page)
{
    bool located = AsksLocation(ws);
    switch (page)
    {
        case IDD_WIZ_TARGET:
            return located ? "Step 1 of 3 - Select target." : "Step 1 of 2 - Select target.";
        case IDD_WIZ_NAME:
            if (Has(ws, WIZ_NEWMENU))
                return "Welcome to the New Menu Wizard.";
            if (Has(ws, WIZ_SUBMENU))
                return "Welcome to the Submenu Wizard.";
            return located ? "Step 2 of 3 - Select name and icon." : "Step 2 of 2 - Select name and icon.";
        case IDD_WIZ_LOCATION:
            return Has(ws, WIZ_ITEM) ? "Step 3 of 3 - Select location." : "Step 2 of 2 - Select location.";
        case IDD_WIZ_ANOTHER:
            return ws->createdMenu || (ws->startFlags & WIZ_NEWMENU) ? "Your new menu has been created."
                                                                     : "Your menu has been opened.";
        case IDD_WIZ_WHAT:
            return "Add a menu item or a submenu.";
        case IDD_WIZ_SAVE:
            return "Save your menu.";
        case IDD_WIZ_SHORTCUTS:
            return "Create menu shortcuts.";
        case IDD_WIZ_SUMMARY:
            return "You have completed the wizard.";
    }
    return "";
}

void Summary(const WizState* ws, char* buf, size_t size)
{
    StrCopy(buf, size, "The wizard has made these changes:\n");
    size_t start = strlen(buf);
    if (ws->createdMenu)
        StrAppend(buf, size, "\nCreated a new menu.");
    char line[64];
    if (ws->submenus == 1)
        StrAppend(buf, size, "\nAdded a sumenu.");
    else if (ws->submenus > 1 && StrFormat(line, sizeof(line), "\nAdded %d submenus.", ws->submenus))
        StrAppend(buf, size, line);
    if (ws->items == 1)
        StrAppend(buf, size, "\nAdded a menu item.");
    else if (ws->items > 1 && StrFormat(line, sizeof(line), "\nAdded %d menu items.", ws->items))
        StrAppend(buf, size, line);
    if (ws->savedNow)
        StrAppend(buf, size, "\nSaved your changes.");
    if (ws->shortcutsMade)
        StrAppend(buf, size, "\nCreated desktop or quick launch shortcuts.");
    if (strlen(buf) == start)
        StrAppend(buf, size, "\nNo changes were made.");
}

// --- Frame buttons ----------------------------------------------------------------

void SetNextEnabled(WizState* ws, bool on)
{
    HWND next = GetDlgItem(ws->hwnd, IDC_WIZ_NEXT);
    EnableWindow(next, on);
    SendMessageA(ws->hwnd, DM_SETDEFID, on ? IDC_WIZ_NEXT : IDCANCEL, 0);
}

// Next reads "Finish" where no page follows, and the page's hint says what
// the button does.
void UpdateButtons(WizState* ws)
{
    bool last = NextPage(ws, ws->page) == 0;
    SetDlgItemTextA(ws->hwnd, IDC_WIZ_NEXT, last ? "Fi&nish" : "&Next >");
    if (ws->hPage)
    {
        const char* hint = "Click Next to continue.";
        if (last)
            hint = ws->page == IDD_WIZ_NAME || ws->page == IDD_WIZ_LOCATION
                       ? "Click Finish to add the new item."
                       : "Click Finish to close this wizard.";
        SetDlgItemTextA(ws->hPage, IDC_WIZ_HINT, hint);
    }
    EnableWindow(GetDlgItem(ws->hwnd, IDC_WIZ_BACK), ws->depth > 0);
    CMenu* menu = ws->wd->menu;
    bool entries = menu && menu->GetMenuTree() && menu->GetMenuTree()->GetSize() > 0;
    EnableWindow(GetDlgItem(ws->hwnd, IDC_WIZ_TEST), entries && ws->wd->owner);
}

void UpdateTargetNext(WizState* ws)
{
    SetNextEnabled(ws, GetWindowTextLengthA(GetDlgItem(ws->hPage, IDC_WIZ_TARGET)) > 0);
}

// --- Location page ----------------------------------------------------------------

HTREEITEM AddSubmenuNodes(HWND tree, HTREEITEM parent, CPtrTree<CMenuItem>* node, uint32_t selectId,
                          HTREEITEM* selected)
{
    CMenuItem* e = node->GetData();
    TVINSERTSTRUCTA ins;
    ZeroMemory(&ins, sizeof(ins));
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = (LPSTR)(e ? e->GetText() : "");
    ins.item.lParam = e ? (LPARAM)e->GetId() : 0;
    HTREEITEM item = (HTREEITEM)SendMessageA(tree, TVM_INSERTITEMA, 0, (LPARAM)&ins);
    if (!item)
        return nullptr;
    if (e && e->GetId() == selectId)
        *selected = item;
    unsigned count = node->GetSize();
    for (unsigned i = 0; i < count; i++)
    {
        CPtrTree<CMenuItem>* child = node->GetAt(i);
        if (child && child->GetData() && (child->GetData()->GetStyle() & MENU_STYLE_SUBMENU))
            AddSubmenuNodes(tree, item, child, selectId, selected);
    }
    TreeView_Expand(tree, item, TVE_EXPAND);
    return item;
}

void FillLocationTree(HWND page, WizState* ws)
{
    HWND tree = GetDlgItem(page, IDC_WIZ_TREE);
    CMenu* menu = ws->wd->menu;
    if (!menu || !menu->GetMenuTree())
        return;
    HTREEITEM selected = nullptr;
    HTREEITEM root = AddSubmenuNodes(tree, TVI_ROOT, menu->GetMenuTree(), ws->wd->locationId, &selected);
    TreeView_SelectItem(tree, selected ? selected : root);
}

void StoreLocation(HWND page, WizState* ws)
{
    HWND tree = GetDlgItem(page, IDC_WIZ_TREE);
    HTREEITEM item = TreeView_GetSelection(tree);
    if (!item)
        return;
    TVITEMA tv;
    ZeroMemory(&tv, sizeof(tv));
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    if (SendMessageA(tree, TVM_GETITEMA, 0, (LPARAM)&tv))
    {
        ws->wd->locationId = (uint32_t)tv.lParam;
        ws->wd->insertAsChild = 1;
    }
}

// --- Pages ------------------------------------------------------------------------

void Page_Init(HWND page, WizState* ws)
{
    SendDlgItemMessageA(page, IDC_WIZ_TITLE, WM_SETFONT, (WPARAM)ws->titleFont.Get(), FALSE);
    SetDlgItemTextA(page, IDC_WIZ_TITLE, PageTitle(ws, ws->page));
    CMenuItem& e = ws->wd->entry;
    switch (ws->page)
    {
        case IDD_WIZ_TARGET:
            SendDlgItemMessageA(page, IDC_WIZ_TARGET, EM_LIMITTEXT, MENU_PATH_SIZE - 1, 0);
            SetDlgItemTextA(page, IDC_WIZ_TARGET, e.GetTarget());
            break;
        case IDD_WIZ_NAME:
            ProposeEntryTextAndIcon(&e, &ws->proposal);
            SendDlgItemMessageA(page, IDC_WIZ_NAME, EM_LIMITTEXT, MENU_TEXT_SIZE - 1, 0);
            SetDlgItemTextA(page, IDC_WIZ_NAME, e.GetText());
            ShowEntryIcon(GetDlgItem(page, IDC_WIZ_ICON), e, ws->wd->instance);
            ShowWindow(GetDlgItem(page, IDC_WIZ_OPENPROPS), Has(ws, WIZ_OPENPROPS) ? SW_SHOW : SW_HIDE);
            CheckDlgButton(page, IDC_WIZ_OPENPROPS, ws->wd->openProperties ? BST_CHECKED : BST_UNCHECKED);
            break;
        case IDD_WIZ_LOCATION:
            FillLocationTree(page, ws);
            break;
        case IDD_WIZ_ANOTHER:
            SetDlgItemTextA(page, IDC_WIZ_QUESTION,
                            ws->createdMenu || (ws->startFlags & WIZ_NEWMENU)
                                ? "Would you like to add items to your new menu now?"
                                : "Would you like to add items to your menu now?");
            CheckRadioButton(page, IDC_WIZ_YES, IDC_WIZ_NO, ws->addAnother ? IDC_WIZ_YES : IDC_WIZ_NO);
            break;
        case IDD_WIZ_WHAT:
            CheckRadioButton(page, IDC_WIZ_ITEM, IDC_WIZ_SUBMENU,
                             ws->addSubmenu ? IDC_WIZ_SUBMENU : IDC_WIZ_ITEM);
            break;
        case IDD_WIZ_SAVE:
            CheckDlgButton(page, IDC_WIZ_SAVENOW, ws->saveNow ? BST_CHECKED : BST_UNCHECKED);
            break;
        case IDD_WIZ_SUMMARY: {
            char text[512];
            Summary(ws, text, sizeof(text));
            SetDlgItemTextA(page, IDC_WIZ_SUMMARY, text);
            break;
        }
    }
}

void Page_Store(HWND page, WizState* ws)
{
    CMenuItem& e = ws->wd->entry;
    char text[MENU_PATH_SIZE];
    switch (ws->page)
    {
        case IDD_WIZ_TARGET:
            GetDlgItemTextA(page, IDC_WIZ_TARGET, text, sizeof(text));
            e.SetTarget(text);
            break;
        case IDD_WIZ_NAME:
            GetDlgItemTextA(page, IDC_WIZ_NAME, text, sizeof(text));
            e.SetText(text);
            if (Has(ws, WIZ_OPENPROPS))
                ws->wd->openProperties = IsDlgButtonChecked(page, IDC_WIZ_OPENPROPS) == BST_CHECKED;
            ShowEntryIcon(GetDlgItem(page, IDC_WIZ_ICON), CMenuItem(), nullptr);
            break;
        case IDD_WIZ_LOCATION:
            StoreLocation(page, ws);
            break;
        case IDD_WIZ_ANOTHER:
            ws->addAnother = IsDlgButtonChecked(page, IDC_WIZ_YES) == BST_CHECKED;
            break;
        case IDD_WIZ_WHAT:
            ws->addSubmenu = IsDlgButtonChecked(page, IDC_WIZ_SUBMENU) == BST_CHECKED;
            break;
        case IDD_WIZ_SAVE:
            ws->saveNow = IsDlgButtonChecked(page, IDC_WIZ_SAVENOW) == BST_CHECKED;
            break;
    }
}

void Page_OnCommand(HWND hwnd, int id, HWND, UINT code)
{
    WizState* ws = DialogState<WizState>(hwnd);
    if (!ws)
        return;
    CMenuItem& e = ws->wd->entry;
    switch (id)
    {
        case IDC_WIZ_TARGET:
            if (code == EN_CHANGE)
                UpdateTargetNext(ws);
            break;
        case IDC_WIZ_BROWSE: {
            char path[MAX_PATH] = "";
            GetDlgItemTextA(hwnd, IDC_WIZ_TARGET, path, sizeof(path));
            if (BrowseTarget(hwnd, ws->wd->apps, path, sizeof(path)))
                SetDlgItemTextA(hwnd, IDC_WIZ_TARGET, path);
            break;
        }
        case IDC_WIZ_CHANGEICON:
            if (PickEntryIcon(hwnd, &e))
                ShowEntryIcon(GetDlgItem(hwnd, IDC_WIZ_ICON), e, ws->wd->instance);
            break;
        case IDC_WIZ_YES:
        case IDC_WIZ_NO:
            if (code == BN_CLICKED)
            {
                ws->addAnother = id == IDC_WIZ_YES;
                UpdateButtons(ws);
            }
            break;
        case IDC_WIZ_SHORTCUTS:
            if (ShowShortcutsDialog(ws->wd->owner, ws->wd->instance, ws->wd->menu))
                ws->shortcutsMade = true;
            break;
    }
}

BOOL Page_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    WizState* ws = (WizState*)lParam;
    SetDialogState(hwnd, ws);
    Page_Init(hwnd, ws);
    return TRUE;
}

void Page_OnDestroy(HWND hwnd)
{
    WizState* ws = DialogState<WizState>(hwnd);
    if (ws)
        Page_Store(hwnd, ws);
    SetDialogState(hwnd, nullptr);
}

INT_PTR CALLBACK PageProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, Page_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, Page_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, Page_OnDestroy);
    }
    return FALSE;
}

// --- Frame ------------------------------------------------------------------------

void LeavePage(WizState* ws)
{
    if (ws->hPage)
        DestroyWindow(ws->hPage);
    ws->hPage = nullptr;
}

void EnterPage(WizState* ws, int page)
{
    ws->page = page;
    ws->hPage = CreateDialogParamA(ws->wd->instance, MAKEINTRESOURCEA(page), ws->hwnd, PageProc, (LPARAM)ws);
    SetNextEnabled(ws, true);
    if (!ws->hPage)
        return;
    ShowPageAt(ws->hwnd, IDC_WIZ_PAGEAREA, ws->hPage);
    UpdateButtons(ws);
    if (page == IDD_WIZ_TARGET)
        UpdateTargetNext(ws);
    FocusFirstControl(ws->hPage);
}

// Entries the wizard hands over: a text with both quote characters could not
// be read back from the menu file.
bool CheckStorable(WizState* ws)
{
    if (ws->wd->entry.IsStorable())
        return true;
    MessageBoxA(ws->hwnd, TAG_VALUE_QUOTES_TEXT, "Menu Item Wizard", MB_OK | MB_ICONWARNING);
    return false;
}

// The item callback inserts the finished entry; counted for the summary.
bool InsertEntry(WizState* ws)
{
    tagWIZARD_DATA* wd = ws->wd;
    if (!wd->itemCallback || !wd->itemCallback(wd))
        return false;
    unsigned long style = wd->entry.GetStyle();
    if (Has(ws, WIZ_NEWMENU))
        ws->createdMenu = true;
    else if (style & MENU_STYLE_SUBMENU)
        ws->submenus++;
    else
        ws->items++;
    ws->saved = false;
    ws->depth = 0; // the entry is in the menu now
    return true;
}

void Frame_OnNext(WizState* ws)
{
    int from = ws->page;
    if (from == IDD_WIZ_TARGET && GetWindowTextLengthA(GetDlgItem(ws->hPage, IDC_WIZ_TARGET)) == 0)
        return;
    LeavePage(ws); // the page writes its answers
    int to = NextPage(ws, from);
    bool callback = Has(ws, WIZ_CALLBACK) &&
                    ((from == IDD_WIZ_NAME && to != IDD_WIZ_LOCATION) || from == IDD_WIZ_LOCATION);
    if ((from == IDD_WIZ_TARGET || from == IDD_WIZ_NAME || callback) && !CheckStorable(ws))
    {
        EnterPage(ws, from);
        return;
    }
    if (callback && !InsertEntry(ws))
    {
        EnterPage(ws, from);
        return;
    }
    if (from == IDD_WIZ_WHAT)
    {
        uint32_t kind = ws->addSubmenu ? WIZ_SUBMENU : WIZ_ITEM;
        ws->wd->flags = (ws->wd->flags & ~kKindFlags) | kind;
        ResetEntry(&ws->wd->entry, kind);
        ClearEntryProposal(&ws->proposal);
        if (kind == WIZ_SUBMENU)
            ws->wd->entry.SetIconNumber(4);
    }
    else if (from == IDD_WIZ_SAVE && ws->saveNow)
    {
        if (!ws->wd->saveCallback || !ws->wd->saveCallback(ws->wd->owner))
        {
            EnterPage(ws, from);
            return;
        }
        ws->saved = true;
        ws->savedNow = true;
        to = NextPage(ws, from);
    }
    if (!to)
    {
        EndDialog(ws->hwnd, 1);
        return;
    }
    if (!callback && ws->depth < kMaxHistory)
        ws->history[ws->depth++] = from;
    EnterPage(ws, to);
}

void Frame_OnBack(WizState* ws)
{
    if (ws->depth <= 0)
        return;
    LeavePage(ws);
    EnterPage(ws, ws->history[--ws->depth]);
}

void Frame_OnTest(WizState* ws)
{
    RECT rc;
    GetWindowRect(GetDlgItem(ws->hwnd, IDC_WIZ_TEST), &rc);
    TestMenuPopup(ws->wd->owner, rc.left, rc.bottom);
}

const char* FrameCaption(uint32_t flags)
{
    if (flags & WIZ_STARTANOTHER)
        return "Add Submenus or Menu Items Wizard";
    if (flags & WIZ_NEWMENU)
        return "New Menu Wizard";
    if (flags & WIZ_SUBMENU)
        return "Submenu Wizard";
    return "Menu Item Wizard";
}

BOOL Frame_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    WizState* ws = (WizState*)lParam;
    ws->hwnd = hwnd;
    SetDialogState(hwnd, ws);
    SetWindowTextA(hwnd, FrameCaption(ws->startFlags));
    ws->titleFont.Reset(CreateBoldFont());
    CenterWindow(hwnd);
    EnterPage(ws, FirstPage(ws));
    return FALSE; // the focus is on the page
}

void Frame_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    WizState* ws = DialogState<WizState>(hwnd);
    if (!ws)
        return;
    switch (id)
    {
        case IDC_WIZ_NEXT:
            Frame_OnNext(ws);
            break;
        case IDC_WIZ_BACK:
            Frame_OnBack(ws);
            break;
        case IDC_WIZ_TEST:
            Frame_OnTest(ws);
            break;
        case IDCANCEL:
            LeavePage(ws);
            EndDialog(hwnd, 0);
            break;
    }
}

// The close box cancels: a half-made entry is never handed over by closing.
void Frame_OnClose(HWND hwnd)
{
    Frame_OnCommand(hwnd, IDCANCEL, nullptr, 0);
}

INT_PTR CALLBACK WizardDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, Frame_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, Frame_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_CLOSE, Frame_OnClose);
    }
    return FALSE;
}

} // namespace

int RunItemWizard(tagWIZARD_DATA* wd)
{
    if (!wd)
        return 0;
    WizState ws;
    ws.wd = wd;
    ws.startFlags = wd->flags;
    ws.hwnd = nullptr;
    ws.page = 0;
    ws.hPage = nullptr;
    ws.depth = 0;
    ws.items = ws.submenus = 0;
    ws.createdMenu = false;
    ws.saved = true;
    ws.savedNow = false;
    ws.shortcutsMade = false;
    ws.addAnother = true;
    ws.addSubmenu = false;
    ws.saveNow = true;
    ClearEntryProposal(&ws.proposal);
    if (!(wd->flags & WIZ_STARTANOTHER))
        ResetEntry(&wd->entry, wd->flags & kKindFlags);
    INT_PTR result =
        DialogBoxParamA(wd->instance, MAKEINTRESOURCEA(IDD_WIZARD), wd->owner, WizardDlgProc, (LPARAM)&ws);
    return result == 1 ? 1 : 0;
}
