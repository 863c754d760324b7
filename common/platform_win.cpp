#include "platform.h"

PfHandle PfOpenRead(const char* path)
{
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    return h == INVALID_HANDLE_VALUE ? PF_INVALID_HANDLE : (PfHandle)h;
}

PfHandle PfOpenWrite(const char* path)
{
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? PF_INVALID_HANDLE : (PfHandle)h;
}

PfHandle PfCreateNew(const char* path)
{
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? PF_INVALID_HANDLE : (PfHandle)h;
}

int PfRead(PfHandle h, void* buf, unsigned size)
{
    DWORD got = 0;
    if (!ReadFile((HANDLE)h, buf, size, &got, nullptr))
        return -1;
    return (int)got;
}

bool PfWrite(PfHandle h, const void* buf, unsigned size)
{
    DWORD written = 0;
    return WriteFile((HANDLE)h, buf, size, &written, nullptr) && written == size;
}

bool PfFlush(PfHandle h)
{
    return FlushFileBuffers((HANDLE)h) != 0;
}

void PfClose(PfHandle h)
{
    if (h != PF_INVALID_HANDLE)
        CloseHandle((HANDLE)h);
}

bool PfReplaceFile(const char* source, const char* target)
{
    // A program reading the target at this moment (another of ours, a virus
    // scanner, a backup) makes the replace fail for as long as it holds the
    // file open; a short wait lets such a read end instead of losing the save.
    for (int attempt = 0;; attempt++)
    {
        if (MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        DWORD error = GetLastError();
        if (attempt >= 25 || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED &&
                              error != ERROR_LOCK_VIOLATION))
            return false;
        Sleep(20);
    }
}

bool PfDeleteFile(const char* path)
{
    return DeleteFileA(path) != 0;
}

bool PfPathExists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

void PfGetLocalTime(SYSTEMTIME* st)
{
    GetLocalTime(st);
}

void PfGetSystemTime(SYSTEMTIME* st)
{
    GetSystemTime(st);
}

DWORD PfGetTickCount()
{
    return GetTickCount();
}

DWORD PfGetProcessId()
{
    return GetCurrentProcessId();
}
