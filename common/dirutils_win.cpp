#include <windows.h>
#include <shellapi.h>

#include "dirutils_win.h"
#include "regutils.h"
#include "winholders.h"
#include "strutils.h"

int GetMyDir(char* buf, size_t size, const char* append)
{
    char path[MAX_PATH];
    DWORD len = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (len == 0 || len >= sizeof(path))
        path[0] = '\0';
    int slash = CharFindRev(path, '\\', 0);
    StrCopyN(buf, size, path, slash >= 0 ? (size_t)slash + 1 : 0);
    if (append)
        StrAppend(buf, size, append);
    return (int)strlen(buf);
}

int LaunchFromMyDir(const char* file, const char* params, const char* dir, int show)
{
    char myDir[MAX_PATH];
    GetMyDir(myDir, sizeof(myDir), nullptr);
    char path[MAX_PATH];
    StrCopy(path, myDir);
    StrAppend(path, file);
    char parameters[MAX_PATH];
    StrCopy(parameters, params ? params : "");
    char directory[MAX_PATH];
    StrCopy(directory, dir ? dir : myDir);
    return (int)(INT_PTR)ShellExecuteA(nullptr, "open", path, parameters, directory, show);
}

char* GetDefaultBrowserPath(char* buf, size_t size)
{
    StrCopy(buf, size, "");
    char progId[MAX_PATH + 32] = "";
    if (!RegReadClassesDefault(".htm", progId, MAX_PATH))
        return buf;
    StrAppend(progId, "\\shell\\open\\command");
    char command[MAX_PATH * 2] = "";
    if (!RegReadClassesDefault(progId, command, sizeof(command)))
        return buf;
    if (command[0] == '"')
    {
        int close = CharFind(command, '"', 1);
        StrCopyN(buf, size, command + 1, close > 0 ? (size_t)close - 1 : strlen(command + 1));
    }
    else
    {
        char* space = strrchr(command, ' ');
        StrCopyN(buf, size, command, space ? (size_t)(space - command) : strlen(command));
    }
    return buf;
}

HICON GetDefaultBrowserIcon(HINSTANCE instance)
{
    char path[MAX_PATH];
    GetDefaultBrowserPath(path, sizeof(path));
    HICON small = nullptr;
    if (ExtractIconExA(path, 0, nullptr, &small, 1) > 0 && small)
        return small;
    WORD index = 0;
    return ExtractAssociatedIconA(instance, path, &index);
}

char* GetFileNameNumber(const char* folder, char* name, size_t size, const char* ext)
{
    char base[MAX_PATH];
    StrCopy(base, name);
    char candidate[MAX_PATH];
    // Bounded so that a folder that claims every name cannot hang the caller.
    for (int n = 1; n < 100000; n++)
    {
        StrFormat(candidate, sizeof(candidate), "%s\\%s %d%s", folder, base, n, ext);
        if (!FileExists(candidate))
            break;
    }
    StrCopy(name, size, candidate);
    return name;
}

int FileExists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES ? 1 : 0;
}

bool IsFolder(const char* path)
{
    DWORD attr = GetFileAttributesA(path);
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

int ConvertString(char* dst, const wchar_t* src, int size)
{
    if (size <= 0)
        return 0;
    int n = WideCharToMultiByte(CP_ACP, 0, src, -1, dst, size, nullptr, nullptr);
    if (n <= 0)
    {
        dst[0] = '\0';
        return 0;
    }
    return 1;
}
