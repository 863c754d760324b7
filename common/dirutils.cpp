#include "dirutils.h"
#include "strutils.h"

char* GetDirFromPath(const char* path, char* dir, size_t size)
{
    int slash = CharFindRev(path, '\\', 0);
    if (slash >= 0)
        StrCopyN(dir, size, path, (size_t)slash + 1);
    return dir;
}

char* GetFileNameFromPath(const char* path, char* name, size_t size)
{
    int slash = CharFindRev(path, '\\', 0);
    StrCopy(name, size, slash >= 0 ? path + slash + 1 : path);
    return name;
}

char* GetFileTitleFromPath(const char* path, char* title, size_t size)
{
    GetFileNameFromPath(path, title, size);
    // A name whose only dot is its first character keeps it.
    int dot = CharFindRev(title, '.', 0);
    if (dot > 0)
        title[dot] = '\0';
    return title;
}

char* GetExtFromPath(const char* path, char* ext, size_t size)
{
    StrCopy(ext, size, "");
    int dot = CharFindRev(path, '.', 0);
    if (dot > 0)
        StrCopy(ext, size, path + dot);
    return ext;
}

bool GetCommandProgram(const char* command, char* buf, size_t size)
{
    if (!buf || size == 0)
        return false;
    buf[0] = '\0';
    if (!command || !*command)
        return false;
    if (command[0] == '"')
    {
        const char* close = strchr(command + 1, '"');
        if (!close)
            return false;
        StrCopyN(buf, size, command + 1, (size_t)(close - command - 1));
    }
    else
    {
        const char* space = strrchr(command, ' ');
        if (!space)
            StrCopy(buf, size, command);
        else
            StrCopyN(buf, size, command, (size_t)(space - command));
    }
    return buf[0] != '\0';
}
