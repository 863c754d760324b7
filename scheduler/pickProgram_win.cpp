#include <windows.h>

#include "pickProgram.h"
#include "browseAppsDlg.h"
#include "firstrun.h"
#include "strutils.h"

bool PickProgram(HWND owner, CAppList* apps, const char* initial, char* path, size_t size)
{
    char files[MAX_PATH] = "";
    GetMyTarvinFilesFolder(files, "");
    return BrowseProgramsAndLaunchFiles(owner, apps, files, true, initial ? initial : "", path, size);
}
