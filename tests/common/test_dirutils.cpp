#include "dirutils.h"
#include "strutils.h"

#include <gtest/gtest.h>

TEST(PathParts, SplitAtLastBackslashAndDot)
{
    char out[260];
    struct
    {
        const char* path;
        const char* dir;
        const char* name;
        const char* title;
        const char* ext;
    } cases[] = {
        {"C:\\x\\y.txt", "C:\\x\\", "y.txt", "y", ".txt"},
        {"C:\\a.b\\c", "C:\\a.b\\", "c", "c", ".b\\c"},
        {"a.tar.gz", "unchanged", "a.tar.gz", "a.tar", ".gz"},
        {".profile", "unchanged", ".profile", ".profile", ""},
        {"\\root", "unchanged", "\\root", "\\root", ""},
        {"C:\\dir\\", "C:\\dir\\", "", "", ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.path);
        StrCopy(out, "unchanged");
        EXPECT_STREQ(GetDirFromPath(c.path, out, sizeof(out)), c.dir);
        EXPECT_STREQ(GetFileNameFromPath(c.path, out, sizeof(out)), c.name);
        EXPECT_STREQ(GetFileTitleFromPath(c.path, out, sizeof(out)), c.title);
        EXPECT_STREQ(GetExtFromPath(c.path, out, sizeof(out)), c.ext);
    }
    char small[5];
    EXPECT_STREQ(GetDirFromPath("C:\\long\\x", small, sizeof(small)), "C:\\l");
}
