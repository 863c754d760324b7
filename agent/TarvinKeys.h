// Tarvin Keys: the agent's system-wide hot keys, each bound to one action,
// kept in "Tarvin Keys.keys" in the user's files folder.
#pragma once

#include <windows.h>
#include "PtrList.h"
#include "keysfile.h"

class CHiddenWindows;

// Main window commands that hot keys post.
enum
{
    TVCMD_EXIT = 200,
    TVCMD_EDITOR = 201,
    TVCMD_PREFERENCES = 220, // the first preferences page; 203 has no handler
    TVCMD_MENU_EDITOR = 205,
    TVCMD_SCHEDULER = 206,
    TVCMD_VIEW_LOG = 213
};

class CTarvinKey
{
  public:
    CTarvinKey();
    CTarvinKey(const CTarvinKey& other);
    CTarvinKey& operator=(const CTarvinKey& other);
    virtual ~CTarvinKey();

    void SetTarget(const char* target); // cut to KEY_TARGET_SIZE - 1 characters

    int id;
    int vcode;
    UINT mods;
    int action;
    char* target; // KEY_TARGET_SIZE bytes, owned
};

class CTarvinKeys : public CPtrList<CTarvinKey>
{
  public:
    // Replaces the table by the file's keys, with ids 0, 1, 2 ... in file
    // order. 1, or 0 when the file is missing, cannot be opened or its header
    // is not 1.00.
    int Load(const char* fileName);
    // Writes the table through a safe save; true when the file was replaced.
    // A key whose line cannot be written whole (a target with both quote
    // characters, which the Add dialog refuses) is left out rather than cut,
    // and counted in *unwritten.
    bool Save(const char* fileName, unsigned* unwritten = nullptr);
    // Appends the key (taken over) with an id no other key of the table has.
    // Returns the id.
    int AddKey(CTarvinKey* key);
    // Drops the key at index (already unregistered by the caller); false when
    // there is none.
    bool RemoveKey(unsigned index);
    // The last Load found a file it could not read (another version, a
    // damaged header, a file held by another program): writing over it would
    // lose the user's keys.
    bool IsUnread() const
    {
        return m_unread;
    }
    // A key was added or removed since the last Load.
    bool IsChanged() const
    {
        return m_changed;
    }
    // One more than the largest id in the table (0 for an empty table); the
    // lowest free id when that would leave the range the system accepts.
    int GetNewId();

    // RegisterHotKey / UnregisterHotKey on hwnd; 0 when there is no record.
    BOOL Register(unsigned index, HWND hwnd);
    BOOL Unregister(unsigned index, HWND hwnd);
    // "Ctrl + Alt + T"; null (buf emptied) when there is no record.
    char* GetText(unsigned index, char* buf, size_t size);
    // The action's description; null (buf emptied) when there is no record.
    char* GetDesc(unsigned index, char* buf, size_t size);
    // Position of the key with that id, or UINT_MAX.
    unsigned GetPosById(int id);

  private:
    bool m_unread = false;
    bool m_changed = false;
};

// What the save at exit did with the keys file.
enum
{
    KEYS_SAVED = 0,
    KEYS_LEFT_UNREAD = 1,    // the file could not be read at start and no key changed: not touched
    KEYS_SAVED_OLD_KEPT = 2, // the unread file was copied to `kept`, then the table saved
    KEYS_NOT_SAVED = 3       // nothing written; the file is as it was
};
struct tagKEYS_SAVE
{
    int outcome;
    char kept[MAX_PATH]; // the name the unread file was kept under
    unsigned unwritten;  // keys left out (CTarvinKeys::Save)
};
// Saves the table to path, never over a file that Load could not read
// without first keeping a copy of it beside, under path with ".old" (".old2",
// ... when taken) appended. 1 when path now holds the table.
int SaveKeysFile(CTarvinKeys& keys, const char* path, tagKEYS_SAVE* result);

// What the hot-key actions need from the rest of the agent. The defaults do
// the real thing; the agent overrides what belongs to its other parts.
class CHotKeyHost
{
  public:
    virtual ~CHotKeyHost()
    {
    }
    // Action 2 and 4 work on this list; null leaves them without effect.
    virtual CHiddenWindows* GetHiddenWindows()
    {
        return nullptr;
    }
    // Action 3: open or raise the Hidden Windows dialog.
    virtual void ShowHiddenWindowList(HWND /*mainWnd*/)
    {
    }
    virtual int ShowMessage(HWND owner, const char* text, const char* caption, UINT type)
    {
        return MessageBoxA(owner, text, caption, type);
    }
    // Action 1; the result of ShellExecute.
    virtual HINSTANCE Run(const char* target)
    {
        return ShellExecuteRun(target);
    }
    virtual void PostCommand(HWND mainWnd, int id)
    {
        PostMessageA(mainWnd, WM_COMMAND, (WPARAM)id, 0);
    }
    virtual void GetCursor(POINT* pt)
    {
        if (!GetCursorPos(pt))
            pt->x = pt->y = 0;
    }

    static HINSTANCE ShellExecuteRun(const char* target);
};

#define TVKEYS_FILE_NAME "Tarvin Keys.keys"
#define TVKEYS_REGISTER_FAILED                                                                               \
    "Tarvin is unable to register the new Tarvin Key:\n   %s\n   %s\n\n"                                     \
    "This may be because the key is already registered by another application."
#define TVKEYS_CANNOT_HIDE "You cannot hide Tarvin Agent windows using this feature."

// The registration failure text for the key at index.
void FormatRegisterFailure(CTarvinKeys& keys, unsigned index, char* buf, size_t size);

// The agent's wrappers around its one table; the file is always
// "Tarvin Keys.keys" in the user's files folder.
int LoadTarvinKeys(HWND mainWnd, CTarvinKeys& keys);
// Registers every key on the main window; each failure is reported through
// host.ShowMessage (caption "Tarvin Keys"). Returns the number of failures.
int RegisterTarvinKeys(HWND mainWnd, CTarvinKeys& keys, CHotKeyHost& host);
// SaveKeysFile on "Tarvin Keys.keys"; 1 when it holds the table.
int SaveTarvinKeys(HWND mainWnd, CTarvinKeys& keys, tagKEYS_SAVE* result);
// WM_HOTKEY of the main window: runs the action of the key with that id. 1.
int OnHotKey(HWND mainWnd, int id, CTarvinKeys& keys, CHotKeyHost& host);
