// Edits of the open file: insert, properties, delete, move and the
// clipboard. Each is recorded as one undo step before it is applied.
#include <windows.h>
#include <string.h>

#include "editor.h"
#include "editmain.h"
#include "edit_res.h"
#include "propertiesDlg.h"
#include "wizardDlg.h"
#include "browseFavsDlg.h"
#include "dirutils_win.h"
#include "LaunchLine.h"
#include "strutils.h"
#include "winutils.h"

int InsertPlace(EditorState* st)
{
    int sel = GetListSelIndex(st);
    return sel >= 0 ? sel + 1 : st->file.GetCount();
}

bool InsertLine(EditorState* st, const char* line, int index)
{
    if (!st->fileOpen || !line || !line[0])
        return false;
    if (!AddUndo(st, UNDO_INSERT, line, (unsigned)index, nullptr, 0))
        return false;
    ApplyInsert(st, line, index);
    UpdateUI(st);
    return true;
}

// The keyword each insert command puts into the new action.
static const char* const kInsertKeywords[] = {
    "Launch",  "Open", "Print", "Copy",     "Delete",  "Move", "//",      "Message", "Kill",       "Close",
    "Destroy", "Hide", "Show",  "Shutdown", "Restart", "Exit", "Showall", "Wait",    "Screensaver"};

void OnInsert(EditorState* st, int command)
{
    if (!st->fileOpen || command < IDM_INSERT_FIRST || command > IDM_INSERT_LAST)
        return;
    int place = InsertPlace(st);
    st->scratch.SetString(kInsertKeywords[command - IDM_INSERT_FIRST]);
    st->insertMode = true;
    CModalScope scope(st);
    int ok =
        ShowActionProperties(st->hwnd, g_hInst, &st->scratch, true, st->windowState, &st->apps, &st->favs);
    st->insertMode = false;
    if (ok == 1)
        InsertLine(st, st->scratch.GetString(), place);
}

void OnInsertWebsite(EditorState* st)
{
    if (!st->fileOpen)
        return;
    int place = InsertPlace(st);
    char address[MAX_PATH] = "";
    tagBROWSEFAVS bf;
    ZeroMemory(&bf, sizeof(bf));
    bf.hwndOwner = st->hwnd;
    bf.hInstance = g_hInst;
    bf.pszResult = address;
    bf.pFavList = &st->favs;
    CModalScope scope(st);
    if (BrowseFavorites(&bf) != 1 || !address[0])
        return;
    char browser[MAX_PATH] = "";
    GetDefaultBrowserPath(browser, sizeof(browser));
    char line[LAUNCH_LINE_SIZE];
    if (!BuildWebPageLine(browser, address, WindowStateWord(1), line, sizeof(line)))
    {
        MessageBoxA(st->hwnd, "This address cannot be written into a launch file.", "Open Website",
                    MB_OK | MB_ICONWARNING);
        return;
    }
    InsertLine(st, line, place);
}

void OnProperties(EditorState* st)
{
    int sel = GetListSelIndex(st);
    CLaunchAction* action = sel >= 0 ? st->file.GetAction(sel) : nullptr;
    if (!action)
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    st->scratch.Copy(*action);
    st->insertMode = false;
    CModalScope scope(st);
    if (ShowActionProperties(st->hwnd, g_hInst, &st->scratch, false, st->windowState, &st->apps, &st->favs) !=
        1)
        return;
    // OK without a change is no edit: the file does not become modified.
    if (strcmp(st->scratch.GetString(), action->GetString()) == 0)
        return;
    char old[LAUNCH_LINE_SIZE];
    StrCopy(old, action->GetString());
    if (!AddUndo(st, UNDO_CHANGE, old, (unsigned)sel, st->scratch.GetString(), 0))
        return;
    ApplyReplace(st, sel, st->scratch.GetString());
    UpdateUI(st);
}

// Deletes the row as one undo step, without asking (Cut, and Delete once
// the user agreed).
static void DeleteRecorded(EditorState* st, int sel)
{
    char text[LAUNCH_LINE_SIZE];
    StrCopy(text, st->file.GetAction(sel)->GetString());
    if (!AddUndo(st, UNDO_DELETE, text, (unsigned)sel, nullptr, 0))
        return;
    ApplyDelete(st, sel);
    UpdateUI(st);
}

void OnDelete(EditorState* st)
{
    int sel = GetListSelIndex(st);
    if (sel < 0 || sel >= st->file.GetCount())
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    CModalScope scope(st);
    if (MessageBoxA(st->hwnd, "Are you sure you want to delete this action?", "Confirm Delete",
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    DeleteRecorded(st, sel);
}

void OnMove(EditorState* st, bool up)
{
    int sel = GetListSelIndex(st);
    int to = up ? sel - 1 : sel + 1;
    if (sel < 0 || to < 0 || to >= st->file.GetCount())
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    if (!AddUndo(st, UNDO_MOVE, st->file.GetAction(sel)->GetString(), (unsigned)sel, nullptr, (unsigned)to))
        return;
    ApplyMove(st, sel, to);
    UpdateUI(st);
}

// --- Clipboard: one action line in the private format ----------------------------

static bool CopySelected(EditorState* st)
{
    int sel = GetListSelIndex(st);
    CLaunchAction* action = sel >= 0 ? st->file.GetAction(sel) : nullptr;
    if (!action)
    {
        MessageBeep(MB_ICONHAND);
        return false;
    }
    return PutClipboardText(st->hwnd, st->clipFormat, action->GetString());
}

void OnCopy(EditorState* st)
{
    CopySelected(st);
}

void OnCut(EditorState* st)
{
    if (CopySelected(st))
        DeleteRecorded(st, GetListSelIndex(st));
}

// Only the first line of the clipboard's text is taken, cut to one launch
// line.
void OnPaste(EditorState* st)
{
    if (!st->fileOpen)
        return;
    char* text = CopyClipboardText(st->hwnd, st->clipFormat);
    if (!text)
        return;
    char line[LAUNCH_LINE_SIZE];
    size_t n = strcspn(text, "\r\n");
    StrCopyN(line, sizeof(line), text, n);
    delete[] text;
    TrimStr(line);
    if (line[0])
        InsertLine(st, line, InsertPlace(st));
}

// --- What the dialogs and wizards get from the main window ------------------------

bool EditorSave(HWND mainWnd, bool offerMenu)
{
    EditorState* st = GetEditorState(mainWnd);
    return st && OnSave(st, offerMenu);
}

const char* EditorFilePath(HWND mainWnd)
{
    EditorState* st = GetEditorState(mainWnd);
    return st ? st->path : "";
}

bool EditorInsertLine(HWND mainWnd, const char* line)
{
    EditorState* st = GetEditorState(mainWnd);
    return st && InsertLine(st, line, InsertPlace(st));
}

void EditorPreferences(HWND mainWnd, HWND owner)
{
    EditorState* st = GetEditorState(mainWnd);
    if (st)
        ShowPreferences(st, owner);
}

CAppList* EditorAppList(HWND mainWnd)
{
    EditorState* st = GetEditorState(mainWnd);
    return st ? &st->apps : nullptr;
}

CFavList* EditorFavList(HWND mainWnd)
{
    EditorState* st = GetEditorState(mainWnd);
    return st ? &st->favs : nullptr;
}
