// Edits of the open file: insert and properties. Each is recorded as one
// undo step before it is applied (the edits of selected lines: lineCmds_win.cpp).
#include <windows.h>
#include <commctrl.h>
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
    // After the last of several selected rows.
    int last = -1;
    for (int i = GetListSelIndex(st); i >= 0; i = ListView_GetNextItem(st->hList, i, LVNI_SELECTED))
        last = i;
    return last >= 0 ? last + 1 : st->file.GetCount();
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
