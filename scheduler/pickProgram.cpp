#include <windows.h>
#include <commdlg.h>

#include "pickProgram.h"
#include "firstrun.h"
#include "strutils.h"

// The application browser is the intended chooser here (with its list of
// known programs, apps); until it is part of the scheduler this is the
// system's Open dialog starting in the user's files folder, where launch
// files live.
bool PickProgram(HWND owner, CAppList*, const char* initial, char* path, size_t size)
{
    char file[MAX_PATH];
    StrCopy(file, initial ? initial : "");
    char folder[MAX_PATH] = "";
    GetMyTarvinFilesFolder(folder, "");
    OPENFILENAMEA ofn;
    ZeroMemory(&ofn, sizeof(ofn));
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "Launch Files (*.launch)\0*.launch\0Executables (*.exe)\0*.exe\0All Files (*.*)\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof(file);
    ofn.lpstrInitialDir = folder[0] ? folder : nullptr;
    ofn.lpstrTitle = "Select an application";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn))
        return false;
    return StrCopy(path, size, file);
}
