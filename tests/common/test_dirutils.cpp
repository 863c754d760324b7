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

TEST(DirUtils, ProgramOfAShellCommandLine)
{
    struct Case
    {
        const char* command;
        const char* program; // null: none
    } cases[] = {
        {"D:\\Tools\\ed.exe %1", "D:\\Tools\\ed.exe"},
        {"\"C:\\Program Files\\Ed\\ed.exe\" \"%1\"", "C:\\Program Files\\Ed\\ed.exe"},
        {"C:\\Program Files\\Ed\\ed.exe %1", "C:\\Program Files\\Ed\\ed.exe"},
        {"C:\\Program Files\\ed.exe /p %1", "C:\\Program Files\\ed.exe /p"}, // unquoted: the last space
        {"C:\\ed.exe", "C:\\ed.exe"},
        {"\"C:\\unclosed.exe %1", nullptr},
        {"", nullptr},
        {"\"\" %1", nullptr},
    };
    for (const Case& c : cases)
    {
        char out[260] = "";
        bool found = GetCommandProgram(c.command, out, sizeof(out));
        EXPECT_EQ(c.program != nullptr, found) << c.command;
        if (c.program)
        {
            EXPECT_STREQ(c.program, out) << c.command;
        }
    }
    char small[8];
    EXPECT_TRUE(GetCommandProgram("\"C:\\Program Files\\x.exe\"", small, sizeof(small)));
    EXPECT_STREQ("C:\\Prog", small) << "cut to the buffer";
}
