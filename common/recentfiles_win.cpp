#include "recentfiles_win.h"

#include "dirutils_win.h"
#include "regutils.h"
#include "strutils.h"

static bool ReadValue(const char* name, char* buf, size_t size, void* key)
{
    return RegReadTSTR(HKEY_CURRENT_USER, (const char*)key, name, buf, (unsigned long)size) == 0;
}

static void WriteValue(const char* name, const char* text, void* key)
{
    if (text[0])
        RegWriteTSTR(HKEY_CURRENT_USER, (const char*)key, name, text);
    else
        RegDeleteVal(HKEY_CURRENT_USER, (const char*)key, name);
}

void ReadRecentFiles(CRecentFiles& list, const char* key)
{
    list.Load(ReadValue, (void*)key);
}

void WriteRecentFiles(const CRecentFiles& list, const char* key)
{
    list.Save(WriteValue, (void*)key);
}

void ShowRecentFiles(HMENU menu, const CRecentFiles& list, UINT firstId, UINT before)
{
    for (UINT id = firstId; id <= firstId + RECENT_FILES_MAX; id++)
        DeleteMenu(menu, id, MF_BYCOMMAND);
    for (int i = 0; i < list.GetCount(); i++)
    {
        char text[RECENT_PATH_SIZE + 8];
        StrFormat(text, sizeof(text), "&%d %s", i + 1, list.Get(i));
        InsertMenuA(menu, before, MF_BYCOMMAND | MF_STRING, firstId + (UINT)i, text);
    }
    if (list.GetCount() > 0)
        InsertMenuA(menu, before, MF_BYCOMMAND | MF_SEPARATOR, firstId + RECENT_FILES_MAX, nullptr);
}

bool PickRecentFile(HWND owner, CRecentFiles& list, const char* key, UINT firstId, UINT command, char* path,
                    size_t size)
{
    if (command < firstId || command >= firstId + (UINT)list.GetCount())
        return false;
    StrCopy(path, size, list.Get((int)(command - firstId)));
    if (FileExists(path))
        return true;
    char text[RECENT_PATH_SIZE + 96];
    StrFormat(text, sizeof(text),
              "The file %s no longer exists.\n\nIt has been removed from the list of recent files.", path);
    list.Remove(path);
    WriteRecentFiles(list, key);
    MessageBoxA(owner, text, "File Not Found", MB_OK | MB_ICONWARNING);
    return false;
}
