#include "recentfiles.h"

#include <string.h>

#include "strutils.h"

int CRecentFiles::Find(const char* path) const
{
    for (int i = 0; i < m_count; i++)
        if (StrCompareNoCase(m_paths[i], path) == 0)
            return i;
    return -1;
}

bool CRecentFiles::Add(const char* path)
{
    if (!path || !path[0] || strlen(path) >= (size_t)RECENT_PATH_SIZE)
        return false;
    int at = Find(path);
    if (at < 0)
        at = m_count < RECENT_FILES_MAX ? m_count++ : RECENT_FILES_MAX - 1;
    for (int i = at; i > 0; i--)
        StrCopy(m_paths[i], m_paths[i - 1]);
    StrCopy(m_paths[0], path);
    return true;
}

bool CRecentFiles::Remove(const char* path)
{
    int at = path ? Find(path) : -1;
    if (at < 0)
        return false;
    for (int i = at; i + 1 < m_count; i++)
        StrCopy(m_paths[i], m_paths[i + 1]);
    m_count--;
    return true;
}

const char* CRecentFiles::Get(int index) const
{
    return index >= 0 && index < m_count ? m_paths[index] : "";
}

void CRecentFiles::ValueName(int index, char* out, size_t size)
{
    StrFormat(out, size, "Recent File %d", index + 1);
}

void CRecentFiles::Load(bool (*read)(const char* name, char* buf, size_t size, void* ctx), void* ctx)
{
    m_count = 0;
    for (int i = 0; i < RECENT_FILES_MAX; i++)
    {
        char name[32], path[RECENT_PATH_SIZE] = "";
        ValueName(i, name, sizeof(name));
        if (!read(name, path, sizeof(path), ctx) || !path[0])
            break;
        // Oldest last: appended in order, a repeated name keeps its first place.
        if (Find(path) < 0)
            StrCopy(m_paths[m_count++], path);
    }
}

void CRecentFiles::Save(void (*write)(const char* name, const char* text, void* ctx), void* ctx) const
{
    for (int i = 0; i < RECENT_FILES_MAX; i++)
    {
        char name[32];
        ValueName(i, name, sizeof(name));
        write(name, Get(i), ctx);
    }
}
