#include <windows.h>
#include <shlobj.h>

#include "firstrun.h"
#include "winholders.h"
#include "dirutils_win.h"
#include "keysfile.h"
#include "logline.h"
#include "Menu.h"
#include "safesave.h"
#include "strutils.h"

static const char kSuiteKey[] = "Software\\Norvale\\Tarvin 2";
static const char kFilesFolderValue[] = "Files Folder";
static const char kFirstRunValue[] = "First Run";
static const char kFolderName[] = "Tarvin Files";
static const char kMenuFile[] = "Tarvin.menu";
static const char kSampleFile[] = "Sample.launch";
static const char kLogFile[] = "Tarvin.log";
static const char kKeysFile[] = "Tarvin Keys.keys";
static const char* const g_logHeader = LOGFILE_HEADER;
static const char* const g_keysHeader = KEYSFILE_HEADER;

static bool IsAbsolutePath(const char* path)
{
    bool drive = ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                 path[1] == ':' && path[2] == '\\';
    bool unc = path[0] == '\\' && path[1] == '\\';
    return drive || unc;
}

// The override from the registry; "" when there is none. False when a value
// is set but unusable: silently falling back to Documents would scatter the
// user's files over two folders.
static bool ReadFolderOverride(char* folder, size_t size)
{
    folder[0] = '\0';
    CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, kSuiteKey, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return true;
    char value[MAX_PATH + 1];
    DWORD type = 0;
    DWORD cb = MAX_PATH; // leaves room for a terminator the value may lack
    LONG rc = RegQueryValueExA(key.Get(), kFilesFolderValue, nullptr, &type, (BYTE*)value, &cb);
    key.Close();
    if (rc == ERROR_FILE_NOT_FOUND)
        return true;
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    value[cb] = '\0';
    if (value[0] == '\0')
        return true;
    if (type == REG_SZ)
        return StrCopy(folder, size, value);
    DWORD need = ExpandEnvironmentStringsA(value, folder, (DWORD)size);
    if (need == 0 || need > size)
    {
        folder[0] = '\0';
        return false;
    }
    return true;
}

// The user's files folder with exactly one trailing backslash.
static bool GetFilesFolder(char* folder, size_t size)
{
    char base[MAX_PATH];
    if (!ReadFolderOverride(base, sizeof(base)))
        return false;
    if (base[0] == '\0')
    {
        char docs[MAX_PATH];
        if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, docs)))
            return false;
        if (!StrFormat(base, sizeof(base), "%s\\%s", docs, kFolderName))
            return false;
    }
    else if (!IsAbsolutePath(base))
    {
        return false; // would depend on whatever folder the program started in
    }
    size_t len = strlen(base);
    while (len > 0 && base[len - 1] == '\\')
        base[--len] = '\0';
    return StrFormat(folder, size, "%s\\", base);
}

extern "C" int __cdecl GetMyTarvinFilesFolder(char* path, const char* name)
{
    if (!path)
        return 0;
    char folder[MAX_PATH];
    if (!GetFilesFolder(folder, sizeof(folder)) ||
        !StrFormat(path, MAX_PATH, "%s%s", folder, name ? name : ""))
    {
        path[0] = '\0';
        return 0;
    }
    return 1;
}

extern "C" int __cdecl TarvinFileExists(const char* name)
{
    char path[MAX_PATH];
    if (!GetMyTarvinFilesFolder(path, name))
        return 1;
    if (!FileExists(path))
        return 1;
    bool askedForFolder = !name || name[0] == '\0';
    return IsFolder(path) == askedForFolder ? 0 : 1;
}

extern "C" void __cdecl SetFirstRun(int firstRun)
{
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, kSuiteKey, KEY_SET_VALUE) != ERROR_SUCCESS)
        return;
    DWORD value = firstRun ? 1 : 0;
    RegSetValueExA(key.Get(), kFirstRunValue, 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
}

// A missing value means nobody has ended a first run yet.
static bool IsFirstRun()
{
    CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, kSuiteKey, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return true;
    DWORD value = 1;
    DWORD type = 0;
    DWORD cb = sizeof(value);
    LONG rc = RegQueryValueExA(key.Get(), kFirstRunValue, nullptr, &type, (BYTE*)&value, &cb);
    key.Close();
    if (rc != ERROR_SUCCESS || type != REG_DWORD)
        return true;
    return value != 0;
}

// Creates the folder and any missing parents. `folder` ends in a backslash.
static bool CreateFolder(const char* folder)
{
    size_t len = strlen(folder);
    // Skip the root: "X:\" or "\\server\share\".
    size_t start = 3;
    if (folder[0] == '\\' && folder[1] == '\\')
    {
        int slashes = 0;
        for (start = 2; start < len && slashes < 2; start++)
        {
            if (folder[start] == '\\')
                slashes++;
        }
    }
    char partial[MAX_PATH];
    for (size_t i = start; i < len; i++)
    {
        if (folder[i] != '\\')
            continue;
        StrCopyN(partial, sizeof(partial), folder, i);
        if (!IsFolder(partial))
            CreateDirectoryA(partial, nullptr);
    }
    return IsFolder(folder);
}

static bool WriteLines(const char* name, const char* const* lines, int count)
{
    char path[MAX_PATH];
    if (!GetMyTarvinFilesFolder(path, name))
        return false;
    CSafeSave save;
    if (!save.Begin(path))
        return false;
    for (int i = 0; i < count; i++)
        save.WriteLine(lines[i]);
    return save.Commit();
}

static bool WriteSampleLaunchFile()
{
    static const char* const lines[] = {
        "// Tarvin 2 sample launch file: one action per line, run from top to bottom.",
        "// Double-click it to run it, or open it in the Tarvin 2 Editor to change it.",
        "// Lines that start with two slashes are comments; they are not run.",
        "Message \"Hello from Tarvin 2! This sample shows a message, waits two seconds and shows another.\"",
        "Wait \"2000 ms\"",
        "Message \"That is all there is to it. Now write launch files of your own.\"",
    };
    return WriteLines(kSampleFile, lines, (int)(sizeof(lines) / sizeof(lines[0])));
}

static CMenuItem* NewMenuEntry(const char* text, const char* target, const char* workdir,
                               const char* iconpath)
{
    CMenuItem* item = new CMenuItem(0UL);
    item->SetStyle(MENU_STYLE_ITEM);
    item->SetText(text);
    item->SetTarget(target);
    item->SetWorkDir(workdir);
    item->SetIconPath(iconpath);
    return item;
}

// Links the entry under the parent; the new entry's id, or 0 (the entry is
// then freed).
static unsigned long AddMenuEntry(CMenu& menu, unsigned long parent, CMenuItem* item)
{
    unsigned long id = menu.InsertItem(item, parent, 1);
    if (id == 0)
        delete item;
    return id;
}

static bool WriteDefaultMenu()
{
    char folder[MAX_PATH];
    char sample[MAX_PATH];
    char system[MAX_PATH];
    char notepad[MAX_PATH];
    char calc[MAX_PATH];
    char path[MAX_PATH];
    if (!GetMyTarvinFilesFolder(folder, "") || !GetMyTarvinFilesFolder(sample, kSampleFile) ||
        !GetMyTarvinFilesFolder(path, kMenuFile))
        return false;
    folder[strlen(folder) - 1] = '\0'; // a folder target reads better without the backslash
    UINT n = GetSystemDirectoryA(system, sizeof(system));
    if (n == 0 || n >= sizeof(system))
        StrCopy(system, "C:\\Windows\\System32");
    StrFormat(notepad, sizeof(notepad), "%s\\notepad.exe", system);
    StrFormat(calc, sizeof(calc), "%s\\calc.exe", system);

    CMenu menu;
    menu.New();
    CMenuItem* root = menu.GetMenuTree()->GetData();
    root->SetStyle(MENU_STYLE_SUBMENU | MENU_STYLE_SIDEBAR);
    root->SetText("Tarvin 2");
    AddMenuEntry(menu, 0, NewMenuEntry("My Tarvin Files", folder, "", ""));
    // Only point at the sample when there is one: the user may have deleted it.
    if (TarvinFileExists(kSampleFile) == 0)
        AddMenuEntry(menu, 0, NewMenuEntry("Sample Launch File", sample, folder, ""));
    CMenuItem* separator = new CMenuItem(0UL);
    separator->SetStyle(MENU_STYLE_SEPARATOR);
    separator->SetText("-");
    AddMenuEntry(menu, 0, separator);
    CMenuItem* accessories = new CMenuItem(0UL);
    accessories->SetStyle(MENU_STYLE_SUBMENU);
    accessories->SetText("Accessories");
    unsigned long sub = AddMenuEntry(menu, 0, accessories);
    if (sub == 0)
        return false;
    AddMenuEntry(menu, sub, NewMenuEntry("Notepad", notepad, "", notepad));
    AddMenuEntry(menu, sub, NewMenuEntry("Calculator", calc, "", calc));
    return menu.WriteFile(path);
}

extern "C" int __cdecl CheckFirstRunAndMenu(const tagFIRSTRUN_DATA* data)
{
    (void)data; // the first run shows nothing; the agent's welcome wizard greets the user
    char folder[MAX_PATH];
    if (!GetMyTarvinFilesFolder(folder, "") || !CreateFolder(folder))
        return 1;
    if (IsFirstRun())
    {
        // The sample comes once: a user who deletes it does not want it back.
        if (TarvinFileExists(kSampleFile) != 0)
            WriteSampleLaunchFile();
        // An empty log and an empty keys file, so that a new user is not
        // told that they are missing. Only now: one that goes missing later
        // is news the agent must report.
        if (TarvinFileExists(kLogFile) != 0)
            WriteLines(kLogFile, &g_logHeader, 1);
        if (TarvinFileExists(kKeysFile) != 0)
            WriteLines(kKeysFile, &g_keysHeader, 1);
    }
    if (TarvinFileExists(kMenuFile) != 0 && !WriteDefaultMenu())
        return 2;
    return 0;
}
