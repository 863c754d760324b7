// The files a program opened last, newest first, as its File menu lists
// them. Kept under the program's settings key as the string values
// "Recent File 1" (the newest) to "Recent File 4"; an empty or missing value
// ends the list.
#pragma once

#include <stddef.h>

const int RECENT_FILES_MAX = 4;
const int RECENT_PATH_SIZE = 260;

class CRecentFiles
{
  public:
    // Puts path at the front; a path already listed (in any letter case)
    // moves there, and the oldest drops off past four. Empty paths and
    // paths too long for the list are ignored (false).
    bool Add(const char* path);
    // false when path was not listed.
    bool Remove(const char* path);
    void Clear()
    {
        m_count = 0;
    }
    int GetCount() const
    {
        return m_count;
    }
    // The index-th newest path ("" out of range).
    const char* Get(int index) const;

    // The stored value names, "Recent File 1" .. "Recent File 4".
    static void ValueName(int index, char* out, size_t size);
    // read(name, buf, size, ctx) returns true and fills buf when the value
    // exists; the list is replaced by what is read.
    void Load(bool (*read)(const char* name, char* buf, size_t size, void* ctx), void* ctx);
    // write(name, text, ctx) for every slot; the slots past the list get ""
    // so that a shorter list leaves no old names behind.
    void Save(void (*write)(const char* name, const char* text, void* ctx), void* ctx) const;

  private:
    int Find(const char* path) const;

    char m_paths[RECENT_FILES_MAX][RECENT_PATH_SIZE] = {};
    int m_count = 0;
};
