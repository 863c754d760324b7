// The menu editor's main-window state and the functions of its units: views
// (views_win.cpp), commands (commands_win.cpp), files (files_win.cpp), undo and clipboard
// (meditUndo_win.cpp), start-up and layout (init_win.cpp), the splitter (splitter_win.cpp).
#pragma once

#include <windows.h>

#include "AppList.h"
#include "FavList.h"
#include "Menu.h"
#include "PtrList.h"
#include "dlgcommon.h"
#include "meditUndo.h"
#include "mainwnd.h"
#include "menuxp.h"
#include "winholders.h"

#define MEDIT_WINDOW_CLASS "_TVMEDIT_MAINWND"
#define MEDIT_WINDOW_TITLE "Tarvin 2 Menu Editor"
#define MEDIT_CLIPBOARD_FORMAT "TVMEDIT_CCPFORMAT"

// Sent by the startup wizard's tutorial with the help window in lParam.
#define WM_MEDIT_TUTORIAL (WM_USER + 10)
// Sent by the splitter while it is dragged: the offset in LOWORD(wParam).
#define WM_MEDIT_SPLITTER (WM_USER + 100)
// Posted when the window comes back from another program: compare the file.
#define WM_MEDIT_CHECKFILE (WM_APP + 1)

extern HINSTANCE g_hInst;

const int MEDIT_COLUMNS = 3;

// Everything the main window owns, reached through GWLP_USERDATA.
struct MeditState : MainFrame
{
    HWND hTree = nullptr;
    HWND hList = nullptr;
    HWND hSplitter = nullptr;
    CImageList treeImages;
    CImageList listImages;

    CMenu menu;
    char filePath[MAX_PATH] = "";
    FILETIME fileTime = {0, 0};
    bool menuOpen = false;
    bool modified = false;
    bool newMenu = false;
    bool treeHasFocus = false;
    int testFull = 1;
    CMenuItem editCopy;
    UINT clipFormat = 0;
    CAppList apps;
    CFavList favs;
    tagMENUXP_DRAWINFO diItem = {};
    tagMENUXP_DRAWINFO diSidebar = {};

    int splitterPos = (int)MEDIT_SPLITTER_POS.fallback;
    int columnWidths[MEDIT_COLUMNS] = {160, 80, 360};
    // The tutorial's help window and the rectangle to return to when it goes.
    HWND tutorialWnd = nullptr;
    RECT tutorialRect = {0, 0, 0, 0};

    CMenuUndo undo;
    // The reload question is on screen.
    bool askingReload = false;
    // A dialog or pop-up holds entries of the menu: the comparison with the
    // file waits until it has gone.
    bool checkPending = false;
    bool inPopup = false;
    // While the views are being filled, selection changes are ours.
    bool building = false;
    // The entry whose list row is being dragged; -1 when none.
    long dragId = -1;
    char cmdLine[1024] = "";
};

MeditState* GetMeditState(HWND hwnd);

// --- init_win.cpp ---
bool Initialize(MeditState* st);
void SaveSettings(MeditState* st);
void LayoutWindow(MeditState* st);
// Shows or hides the tree, the list and the splitter.
void ShowViews(MeditState* st, bool show);
HICON LoadSmallIcon(int id);

// --- splitter_win.cpp ---
bool RegisterSplitterClass(HINSTANCE instance);
HWND CreateSplitter(HWND parent, int id);

// --- views_win.cpp ---
void BuildTree(MeditState* st);
void BuildList(MeditState* st);
// The list asks for a row's picture when it first paints the row: the
// entry's icon is read then, not for every entry when a menu opens.
void GetListRowImage(MeditState* st, NMLVDISPINFOA* info);
// The submenu whose children the list shows (the tree's selection); -1 none.
long SelectedTreeId(MeditState* st);
// The selected list row's entry id, -1 when no row is selected.
long SelectedListId(MeditState* st);
int SelectedListRow(MeditState* st);
// Every command acts on this entry: the list's selected row, else the tree's
// submenu. Properties alone takes the tree's submenu while the tree has the
// focus. -1 when none.
long SelectedEntryId(MeditState* st);
HTREEITEM FindTreeNode(MeditState* st, unsigned long id);
int FindListRow(MeditState* st, unsigned long id);
// A row for item at position row (or, with afterId >= 0, right after that
// entry's row), selected and focused alone. The row's index, or -1.
int InsertListRow(MeditState* st, const CMenuItem* item, int row, long afterId = -1);
// Rewrites the row's text, icon and target from the entry.
void UpdateListRow(MeditState* st, int row, const CMenuItem* item);
void SelectListRow(MeditState* st, int row);
// A tree node for the submenu item under parent, after the node of entry
// afterId (-1: last, -2: first). The node, or null.
HTREEITEM InsertTreeNode(MeditState* st, HTREEITEM parent, const CMenuItem* item, long afterId);
void UpdateTreeNode(MeditState* st, HTREEITEM node, const CMenuItem* item);
// Nearest submenu row above the row of id (including it unless skipSelf);
// -2 when there is none and skipSelf was asked, -1 otherwise.
long FindMenuBefore(MeditState* st, unsigned long id, bool skipSelf);
void SelectTreeNode(MeditState* st, unsigned long id);
void UpdateUI(MeditState* st);

// --- meditUndo_win.cpp ---
void InitUndo(HWND hwnd);
void AddUndo(HWND hwnd);
void Undo(HWND hwnd);
void Redo(HWND hwnd);
void ClearUndo(HWND hwnd);
void CopyEntry(MeditState* st);
void CutEntry(MeditState* st);
void PasteEntry(MeditState* st);
bool CanPaste(MeditState* st);

// --- commands_win.cpp ---
// Puts a new entry (owned by the call) into the model after the list
// selection or at the end of the tree's submenu, with undo. The new id, or 0.
unsigned long InsertNewEntry(MeditState* st, CMenuItem* entry);
void OnInsertCommand(MeditState* st, int command);
// The wizard's parameters for this window, with the given flags.
void FillWizardData(MeditState* st, struct tagWIZARD_DATA* wd, uint32_t flags);
void DeleteEntry(MeditState* st, bool confirm);
void MoveEntry(MeditState* st, bool up);
void SortSelectedMenu(MeditState* st);
void DoProperties(HWND hwnd, CMenuItem* item);
void OnProperties(MeditState* st);
void TestMenu(MeditState* st);

// --- dragdrop_win.cpp ---
// A drag of the list row starts: the main window takes the mouse.
void BeginListDrag(MeditState* st, int row);
// The pointer moved (screen point): shows where the row would go. false when
// no row is being dragged.
bool TrackListDrag(MeditState* st, POINT screen);
// The button went up (drop) or the mouse was lost: moves the entry, as one
// undo step, when the place allows it. false when no row was being dragged.
bool EndListDrag(MeditState* st, POINT screen, bool drop);

// --- files_win.cpp ---
bool ConfirmSave(MeditState* st);
void OnNew(MeditState* st);
void OnOpen(MeditState* st);
void OnOpenTarvinMenu(MeditState* st);
bool OnSave(MeditState* st);
bool OnSaveAs(MeditState* st);
// recent_win.cpp: the File menu's last four menu files. Add after every open and
// save; the command handler returns false for other commands.
void LoadRecentMenus(MeditState* st);
void AddRecentMenu(MeditState* st, const char* path);
bool OnRecentMenu(MeditState* st, int command);
// Reads path as the open menu; false (no menu open) with the message shown.
bool OpenMenuFile(MeditState* st, const char* path, const char* errorFormat, const char* errorTitle);
void CheckOutsideChange(MeditState* st);
void RememberFileTime(MeditState* st);
void MarkModified(MeditState* st);
