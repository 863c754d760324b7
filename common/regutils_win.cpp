#include "regutils.h"
#include "winholders.h"
#include <stdlib.h>
#include "strutils.h"

namespace
{
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Reads the value into a scratch copy of the target, so that a failing read
// (missing, too long, or a value that changes size under us) leaves the
// caller's default alone. Returns the system's result and the bytes read.
LONG QueryInto(HKEY root, const char* subkey, const char* name, void* target, DWORD size, DWORD* got)
{
    CRegKey key;
    LONG rc = key.Open(root, subkey, KEY_QUERY_VALUE);
    if (rc != ERROR_SUCCESS)
        return rc;

    BYTE* scratch = (BYTE*)malloc(size ? size : 1);
    if (!scratch)
        return ERROR_OUTOFMEMORY;
    memcpy(scratch, target, size);
    DWORD cb = size;
    rc = RegQueryValueExA(key.Get(), name, NULL, NULL, scratch, &cb);
    key.Close();
    if (rc == ERROR_SUCCESS)
    {
        memcpy(target, scratch, cb);
        *got = cb;
    }
    free(scratch);
    return rc;
}

// 1 when the key cannot be created, else the system's result of the write.
LONG SetValue(HKEY root, const char* subkey, const char* name, DWORD type, const void* data, DWORD size)
{
    CRegKey key;
    if (key.Create(root, subkey, KEY_WRITE) != ERROR_SUCCESS)
        return 1;
    return RegSetValueExA(key.Get(), name, 0, type, (const BYTE*)data, size);
}
} // namespace

int RegReadDWORD(HKEY root, const char* subkey, const char* name, unsigned long* value)
{
    DWORD got = 0;
    DWORD v = *value;
    if (QueryInto(root, subkey, name, &v, sizeof(v), &got) != ERROR_SUCCESS)
        return 0;
    *value = v;
    return 1;
}

unsigned long RegReadDWORDOr(HKEY root, const char* subkey, const char* name, unsigned long fallback)
{
    unsigned long value = fallback;
    RegReadDWORD(root, subkey, name, &value);
    return value;
}

unsigned long RegReadSetting(const DwordSetting& setting)
{
    return RegReadDWORDOr(HKEY_CURRENT_USER, setting.key, setting.name, setting.fallback);
}

int RegWriteSetting(const DwordSetting& setting, unsigned long value)
{
    return RegWriteDWORD(HKEY_CURRENT_USER, setting.key, setting.name, value);
}

int RegWriteDWORD(HKEY root, const char* subkey, const char* name, unsigned long value)
{
    DWORD v = value;
    return (int)SetValue(root, subkey, name, REG_DWORD, &v, sizeof(v));
}

int RegReadRECT(HKEY root, const char* subkey, const char* name, RECT* rect)
{
    DWORD got = 0;
    static_assert(sizeof(RECT) == 16, "rectangles are stored as four 32-bit integers");
    return QueryInto(root, subkey, name, rect, sizeof(RECT), &got) == ERROR_SUCCESS ? 1 : 0;
}

int RegWriteRECT(HKEY root, const char* subkey, const char* name, RECT rect)
{
    return SetValue(root, subkey, name, REG_BINARY, &rect, sizeof(rect)) == ERROR_SUCCESS ? 1 : 0;
}

int RegReadTSTR(HKEY root, const char* subkey, const char* name, char* buf, unsigned long size)
{
    if (!buf || size == 0)
        return ERROR_INVALID_PARAMETER;

    CRegKey key;
    LONG rc = key.Open(root, subkey, KEY_QUERY_VALUE);
    if (rc != ERROR_SUCCESS)
        return (int)rc;
    char* scratch = (char*)malloc(size);
    if (!scratch)
        return ERROR_OUTOFMEMORY;
    DWORD cb = size;
    rc = RegQueryValueExA(key.Get(), name, NULL, NULL, (BYTE*)scratch, &cb);
    key.Close();
    if (rc == ERROR_SUCCESS)
    {
        // Writers store strings without their zero, so a value that fills the
        // buffer exactly has none: keep the last byte for the terminator.
        DWORD keep = cb < size ? cb : size - 1;
        memcpy(buf, scratch, keep);
        buf[keep] = '\0';
    }
    free(scratch);
    return (int)rc;
}

int RegWriteTSTR(HKEY root, const char* subkey, const char* name, const char* text)
{
    return (int)SetValue(root, subkey, name, REG_SZ, text, (DWORD)strlen(text));
}

int RegDeleteVal(HKEY root, const char* subkey, const char* name)
{
    CRegKey key;
    if (key.Open(root, subkey, KEY_SET_VALUE) != ERROR_SUCCESS)
        return 0;
    return RegDeleteValueA(key.Get(), name) == ERROR_SUCCESS ? 1 : 0;
}

int RunAtStartUp(const char* name, const char* path, int enable)
{
    if (!enable)
        return RegDeleteVal(HKEY_CURRENT_USER, kRunKey, name);

    // Room for any path of MAX_PATH bytes between quotes; a cut path would
    // start the wrong program at logon.
    char quoted[MAX_PATH + 2];
    if (!StrFormat(quoted, sizeof(quoted), "\"%s\"", path))
        return ERROR_FILENAME_EXCED_RANGE;
    return RegWriteTSTR(HKEY_CURRENT_USER, kRunKey, name, quoted);
}

int IsRunningAtStartUp(const char* name, const char* path)
{
    char expected[MAX_PATH + 2];
    StrFormat(expected, sizeof(expected), "\"%s\"", path);

    // Large enough for the quoted form of any path, so that a long path is
    // compared whole rather than cut and taken for another program.
    char actual[MAX_PATH + 3] = "";
    RegReadTSTR(HKEY_CURRENT_USER, kRunKey, name, actual, sizeof(actual));
    if (lstrcmpiA(expected, actual) == 0)
        return 1;
    if (actual[0] == '\0')
        return 0;
    return 2;
}

// The programs register their association at every start: a value that
// already holds exactly this text is left alone, so that a start costs no
// write to the classes root (and no change of the key's time stamp).
static void SetDefaultIfDifferent(const char* subkey, const char* text)
{
    char stored[MAX_PATH * 2];
    DWORD got = 0;
    DWORD type = REG_NONE;
    size_t len = strlen(text);
    CRegKey key;
    if (len + 1 < sizeof(stored) && key.Open(HKEY_CLASSES_ROOT, subkey, KEY_QUERY_VALUE) == ERROR_SUCCESS)
    {
        got = sizeof(stored);
        if (RegQueryValueExA(key.Get(), "", NULL, &type, (BYTE*)stored, &got) != ERROR_SUCCESS)
            got = 0;
        key.Close();
        // Stored with or without its terminating zero.
        if (type == REG_SZ && (got == len || (got == len + 1 && stored[len] == '\0')) &&
            memcmp(stored, text, len) == 0)
            return;
    }
    RegWriteTSTR(HKEY_CLASSES_ROOT, subkey, "", text);
}

int AssociateFile(const char* ext, const char* progId, const char* description, const char* command,
                  const char* verb)
{
    SetDefaultIfDifferent(ext, progId);
    SetDefaultIfDifferent(progId, description);

    char commandKey[MAX_PATH * 2];
    if (StrFormat(commandKey, sizeof(commandKey), "%s\\shell\\%s\\command", progId, verb))
        SetDefaultIfDifferent(commandKey, command);
    return 1;
}

bool RegReadClassesDefault(const char* subkey, char* buf, unsigned long size)
{
    CRegKey key;
    if (key.Open(HKEY_CLASSES_ROOT, subkey, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return false;
    char raw[MAX_PATH * 2];
    DWORD type = 0, len = sizeof(raw) - 1;
    LONG rc = RegQueryValueExA(key.Get(), nullptr, nullptr, &type, (BYTE*)raw, &len);
    key.Close();
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    raw[len < sizeof(raw) ? len : sizeof(raw) - 1] = '\0';
    if (type == REG_EXPAND_SZ)
    {
        DWORD n = ExpandEnvironmentStringsA(raw, buf, size);
        if (n == 0 || n > size)
            return false;
    }
    else if (!StrCopy(buf, size, raw))
        return false;
    return buf[0] != '\0';
}
