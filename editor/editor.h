// The launch file editor's main window: its state and the units that work
// on it (start-up and layout, the list, file commands, edits with undo).
#pragma once

#include <windows.h>

#include "AppList.h"
#include "FavList.h"
#include "LaunchFile.h"
#include "PtrList.h"
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

const int EDITOR_ACTION_CODES = LA_MESSAGE + 1;

// Everything the main window owns, reached through GWLP_USERDATA.
struct EditorState : MainFrame
{
    HWND hList = nullptr;
    CImageList listImages;
    int actionImage[EDITOR_ACTION_CODES + 1] = {}; // by code + 1 (unknown at 0)
    HMENU insertMenu = nullptr;                    // the menu bar's Insert popup
    bool filling = false;                          // the list is being refilled

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

// --- init.cpp: start-up, settings, controls -----------------------------------
// false when the program must end (the first-run check asked to stop).
bool Initialize(EditorState* st);
void SaveSettings(EditorState* st);
void LayoutWindow(EditorState* st);
// A new owner-drawn, categorised Insert menu; destroy it with
// MenuXP_DestroyMenu(menu, 0, 1, 0).
HMENU BuildInsertMenu(EditorState* st);
HICON LoadSmallIcon(int id);

// --- list.cpp: the list and the interface state --------------------------------
void UpdateUI(EditorState* st);
// Puts the action at row index (inserting a row, or replacing it with insert
// false), then selects only that row and scrolls it into view.
void UpdateList(EditorState* st, CLaunchAction* action, int index, bool insert);
void BuildList(EditorState* st);
int GetListSelIndex(EditorState* st);
void SelectRow(EditorState* st, int index);
// Model and list together, used by the edits and by undo and redo. Each
// leaves the touched row selected (after a delete: the row now at that
// index, or the last). false when the index is out of range.
bool ApplyInsert(EditorState* st, const char* text, int index);
bool ApplyDelete(EditorState* st, int index);
bool ApplyReplace(EditorState* st, int index, const char* text);
bool ApplyMove(EditorState* st, int from, int to);

// --- fileCmds.cpp: New, Open, Save, reload, Test --------------------------------
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

// --- editCmds.cpp: edits, each recorded for undo -------------------------------
// Index the next insert goes to: after the selected row, or at the end.
int InsertPlace(EditorState* st);
// Inserts the line into the model and the list at index, recorded as one
// insert step.
bool InsertLine(EditorState* st, const char* line, int index);
void OnInsert(EditorState* st, int command);
void OnInsertWebsite(EditorState* st);
void OnProperties(EditorState* st);
void OnDelete(EditorState* st);
void OnMove(EditorState* st, bool up);
void OnCopy(EditorState* st);
void OnCut(EditorState* st);
void OnPaste(EditorState* st);

// --- undo (UndoItem.cpp) --------------------------------------------------------
bool AddUndo(EditorState* st, unsigned kind, const char* fromText, unsigned fromIndex, const char* toText,
             unsigned toIndex);
void Undo(EditorState* st);
void Redo(EditorState* st);
void ClearUndo(EditorState* st);
inline bool IsModified(EditorState* st)
{
    return st->undo.GetSize() > 0;
}

// --- prefDlg.cpp ----------------------------------------------------------------
// Modal to owner; null: the main window.
void ShowPreferences(EditorState* st, HWND owner = nullptr);
