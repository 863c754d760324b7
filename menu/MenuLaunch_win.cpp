#include "MenuLaunch.h"
#include <shellapi.h>

#include "Menu.h"
#include "dirutils_win.h"
#include "strutils.h"

PFN_MENUSHELLEXECUTE g_MenuShellExecute = ShellExecuteA;

static int Execute(const char* target, const CMenuItem* item)
{
    const char* cmdLine = item->GetCmdLine();
    const char* workDir = item->GetWorkDir();
    return (int)(INT_PTR)g_MenuShellExecute(NULL, NULL, target, cmdLine[0] ? cmdLine : NULL,
                                            workDir[0] ? workDir : NULL, (int)item->GetWindowState());
}

int LaunchMenuItem(const CMenuItem* item, const char* menuPath)
{
    int result = Execute(item->GetTarget(), item);
    if (result != SE_ERR_FNF && result != SE_ERR_PNF)
        return result;

    char name[MAX_PATH] = "";
    GetFileNameFromPath(item->GetTarget(), name, sizeof(name));
    if (!name[0])
        return result;
    char path[MAX_PATH] = "";
    GetDirFromPath(menuPath ? menuPath : "", path, sizeof(path));
    size_t len = strlen(path);
    if (len && path[len - 1] != '\\')
        StrAppend(path, "\\");
    if (!path[0] || !StrAppend(path, name) || !FileExists(path))
        GetMyDir(path, sizeof(path), name);
    return Execute(path, item);
}

const char* MenuLaunchErrorText(int result, char* buf, size_t size)
{
    switch (result)
    {
        case 0:
        case SE_ERR_OOM:
            return "The operating system does not have the resources to execute this command.";
        case SE_ERR_FNF:
        case SE_ERR_PNF:
            return "Cannot find the target file.";
        case SE_ERR_ACCESSDENIED:
            return "The current user does not have access to the specified target.";
        case SE_ERR_SHARE:
            return "There was a sharing violation with the target file.";
        case SE_ERR_ASSOCINCOMPLETE:
        case SE_ERR_NOASSOC:
            return "The target file association is incomplete.";
        case SE_ERR_DDETIMEOUT:
        case SE_ERR_DDEFAIL:
        case SE_ERR_DDEBUSY:
            return "The DDE communication failed.";
    }
    StrFormat(buf, size, "Error code %d occurred while trying to execute the menu command.", result);
    return buf;
}
