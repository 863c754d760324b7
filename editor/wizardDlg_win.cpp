// The editor's wizard: a frame with the picture and the buttons, and one
// child page at a time. A page is made when it is entered and destroyed when
// it is left, and writes its controls into the wizard's data then. The
// action wizard has three branches (files, web pages, backup); the
// use-a-wizard, save-now and add-to-menu pages lead into and out of it.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include "wizardDlg.h"
#include "winstate.h"
#include "wizardDlg_res.h"
#include "editmain.h"
#include "propertiesDlg.h"
#include "AppList.h"
#include "FavList.h"
#include "browseFavsDlg.h"
#include "dirutils_win.h"
#include "filedlg.h"
#include "regutils.h"
#include "editorSettings.h"
#include "winholders.h"
#include "winutils.h"
#include "strutils.h"

namespace
{

const char* const kCaption = "Tarvin Editor Wizard";
const int kDelayMax = 9999;

struct WizardState
{
    tagWIZARD_DATA* data;
    tagWIZARD_PREFS prefs;
    HWND hwnd;
    int page;
    HWND hPage;
    int firstPage; // Back is disabled here
    CGdiObject<HFONT> titleFont;
    HIMAGELIST pageImages; // the item list's icons while a select page is up
};

bool IsSelectPage(int page)
{
    return page == IDD_EWIZ_FILES_SELECT || page == IDD_EWIZ_WEB_SELECT || page == IDD_EWIZ_BACKUP_SELECT;
}

bool IsConfirmPage(int page)
{
    return page == IDD_EWIZ_FILES_CONFIRM || page == IDD_EWIZ_WEB_CONFIRM || page == IDD_EWIZ_BACKUP_CONFIRM;
}

bool IsDelayPage(int page)
{
    return page == IDD_EWIZ_FILES_DELAY || page == IDD_EWIZ_WEB_DELAY;
}

// The branch's pages are numbered from its intro page: intro, select,
// delay or destination, confirm.
int BranchBase(int branch)
{
    return branch == EWIZ_BRANCH_WEB      ? IDD_EWIZ_WEB_INTRO
           : branch == EWIZ_BRANCH_BACKUP ? IDD_EWIZ_BACKUP_INTRO
                                          : IDD_EWIZ_FILES_INTRO;
}

// Files and web pages skip the delay page when the editor inserts no waits.
bool SkipsDelay(WizardState* ws)
{
    return ws->data->branch != EWIZ_BRANCH_BACKUP && !ws->prefs.insertDelay;
}

const char* PageTitle(WizardState* ws, int page)
{
    bool shortRun = SkipsDelay(ws);
    switch (page)
    {
        case IDD_EWIZ_CHOICE:
            return "Welcome to the Tarvin Editor Wizard.";
        case IDD_EWIZ_FILES_INTRO:
            return "Open Files or Applications Wizard";
        case IDD_EWIZ_WEB_INTRO:
            return "Open Web Pages Wizard";
        case IDD_EWIZ_BACKUP_INTRO:
            return "Backup Files Wizard";
        case IDD_EWIZ_FILES_SELECT:
        case IDD_EWIZ_BACKUP_SELECT:
            return shortRun ? "Step 1 of 2: Select Files." : "Step 1 of 3: Select Files.";
        case IDD_EWIZ_WEB_SELECT:
            return shortRun ? "Step 1 of 2: Select Web Pages." : "Step 1 of 3: Select Web Pages.";
        case IDD_EWIZ_FILES_DELAY:
        case IDD_EWIZ_WEB_DELAY:
            return "Step 2 of 3: Select Delay.";
        case IDD_EWIZ_BACKUP_DEST:
            return "Step 2 of 3: Select Destination.";
        case IDD_EWIZ_FILES_CONFIRM:
        case IDD_EWIZ_WEB_CONFIRM:
        case IDD_EWIZ_BACKUP_CONFIRM:
            return shortRun ? "Step 2 of 2: Confirm Selections." : "Step 3 of 3: Confirm Selections.";
        case IDD_EWIZ_USEWIZARD:
            return "Use a Wizard";
        case IDD_EWIZ_SAVENOW:
            return "Save Your Launch File";
        case IDD_EWIZ_ADDTOMENU:
            return "Add to Menu";
    }
    return "";
}

void ReadPrefs(tagWIZARD_PREFS* prefs)
{
    prefs->insertDelay = RegReadSetting(EDITOR_INSERT_DELAY) != 0;
    prefs->insertComments = RegReadSetting(EDITOR_INSERT_COMMENTS) != 0;
    prefs->windowState = EditorWindowState(RegReadSetting(EDITOR_WINDOW_STATE));
}

// A new round of the action wizard starts from nothing.
void ResetActionData(tagWIZARD_DATA* data)
{
    data->branch = EWIZ_BRANCH_FILES;
    data->items.Clear();
    data->delay = 500;
    data->backupMove = false;
    data->destination[0] = '\0';
    data->another = false;
}

void SetNextText(WizardState* ws, const char* text)
{
    SetDlgItemTextA(ws->hwnd, IDC_EWIZ_NEXT, text);
}

void EnableNext(WizardState* ws, bool on)
{
    EnableWindow(GetDlgItem(ws->hwnd, IDC_EWIZ_NEXT), on);
    SendMessageA(ws->hwnd, DM_SETDEFID, on ? IDC_EWIZ_NEXT : IDCANCEL, 0);
}

// --- Item lists --------------------------------------------------------------------

int SelectedItem(HWND page)
{
    return ListView_GetNextItem(GetDlgItem(page, IDC_EWIZ_LIST), -1, LVNI_SELECTED);
}

void UpdateItemButtons(HWND page, WizardState* ws)
{
    int row = SelectedItem(page), count = (int)ws->data->items.GetSize();
    EnableWindow(GetDlgItem(page, IDC_EWIZ_REMOVE), row >= 0);
    EnableWindow(GetDlgItem(page, IDC_EWIZ_UP), row > 0);
    EnableWindow(GetDlgItem(page, IDC_EWIZ_DOWN), row >= 0 && row + 1 < count);
}

void FillItemList(HWND page, WizardState* ws, int select)
{
    HWND list = GetDlgItem(page, IDC_EWIZ_LIST);
    ListView_DeleteAllItems(list);
    if (ws->pageImages)
        ImageList_RemoveAll(ws->pageImages);
    tagWIZARD_DATA* data = ws->data;
    HICON browserIcon = data->favs ? data->favs->GetFavIcon(0) : nullptr;
    unsigned count = data->items.GetSize();
    for (unsigned i = 0; i < count; i++)
    {
        const char* text = data->items.GetAt(i)->text;
        int image = -1;
        if (ws->pageImages)
        {
            // Web pages show the default browser's icon, files their own.
            if (data->branch == EWIZ_BRANCH_WEB)
                image = browserIcon ? ImageList_AddIcon(ws->pageImages, browserIcon) : -1;
            else if (CIcon icon(CAppList::GetIconFromPath(text)); icon.Get())
                image = ImageList_AddIcon(ws->pageImages, icon.Get());
        }
        InsertListRow(list, (int)i, text, image);
    }
    ReselectListRow(list, select < (int)count ? select : (int)count - 1);
    UpdateItemButtons(page, ws);
    EnableNext(ws, count > 0);
}

bool PickApplication(HWND page, WizardState* ws, char* out)
{
    out[0] = '\0';
    return BrowseForApplication(page, ws->data->instance, ws->data->apps, out) && out[0];
}

bool PickWebPage(HWND page, WizardState* ws, char* out)
{
    tagBROWSEFAVS bf;
    ZeroMemory(&bf, sizeof(bf));
    bf.hwndOwner = page;
    bf.hInstance = ws->data->instance;
    bf.pszResult = out;
    bf.pFavList = ws->data->favs;
    out[0] = '\0';
    return BrowseFavorites(&bf) == 1 && out[0];
}

bool PickBackupFile(HWND page, char* out, size_t size)
{
    out[0] = '\0';
    FileDialogOptions options = {"Select a file", "All Files (*.*)\0*.*\0", nullptr, nullptr,
                                 OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY};
    return AskOpenFileName(page, options, out, size) && out[0];
}

void Page_OnAdd(HWND page, WizardState* ws)
{
    // The browsers write up to MAX_PATH bytes.
    char chosen[MAX_PATH];
    bool ok = ws->data->branch == EWIZ_BRANCH_WEB      ? PickWebPage(page, ws, chosen)
              : ws->data->branch == EWIZ_BRANCH_BACKUP ? PickBackupFile(page, chosen, sizeof(chosen))
                                                       : PickApplication(page, ws, chosen);
    if (!ok)
        return;
    tagWIZARD_ITEM* item = new tagWIZARD_ITEM;
    StrCopy(item->text, chosen);
    ws->data->items.Add(item, true);
    FillItemList(page, ws, (int)ws->data->items.GetSize() - 1);
}

void Page_OnRemove(HWND page, WizardState* ws)
{
    int row = SelectedItem(page);
    if (row < 0)
        return;
    ws->data->items.Delete((unsigned)row);
    FillItemList(page, ws, row);
}

void Page_OnMove(HWND page, WizardState* ws, bool up)
{
    int row = SelectedItem(page);
    int count = (int)ws->data->items.GetSize();
    if (row < 0 || (up && row == 0) || (!up && row + 1 >= count))
        return;
    ws->data->items.SwapWithNext((unsigned)(up ? row - 1 : row));
    FillItemList(page, ws, up ? row - 1 : row + 1);
}

void Page_OnBrowseFolder(HWND page)
{
    char folder[MAX_PATH];
    if (BrowseForFolder(page, "Select a destination folder to move or copy the selected files to:", folder))
        SetDlgItemTextA(page, IDC_EWIZ_DEST, folder);
}

// --- Pages -------------------------------------------------------------------------

void UpdateQuestionNext(HWND page, WizardState* ws)
{
    bool yes = IsDlgButtonChecked(page, IDYES) == BST_CHECKED;
    bool more = ws->page == IDD_EWIZ_USEWIZARD || (ws->data->flags & EWIZ_ADDTOMENU);
    SetNextText(ws, yes && more ? "&Next >" : "Fi&nish");
}

void Page_Init(HWND page, WizardState* ws)
{
    tagWIZARD_DATA* data = ws->data;
    SendDlgItemMessageA(page, IDC_EWIZ_TITLE, WM_SETFONT, (WPARAM)ws->titleFont.Get(), FALSE);
    SetDlgItemTextA(page, IDC_EWIZ_TITLE, PageTitle(ws, ws->page));
    SetNextText(ws, "&Next >");
    EnableNext(ws, true);
    if (IsSelectPage(ws->page))
    {
        HWND list = GetDlgItem(page, IDC_EWIZ_LIST);
        RECT rc;
        GetClientRect(list, &rc);
        ListViewColumn column = {"", rc.right - GetSystemMetrics(SM_CXVSCROLL)};
        ws->pageImages = SetUpListView(list, &column, 1, 4, 4);
        FillItemList(page, ws, 0);
        return;
    }
    if (IsDelayPage(ws->page))
    {
        SendDlgItemMessageA(page, IDC_EWIZ_DELAYSPIN, UDM_SETRANGE32, 0, kDelayMax);
        SendDlgItemMessageA(page, IDC_EWIZ_DELAYSPIN, UDM_SETPOS32, 0, data->delay);
        SetDlgItemInt(page, IDC_EWIZ_DELAY, (UINT)data->delay, FALSE);
        ShowWindow(GetDlgItem(page, IDC_EWIZ_SINGLE), data->items.GetSize() == 1 ? SW_SHOW : SW_HIDE);
        return;
    }
    if (IsConfirmPage(ws->page))
    {
        char text[1024];
        WizardSummary(*ws->data, ws->prefs, text, sizeof(text));
        SetDlgItemTextA(page, IDC_EWIZ_SUMMARY, text);
        CheckDlgButton(page, IDC_EWIZ_ANOTHER, data->another ? BST_CHECKED : BST_UNCHECKED);
        SetNextText(ws, "Fi&nish");
        return;
    }
    switch (ws->page)
    {
        case IDD_EWIZ_CHOICE:
            CheckRadioButton(page, IDC_EWIZ_FILES, IDC_EWIZ_BACKUP, data->branch);
            return;
        case IDD_EWIZ_BACKUP_DEST:
            SendDlgItemMessageA(page, IDC_EWIZ_DEST, EM_LIMITTEXT, MAX_PATH - 1, 0);
            SetDlgItemTextA(page, IDC_EWIZ_DEST, data->destination);
            CheckRadioButton(page, IDC_EWIZ_MOVE, IDC_EWIZ_COPY,
                             data->backupMove ? IDC_EWIZ_MOVE : IDC_EWIZ_COPY);
            EnableNext(ws, data->destination[0] != '\0');
            return;
        case IDD_EWIZ_USEWIZARD:
        case IDD_EWIZ_SAVENOW:
            // After Open the file is not new.
            if (ws->page == IDD_EWIZ_USEWIZARD && !(data->flags & EWIZ_USEWIZARD))
                SetDlgItemTextA(page, IDC_EWIZ_TEXT1, "Your launch file has been opened.");
            CheckRadioButton(page, IDYES, IDNO, IDYES);
            UpdateQuestionNext(page, ws);
            return;
        case IDD_EWIZ_ADDTOMENU:
            SetNextText(ws, "Fi&nish");
            return;
    }
}

// Writes the page's controls into the data; the page is about to go.
void Page_Store(HWND page, WizardState* ws)
{
    tagWIZARD_DATA* data = ws->data;
    if (IsDelayPage(ws->page))
    {
        BOOL ok = FALSE;
        UINT delay = GetDlgItemInt(page, IDC_EWIZ_DELAY, &ok, FALSE);
        if (ok)
            data->delay = delay > (UINT)kDelayMax ? kDelayMax : (int)delay;
    }
    else if (IsConfirmPage(ws->page))
        data->another = IsDlgButtonChecked(page, IDC_EWIZ_ANOTHER) == BST_CHECKED;
    else if (ws->page == IDD_EWIZ_CHOICE)
    {
        int branch = IsDlgButtonChecked(page, IDC_EWIZ_WEB) == BST_CHECKED      ? EWIZ_BRANCH_WEB
                     : IsDlgButtonChecked(page, IDC_EWIZ_BACKUP) == BST_CHECKED ? EWIZ_BRANCH_BACKUP
                                                                                : EWIZ_BRANCH_FILES;
        // Items of one kind mean nothing to another branch.
        if (branch != data->branch)
            data->items.Clear();
        data->branch = branch;
    }
    else if (ws->page == IDD_EWIZ_BACKUP_DEST)
    {
        GetDlgItemTextA(page, IDC_EWIZ_DEST, data->destination, sizeof(data->destination));
        TrimStr(data->destination);
        data->backupMove = IsDlgButtonChecked(page, IDC_EWIZ_MOVE) == BST_CHECKED;
    }
}

BOOL Page_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    WizardState* ws = (WizardState*)lParam;
    SetDialogState(hwnd, ws);
    Page_Init(hwnd, ws);
    return TRUE;
}

void Page_OnCommand(HWND hwnd, int id, HWND, UINT code)
{
    WizardState* ws = DialogState<WizardState>(hwnd);
    if (!ws)
        return;
    switch (id)
    {
        case IDC_EWIZ_ADD:
            Page_OnAdd(hwnd, ws);
            return;
        case IDC_EWIZ_REMOVE:
            Page_OnRemove(hwnd, ws);
            return;
        case IDC_EWIZ_UP:
        case IDC_EWIZ_DOWN:
            Page_OnMove(hwnd, ws, id == IDC_EWIZ_UP);
            return;
        case IDC_EWIZ_BROWSE:
            Page_OnBrowseFolder(hwnd);
            return;
        case IDC_EWIZ_DEST:
            if (code == EN_CHANGE)
                EnableNext(ws, GetWindowTextLengthA(GetDlgItem(hwnd, IDC_EWIZ_DEST)) > 0);
            return;
        case IDYES:
        case IDNO:
            UpdateQuestionNext(hwnd, ws);
            return;
        case IDC_EWIZ_ADDMENU:
            ShowAddToMenuDialog(ws->data->mainWnd, ws->data->instance, EditorFilePath(ws->data->mainWnd),
                                true);
            return;
    }
}

LRESULT Page_OnNotify(HWND hwnd, int id, NMHDR* nm)
{
    WizardState* ws = DialogState<WizardState>(hwnd);
    if (ws && id == IDC_EWIZ_LIST && nm->code == LVN_ITEMCHANGED)
        UpdateItemButtons(hwnd, ws);
    return 0;
}

void Page_OnDestroy(HWND hwnd)
{
    WizardState* ws = DialogState<WizardState>(hwnd);
    if (!ws)
        return;
    Page_Store(hwnd, ws);
    if (ws->pageImages)
        ReleaseListViewImages(GetDlgItem(hwnd, IDC_EWIZ_LIST), ws->pageImages);
    ws->pageImages = nullptr;
    SetDialogState(hwnd, nullptr);
}

INT_PTR CALLBACK PageProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, Page_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, Page_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_NOTIFY, Page_OnNotify);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, Page_OnDestroy);
    }
    return FALSE;
}

// --- Frame -------------------------------------------------------------------------

void LeavePage(WizardState* ws)
{
    if (ws->hPage)
        DestroyWindow(ws->hPage);
    ws->hPage = nullptr;
}

void EnterPage(WizardState* ws, int page)
{
    LeavePage(ws);
    ws->page = page;
    ws->hPage =
        CreateDialogParamA(ws->data->instance, MAKEINTRESOURCEA(page), ws->hwnd, PageProc, (LPARAM)ws);
    EnableWindow(GetDlgItem(ws->hwnd, IDC_EWIZ_BACK), page != ws->firstPage);
    if (!ws->hPage)
        return;
    ShowPageAt(ws->hwnd, IDC_EWIZ_PAGEAREA, ws->hPage);
    FocusFirstControl(ws->hPage);
}

bool InsertIntoEditor(void* context, const char* line)
{
    return EditorInsertLine((HWND)context, line);
}

bool CountLine(void*, const char*)
{
    return true;
}

// Puts the round's lines into the launch file: all of them or, when one
// item cannot be written as a line, none.
bool FinishRound(WizardState* ws)
{
    char browser[MAX_PATH] = "";
    if (ws->data->branch == EWIZ_BRANCH_WEB)
        GetDefaultBrowserPath(browser, sizeof(browser));
    if (BuildWizardLines(*ws->data, ws->prefs, browser, CountLine, nullptr) < 0)
    {
        MessageBoxA(ws->hwnd,
                    "One of the selected items cannot be written into a launch file.\n\nRemove items that "
                    "contain double quotes or are too long, and try again.",
                    kCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    BuildWizardLines(*ws->data, ws->prefs, browser, InsertIntoEditor, ws->data->mainWnd);
    return true;
}

// The page after the action wizard's last round.
int PageAfterActions(WizardState* ws)
{
    const char* path = EditorFilePath(ws->data->mainWnd);
    if ((ws->data->flags & EWIZ_SAVENOW) && !(path && path[0]))
        return IDD_EWIZ_SAVENOW;
    return 0;
}

void EndWizard(WizardState* ws, INT_PTR result)
{
    LeavePage(ws);
    EndDialog(ws->hwnd, result);
}

void Frame_OnNext(WizardState* ws)
{
    int from = ws->page;
    tagWIZARD_DATA* data = ws->data;
    bool yes = ws->hPage && IsDlgButtonChecked(ws->hPage, IDYES) == BST_CHECKED;
    if (from == IDD_EWIZ_USEWIZARD)
    {
        if (!yes)
            return EndWizard(ws, 1);
        return EnterPage(ws, IDD_EWIZ_CHOICE);
    }
    if (from == IDD_EWIZ_SAVENOW)
    {
        if (!yes)
            return EndWizard(ws, 1);
        if (!EditorSave(data->mainWnd, false))
            return;
        if (!(data->flags & EWIZ_ADDTOMENU))
            return EndWizard(ws, 1);
        ws->firstPage = IDD_EWIZ_ADDTOMENU;
        return EnterPage(ws, IDD_EWIZ_ADDTOMENU);
    }
    if (from == IDD_EWIZ_ADDTOMENU)
        return EndWizard(ws, 1);
    if (IsConfirmPage(from))
    {
        LeavePage(ws); // stores the "use another wizard" tick
        if (!FinishRound(ws))
            return EnterPage(ws, from);
        if (data->another)
        {
            ResetActionData(data);
            ws->firstPage = IDD_EWIZ_CHOICE;
            return EnterPage(ws, IDD_EWIZ_CHOICE);
        }
        int next = PageAfterActions(ws);
        if (!next)
            return EndWizard(ws, 1);
        ws->firstPage = next;
        return EnterPage(ws, next);
    }
    if (from == IDD_EWIZ_CHOICE)
    {
        LeavePage(ws); // stores the branch
        return EnterPage(ws, BranchBase(data->branch));
    }
    if (from == IDD_EWIZ_BACKUP_DEST)
    {
        // Blanks alone name no folder.
        LeavePage(ws);
        if (!data->destination[0])
            return EnterPage(ws, from);
    }
    int base = BranchBase(data->branch);
    int step = from - base;
    if (step == 1 && SkipsDelay(ws))
        step = 2;
    EnterPage(ws, base + step + 1);
}

void Frame_OnBack(WizardState* ws)
{
    int from = ws->page;
    if (from == ws->firstPage)
        return;
    if (from == IDD_EWIZ_CHOICE)
        return EnterPage(ws, IDD_EWIZ_USEWIZARD);
    int base = BranchBase(ws->data->branch);
    if (from == base)
        return EnterPage(ws, IDD_EWIZ_CHOICE);
    int step = from - base;
    if (step == 3 && SkipsDelay(ws))
        step = 2;
    EnterPage(ws, base + step - 1);
}

BOOL Frame_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    WizardState* ws = (WizardState*)lParam;
    ws->hwnd = hwnd;
    SetDialogState(hwnd, ws);
    CenterWindow(hwnd);
    ws->titleFont.Reset(CreateBoldFont());
    unsigned flags = ws->data->flags;
    ws->firstPage = (flags & (EWIZ_USEWIZARD | EWIZ_USEWIZARD2))     ? IDD_EWIZ_USEWIZARD
                    : (flags & EWIZ_ACTIONS)                         ? IDD_EWIZ_CHOICE
                    : (flags & EWIZ_SAVENOW) && PageAfterActions(ws) ? IDD_EWIZ_SAVENOW
                                                                     : IDD_EWIZ_ADDTOMENU;
    EnterPage(ws, ws->firstPage);
    return FALSE; // the focus is on the page
}

void Frame_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    WizardState* ws = DialogState<WizardState>(hwnd);
    if (!ws)
        return;
    switch (id)
    {
        case IDC_EWIZ_NEXT:
            Frame_OnNext(ws);
            break;
        case IDC_EWIZ_BACK:
            Frame_OnBack(ws);
            break;
        case IDCANCEL:
            EndWizard(ws, 0);
            break;
    }
}

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

int RunEditorWizard(HWND mainWnd, HINSTANCE instance, unsigned flags)
{
    tagWIZARD_DATA data;
    // A file made by New is offered a save and a place in the menu after
    // the wizard has filled it.
    if (flags & EWIZ_USEWIZARD)
        flags |= EWIZ_SAVENOW | EWIZ_ADDTOMENU;
    data.flags = flags;
    data.instance = instance;
    data.mainWnd = mainWnd;
    data.apps = EditorAppList(mainWnd);
    data.favs = EditorFavList(mainWnd);
    WizardState ws;
    ws.data = &data;
    ReadPrefs(&ws.prefs);
    ws.hwnd = nullptr;
    ws.page = 0;
    ws.hPage = nullptr;
    ws.firstPage = 0;
    ws.pageImages = nullptr;
    INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_EWIZ_FRAME), mainWnd, WizardDlgProc, (LPARAM)&ws);
    return result == 1 ? 1 : 0;
}
