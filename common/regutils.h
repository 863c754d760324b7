// Typed registry values, the per-user start-up entry and the shell file
// association. Two result conventions live side by side here and callers rely
// on both: the DWORD and string functions (and RunAtStartUp when enabling)
// return 0 on success and a nonzero error on failure; the others return 1 on
// success and 0 on failure. A read that fails never touches the target, so
// callers preset the default before reading.
#pragma once

#include <windows.h>

#include "settings.h"

// Reads up to 4 bytes into value; 1 or 0.
int RegReadDWORD(HKEY root, const char* subkey, const char* name, unsigned long* value);
// The stored DWORD, or fallback when it cannot be read: a program's setting.
unsigned long RegReadDWORDOr(HKEY root, const char* subkey, const char* name, unsigned long fallback);
// Creates the key when needed; 0 on success, 1 when the key cannot be
// created, else the error of the write.
int RegWriteDWORD(HKEY root, const char* subkey, const char* name, unsigned long value);
// 16 bytes of REG_BINARY: left, top, right, bottom. 1 or 0.
int RegReadRECT(HKEY root, const char* subkey, const char* name, RECT* rect);
int RegWriteRECT(HKEY root, const char* subkey, const char* name, RECT rect);
// Reads the stored bytes and always terminates buf; a value of exactly size
// bytes loses its last byte to the terminator. 0 on success, nonzero (buf
// untouched) when the key or value is missing or longer than size bytes.
int RegReadTSTR(HKEY root, const char* subkey, const char* name, char* buf, unsigned long size);
// REG_SZ written with the text's length, without its zero (the system adds
// the zero by itself for a terminated text). 0 on success.
int RegWriteTSTR(HKEY root, const char* subkey, const char* name, const char* text);
// The stored setting, or its fallback when it cannot be read.
unsigned long RegReadSetting(const DwordSetting& setting);
// As RegWriteDWORD.
int RegWriteSetting(const DwordSetting& setting, unsigned long value);
// The default value of a key under the classes root, with the environment
// references of an expandable string expanded as the shell does when it runs
// it. false when it is missing, empty, not a string or longer than size.
bool RegReadClassesDefault(const char* subkey, char* buf, unsigned long size);
// 1 when the value was deleted, 0 otherwise.
int RegDeleteVal(HKEY root, const char* subkey, const char* name);

// Enable stores "<path>" under name in the current user's Run key and returns
// 0 on success (as RegWriteTSTR); disable deletes it and returns 1 or 0.
int RunAtStartUp(const char* name, const char* path, int enable);
// 1 when the entry is the quoted path (any case), 0 when it is missing or
// empty, 2 when it names something else.
int IsRunningAtStartUp(const char* name, const char* path);
// Sets the default values of ext, progId and progId\shell\<verb>\command
// under the classes root. Every write is attempted; always 1.
int AssociateFile(const char* ext, const char* progId, const char* description, const char* command,
                  const char* verb);
