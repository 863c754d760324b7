#include <windows.h>

#include "pickProgram.h"
#include "browseAppsDlg.h"
#include "firstrun.h"
#include "strutils.h"

bool PickProgram(HWND owner, CAppList* apps, const char* initial, char* path, size_t size)
{
    char files[MAX_PATH] = "";
    GetMyTarvinFilesFolder(files, "");
    char result[MAX_PATH];
    StrCopy(result, initial ? initial : "");
    tagBROWSEAPPS ba;
    ZeroMemory(&ba, sizeof(ba));
    ba.hwndOwner = owner;
    ba.hInstance = (HINSTANCE)GetModuleHandleA(nullptr);
    ba.pszResult = result;
    ba.pszButton1 = "Browse &Launch Files...";
    ba.pszFolder1 = files;
    ba.pszFilter1 = "Launch Files (*.launch)\0*.launch\0All Files (*.*)\0*.*\0";
    ba.pszButton2 = "Browse &Program Files...";
    ba.pszFolder2 = "%ProgramFiles%";
    ba.pszFilter2 = "Executables (*.exe)\0*.exe\0All Files (*.*)\0*.*\0";
    ba.pAppList = apps;
    if (!BrowseApplications(&ba))
        return false;
    return StrCopy(path, size, result);
}
