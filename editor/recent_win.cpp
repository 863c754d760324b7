// The File menu's recent files: the last four launch files opened or saved.
#include <windows.h>

#include "editor.h"
#include "edit_res.h"
#include "recentfiles_win.h"

static void ShowRecent(EditorState* st)
{
    HMENU file = GetSubMenu(GetMenu(st->hwnd), 0);
    if (file)
        ShowRecentFiles(file, st->recent, IDM_RECENT_FIRST, IDM_EXIT);
    DrawMenuBar(st->hwnd);
}

void LoadRecentFiles(EditorState* st)
{
    ReadRecentFiles(st->recent, EDITOR_REG_KEY);
    ShowRecent(st);
}

void AddRecentFile(EditorState* st, const char* path)
{
    // Read first: another editor window may have changed the list meanwhile.
    ReadRecentFiles(st->recent, EDITOR_REG_KEY);
    if (st->recent.Add(path))
        WriteRecentFiles(st->recent, EDITOR_REG_KEY);
    ShowRecent(st);
}

void OnRecentFile(EditorState* st, int command)
{
    char path[MAX_PATH];
    CModalScope scope(st);
    bool found = PickRecentFile(st->hwnd, st->recent, EDITOR_REG_KEY, IDM_RECENT_FIRST, (UINT)command, path,
                                sizeof(path));
    ShowRecent(st);
    if (found && ConfirmSave(st))
        OpenFile(st, path, false);
}
