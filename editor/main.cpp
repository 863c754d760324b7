// tvedit: the launch file editor. One main window with a menu, a toolbar, the
// two-column list of the file's actions and a status bar; edits are undoable
// and stay in memory until saved.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <objbase.h>
#include <initializer_list>
#include <new>

#include "editor.h"
#include "winstate.h"
#include "edit_res.h"
#include "wizardDlg.h"
#include "browseAppsDlg.h"
#include "browseFavsDlg.h"
#include "tvtip.h"
#include "dirutils_win.h"
#include "regutils.h"
#include "thmutils.h"
#include "winutils.h"
#include "mainwnd.h"
#include "strutils.h"

HINSTANCE g_hInst;

static void ShowTipOfTheDay(EditorState* st)
{
    char tips[MAX_PATH], picture[MAX_PATH];
    GetMyDir(tips, sizeof(tips), "tvdt.sys");
    GetMyDir(picture, sizeof(picture), "tvtip.sys");
    TIPS_DATA td = {st->hwnd, g_hInst, "Tip of the Day", tips, "Tarvin Editor", picture};
    CModalScope scope(st);
    ShowTips(&td);
}

// The startup dialog, then New or Open, then (unless in advanced mode) the
// wizard that offers to add actions.
static void OnStartupWizard(EditorState* st)
{
    CModalScope scope(st);
    int choice = ShowStartupDialog(st->hwnd, g_hInst);
    if (choice != 1 && choice != 2)
        return;
    // A cancelled New or Open leaves whatever was open before: the wizard
    // would say a file was just created or opened.
    if (!(choice == 1 ? OnNew(st) : OnOpen(st)))
        return;
    if (!st->advancedMode)
        RunEditorWizard(st->hwnd, g_hInst, choice == 1 ? EWIZ_USEWIZARD : EWIZ_USEWIZARD2);
}

// The Insert menu under the toolbar's Insert button.
static void ShowInsertDropDown(EditorState* st)
{
    HMENU menu = BuildInsertMenu(st);
    if (!menu)
        return;
    RECT rc = {0, 0, 0, 0};
    if (st->hToolbar && IsWindowVisible(st->hToolbar))
    {
        int index = (int)SendMessageA(st->hToolbar, TB_COMMANDTOINDEX, IDM_INSERT, 0);
        SendMessageA(st->hToolbar, TB_GETITEMRECT, index, (LPARAM)&rc);
        MapWindowPoints(st->hToolbar, nullptr, (POINT*)&rc, 2);
    }
    else
    {
        GetWindowRect(st->hList, &rc);
        rc.bottom = rc.top;
    }
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON, rc.left, rc.bottom, 0, st->hwnd, nullptr);
    MenuXP_DestroyMenu(menu, 0, 1, 0);
}

static void MainWnd_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    EditorState* st = GetEditorState(hwnd);
    if (id >= IDM_INSERT_FIRST && id <= IDM_INSERT_LAST)
    {
        OnInsert(st, id);
        return;
    }
    if (id >= IDM_RECENT_FIRST && id <= IDM_RECENT_LAST)
    {
        OnRecentFile(st, id);
        return;
    }
    switch (id)
    {
        case IDM_EXIT:
            SendMessageA(hwnd, WM_CLOSE, 0, 0);
            break;
        case IDM_NEW:
            OnNew(st);
            break;
        case IDM_OPEN:
            OnOpen(st);
            break;
        case IDM_SAVE:
            OnSave(st, true);
            break;
        case IDM_SAVEAS:
            OnSaveAs(st, true);
            break;
        case IDM_UNDO:
            Undo(st);
            break;
        case IDM_REDO:
            Redo(st);
            break;
        case IDM_COPY:
            OnCopy(st);
            break;
        case IDM_CUT:
            OnCut(st);
            break;
        case IDM_PASTE:
            OnPaste(st);
            break;
        case IDM_DELETE:
            OnDelete(st);
            break;
        case IDM_PREFERENCES:
            ShowPreferences(st);
            break;
        case IDM_PROPERTIES:
            OnProperties(st);
            break;
        case IDM_INSERT:
            if (st->fileOpen)
                ShowInsertDropDown(st);
            break;
        case IDM_VIEWTOOLBAR:
            st->showToolbar = !st->showToolbar;
            LayoutWindow(st);
            break;
        case IDM_VIEWSTATUSBAR:
            st->showStatus = !st->showStatus;
            LayoutWindow(st);
            break;
        case IDM_TEST:
        case IDM_TEST2:
            OnTest(st);
            break;
        case IDM_MOVEUP:
            OnMove(st, true);
            break;
        case IDM_MOVEDOWN:
            OnMove(st, false);
            break;
        case IDM_DISABLE:
        case IDM_ENABLE:
            OnDisable(st, id == IDM_ENABLE);
            break;
        case IDM_RUNSELECTED:
            OnRunSelected(st);
            break;
        case IDM_STARTUP:
            OnStartupWizard(st);
            break;
        case IDM_INSERT_WIZARD:
            if (st->fileOpen)
            {
                CModalScope scope(st);
                RunEditorWizard(hwnd, g_hInst, EWIZ_ACTIONS);
            }
            break;
        case IDM_INSERT_WEBSITE:
            OnInsertWebsite(st);
            break;
        case IDM_HELPCONTENTS:
            ShowHelpTopic("tv2.chm::/tvedit_main.html");
            break;
        case IDM_ABOUT: {
            CModalScope scope(st);
            ShowAboutBox(hwnd, g_hInst, IDD_ABOUT);
            break;
        }
        case IDM_TIPOFTHEDAY:
            ShowTipOfTheDay(st);
            break;
        case IDM_ADDTOMENU:
            if (st->fileOpen)
            {
                CModalScope scope(st);
                OnAddToMenu(hwnd, g_hInst);
            }
            break;
    }
}

static const char* ToolTip(int command)
{
    switch (command)
    {
        case IDM_NEW:
            return "Create a new launch file...";
        case IDM_OPEN:
            return "Open an existing launch file...";
        case IDM_SAVE:
            return "Save changes to your launch file";
        case IDM_PROPERTIES:
            return "View or edit action properties...";
        case IDM_INSERT:
            return "Insert a new action...";
        case IDM_DELETE:
            return "Delete the selected action...";
        case IDM_MOVEUP:
            return "Move the selected action up";
        case IDM_MOVEDOWN:
            return "Move the selected action down";
        case IDM_TEST:
            return "Run / Test the open launch file";
        case IDM_RUNSELECTED:
            return "Run the selected lines";
        case IDM_ABOUT:
            return "About Tarvin Editor";
        case IDM_HELPCONTENTS:
            return "Help Contents";
    }
    return "";
}

static LRESULT MainWnd_OnNotify(HWND hwnd, int, NMHDR* nm)
{
    EditorState* st = GetEditorState(hwnd);
    if (nm->hwndFrom == st->hToolbar && st->hToolbar)
    {
        switch (nm->code)
        {
            case TBN_GETINFOTIPA: {
                NMTBGETINFOTIPA* tip = (NMTBGETINFOTIPA*)nm;
                StrCopy(tip->pszText, (size_t)tip->cchTextMax, ToolTip(tip->iItem));
                return 0;
            }
            case TBN_DROPDOWN:
                if (st->fileOpen)
                    ShowInsertDropDown(st);
                return TBDDRET_DEFAULT;
            case NM_CUSTOMDRAW:
                return TBDrawBackground(st->hToolbar, (NMCUSTOMDRAW*)nm);
        }
        return 0;
    }
    if (nm->idFrom != IDC_ACTIONLIST)
        return 0;
    switch (nm->code)
    {
        case NM_DBLCLK:
            if (GetListSelIndex(st) >= 0)
                OnProperties(st);
            break;
        case LVN_ITEMCHANGED:
            if (!st->filling)
                UpdateUI(st);
            break;
        case LVN_BEGINDRAG:
            OnBeginDrag(st, ((NMLISTVIEW*)nm)->iItem);
            break;
        case NM_CUSTOMDRAW:
            return OnListCustomDraw(st, (NMLVCUSTOMDRAW*)nm);
        case LVN_GETDISPINFOA:
            OnListDispInfo(st, (NMLVDISPINFOA*)nm);
            break;
    }
    return 0;
}

// With a file open: on a selected row its commands and the Insert menu,
// elsewhere the Insert menu alone; without a file, New and Open.
static void MainWnd_OnContextMenu(HWND hwnd, HWND target, UINT x, UINT y)
{
    EditorState* st = GetEditorState(hwnd);
    if (target != st->hList)
    {
        FORWARD_WM_CONTEXTMENU(hwnd, target, x, y, DefWindowProcA);
        return;
    }
    POINT pt = {(int)(short)x, (int)(short)y};
    bool onRow = false;
    if (x == (UINT)-1 && y == (UINT)-1)
    {
        int sel = GetListSelIndex(st);
        RECT rc;
        if (sel >= 0 && ListView_GetItemRect(st->hList, sel, &rc, LVIR_BOUNDS))
        {
            pt.x = rc.left + 8;
            pt.y = rc.bottom;
            ClientToScreen(st->hList, &pt);
            onRow = true;
        }
        else
            GetCursorPos(&pt);
    }
    else
    {
        LVHITTESTINFO hit;
        ZeroMemory(&hit, sizeof(hit));
        hit.pt = pt;
        ScreenToClient(st->hList, &hit.pt);
        int row = ListView_HitTest(st->hList, &hit);
        onRow = row >= 0 && ListView_GetItemState(st->hList, row, LVIS_SELECTED);
    }
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    if (!st->fileOpen)
    {
        MenuXP_AppendItem(menu, IDM_NEW, "New...\tCtrl+N", LoadSmallIcon(IDI_TB_NEW), nullptr);
        MenuXP_AppendItem(menu, IDM_OPEN, "Open...\tCtrl+O", LoadSmallIcon(IDI_TB_OPEN), nullptr);
    }
    else
    {
        if (onRow)
            MenuXP_AppendItem(menu, IDM_PROPERTIES, "Properties\tEnter", LoadSmallIcon(IDI_TB_PROPERTIES),
                              nullptr);
        HMENU insert = BuildInsertMenu(st);
        if (insert)
            MenuXP_AppendMenu(menu, insert, "Insert", LoadSmallIcon(IDI_TB_INSERT));
        if (onRow)
        {
            MenuXP_AppendItem(menu, IDM_DELETE, "Delete\tDel", LoadSmallIcon(IDI_TB_DELETE), nullptr);
            MenuXP_AppendSeparator(menu);
            MenuXP_AppendItem(menu, IDM_MOVEUP, "Move Up", LoadSmallIcon(IDI_TB_MOVEUP), nullptr);
            MenuXP_AppendItem(menu, IDM_MOVEDOWN, "Move Down", LoadSmallIcon(IDI_TB_MOVEDOWN), nullptr);
            MenuXP_AppendSeparator(menu);
            MenuXP_AppendItem(menu, IDM_DISABLE, "Disable Line\tCtrl+D", nullptr, nullptr);
            MenuXP_AppendItem(menu, IDM_ENABLE, "Enable Line\tCtrl+E", nullptr, nullptr);
            MenuXP_AppendItem(menu, IDM_RUNSELECTED, "Run Selected Lines\tCtrl+F5",
                              LoadSmallIcon(IDI_TB_TEST), nullptr);
            // As the menu bar has them.
            HMENU bar = GetMenu(hwnd);
            for (UINT id : {IDM_MOVEUP, IDM_MOVEDOWN, IDM_DISABLE, IDM_ENABLE})
                EnableMenuItem(menu, id, MF_BYCOMMAND | (GetMenuState(bar, id, MF_BYCOMMAND) & MF_GRAYED));
        }
    }
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON, pt.x, pt.y, 0, hwnd, nullptr);
    MenuXP_DestroyMenu(menu, 0, 1, 0);
}

static void MainWnd_OnMouseMove(HWND hwnd, int x, int y, UINT)
{
    OnDragMove(GetEditorState(hwnd), x, y);
}

static void MainWnd_OnLButtonUp(HWND hwnd, int x, int y, UINT)
{
    OnDrop(GetEditorState(hwnd), x, y, false);
}

static void MainWnd_OnTimer(HWND hwnd, UINT)
{
    OnRunEnded(GetEditorState(hwnd), false);
}

static void MainWnd_OnMeasureItem(HWND hwnd, MEASUREITEMSTRUCT* mis)
{
    MenuXP_MeasureItem(mis, &GetEditorState(hwnd)->diItem);
}

static void MainWnd_OnDrawItem(HWND hwnd, const DRAWITEMSTRUCT* dis)
{
    if (dis->CtlType == ODT_MENU && dis->itemData)
        MenuXP_DrawItem((DRAWITEMSTRUCT*)dis, &GetEditorState(hwnd)->diItem);
}

static void MainWnd_OnSize(HWND hwnd, UINT state, int, int)
{
    EditorState* st = GetEditorState(hwnd);
    if (state == SIZE_MINIMIZED)
        return;
    RememberFrameRect(st);
    LayoutWindow(st);
}

static void MainWnd_OnMove(HWND hwnd, int, int)
{
    RememberFrameRect(GetEditorState(hwnd));
}

static void MainWnd_OnSetFocus(HWND hwnd, HWND)
{
    EditorState* st = GetEditorState(hwnd);
    if (st->hList)
        SetFocus(st->hList);
}

// Back from another program: the file is compared once the activation has
// been handled, never from inside it.
static void MainWnd_OnActivateApp(HWND hwnd, BOOL active, DWORD)
{
    if (active)
        PostMessageA(hwnd, WM_EDITOR_CHECKFILE, 0, 0);
}

static void MainWnd_OnClose(HWND hwnd)
{
    EditorState* st = GetEditorState(hwnd);
    if (st->modalDepth == 0 && ConfirmSave(st))
        DestroyWindow(hwnd);
}

// Logging off or shutting down is a way out like any other: a modified file
// gets the save question first. FALSE keeps the session waiting: Cancel, a
// save that failed, or a dialog of the editor still open on the file.
static BOOL MainWnd_OnQueryEndSession(HWND hwnd)
{
    EditorState* st = GetEditorState(hwnd);
    if (!IsModified(st))
        return TRUE;
    if (st->modalDepth > 0)
        return FALSE;
    return ConfirmSave(st, false);
}

static void MainWnd_OnDestroy(HWND hwnd)
{
    EditorState* st = GetEditorState(hwnd);
    SaveSettings(st);
    OnRunEnded(st, true);
    ClearUndo(st);
    if (st->hList)
        ListView_SetImageList(st->hList, nullptr, LVSIL_SMALL);
    if (st->hToolbar)
        SendMessageA(st->hToolbar, TB_SETIMAGELIST, 0, 0);
    if (st->insertMenu)
    {
        // Taken out of the menu bar first: the bar is destroyed with the
        // window, the popup's entries' data only by MenuXP_DestroyMenu.
        HMENU bar = GetMenu(hwnd);
        int count = GetMenuItemCount(bar);
        for (int i = 0; i < count; i++)
            if (GetSubMenu(bar, i) == st->insertMenu)
            {
                RemoveMenu(bar, (UINT)i, MF_BYPOSITION);
                break;
            }
        MenuXP_DestroyMenu(st->insertMenu, 0, 1, 0);
        st->insertMenu = nullptr;
    }
    MenuXP_FreeDrawInfo(&st->diItem);
    PostQuitMessage(0);
}

// The menu bar's Insert popup is filled the first time it opens.
static void MainWnd_OnInitMenuPopup(HWND hwnd, HMENU menu, UINT, BOOL)
{
    EditorState* st = GetEditorState(hwnd);
    if (st && menu == st->insertMenu && GetMenuItemCount(menu) == 0)
        FillInsertMenu(st, menu);
}

static BOOL MainWnd_OnNCCreate(HWND hwnd, LPCREATESTRUCT cs)
{
    EditorState* st = (EditorState*)cs->lpCreateParams;
    st->hwnd = hwnd;
    SetWindowState(hwnd, st);
    return FORWARD_WM_NCCREATE(hwnd, cs, DefWindowProcA);
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    EditorState* st = GetEditorState(hwnd);
    if (st && msg == WM_EDITOR_CHECKFILE)
    {
        OnCheckFile(st);
        return 0;
    }
    if (st && msg == WM_EDITOR_DRAGSTART)
    {
        OnDragStart(st);
        return 0;
    }
    if (st && msg == WM_CAPTURECHANGED)
        OnDrop(st, 0, 0, true);
    switch (msg)
    {
        HANDLE_MSG(hwnd, WM_NCCREATE, MainWnd_OnNCCreate);
        HANDLE_MSG(hwnd, WM_COMMAND, MainWnd_OnCommand);
        HANDLE_MSG(hwnd, WM_NOTIFY, MainWnd_OnNotify);
        HANDLE_MSG(hwnd, WM_CONTEXTMENU, MainWnd_OnContextMenu);
        HANDLE_MSG(hwnd, WM_MOUSEMOVE, MainWnd_OnMouseMove);
        HANDLE_MSG(hwnd, WM_LBUTTONUP, MainWnd_OnLButtonUp);
        HANDLE_MSG(hwnd, WM_TIMER, MainWnd_OnTimer);
        HANDLE_MSG(hwnd, WM_INITMENUPOPUP, MainWnd_OnInitMenuPopup);
        HANDLE_MSG(hwnd, WM_MEASUREITEM, MainWnd_OnMeasureItem);
        HANDLE_MSG(hwnd, WM_DRAWITEM, MainWnd_OnDrawItem);
        HANDLE_MSG(hwnd, WM_SIZE, MainWnd_OnSize);
        HANDLE_MSG(hwnd, WM_MOVE, MainWnd_OnMove);
        HANDLE_MSG(hwnd, WM_SETFOCUS, MainWnd_OnSetFocus);
        HANDLE_MSG(hwnd, WM_ACTIVATEAPP, MainWnd_OnActivateApp);
        HANDLE_MSG(hwnd, WM_CLOSE, MainWnd_OnClose);
        HANDLE_MSG(hwnd, WM_QUERYENDSESSION, MainWnd_OnQueryEndSession);
        HANDLE_MSG(hwnd, WM_DESTROY, MainWnd_OnDestroy);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int show)
{
    CKernelHandle inUse(HoldSuiteInUseMutex());
    g_hInst = instance;
    InitBrowseApplications(instance);
    InitBrowseFavorites(instance);

    EditorState* st = new (std::nothrow) EditorState;
    if (!st)
        return 1;
    StrCopy(st->cmdLine, cmdLine ? cmdLine : "");
    st->apps.m_hInstance = instance;
    st->favs.m_hInstance = instance;

    HICON icon = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(IDA_MAIN), IMAGE_ICON, 32, 32, 0);
    HICON smallIcon = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(IDA_MAIN), IMAGE_ICON, 16, 16, 0);
    if (!RegisterMainWindowClass(instance, EDITOR_WINDOW_CLASS, MainWndProc, icon, smallIcon,
                                 (HBRUSH)(COLOR_BTNFACE + 1)))
    {
        delete st;
        return 0;
    }
    HWND hwnd = CreateWindowExA(0, EDITOR_WINDOW_CLASS, EDITOR_WINDOW_TITLE, WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, 600, 440, nullptr,
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
        ShowWindow(hwnd, show);
        UpdateWindow(hwnd);
        InitTips(instance);
        if (st->showTips)
            ShowTipOfTheDay(st);
        if (!st->fileOpen && st->showStartup)
            PostMessageA(hwnd, WM_COMMAND, IDM_STARTUP, 0);
        else
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
