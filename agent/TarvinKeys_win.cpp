#include <windows.h>
#include <shellapi.h>
#include <limits.h>

#include "TarvinKeys.h"
#include "HiddenWindows.h"
#include "TextFile.h"
#include "firstrun.h"
#include "safesave.h"

#include "strutils.h"

// The system takes application hot-key ids from 0 to 0xBFFF.
static const int kMaxHotKeyId = 0xBFFF;

// --- CTarvinKey -------------------------------------------------------------

CTarvinKey::CTarvinKey() : id(0), vcode(0), mods(0), action(0), target(new char[KEY_TARGET_SIZE])
{
    target[0] = '\0';
}

CTarvinKey::CTarvinKey(const CTarvinKey& other)
    : id(other.id), vcode(other.vcode), mods(other.mods), action(other.action),
      target(new char[KEY_TARGET_SIZE])
{
    StrCopy(target, KEY_TARGET_SIZE, other.target);
}

CTarvinKey& CTarvinKey::operator=(const CTarvinKey& other)
{
    if (this != &other)
    {
        id = other.id;
        vcode = other.vcode;
        mods = other.mods;
        action = other.action;
        StrCopy(target, KEY_TARGET_SIZE, other.target);
    }
    return *this;
}

CTarvinKey::~CTarvinKey()
{
    delete[] target;
}

void CTarvinKey::SetTarget(const char* text)
{
    StrCopy(target, KEY_TARGET_SIZE, text ? text : "");
}

// --- CTarvinKeys ------------------------------------------------------------

int CTarvinKeys::Load(const char* fileName)
{
    Clear();
    m_changed = false;
    // A missing file holds nothing to lose; any other failure does.
    m_unread = fileName && GetFileAttributesA(fileName) != INVALID_FILE_ATTRIBUTES;
    CTextFile file;
    file.Init(1024);
    if (!fileName || !file.Open(fileName, CTextFile::modeRead))
        return 0;

    char line[CTextFile::lineKeys];
    if (!file.ReadLine(line, sizeof(line)) || !ReadKeysHeader(line))
        return 0;
    m_unread = false;

    int count = 0;
    while (file.ReadCutLine(line, sizeof(line), nullptr))
    {
        tagKEY_LINE parsed;
        if (!ReadKeyLine(line, &parsed))
            continue;
        CTarvinKey* key = new CTarvinKey;
        key->id = count++;
        key->vcode = parsed.vcode;
        key->mods = parsed.mods;
        key->action = parsed.action;
        key->SetTarget(parsed.target);
        Add(key, true);
    }
    return 1;
}

bool CTarvinKeys::Save(const char* fileName, unsigned* unwritten)
{
    if (unwritten)
        *unwritten = 0;
    CSafeSave save;
    if (!fileName || !save.Begin(fileName))
        return false;
    save.WriteLine(KEYSFILE_HEADER);
    char line[KEY_LINE_SIZE];
    ResetCur();
    for (CTarvinKey* key = GetCur(); key; key = GetNext())
    {
        tagKEY_LINE out;
        out.vcode = key->vcode;
        out.mods = key->mods;
        out.action = key->action;
        StrCopy(out.target, key->target);
        if (FormatKeyLine(line, sizeof(line), &out))
            save.WriteLine(line);
        else if (unwritten)
            (*unwritten)++;
    }
    if (!save.Commit())
        return false;
    m_unread = false;
    return true;
}

int CTarvinKeys::GetNewId()
{
    int highest = -1;
    ResetCur();
    for (CTarvinKey* key = GetCur(); key; key = GetNext())
    {
        if (key->id > highest)
            highest = key->id;
    }
    if (highest < kMaxHotKeyId)
        return highest + 1;
    for (int id = 0; id <= kMaxHotKeyId; id++)
    {
        if (GetPosById(id) == UINT_MAX)
            return id;
    }
    return kMaxHotKeyId; // a table of 0xC000 keys cannot register them all anyway
}

int CTarvinKeys::AddKey(CTarvinKey* key)
{
    key->id = GetNewId();
    Add(key, true);
    m_changed = true;
    return key->id;
}

bool CTarvinKeys::RemoveKey(unsigned index)
{
    if (!Delete(index))
        return false;
    m_changed = true;
    return true;
}

// A copy of the file beside it under the first free name; an earlier copy
// is never overwritten.
static bool KeepUnreadFile(const char* path, char* kept, size_t size)
{
    for (int n = 1; n < 100; n++)
    {
        bool named =
            n == 1 ? StrFormat(kept, size, "%s.old", path) : StrFormat(kept, size, "%s.old%d", path, n);
        if (!named)
            return false;
        if (CopyFileA(path, kept, TRUE))
            return true;
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

int SaveKeysFile(CTarvinKeys& keys, const char* path, tagKEYS_SAVE* result)
{
    result->outcome = KEYS_NOT_SAVED;
    result->kept[0] = '\0';
    result->unwritten = 0;
    if (!path || !path[0])
        return 0;
    int saved = KEYS_SAVED;
    if (keys.IsUnread() && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
    {
        if (!keys.IsChanged())
        {
            result->outcome = KEYS_LEFT_UNREAD;
            return 0;
        }
        if (!KeepUnreadFile(path, result->kept, sizeof(result->kept)))
        {
            result->kept[0] = '\0';
            return 0;
        }
        saved = KEYS_SAVED_OLD_KEPT;
    }
    if (!keys.Save(path, &result->unwritten))
        return 0;
    result->outcome = saved;
    return 1;
}

BOOL CTarvinKeys::Register(unsigned index, HWND hwnd)
{
    CTarvinKey* key = GetAt(index);
    if (!key)
        return FALSE;
    return RegisterHotKey(hwnd, key->id, key->mods, (UINT)key->vcode);
}

BOOL CTarvinKeys::Unregister(unsigned index, HWND hwnd)
{
    CTarvinKey* key = GetAt(index);
    if (!key)
        return FALSE;
    return UnregisterHotKey(hwnd, key->id);
}

char* CTarvinKeys::GetText(unsigned index, char* buf, size_t size)
{
    if (buf && size > 0)
        buf[0] = '\0';
    CTarvinKey* key = GetAt(index);
    if (!key || !buf)
        return nullptr;
    FormatKeyText(buf, size, key->vcode, key->mods);
    return buf;
}

char* CTarvinKeys::GetDesc(unsigned index, char* buf, size_t size)
{
    if (buf && size > 0)
        buf[0] = '\0';
    CTarvinKey* key = GetAt(index);
    if (!key || !buf)
        return nullptr;
    FormatActionDesc(buf, size, key->action, key->target);
    return buf;
}

unsigned CTarvinKeys::GetPosById(int id)
{
    ResetCur();
    for (CTarvinKey* key = GetCur(); key; key = GetNext())
    {
        if (key->id == id)
            return (unsigned)GetCurIndex();
    }
    return UINT_MAX;
}

// --- The agent's wrappers -----------------------------------------------------

HINSTANCE CHotKeyHost::ShellExecuteRun(const char* target)
{
    return ShellExecuteA(NULL, "Open", target, NULL, NULL, SW_SHOWNORMAL);
}

void FormatRegisterFailure(CTarvinKeys& keys, unsigned index, char* buf, size_t size)
{
    char text[128];
    char desc[KEY_TARGET_SIZE + 16];
    keys.GetText(index, text, sizeof(text));
    keys.GetDesc(index, desc, sizeof(desc));
    StrFormat(buf, size, TVKEYS_REGISTER_FAILED, text, desc);
}

static bool KeysFilePath(char* path)
{
    return GetMyTarvinFilesFolder(path, TVKEYS_FILE_NAME) != 0 && path[0];
}

int LoadTarvinKeys(HWND, CTarvinKeys& keys)
{
    char path[MAX_PATH];
    if (!KeysFilePath(path))
    {
        keys.Clear();
        return 0;
    }
    return keys.Load(path);
}

int RegisterTarvinKeys(HWND mainWnd, CTarvinKeys& keys, CHotKeyHost& host)
{
    int failures = 0;
    for (unsigned i = 0; i < keys.GetSize(); i++)
    {
        if (keys.Register(i, mainWnd))
            continue;
        failures++;
        char text[600];
        FormatRegisterFailure(keys, i, text, sizeof(text));
        host.ShowMessage(mainWnd, text, "Tarvin Keys", MB_OK | MB_ICONINFORMATION);
    }
    return failures;
}

int SaveTarvinKeys(HWND, CTarvinKeys& keys, tagKEYS_SAVE* result)
{
    char path[MAX_PATH];
    if (!KeysFilePath(path))
        path[0] = '\0';
    return SaveKeysFile(keys, path, result);
}

// The agent's main window stays, and so do its dialogs (the message boxes
// among them, and the Hidden Windows list that brings windows back): hiding
// one would leave a question unanswerable or the agent without a way to be
// reached. Other windows of the agent's process, such as the help viewer,
// can be hidden like any other.
static bool IsAgentWindow(HWND mainWnd, HWND hwnd)
{
    if (hwnd == mainWnd)
        return true;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId())
        return false;
    char cls[16] = "";
    GetClassNameA(hwnd, cls, sizeof(cls));
    return strcmp(cls, "#32770") == 0;
}

static void HideWindowUnderCursor(HWND mainWnd, CHotKeyHost& host)
{
    POINT pt;
    host.GetCursor(&pt);
    HWND hwnd = GetTopParent(WindowFromPoint(pt));
    // Over bare desktop there is nothing to hide; hiding the desktop itself
    // would take every window off the screen.
    if (!hwnd || hwnd == GetDesktopWindow() || hwnd == GetShellWindow())
        return;
    if (IsAgentWindow(mainWnd, hwnd))
    {
        host.ShowMessage(mainWnd, TVKEYS_CANNOT_HIDE, NULL, MB_OK | MB_ICONWARNING);
        return;
    }
    CHiddenWindows* hidden = host.GetHiddenWindows();
    if (hidden)
        hidden->Hide(hwnd);
}

int OnHotKey(HWND mainWnd, int id, CTarvinKeys& keys, CHotKeyHost& host)
{
    unsigned pos = keys.GetPosById(id);
    CTarvinKey* key = pos == UINT_MAX ? nullptr : keys.GetAt(pos);
    if (!key)
        return 1;
    switch (key->action)
    {
        case KEYACT_RUN:
            host.Run(key->target);
            break;
        case KEYACT_HIDE_WINDOW:
            HideWindowUnderCursor(mainWnd, host);
            break;
        case KEYACT_HIDDEN_LIST:
            host.ShowHiddenWindowList(mainWnd);
            break;
        case KEYACT_SHOW_ALL: {
            CHiddenWindows* hidden = host.GetHiddenWindows();
            if (hidden)
                hidden->ShowAll();
            break;
        }
        case KEYACT_LOG_VIEWER:
            host.PostCommand(mainWnd, TVCMD_VIEW_LOG);
            break;
        case KEYACT_PREFERENCES:
            host.PostCommand(mainWnd, TVCMD_PREFERENCES);
            break;
        case KEYACT_EDITOR:
            host.PostCommand(mainWnd, TVCMD_EDITOR);
            break;
        case KEYACT_MENU_EDITOR:
            host.PostCommand(mainWnd, TVCMD_MENU_EDITOR);
            break;
        case KEYACT_SCHEDULER:
            host.PostCommand(mainWnd, TVCMD_SCHEDULER);
            break;
        case KEYACT_EXIT:
            host.PostCommand(mainWnd, TVCMD_EXIT);
            break;
        default:
            break;
    }
    return 1;
}
