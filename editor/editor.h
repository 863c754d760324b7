// The launch file editor's main window: its state and the units that work
// on it (start-up and layout, the list, file commands, edits with undo).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "AppList.h"
#include "FavList.h"
#include "LaunchFile.h"
#include "PtrList.h"
#include "recentfiles.h"
#include "UndoItem.h"
#include "editmain.h"
#include "mainwnd.h"
#include "menuxp.h"
#include "winholders.h"

#define EDITOR_WINDOW_CLASS "_TVEDIT_MAINWND"
#define EDITOR_WINDOW_TITLE "Tarvin 2 Editor"
#define EDITOR_CLIPBOARD_FORMAT "TVEDIT_CCPFORMAT"

extern HINSTANCE g_hInst;

// Posted to itself when the window became active from another program: the
// file on disk is compared once the activation has settled.
const UINT WM_EDITOR_CHECKFILE = WM_APP + 1;
// Posted to itself when the list began a drag: the mouse is captured once the
// list has finished with the button-down (it may release the capture itself).
const UINT WM_EDITOR_DRAGSTART = WM_APP + 2;

const int EDITOR_ACTION_CODES = LA_MESSAGE + 1;

// Everything the main window owns, reached through GWLP_USERDATA.
struct EditorState : MainFrame
{
    HWND hList = nullptr;
    CImageList listImages;
    HMENU insertMenu = nullptr; // the menu bar's Insert popup
    bool filling = false;       // the list is being refilled

    CLaunchFile file;
    CLaunchAction scratch; // the action the properties dialog edits
    bool insertMode = false;
    char path[MAX_PATH] = "";
    bool fileOpen = false;
    bool newFile = false; // created in this run, not yet offered for the menu
    FILETIME lastWrite = {0, 0};
    bool askingReload = false;
    // Dialogs that hold a row or the model are open; the check for a file
    // changed outside waits for them (checkPending).
    int modalDepth = 0;
    bool checkPending = false;
    CPtrList<CUndoItem> undo;
    CPtrList<CUndoItem> redo;
    unsigned undoGroup = 0; // the group new steps join (0: none)
    unsigned lastGroup = 0;
    bool addSelect = false;     // touched rows join the selection (an edit of several lines)
    int lastTouched = 0;        // the row the last edit touched
    int dragRow = -1;           // the row under the mouse when a drag began (-1: no drag)
    int pressRow = -1;          // a selected row the left button went down on
    WNDPROC listProc = nullptr; // the list's own procedure, behind the drag watch
    POINT pressPoint = {0, 0};
    CRecentFiles recent;
    // Run Selected Lines: the interpreter started on a temporary file, which
    // is removed once the interpreter has ended.
    HANDLE runProcess = nullptr;
    char runFile[MAX_PATH] = "";
    UINT clipFormat = 0;

    // Settings
    bool showTips = true;
    bool showStartup = true;
    bool advancedMode = false;
    bool addShortcuts = true;
    int windowState = 1;
    bool insertDelay = true;
    bool insertComments = true;
    bool testFull = false;
    int columnWidths[2] = {160, 440};

    tagMENUXP_DRAWINFO diItem = {};
    CAppList apps;
    CFavList favs;
    char cmdLine[1024] = "";
};

EditorState* GetEditorState(HWND hwnd);

// Held while a modal dialog of the editor is open: a reload must not replace
// the model under it, so the file is compared once the dialog has ended.
class CModalScope
{
  public:
    explicit CModalScope(EditorState* st) : m_st(st)
    {
        m_st->modalDepth++;
    }
    ~CModalScope()
    {
        if (--m_st->modalDepth == 0 && m_st->checkPending)
        {
            m_st->checkPending = false;
            PostMessageA(m_st->hwnd, WM_EDITOR_CHECKFILE, 0, 0);
        }
    }
    CModalScope(const CModalScope&) = delete;
    CModalScope& operator=(const CModalScope&) = delete;

  private:
    EditorState* m_st;
};

// --- init_win.cpp: start-up, settings, controls --------------------------------
// false when the program must end (the first-run check asked to stop).
bool Initialize(EditorState* st);
void SaveSettings(EditorState* st);
void LayoutWindow(EditorState* st);
// A new owner-drawn, categorised Insert menu; destroy it with
// MenuXP_DestroyMenu(menu, 0, 1, 0).
HMENU BuildInsertMenu(EditorState* st);
// Fills an empty popup with the Insert entries, greyed when no file is open.
void FillInsertMenu(EditorState* st, HMENU menu);
HICON LoadSmallIcon(int id);

// --- list_win.cpp: the list and the interface state ----------------------------
void UpdateUI(EditorState* st);
// Puts the action at row index (inserting a row, or replacing it with insert
// false), then selects only that row and scrolls it into view.
void UpdateList(EditorState* st, CLaunchAction* action, int index, bool insert);
void BuildList(EditorState* st);
int GetListSelIndex(EditorState* st);
// The selected rows, sorted, in a new[] array the caller deletes; 0 (and no
// array) when none.
int GetSelectedRows(EditorState* st, int** rows);
// Selects only that row (-1: none); while an edit of several lines runs, the
// row joins the selection instead.
void SelectRow(EditorState* st, int index);
// A row's texts and picture, asked for when the list paints it.
void OnListDispInfo(EditorState* st, NMLVDISPINFOA* info);
// Greys the rows of disabled lines.
LRESULT OnListCustomDraw(EditorState* st, NMLVCUSTOMDRAW* cd);
// Model and list together, used by the edits and by undo and redo. Each
// leaves the touched row selected (after a delete: the row now at that
// index, or the last). false when the index is out of range.
bool ApplyInsert(EditorState* st, const char* text, int index);
bool ApplyDelete(EditorState* st, int index);
bool ApplyReplace(EditorState* st, int index, const char* text);
bool ApplyMove(EditorState* st, int from, int to);

// --- fileCmds_win.cpp: New, Open, Save, reload, Test ---------------------------
// The save question for a modified file: true when the caller may go on
// (saved, or the changes dropped), false on Cancel or a failed save.
// offerMenu as for OnSave.
bool ConfirmSave(EditorState* st, bool offerMenu = true);
// true when a new file or the chosen file is now open; false when the user
// cancelled or the file could not be read.
bool OnNew(EditorState* st);
bool OnOpen(EditorState* st);
// Loads path as the open file; shows the error box on failure. true when
// loaded.
bool OpenFile(EditorState* st, const char* path, bool quiet);
bool OnSave(EditorState* st, bool offerMenu);
bool OnSaveAs(EditorState* st, bool offerMenu);
void OnCheckFile(EditorState* st);
void OnTest(EditorState* st);
// Checks the launch file at path and, on any finding, shows them and asks
// whether to run it anyway. rows maps the file's lines to the list's rows
// (null: the same). true when it may run.
bool CheckBeforeRun(EditorState* st, const char* path, const int* rows, int n);

// --- recent_win.cpp: the File menu's recent files ------------------------------
void LoadRecentFiles(EditorState* st);
// Puts the open file at the top of the list, stores it and updates the menu.
void AddRecentFile(EditorState* st, const char* path);
void OnRecentFile(EditorState* st, int command);

// --- editCmds_win.cpp: edits, each recorded for undo ---------------------------
// Index the next insert goes to: after the selected row, or at the end.
int InsertPlace(EditorState* st);
// Inserts the line into the model and the list at index, recorded as one
// insert step.
bool InsertLine(EditorState* st, const char* line, int index);
void OnInsert(EditorState* st, int command);
void OnInsertWebsite(EditorState* st);
void OnProperties(EditorState* st);

// --- lineCmds_win.cpp: edits of all selected lines, each one undo step ---------
void OnDelete(EditorState* st);
void OnMove(EditorState* st, bool up);
void OnCopy(EditorState* st);
void OnCut(EditorState* st);
void OnPaste(EditorState* st);
void OnDisable(EditorState* st, bool enable);
void OnRunSelected(EditorState* st);
// The interpreter of Run Selected Lines ended: its file is removed.
void OnRunEnded(EditorState* st, bool force);
// Dragging rows: begun on the list, followed and dropped by the main window.
void OnBeginDrag(EditorState* st, int row);
// Watches the list for a drag that starts on a selected row (some list views
// send no begin-drag for those, as they wait to see whether it is a click).
void WatchListDrags(EditorState* st);
void OnDragStart(EditorState* st);
void OnDragMove(EditorState* st, int x, int y);
void OnDrop(EditorState* st, int x, int y, bool cancel);

// --- undo (UndoItem_win.cpp) ---------------------------------------------------
bool AddUndo(EditorState* st, unsigned kind, const char* fromText, unsigned fromIndex, const char* toText,
             unsigned toIndex);
void Undo(EditorState* st);
void Redo(EditorState* st);
void ClearUndo(EditorState* st);
// An edit of several lines: the steps recorded between Begin and End are one
// undo step, and every row they touch ends selected. record false: no group
// is opened for recording (undo and redo of a group).
unsigned BeginLineGroup(EditorState* st, bool record = true);
void EndLineGroup(EditorState* st);
// Records one step (AddUndo) and applies it as redo would.
bool RecordStep(EditorState* st, unsigned kind, const char* fromText, unsigned fromIndex, const char* toText,
                unsigned toIndex);
inline bool IsModified(EditorState* st)
{
    return st->undo.GetSize() > 0;
}

// --- prefDlg_win.cpp -----------------------------------------------------------
// Modal to owner; null: the main window.
void ShowPreferences(EditorState* st, HWND owner = nullptr);
