// The one place where the portable half meets the operating system: file
// handles, the clock and the Win32 record types it needs. Win32 code includes
// <windows.h> itself; the host build gets look-alike definitions here.
#pragma once

#include <stdint.h>
#include <stddef.h>

#ifdef _WIN32
#include <windows.h>
#else
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef struct _SYSTEMTIME
{
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
} SYSTEMTIME;
#endif

// A file handle as the portable half sees it: a Win32 HANDLE or a POSIX
// descriptor, both of which use -1 for "no file".
typedef intptr_t PfHandle;
const PfHandle PF_INVALID_HANDLE = -1;

// Read access, others may read; the file must exist.
PfHandle PfOpenRead(const char* path);
// Write access, no sharing; created or truncated.
PfHandle PfOpenWrite(const char* path);
// Write access, no sharing; created only when no file of that name exists.
PfHandle PfCreateNew(const char* path);
// Bytes read, 0 at the end of the file, -1 on a failing read.
int PfRead(PfHandle h, void* buf, unsigned size);
// true when every byte was written.
bool PfWrite(PfHandle h, const void* buf, unsigned size);
// Pushes written data to the disk; true on success.
bool PfFlush(PfHandle h);
void PfClose(PfHandle h);
// Replaces target by source in one step (target may exist); true on success.
bool PfReplaceFile(const char* source, const char* target);
bool PfDeleteFile(const char* path);
// true when a file or folder of that name exists, open by anyone or not.
bool PfPathExists(const char* path);

void PfGetLocalTime(SYSTEMTIME* st);
void PfGetSystemTime(SYSTEMTIME* st);
// Milliseconds since some fixed moment, wrapping at 2^32 (the tick count).
DWORD PfGetTickCount();
// The running process's id.
DWORD PfGetProcessId();
