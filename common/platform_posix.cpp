#include "platform.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

PfHandle PfOpenRead(const char* path)
{
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    return fd < 0 ? PF_INVALID_HANDLE : (PfHandle)fd;
}

PfHandle PfOpenWrite(const char* path)
{
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return fd < 0 ? PF_INVALID_HANDLE : (PfHandle)fd;
}

PfHandle PfCreateNew(const char* path)
{
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    return fd < 0 ? PF_INVALID_HANDLE : (PfHandle)fd;
}

int PfRead(PfHandle h, void* buf, unsigned size)
{
    ssize_t n;
    do
        n = read((int)h, buf, size);
    while (n < 0 && errno == EINTR);
    return n < 0 ? -1 : (int)n;
}

bool PfWrite(PfHandle h, const void* buf, unsigned size)
{
    const char* p = (const char*)buf;
    while (size > 0)
    {
        ssize_t n = write((int)h, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= (unsigned)n;
    }
    return true;
}

bool PfFlush(PfHandle h)
{
    return fsync((int)h) == 0;
}

void PfClose(PfHandle h)
{
    if (h != PF_INVALID_HANDLE)
        close((int)h);
}

bool PfReplaceFile(const char* source, const char* target)
{
    return rename(source, target) == 0;
}

bool PfDeleteFile(const char* path)
{
    return unlink(path) == 0;
}

bool PfPathExists(const char* path)
{
    struct stat info;
    return stat(path, &info) == 0;
}

static void ToSystemTime(const struct tm& t, long usec, SYSTEMTIME* st)
{
    st->wYear = (WORD)(t.tm_year + 1900);
    st->wMonth = (WORD)(t.tm_mon + 1);
    st->wDayOfWeek = (WORD)t.tm_wday;
    st->wDay = (WORD)t.tm_mday;
    st->wHour = (WORD)t.tm_hour;
    st->wMinute = (WORD)t.tm_min;
    st->wSecond = (WORD)(t.tm_sec > 59 ? 59 : t.tm_sec);
    st->wMilliseconds = (WORD)(usec / 1000);
}

void PfGetLocalTime(SYSTEMTIME* st)
{
    struct timeval tv;
    gettimeofday(&tv, nullptr);
    struct tm t;
    time_t secs = tv.tv_sec;
    localtime_r(&secs, &t);
    ToSystemTime(t, tv.tv_usec, st);
}

void PfGetSystemTime(SYSTEMTIME* st)
{
    struct timeval tv;
    gettimeofday(&tv, nullptr);
    struct tm t;
    time_t secs = tv.tv_sec;
    gmtime_r(&secs, &t);
    ToSystemTime(t, tv.tv_usec, st);
}

DWORD PfGetTickCount()
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (DWORD)((uint64_t)ts.tv_sec * 1000u + (uint64_t)ts.tv_nsec / 1000000u);
}

DWORD PfGetProcessId()
{
    return (DWORD)getpid();
}
