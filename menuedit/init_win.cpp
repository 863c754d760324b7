// The menu editor's start-up: controls, settings, the association of ".menu"
// and the file named on the command line; and the window's layout.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include "meditstate.h"
#include "winstate.h"
#include "medit_res.h"
#include "meditViews.h"
#include "browseAppsDlg.h"
#include "browseFavsDlg.h"
#include "dirutils_win.h"
#include "mainwnd.h"
#include "userfiles.h"
#include "regutils.h"
#include "strutils.h"
#include "winutils.h"
#include "xmlutils.h"

MeditState* GetMeditState(HWND hwnd)
{
    return WindowState<MeditState>(hwnd);
}

HICON LoadSmallIcon(int id)
{
    return (HICON)LoadImageA(g_hInst, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0);
}

// --- Settings ------------------------------------------------------------------

static void ReadSettings(MeditState* st)
{
    ReadFrameSettings(st, MEDIT_REG_KEY, true);
    st->splitterPos = (int)RegReadSetting(MEDIT_SPLITTER_POS);
    st->testFull = RegReadSetting(MEDIT_TEST_FULL) != 0 ? 1 : 0;
    ReadColumnWidths(MEDIT_REG_KEY, st->columnWidths, MEDIT_COLUMNS);
}

void SaveSettings(MeditState* st)
{
    WriteFrameSettings(st, MEDIT_REG_KEY);
    RegWriteSetting(MEDIT_TEST_FULL, st->testFull ? 1 : 0);
    RegWriteSetting(MEDIT_SPLITTER_POS, (unsigned long)st->splitterPos);
    WriteColumnWidths(MEDIT_REG_KEY, st->hList, MEDIT_COLUMNS);
}

// --- Controls ------------------------------------------------------------------

static const ToolbarButton kToolButtons[] = {
    {IDI_NEW, IDM_NEW, 0, nullptr},
    {IDI_OPEN, IDM_OPEN, 0, nullptr},
    {IDI_SAVE, IDM_SAVE, 0, nullptr},
    {0, 0, 0, nullptr},
    {IDI_PROPERTIES, IDM_PROPERTIES, 0, nullptr},
    {IDI_INSERT, IDM_INSERTMENU, BTNS_DROPDOWN | BTNS_WHOLEDROPDOWN, nullptr},
    {IDI_DELETE, IDM_DELETE, 0, nullptr},
    {0, 0, 0, nullptr},
    {IDI_MOVEUP, IDM_MOVEUP, 0, nullptr},
    {IDI_MOVEDOWN, IDM_MOVEDOWN, 0, nullptr},
    {IDI_SORT, IDM_SORT, 0, nullptr},
    {0, 0, 0, nullptr},
    {IDI_TEST, IDM_TEST, 0, nullptr},
    {0, 0, 0, nullptr},
    {IDI_ABOUT, IDM_ABOUT, 0, nullptr},
    {IDI_HELP, IDM_HELPCONTENTS, 0, nullptr},
};

static HWND CreateTree(MeditState* st)
{
    HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                                WS_CHILD | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                                    TVS_SHOWSELALWAYS,
                                0, 0, 0, 0, st->hwnd, (HMENU)(INT_PTR)IDC_TREE, g_hInst, nullptr);
    if (!tree)
        return nullptr;
    st->treeImages.Reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 8, 8));
    TreeView_SetImageList(tree, st->treeImages.Get(), TVSIL_NORMAL);
    return tree;
}

static HWND CreateList(MeditState* st)
{
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                WS_CHILD | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0,
                                0, 0, st->hwnd, (HMENU)(INT_PTR)IDC_LIST, g_hInst, nullptr);
    if (!list)
        return nullptr;
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
    ListViewColumn columns[MEDIT_COLUMNS] = {
        {"Name", st->columnWidths[0]}, {"Type", st->columnWidths[1]}, {"Target", st->columnWidths[2]}};
    AddListViewColumns(list, columns, MEDIT_COLUMNS);
    st->listImages.Reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 8, 8));
    ListView_SetImageList(list, st->listImages.Get(), LVSIL_SMALL);
    return list;
}

void ShowViews(MeditState* st, bool show)
{
    int cmd = show ? SW_SHOW : SW_HIDE;
    if (st->hTree)
        ShowWindow(st->hTree, cmd);
    if (st->hList)
        ShowWindow(st->hList, cmd);
    if (st->hSplitter)
        ShowWindow(st->hSplitter, cmd);
    LayoutWindow(st);
}

void LayoutWindow(MeditState* st)
{
    // A minimised window has no client area to fit the splitter into.
    if (IsIconic(st->hwnd))
        return;
    RECT rc = LayoutFrame(st, IDM_VIEWTOOLBAR, IDM_VIEWSTATUSBAR);
    int top = rc.top;
    int height = rc.bottom - rc.top;
    if (st->splitterPos > rc.right - 5)
        st->splitterPos = rc.right - 5;
    if (st->splitterPos < 1)
        st->splitterPos = 1;
    int treeWidth = st->splitterPos;
    if (st->hTree)
        MoveWindow(st->hTree, 0, top, treeWidth, height, TRUE);
    if (st->hSplitter)
        MoveWindow(st->hSplitter, treeWidth, top, 4, height, TRUE);
    int listLeft = treeWidth + 4;
    if (st->hList)
        MoveWindow(st->hList, listLeft, top, rc.right > listLeft ? rc.right - listLeft : 0, height, TRUE);
}

// --- Start-up ------------------------------------------------------------------

static void AssociateMenuFiles()
{
    char exe[MAX_PATH];
    DWORD len = GetModuleFileNameA(nullptr, exe, sizeof(exe));
    if (len == 0 || len >= sizeof(exe))
        return;
    char command[MAX_PATH + 32];
    StrFormat(command, sizeof(command), "\"%s\" -file=\"%%1\"", exe);
    AssociateFile(".menu", "Tarvin.MenuFile", "Tarvin Menu File", command, "Edit");
}

bool Initialize(MeditState* st)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                                                 ICC_COOL_CLASSES | ICC_INTERNET_CLASSES |
                                                 ICC_PAGESCROLLER_CLASS | ICC_NATIVEFNTCTL_CLASS |
                                                 ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&icc);

    if (!PrepareUserFiles(st->hwnd, g_hInst))
    {
        MessageBoxA(st->hwnd, "Tarvin 2 is exiting.", "Tarvin 2", MB_OK | MB_ICONERROR);
        return false;
    }

    InitUndo(st->hwnd);
    st->clipFormat = RegisterClipboardFormatA(MEDIT_CLIPBOARD_FORMAT);
    InitBrowseApplications(g_hInst);
    InitBrowseFavorites(g_hInst);
    AssociateMenuFiles();

    st->hStatus = CreateWindowExA(0, STATUSCLASSNAMEA, MeditStatusText(false, ""), WS_CHILD | SBARS_SIZEGRIP,
                                  0, 0, 0, 0, st->hwnd, (HMENU)(INT_PTR)IDC_STATUSBAR, g_hInst, nullptr);
    if (!st->hStatus)
        MessageBoxA(st->hwnd, "Cannot create statusbar.", nullptr, MB_OK | MB_ICONWARNING);
    st->hToolbar =
        CreateButtonToolbar(st->hwnd, g_hInst, IDC_TOOLBAR, 0, kToolButtons,
                            (int)(sizeof(kToolButtons) / sizeof(kToolButtons[0])), &st->toolImages);
    if (!st->hToolbar)
        MessageBoxA(st->hwnd, "Cannot create toolbar.", nullptr, MB_OK | MB_ICONWARNING);

    ReadSettings(st);
    RestoreFrameRect(st);
    st->hTree = CreateTree(st);
    st->hList = CreateList(st);
    if (RegisterSplitterClass(g_hInst))
        st->hSplitter = CreateSplitter(st->hwnd, IDC_SPLITTER);
    if (!st->hSplitter)
        MessageBoxA(st->hwnd, "Cannot create splitter control.", nullptr, MB_OK | MB_ICONWARNING);
    LoadRecentMenus(st);

    char path[MAX_PATH] = "";
    if (GetPropertyValue(st->cmdLine, "-file", path, sizeof(path)) > 0 && path[0])
        OpenMenuFile(st, path,
                     "An error has occured while reading the menu file.\nThe reported error code is %d.",
                     "Error Reading Menu File");
    UpdateUI(st);
    MenuXP_InitDrawInfo(&st->diItem, 0);
    MenuXP_InitDrawInfo(&st->diSidebar, 1);
    return true;
}
