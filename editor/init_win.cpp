// The editor's start-up: settings, the toolbar, the list, the status bar, the
// categorised Insert menu and the layout of the window.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include "editor.h"
#include "iconstrip_win.h"
#include "winholders.h"
#include "winstate.h"
#include "edit_res.h"
#include "mainwnd.h"
#include "userfiles.h"
#include "dirutils_win.h"
#include "regutils.h"
#include "editorSettings.h"
#include "strutils.h"
#include "winutils.h"
#include "xmlutils.h"

EditorState* GetEditorState(HWND hwnd)
{
    return WindowState<EditorState>(hwnd);
}

HICON LoadSmallIcon(int id)
{
    return (HICON)LoadImageA(g_hInst, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0);
}

// --- Settings ------------------------------------------------------------------

static void ReadSettings(EditorState* st)
{
    st->showTips = RegReadSetting(EDITOR_SHOW_TIPS) != 0;
    st->showStartup = RegReadSetting(EDITOR_SHOW_STARTUP) != 0;
    st->advancedMode = RegReadSetting(EDITOR_ADVANCED_MODE) != 0;
    st->addShortcuts = RegReadSetting(EDITOR_ADD_SHORTCUTS) != 0;
    st->insertDelay = RegReadSetting(EDITOR_INSERT_DELAY) != 0;
    st->insertComments = RegReadSetting(EDITOR_INSERT_COMMENTS) != 0;
    st->windowState = EditorWindowState(RegReadSetting(EDITOR_WINDOW_STATE));
    ReadColumnWidths(EDITOR_REG_KEY, st->columnWidths, 2);
    // "Test Full" is kept for the run only: it is written at exit, never read.
    ReadFrameSettings(st, EDITOR_REG_KEY, false);
}

void SaveSettings(EditorState* st)
{
    WriteFrameSettings(st, EDITOR_REG_KEY);
    RegWriteSetting(EDITOR_TEST_FULL, st->testFull ? 1 : 0);
    WriteColumnWidths(EDITOR_REG_KEY, st->hList, 2);
}

// --- Insert menu -----------------------------------------------------------------

struct InsertEntry
{
    int command; // 0: separator
    const char* text;
};

static const InsertEntry kFileActions[] = {
    {2030, "Launch..."}, {2031, "Open..."}, {2032, "Print..."},  {0, nullptr},
    {2033, "Copy..."},   {2035, "Move..."}, {2034, "Delete..."},
};
static const InsertEntry kWindowActions[] = {
    {2041, "Hide..."}, {2042, "Show..."},  {2046, "ShowAll..."},
    {0, nullptr},      {2039, "Close..."}, {2040, "Destroy..."},
    {2038, "Kill..."}, {0, nullptr},       {2048, "Screensaver..."},
};
static const InsertEntry kOtherActions[] = {
    {2047, "Wait..."},
    {0, nullptr},
    {2037, "Message..."},
    {2036, "Comment..."},
};
static const InsertEntry kSystemActions[] = {
    {2043, "Shutdown..."},
    {2044, "Restart..."},
    {0, nullptr},
    {2045, "Exit..."},
};

// The icon of the action an insert command makes.
static int InsertIcon(int command)
{
    static const int kIcons[] = {IDI_ACT_LAUNCH,  IDI_ACT_OPEN,     IDI_ACT_PRINT,      IDI_ACT_COPY,
                                 IDI_ACT_DELETE,  IDI_ACT_MOVE,     IDI_ACT_COMMENT,    IDI_ACT_MESSAGE,
                                 IDI_ACT_KILL,    IDI_ACT_CLOSE,    IDI_ACT_DESTROY,    IDI_ACT_HIDE,
                                 IDI_ACT_SHOW,    IDI_ACT_SHUTDOWN, IDI_ACT_RESTART,    IDI_ACT_EXIT,
                                 IDI_ACT_SHOWALL, IDI_ACT_WAIT,     IDI_ACT_SCREENSAVER};
    return kIcons[command - IDM_INSERT_FIRST];
}

template <size_t N> static HMENU BuildCategory(const InsertEntry (&entries)[N])
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    for (const InsertEntry& e : entries)
    {
        if (!e.command)
            MenuXP_AppendSeparator(menu);
        else
            MenuXP_AppendItem(menu, (unsigned)e.command, e.text, LoadSmallIcon(InsertIcon(e.command)),
                              nullptr);
    }
    return menu;
}

HMENU BuildInsertMenu(EditorState* st)
{
    HMENU menu = CreatePopupMenu();
    if (menu)
        FillInsertMenu(st, menu);
    return menu;
}

void FillInsertMenu(EditorState* st, HMENU menu)
{
    MenuXP_AppendItem(menu, IDM_INSERT_WIZARD, "Use a Wizard...", LoadSmallIcon(IDI_TB_WIZARD), nullptr);
    MenuXP_AppendSeparator(menu);
    MenuXP_AppendItem(menu, IDM_INSERT_WEBSITE, "Open Website...", LoadSmallIcon(IDI_TB_WEBSITE), nullptr);
    MenuXP_AppendSeparator(menu);
    struct
    {
        HMENU sub;
        const char* text;
        int icon;
    } categories[] = {
        {BuildCategory(kFileActions), "File actions", IDI_ACT_OPEN},
        {BuildCategory(kWindowActions), "Window action", IDI_ACT_SHOWALL},
        {BuildCategory(kOtherActions), "Other action", IDI_ACT_MESSAGE},
        {BuildCategory(kSystemActions), "System action", IDI_ACT_SHUTDOWN},
    };
    for (auto& c : categories)
        if (c.sub)
            MenuXP_AppendMenu(menu, c.sub, c.text, LoadSmallIcon(c.icon));
    // Commands that need an open file are greyed here too: a menu built for
    // the toolbar or the context menu is shown without the menu bar's update.
    UINT state = st->fileOpen ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(menu, IDM_INSERT_WIZARD, MF_BYCOMMAND | state);
    EnableMenuItem(menu, IDM_INSERT_WEBSITE, MF_BYCOMMAND | state);
    for (int id = IDM_INSERT_FIRST; id <= IDM_INSERT_LAST; id++)
        EnableMenuItem(menu, id, MF_BYCOMMAND | state);
}

// --- Controls ----------------------------------------------------------------------

static const ToolbarButton kToolButtons[] = {
    {IDI_TB_NEW, IDM_NEW, 0, "New"},
    {IDI_TB_OPEN, IDM_OPEN, 0, "Open"},
    {IDI_TB_SAVE, IDM_SAVE, 0, "Save"},
    {0, 0, 0, nullptr},
    {IDI_TB_PROPERTIES, IDM_PROPERTIES, 0, "Properties"},
    {IDI_TB_INSERT, IDM_INSERT, BTNS_DROPDOWN, "Insert"},
    {IDI_TB_DELETE, IDM_DELETE, 0, "Delete"},
    {0, 0, 0, nullptr},
    {IDI_TB_MOVEUP, IDM_MOVEUP, 0, "Move Up"},
    {IDI_TB_MOVEDOWN, IDM_MOVEDOWN, 0, "Move Down"},
    {0, 0, 0, nullptr},
    {IDI_TB_TEST, IDM_TEST, 0, "Test"},
    {0, 0, 0, nullptr},
    {IDI_TB_ABOUT, IDM_ABOUT, 0, "About"},
    {IDI_TB_HELP, IDM_HELPCONTENTS, 0, "Help"},
};

static HWND CreateActionList(EditorState* st)
{
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 0,
                                0, st->hwnd, (HMENU)(INT_PTR)IDC_ACTIONLIST, g_hInst, nullptr);
    if (!list)
        return nullptr;
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
    ListViewColumn columns[] = {{"Action", st->columnWidths[0]}, {"Description", st->columnWidths[1]}};
    // Row images by action code: unknown lines share the comment's picture.
    static const int kIcons[EDITOR_ACTION_CODES + 1] = {
        IDI_ACT_COMMENT, IDI_ACT_COMMENT,  IDI_ACT_LAUNCH,  IDI_ACT_KILL,    IDI_ACT_OPEN,
        IDI_ACT_PRINT,   IDI_ACT_COPY,     IDI_ACT_DELETE,  IDI_ACT_MOVE,    IDI_ACT_CLOSE,
        IDI_ACT_DESTROY, IDI_ACT_HIDE,     IDI_ACT_SHOW,    IDI_ACT_SHOWALL, IDI_ACT_SCREENSAVER,
        IDI_ACT_WAIT,    IDI_ACT_SHUTDOWN, IDI_ACT_RESTART, IDI_ACT_EXIT,    IDI_ACT_MESSAGE};
    AddListViewColumns(list, columns, 2);
    st->listImages.Reset(LoadIconStrip(g_hInst, kIcons, EDITOR_ACTION_CODES + 1, 16, ILC_COLOR24 | ILC_MASK));
    ListView_SetImageList(list, st->listImages.Get(), LVSIL_SMALL);
    return list;
}

void LayoutWindow(EditorState* st)
{
    RECT rc = LayoutFrame(st, IDM_VIEWTOOLBAR, IDM_VIEWSTATUSBAR);
    if (st->hList)
        MoveWindow(st->hList, 0, rc.top, rc.right, rc.bottom - rc.top, TRUE);
}

// --- Start-up ------------------------------------------------------------------------

bool Initialize(EditorState* st)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                 ICC_UPDOWN_CLASS | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);

    if (!PrepareUserFiles(st->hwnd, g_hInst))
    {
        MessageBoxA(st->hwnd, "Tarvin 2 is exiting.", "Tarvin 2", MB_OK | MB_ICONERROR);
        return false;
    }

    char self[MAX_PATH], command[MAX_PATH + 16];
    GetModuleFileNameA(nullptr, self, sizeof(self));
    // Double quotes around the path: an apostrophe is a common character in
    // a file name, a double quote cannot be one. -file='...' is still read.
    StrFormat(command, sizeof(command), "\"%s\" -file=\"%%1\"", self);
    AssociateFile(".launch", "Tarvin.LaunchFile", "Tarvin File", command, "Edit");
    st->clipFormat = RegisterClipboardFormatA(EDITOR_CLIPBOARD_FORMAT);
    ReadSettings(st);

    st->hStatus = CreateWindowExA(0, STATUSCLASSNAMEA, "Select a startup action.", WS_CHILD | SBARS_SIZEGRIP,
                                  0, 0, 0, 0, st->hwnd, (HMENU)(INT_PTR)IDC_STATUSBAR, g_hInst, nullptr);
    if (!st->hStatus)
        MessageBoxA(st->hwnd, "Cannot create statusbar.", "Tarvin Editor", MB_OK | MB_ICONWARNING);
    st->hToolbar =
        CreateButtonToolbar(st->hwnd, g_hInst, IDC_TOOLBAR, TBSTYLE_WRAPABLE, kToolButtons,
                            (int)(sizeof(kToolButtons) / sizeof(kToolButtons[0])), &st->toolImages);
    if (!st->hToolbar)
        MessageBoxA(st->hwnd, "Cannot create toolbar.", "Tarvin Editor", MB_OK | MB_ICONWARNING);
    RestoreFrameRect(st);
    st->hList = CreateActionList(st);
    WatchListDrags(st);

    MenuXP_InitDrawInfo(&st->diItem, 0);
    // The categorised Insert popup sits in the menu bar before View. Its
    // entries and their pictures are made when it first opens.
    st->insertMenu = CreatePopupMenu();
    if (st->insertMenu)
        InsertMenuA(GetMenu(st->hwnd), 2, MF_BYPOSITION | MF_POPUP, (UINT_PTR)st->insertMenu, "&Insert");
    LayoutWindow(st);
    LoadRecentFiles(st);

    char file[MAX_PATH] = "";
    if (GetPropertyValue(st->cmdLine, "-file", file, sizeof(file)) > 0)
        OpenFile(st, file, true);
    UpdateUI(st);
    return true;
}
