#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include "filedlg.h"
#include "strutils.h"

static void FillOpenFileName(OPENFILENAMEA* ofn, HWND owner, const FileDialogOptions& options, char* file,
                             size_t size)
{
    ZeroMemory(ofn, sizeof(*ofn));
    ofn->lStructSize = sizeof(*ofn);
    ofn->hwndOwner = owner;
    ofn->lpstrFilter = options.filter;
    ofn->nFilterIndex = 1;
    ofn->lpstrFile = file;
    ofn->nMaxFile = (DWORD)size;
    ofn->lpstrInitialDir = options.initialDir;
    ofn->lpstrTitle = options.title;
    ofn->lpstrDefExt = options.defExt;
    ofn->Flags = options.flags;
}

bool AskOpenFileName(HWND owner, const FileDialogOptions& options, char* file, size_t size)
{
    OPENFILENAMEA ofn;
    FillOpenFileName(&ofn, owner, options, file, size);
    return GetOpenFileNameA(&ofn) != 0;
}

bool AskSaveFileName(HWND owner, const FileDialogOptions& options, char* file, size_t size)
{
    OPENFILENAMEA ofn;
    FillOpenFileName(&ofn, owner, options, file, size);
    return GetSaveFileNameA(&ofn) != 0;
}

bool BrowseForFolder(HWND owner, const char* title, char* folder)
{
    char name[MAX_PATH] = "";
    BROWSEINFOA bi;
    ZeroMemory(&bi, sizeof(bi));
    bi.hwndOwner = owner;
    bi.pszDisplayName = name;
    bi.lpszTitle = title;
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&bi);
    if (!chosen)
        return false;
    char path[MAX_PATH] = "";
    bool ok = SHGetPathFromIDListA(chosen, path) != 0;
    CoTaskMemFree(chosen);
    if (ok)
        StrCopy(folder, MAX_PATH, path);
    return ok;
}
