// tvmedit: the menu editor. The menu's submenus as a tree on the left, the
// entries of the selected submenu as a list on the right, a toolbar above and
// a status bar below; edits stay in memory until Save.
//
//     tvmedit [-file="<menu file>"]
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <objbase.h>
#include <new>

#include "meditstate.h"
#include "winstate.h"
#include "medit_res.h"
#include "meditdlg.h"
#include "meditmain.h"
#include "tvtip.h"
#include "dirutils_win.h"
#include "regutils.h"
#include "thmutils.h"
#include "winutils.h"
#include "mainwnd.h"
#include "strutils.h"

HINSTANCE g_hInst;

static const UINT_PTR kTutorialTimer = 1;

static void ShowTipOfTheDay(MeditState* st)
{
    char tips[MAX_PATH], picture[MAX_PATH];
    GetMyDir(tips, sizeof(tips), "tvdt.sys");
    GetMyDir(picture, sizeof(picture), "tvtip.sys");
    TIPS_DATA td = {st->hwnd, g_hInst, "Tip of the Day", tips, "Tarvin Menu Editor", picture};
    ShowTips(&td);
}

static void OnStartupWizard(MeditState* st)
{
    switch (ShowStartupWizard(st->hwnd, g_hInst, &st->testFull))
    {
        case 1:
            OnNew(st);
            break;
        case 2:
            OnOpen(st);
            break;
        case 3:
            OnOpenTarvinMenu(st);
            break;
    }
    LayoutWindow(st);
    UpdateUI(st);
}

// --- Pop-up menus ----------------------------------------------------------------------

struct PopupEntry
{
    int command; // 0: separator
    const char* text;
    int icon;
};

static const PopupEntry kInsertEntries[] = {
    {IDM_ITEMWIZARD, "Menu Item Wizard...\tIns", IDI_WIZARD},
    {0, nullptr, 0},
    {IDM_APPSHORTCUT, "Application Shortcut...\tCtrl+F9", IDI_APPSHORTCUT},
    {IDM_LAUNCHSHORTCUT, "Launch File Shortcut...\tCtrl+F10", IDI_LAUNCHSHORTCUT},
    {IDM_WEBSHORTCUT, "Website Shortcut...\tCtrl+F11", IDI_WEBSHORTCUT},
    {0, nullptr, 0},
    {IDM_INSERTSUBMENU, "Submenu...\tCtrl+Ins", IDI_SUBMENU},
    {0, nullptr, 0},
    {IDM_INSERTSEPARATOR, "Separator\tCtrl+F12", IDI_SEPARATOR},
};

static void AppendEntries(HMENU menu, const PopupEntry* entries, size_t count)
{
    for (size_t i = 0; i < count; i++)
    {
        if (entries[i].command)
            MenuXP_AppendItem(menu, (unsigned)entries[i].command, entries[i].text,
                              LoadSmallIcon(entries[i].icon), nullptr);
        else
            MenuXP_AppendSeparator(menu);
    }
}

static HMENU CreateInsertMenu()
{
    HMENU menu = CreatePopupMenu();
    if (menu)
        AppendEntries(menu, kInsertEntries, sizeof(kInsertEntries) / sizeof(kInsertEntries[0]));
    return menu;
}

static void TrackOwnerDrawn(MeditState* st, HMENU menu, int x, int y)
{
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON, x, y, 0, st->hwnd, nullptr);
    MenuXP_DestroyMenu(menu, 0, 1, 0);
}

static void ShowInsertMenu(MeditState* st)
{
    HMENU menu = CreateInsertMenu();
    if (!menu)
        return;
    POINT pt;
    GetCursorPos(&pt);
    RECT rc;
    if (st->hToolbar && IsWindowVisible(st->hToolbar) &&
        SendMessageA(st->hToolbar, TB_GETRECT, IDM_INSERTMENU, (LPARAM)&rc))
    {
        MapWindowPoints(st->hToolbar, nullptr, (POINT*)&rc, 2);
        pt.x = rc.left;
        pt.y = rc.bottom;
    }
    TrackOwnerDrawn(st, menu, pt.x, pt.y);
}

static void MainWnd_OnContextMenu(HWND hwnd, HWND hwndContext, UINT x, UINT y)
{
    MeditState* st = GetMeditState(hwnd);
    POINT pt = {(int)(short)x, (int)(short)y};
    if (x == (UINT)-1 && y == (UINT)-1)
        GetCursorPos(&pt);
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    if (!st->menuOpen)
    {
        static const PopupEntry kClosed[] = {{IDM_NEW, "New...\tCtrl+N", IDI_NEW},
                                             {IDM_OPEN, "Open...\tCtrl+O", IDI_OPEN},
                                             {0, nullptr, 0},
                                             {IDM_PREFERENCES, "Preferences...\tCtrl+O", IDI_PROPERTIES}};
        AppendEntries(menu, kClosed, sizeof(kClosed) / sizeof(kClosed[0]));
        TrackOwnerDrawn(st, menu, pt.x, pt.y);
        return;
    }
    bool overTree = hwndContext == st->hTree;
    if (overTree)
    {
        // A right click picks the node under the mouse, as a left click does.
        TVHITTESTINFO hit;
        ZeroMemory(&hit, sizeof(hit));
        hit.pt = pt;
        ScreenToClient(st->hTree, &hit.pt);
        HTREEITEM item = TreeView_HitTest(st->hTree, &hit);
        if (item && (hit.flags & TVHT_ONITEM))
            TreeView_SelectItem(st->hTree, item);
        ListView_SetItemState(st->hList, -1, 0, LVIS_SELECTED);
        st->treeHasFocus = true;
    }
    else if (hwndContext == st->hList)
        st->treeHasFocus = false;
    bool listSelection = !overTree && SelectedListRow(st) >= 0;
    bool selection = overTree || listSelection;
    if (selection)
        MenuXP_AppendItem(menu, IDM_PROPERTIES, "Properties\tEnter", LoadSmallIcon(IDI_PROPERTIES), nullptr);
    HMENU insert = CreateInsertMenu();
    if (insert)
        MenuXP_AppendMenu(menu, insert, "Insert", LoadSmallIcon(IDI_INSERT));
    if (selection)
        MenuXP_AppendItem(menu, IDM_DELETE, "Delete\tDel", LoadSmallIcon(IDI_DELETE), nullptr);
    if (listSelection)
    {
        MenuXP_AppendSeparator(menu);
        MenuXP_AppendItem(menu, IDM_MOVEUP, "Move Up", LoadSmallIcon(IDI_MOVEUP), nullptr);
        MenuXP_AppendItem(menu, IDM_MOVEDOWN, "Move Down", LoadSmallIcon(IDI_MOVEDOWN), nullptr);
        MenuXP_AppendItem(menu, IDM_SORT, "Sort Alphabetically", LoadSmallIcon(IDI_SORT), nullptr);
    }
    UpdateUI(st);
    TrackOwnerDrawn(st, menu, pt.x, pt.y);
}

// --- Commands ---------------------------------------------------------------------------

static void MainWnd_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    MeditState* st = GetMeditState(hwnd);
    if (OnRecentMenu(st, id))
        return;
    switch (id)
    {
        case IDM_STARTUPWIZARD:
            OnStartupWizard(st);
            break;
        case IDM_NEW:
            OnNew(st);
            break;
        case IDM_OPEN:
            OnOpen(st);
            break;
        case IDM_OPENTARVIN:
            OnOpenTarvinMenu(st);
            break;
        case IDM_SAVE:
            OnSave(st);
            break;
        case IDM_SAVEAS:
            OnSaveAs(st);
            break;
        case IDM_SHORTCUTS:
            if (st->menuOpen)
                ShowShortcutsDialog(hwnd, g_hInst, &st->menu);
            break;
        case IDM_PREFERENCES:
            ShowPreferences(hwnd, g_hInst, &st->testFull);
            break;
        case IDM_EXIT:
            SendMessageA(hwnd, WM_CLOSE, 0, 0);
            break;
        case IDM_UNDO:
            Undo(hwnd);
            break;
        case IDM_REDO:
            Redo(hwnd);
            break;
        case IDM_CUT:
            if (st->menuOpen)
                CutEntry(st);
            break;
        case IDM_COPY:
            if (st->menuOpen)
                CopyEntry(st);
            break;
        case IDM_PASTE:
            PasteEntry(st);
            break;
        case IDM_VIEWTOOLBAR:
            st->showToolbar = !st->showToolbar;
            LayoutWindow(st);
            break;
        case IDM_VIEWSTATUSBAR:
            st->showStatus = !st->showStatus;
            LayoutWindow(st);
            break;
        case IDM_ITEMWIZARD:
        case IDM_APPSHORTCUT:
        case IDM_LAUNCHSHORTCUT:
        case IDM_WEBSHORTCUT:
        case IDM_INSERTSUBMENU:
        case IDM_INSERTSEPARATOR:
            OnInsertCommand(st, id);
            break;
        case IDM_INSERTMENU:
            ShowInsertMenu(st);
            break;
        case IDM_DELETE:
            if (st->menuOpen)
                DeleteEntry(st, true);
            break;
        case IDM_PROPERTIES:
            OnProperties(st);
            break;
        case IDM_MOVEUP:
            MoveEntry(st, true);
            break;
        case IDM_MOVEDOWN:
            MoveEntry(st, false);
            break;
        case IDM_SORT:
            SortSelectedMenu(st);
            break;
        case IDM_TEST:
            TestMenu(st);
            break;
        case IDM_HELPCONTENTS:
            ShowHelpTopic("tv2.chm::/tvmedit_main.html");
            break;
        case IDM_TIPOFTHEDAY:
            ShowTipOfTheDay(st);
            break;
        case IDM_ABOUT:
            ShowAboutBox(hwnd, g_hInst, IDD_ABOUT);
            break;
    }
}

static const char* ToolTipText(int id)
{
    switch (id)
    {
        case IDM_NEW:
            return "New";
        case IDM_OPEN:
            return "Open";
        case IDM_SAVE:
            return "Save";
        case IDM_DELETE:
            return "Delete Menu Item";
        case IDM_PROPERTIES:
            return "Edit Item Properties";
        case IDM_SORT:
            return "Sort Alphabetically";
        case IDM_TEST:
            return "Test Menu";
        case IDM_MOVEUP:
            return "Move Item Up";
        case IDM_MOVEDOWN:
            return "Move Item Down";
        case IDM_ITEMWIZARD:
        case IDM_INSERTMENU:
            return "Insert Menu Item";
        case IDM_HELPCONTENTS:
            return "Help Contents";
        case IDM_ABOUT:
            return "About Tarvin Menu Editor";
    }
    return "";
}

static void OnListDoubleClick(MeditState* st)
{
    long id = SelectedListId(st);
    CPtrTree<CMenuItem>* node = id >= 0 ? st->menu.FindItem((unsigned long)id) : nullptr;
    if (!node)
        return;
    if (node->GetData()->GetStyle() & MENU_STYLE_SUBMENU)
    {
        SelectTreeNode(st, (unsigned long)id);
        return;
    }
    st->treeHasFocus = false;
    DoProperties(st->hwnd, node->GetData());
}

static LRESULT MainWnd_OnNotify(HWND hwnd, int, NMHDR* nm)
{
    MeditState* st = GetMeditState(hwnd);
    switch (nm->code)
    {
        case TTN_GETDISPINFOA: {
            NMTTDISPINFOA* di = (NMTTDISPINFOA*)nm;
            StrCopy(di->szText, ToolTipText((int)nm->idFrom));
            di->lpszText = di->szText;
            return 0;
        }
        case TBN_GETINFOTIPA: {
            NMTBGETINFOTIPA* tip = (NMTBGETINFOTIPA*)nm;
            StrCopy(tip->pszText, (size_t)tip->cchTextMax, ToolTipText(tip->iItem));
            return 0;
        }
        case TBN_DROPDOWN:
            if (((NMTOOLBARA*)nm)->iItem == IDM_INSERTMENU && st->menuOpen)
                ShowInsertMenu(st);
            return TBDDRET_DEFAULT;
    }
    if (nm->hwndFrom == st->hToolbar && nm->code == NM_CUSTOMDRAW)
        return TBDrawBackground(st->hToolbar, (NMCUSTOMDRAW*)nm);
    if (nm->hwndFrom == st->hTree)
    {
        switch (nm->code)
        {
            case TVN_SELCHANGEDA:
            case TVN_SELCHANGEDW:
                if (!st->building)
                {
                    st->treeHasFocus = true;
                    BuildList(st);
                }
                break;
            case NM_SETFOCUS:
            case NM_CLICK:
                st->treeHasFocus = true;
                UpdateUI(st);
                break;
            case NM_DBLCLK:
                st->treeHasFocus = true;
                OnProperties(st);
                return 1;
        }
        return 0;
    }
    if (nm->hwndFrom == st->hList)
    {
        switch (nm->code)
        {
            case NM_SETFOCUS:
            case NM_CLICK:
                st->treeHasFocus = false;
                UpdateUI(st);
                break;
            case LVN_ITEMCHANGED:
                if (!st->building)
                {
                    if (SelectedListRow(st) >= 0)
                        st->treeHasFocus = false;
                    UpdateUI(st);
                }
                break;
            case NM_DBLCLK:
                OnListDoubleClick(st);
                break;
            case LVN_BEGINDRAG:
                BeginListDrag(st, ((NMLISTVIEW*)nm)->iItem);
                break;
            case LVN_GETDISPINFOA:
                GetListRowImage(st, (NMLVDISPINFOA*)nm);
                break;
        }
    }
    return 0;
}

// --- Window -------------------------------------------------------------------------------

static BOOL MainWnd_OnNCCreate(HWND hwnd, LPCREATESTRUCT cs)
{
    MeditState* st = (MeditState*)cs->lpCreateParams;
    st->hwnd = hwnd;
    SetWindowState(hwnd, st);
    return FORWARD_WM_NCCREATE(hwnd, cs, DefWindowProcA);
}

static void MainWnd_OnMeasureItem(HWND hwnd, MEASUREITEMSTRUCT* mis)
{
    MeditState* st = GetMeditState(hwnd);
    const tagMENUXP_ITEMDATA* data = (const tagMENUXP_ITEMDATA*)mis->itemData;
    MenuXP_MeasureItem(mis, data && data->nKind == MENUXP_KIND_SIDEBAR ? &st->diSidebar : &st->diItem);
}

static void MainWnd_OnDrawItem(HWND hwnd, const DRAWITEMSTRUCT* dis)
{
    MeditState* st = GetMeditState(hwnd);
    MenuXP_DrawEntry(dis, &st->diItem, &st->diSidebar);
}

// While the tutorial has moved the window, its place is not the user's.
static void RememberWindowRect(MeditState* st)
{
    if (!st->tutorialWnd)
        RememberFrameRect(st);
}

static void MainWnd_OnSize(HWND hwnd, UINT state, int, int)
{
    MeditState* st = GetMeditState(hwnd);
    if (state == SIZE_MINIMIZED)
        return;
    RememberWindowRect(st);
    LayoutWindow(st);
}

static void MainWnd_OnMove(HWND hwnd, int, int)
{
    RememberWindowRect(GetMeditState(hwnd));
}

// The keyboard goes on in the view that had it last.
static void MainWnd_OnSetFocus(HWND hwnd, HWND)
{
    MeditState* st = GetMeditState(hwnd);
    if (!st->menuOpen)
        return;
    HWND view = st->treeHasFocus ? st->hTree : st->hList;
    if (view && IsWindowVisible(view))
        SetFocus(view);
}

static void MainWnd_OnInitMenuPopup(HWND hwnd, HMENU, UINT, BOOL)
{
    // The clipboard may have changed in another program.
    UpdateUI(GetMeditState(hwnd));
}

// Another program's window gave the activation back: the file may have been
// saved meanwhile. Only a change of program counts, so the question's own box
// closing does not ask again.
static void MainWnd_OnActivateApp(HWND hwnd, BOOL activate, DWORD)
{
    MeditState* st = GetMeditState(hwnd);
    if (!activate)
        return;
    UpdateUI(st);
    if (st->menuOpen && !st->askingReload)
        PostMessageA(hwnd, WM_MEDIT_CHECKFILE, 0, 0);
}

// A dialog ended: a comparison with the file that waited for it is made now.
static void MainWnd_OnEnable(HWND hwnd, BOOL enable)
{
    MeditState* st = GetMeditState(hwnd);
    if (enable && st->checkPending)
    {
        st->checkPending = false;
        PostMessageA(hwnd, WM_MEDIT_CHECKFILE, 0, 0);
    }
}

static void EndTutorialLayout(MeditState* st)
{
    if (!st->tutorialWnd)
        return;
    KillTimer(st->hwnd, kTutorialTimer);
    st->tutorialWnd = nullptr;
    const RECT& r = st->tutorialRect;
    MoveWindow(st->hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

static void MainWnd_OnTutorial(MeditState* st, HWND help)
{
    if (!help || !IsWindow(help))
        return;
    if (!st->tutorialWnd)
        GetWindowRect(st->hwnd, &st->tutorialRect);
    st->tutorialWnd = help;
    RECT work, helpRect;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(help, &helpRect);
    int left = helpRect.right < work.right - 100 ? helpRect.right : work.left + (work.right - work.left) / 2;
    if (IsZoomed(st->hwnd))
        ShowWindow(st->hwnd, SW_RESTORE);
    MoveWindow(st->hwnd, left, work.top, work.right - left, work.bottom - work.top, TRUE);
    SetTimer(st->hwnd, kTutorialTimer, 500, nullptr);
}

static POINT ScreenPoint(HWND hwnd, int x, int y)
{
    POINT pt = {x, y};
    ClientToScreen(hwnd, &pt);
    return pt;
}

static void MainWnd_OnMouseMove(HWND hwnd, int x, int y, UINT)
{
    TrackListDrag(GetMeditState(hwnd), ScreenPoint(hwnd, x, y));
}

static void MainWnd_OnLButtonUp(HWND hwnd, int x, int y, UINT)
{
    EndListDrag(GetMeditState(hwnd), ScreenPoint(hwnd, x, y), true);
}

static void MainWnd_OnCaptureChanged(HWND hwnd)
{
    EndListDrag(GetMeditState(hwnd), POINT{0, 0}, false);
}

static void MainWnd_OnTimer(HWND hwnd, UINT id)
{
    MeditState* st = GetMeditState(hwnd);
    if (id == kTutorialTimer && (!st->tutorialWnd || !IsWindow(st->tutorialWnd)))
        EndTutorialLayout(st);
}

static void MainWnd_OnClose(HWND hwnd)
{
    MeditState* st = GetMeditState(hwnd);
    if (!ConfirmSave(st))
        return;
    EndTutorialLayout(st);
    DestroyWindow(hwnd);
}

// Log-off or shut-down asks as closing does: FALSE keeps the session waiting
// (Cancel, or a save that failed).
static BOOL MainWnd_OnQueryEndSession(HWND hwnd)
{
    return ConfirmSave(GetMeditState(hwnd));
}

static void MainWnd_OnDestroy(HWND hwnd)
{
    MeditState* st = GetMeditState(hwnd);
    KillTimer(hwnd, kTutorialTimer);
    SaveSettings(st);
    if (st->hList)
        ListView_SetImageList(st->hList, nullptr, LVSIL_SMALL);
    if (st->hTree)
        TreeView_SetImageList(st->hTree, nullptr, TVSIL_NORMAL);
    if (st->hToolbar)
        SendMessageA(st->hToolbar, TB_SETIMAGELIST, 0, 0);
    MenuXP_FreeDrawInfo(&st->diItem);
    MenuXP_FreeDrawInfo(&st->diSidebar);
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    MeditState* st = GetMeditState(hwnd);
    switch (msg)
    {
        HANDLE_MSG(hwnd, WM_NCCREATE, MainWnd_OnNCCreate);
        HANDLE_MSG(hwnd, WM_COMMAND, MainWnd_OnCommand);
        HANDLE_MSG(hwnd, WM_MOUSEMOVE, MainWnd_OnMouseMove);
        HANDLE_MSG(hwnd, WM_LBUTTONUP, MainWnd_OnLButtonUp);
        HANDLE_MSG(hwnd, WM_NOTIFY, MainWnd_OnNotify);
        HANDLE_MSG(hwnd, WM_CONTEXTMENU, MainWnd_OnContextMenu);
        HANDLE_MSG(hwnd, WM_MEASUREITEM, MainWnd_OnMeasureItem);
        HANDLE_MSG(hwnd, WM_DRAWITEM, MainWnd_OnDrawItem);
        HANDLE_MSG(hwnd, WM_SIZE, MainWnd_OnSize);
        HANDLE_MSG(hwnd, WM_MOVE, MainWnd_OnMove);
        HANDLE_MSG(hwnd, WM_INITMENUPOPUP, MainWnd_OnInitMenuPopup);
        HANDLE_MSG(hwnd, WM_SETFOCUS, MainWnd_OnSetFocus);
        HANDLE_MSG(hwnd, WM_ACTIVATEAPP, MainWnd_OnActivateApp);
        HANDLE_MSG(hwnd, WM_ENABLE, MainWnd_OnEnable);
        HANDLE_MSG(hwnd, WM_TIMER, MainWnd_OnTimer);
        HANDLE_MSG(hwnd, WM_CLOSE, MainWnd_OnClose);
        HANDLE_MSG(hwnd, WM_QUERYENDSESSION, MainWnd_OnQueryEndSession);
        HANDLE_MSG(hwnd, WM_DESTROY, MainWnd_OnDestroy);
        case WM_MEDIT_TUTORIAL:
            if (st)
                MainWnd_OnTutorial(st, (HWND)lParam);
            return 0;
        case WM_MEDIT_SPLITTER:
            if (st)
            {
                st->splitterPos += (short)LOWORD(wParam);
                LayoutWindow(st);
            }
            return 0;
        case WM_MEDIT_CHECKFILE:
            if (st)
                CheckOutsideChange(st);
            return 0;
    }
    if (msg == WM_CAPTURECHANGED)
    {
        MainWnd_OnCaptureChanged(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// --- Program --------------------------------------------------------------------------------

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int show)
{
    CKernelHandle inUse(HoldSuiteInUseMutex());
    g_hInst = instance;

    MeditState* st = new (std::nothrow) MeditState;
    if (!st)
        return 1;
    StrCopy(st->cmdLine, cmdLine ? cmdLine : "");

    HICON icon = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(IDA_MAIN), IMAGE_ICON, 32, 32, 0);
    HICON smallIcon = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(IDA_MAIN), IMAGE_ICON, 16, 16, 0);
    if (!RegisterMainWindowClass(instance, MEDIT_WINDOW_CLASS, MainWndProc, icon, smallIcon,
                                 (HBRUSH)(COLOR_APPWORKSPACE + 1)))
    {
        delete st;
        return 0;
    }
    HWND hwnd = CreateWindowExA(0, MEDIT_WINDOW_CLASS, MEDIT_WINDOW_TITLE, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 600, 440, nullptr,
                                LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINMENU)), instance, st);
    if (!hwnd)
    {
        delete st;
        return 0;
    }
    HACCEL accel = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAINMENU));
    InitThemeLib();
    CoInitialize(nullptr);

    int result = 0;
    if (!Initialize(st))
    {
        DestroyWindow(hwnd);
        result = 1;
    }
    else
    {
        if (st->menuOpen)
            ShowViews(st, true);
        ShowWindow(hwnd, show);
        UpdateWindow(hwnd);
        InitTips(instance);
        if (RegReadSetting(MEDIT_SHOW_TIPS))
            ShowTipOfTheDay(st);
        if (!st->menuOpen && RegReadSetting(MEDIT_SHOW_STARTUP))
            PostMessageA(hwnd, WM_COMMAND, IDM_STARTUPWIZARD, 0);
        LayoutWindow(st);
    }

    int exitCode = RunMainMessageLoop(hwnd, accel);
    if (result == 0)
        result = exitCode;
    CoUninitialize();
    FreeThemeLib();
    delete st;
    return result;
}
