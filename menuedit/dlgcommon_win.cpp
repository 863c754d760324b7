#include <windows.h>
#include <windowsx.h>

#include "dlgcommon.h"
#include "Menu_win.h"
#include "PickIconDialog.h"
#include "browseAppsDlg.h"
#include "firstrun.h"
#include "regutils.h"
#include "strutils.h"

void FillWindowStates(HWND combo, unsigned long state)
{
    ComboBox_ResetContent(combo);
    ComboBox_AddString(combo, "Normal Window");
    ComboBox_AddString(combo, "Minimized");
    ComboBox_AddString(combo, "Maximized");
    ComboBox_SetCurSel(combo, state >= 1 && state <= 3 ? (int)state - 1 : 0);
}

unsigned long SelectedWindowState(HWND combo, unsigned long fallback)
{
    int index = ComboBox_GetCurSel(combo);
    return index >= 0 && index <= 2 ? (unsigned long)index + 1 : fallback;
}

void ShowEntryIcon(HWND iconControl, const CMenuItem& item, HINSTANCE instance)
{
    HICON icon = item.GetIconPath()[0] ? GetMenuItemIcon(item, instance) : nullptr;
    HICON old = (HICON)SendMessageA(iconControl, STM_SETICON, (WPARAM)icon, 0);
    if (old && old != icon)
        DestroyIcon(old);
}

bool PickEntryIcon(HWND owner, CMenuItem* item)
{
    char path[MAX_PATH];
    StrCopy(path, item->GetIconPath()[0] ? item->GetIconPath()
                  : item->GetTarget()[0] ? item->GetTarget()
                                         : "shell32.dll");
    int index = item->GetIconPath()[0] ? (int)item->GetIconNumber() : 0;
    if (!SelectIconA(owner, path, sizeof(path), &index))
        return false;
    item->SetIconPath(path);
    item->SetIconNumber(index < 0 ? 0 : (unsigned long)index);
    return true;
}

bool BrowseTarget(HWND owner, CAppList* apps, char* path, size_t size)
{
    char files[MAX_PATH] = "";
    GetMyTarvinFilesFolder(files, "");
    return BrowseProgramsAndLaunchFiles(owner, apps, files, false, path, path, size);
}
