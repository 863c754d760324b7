// The File menu's recent files: the last four menu files opened or saved.
#include <windows.h>

#include "dlgcommon.h"
#include "medit_res.h"
#include "meditstate.h"
#include "recentfiles_win.h"

static CRecentFiles g_recent;

static void ShowRecent(MeditState* st)
{
    HMENU file = GetSubMenu(GetMenu(st->hwnd), 0);
    if (file)
        ShowRecentFiles(file, g_recent, IDM_RECENT_FIRST, IDM_EXIT);
    DrawMenuBar(st->hwnd);
}

void LoadRecentMenus(MeditState* st)
{
    ReadRecentFiles(g_recent, MEDIT_REG_KEY);
    ShowRecent(st);
}

void AddRecentMenu(MeditState* st, const char* path)
{
    // Read first: another editor window may have changed the list meanwhile.
    ReadRecentFiles(g_recent, MEDIT_REG_KEY);
    if (g_recent.Add(path))
        WriteRecentFiles(g_recent, MEDIT_REG_KEY);
    ShowRecent(st);
}

bool OnRecentMenu(MeditState* st, int command)
{
    if (command < IDM_RECENT_FIRST || command > IDM_RECENT_LAST)
        return false;
    char path[MAX_PATH];
    bool found = PickRecentFile(st->hwnd, g_recent, MEDIT_REG_KEY, IDM_RECENT_FIRST, (UINT)command, path,
                                sizeof(path));
    ShowRecent(st);
    if (found && ConfirmSave(st))
        OpenMenuFile(st, path,
                     "An error has occured while reading the menu file.\nThe reported error code is %d.",
                     "Error Reading Menu File");
    return true;
}
