#include <windows.h>
#include <shellapi.h>
#include <algorithm>
#include <string>
#include <vector>
#include "ShellFileOp.h"
#include "fakeshell.h"
#include "testutil.h"

namespace
{
// No dialog may block a test run; and never FOF_ALLOWUNDO, which sends files
// to the Linux user's trash under Wine.
const FILEOP_FLAGS kQuiet = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT | FOF_NOCONFIRMMKDIR;
// With no confirmation, a shell that overwrites does so at once and the test
// fails instead of hanging on a dialog.
const FILEOP_FLAGS kNoOverwrite = kQuiet | FOF_FILESONLY | FOF_RENAMEONCOLLISION;

typedef CPtrList<CShellFileOp::CSFOPath> PathList;

int ShellOp(UINT func, FILEOP_FLAGS flags, const std::vector<std::string>& sources,
            const std::vector<std::string>& dests)
{
    CShellFileOp op;
    for (const std::string& s : sources)
        op.AddSource(s.c_str());
    for (const std::string& d : dests)
        op.AddDest(d.c_str());
    op.SetOperationFlags(func, GetDesktopWindow(), flags);
    return op.Go();
}
} // namespace

// The shell's lists: each path NUL-ended, one more NUL after the last, and
// nothing written past the size asked for.
TEST(ShellFileOp, GoHandsTheShellTheListsItBuilt)
{
    {
        CShellFileOp op;
        PathList list;
        char buf[64];
        memset(buf, 'X', sizeof(buf));
        EXPECT_EQ(op.GetSzzBuffer(buf, &list), 1);
        EXPECT_EQ(std::string(buf, 2), std::string("\0X", 2));
        list.Add(new CShellFileOp::CSFOPath("C:\\a\\*.txt"), true);
        list.Add(new CShellFileOp::CSFOPath("b"), true);
        EXPECT_EQ(op.GetSzzBuffer(NULL, &list), 14);
        EXPECT_EQ(op.GetSzzBuffer(buf, &list), 14);
        EXPECT_EQ(std::string(buf, 15), std::string("C:\\a\\*.txt\0b\0\0X", 15));
    }
    {
        FakeShell shell(0);
        CShellFileOp op;
        EXPECT_EQ(op.AddSource("C:\\a\\x.txt"), 1);
        op.SetOperationFlags(FO_DELETE, GetDesktopWindow(), FOF_NOERRORUI | FOF_FILESONLY);
        EXPECT_EQ(op.Go(), 1);
        EXPECT_EQ(g_shell.func, (UINT)FO_DELETE);
        EXPECT_EQ(g_shell.hwnd, GetDesktopWindow());
        EXPECT_EQ(g_shell.flags, FOF_NOERRORUI | FOF_FILESONLY);
        EXPECT_EQ(g_shell.from, std::string("C:\\a\\x.txt\0\0", 12));
        EXPECT_EQ(g_shell.to, "<null>") << "a delete has no destination";
    }
    {
        // The wildcard matches a file: it is handed over as it is.
        ScratchDir dir;
        WriteBytes(dir.Path("x.txt"), "x");
        const std::string pattern = dir.Path("*.txt");
        FakeShell shell(0);
        CShellFileOp op;
        op.AddSource(pattern.c_str());
        EXPECT_EQ(op.AddDest("C:\\b"), 1);
        op.SetOperationFlags(FO_COPY, NULL, FOF_FILESONLY);
        EXPECT_EQ(op.Go(), 1);
        EXPECT_EQ(g_shell.from, pattern + std::string("\0\0", 2));
        EXPECT_EQ(g_shell.to, std::string("C:\\b\0\0", 6));

        // The same object runs again after Reset with new paths only.
        op.Reset();
        EXPECT_EQ(op.AddSource("C:\\c"), 1);
        op.SetOperationFlags(FO_MOVE, NULL, 0);
        EXPECT_EQ(op.Go(), 1);
        EXPECT_EQ(g_shell.func, (UINT)FO_MOVE);
        EXPECT_EQ(g_shell.from, std::string("C:\\c\0\0", 6));
        EXPECT_EQ(g_shell.to, std::string("\0", 1));
    }
    {
        FakeShell shell(ERROR_FILE_NOT_FOUND);
        CShellFileOp op;
        op.AddSource("C:\\a\\x.txt");
        op.SetOperationFlags(FO_DELETE, NULL, 0);
        EXPECT_EQ(op.Go(), 0);
    }
}

// A path cut to its buffer names some other file: nothing may be done to it.
TEST(ShellFileOp, RefusesAPathThatWasCut)
{
    FakeShell shell(0);
    std::string longPath = "C:\\" + std::string(300, 'd') + "\\x.txt";
    for (UINT func : {FO_DELETE, FO_COPY})
    {
        CShellFileOp op;
        op.AddSource(func == FO_DELETE ? longPath.c_str() : "C:\\x.txt");
        op.AddDest(longPath.c_str());
        op.SetOperationFlags(func, NULL, kQuiet);
        EXPECT_EQ(op.Go(), 0);
    }
    EXPECT_EQ(g_shell.calls, 0);
}

TEST(ShellFileOp, CopiesMovesAndDeletesWithWildcards)
{
    ScratchDir dir;
    std::filesystem::create_directories(dir.Path("a"));
    std::filesystem::create_directories(dir.Path("b"));
    std::filesystem::create_directories(dir.Path("c"));
    WriteBytes(dir.Path("a\\1.txt"), "one");
    WriteBytes(dir.Path("a\\2.txt"), "two");
    WriteBytes(dir.Path("a\\3.dat"), "three");

    EXPECT_EQ(ShellOp(FO_COPY, kQuiet | FOF_FILESONLY, {dir.Path("a\\*.txt")}, {dir.Path("b")}), 1);
    EXPECT_EQ("1.txt=one|2.txt=two", Contents(dir.Path("b")));
    EXPECT_EQ("1.txt=one|2.txt=two|3.dat=three", Contents(dir.Path("a")));

    // Several files to one folder: some shells (Wine's) cancel this unless
    // each file is given its own target.
    EXPECT_EQ(ShellOp(FO_MOVE, kQuiet | FOF_FILESONLY, {dir.Path("b\\*.txt")}, {dir.Path("c")}), 1);
    EXPECT_EQ("", Contents(dir.Path("b")));
    EXPECT_EQ("1.txt=one|2.txt=two", Contents(dir.Path("c")));

    EXPECT_EQ(ShellOp(FO_DELETE, kQuiet | FOF_FILESONLY, {dir.Path("a\\*.txt")}, {}), 1);
    EXPECT_EQ("3.dat=three", Contents(dir.Path("a")));

    // Overwrite mode replaces what is there.
    WriteBytes(dir.Path("a\\1.txt"), "new one");
    EXPECT_EQ(ShellOp(FO_COPY, kQuiet, {dir.Path("a\\1.txt")}, {dir.Path("c")}), 1);
    EXPECT_EQ(ReadBytes(dir.Path("c\\1.txt")), "new one");

    EXPECT_EQ(ShellOp(FO_DELETE, kQuiet, {dir.Path("a\\missing.txt")}, {}), 0);

    // A wildcard that matches nothing (files only: a folder is no match) is
    // a failure, not a copy of nothing.
    std::filesystem::create_directories(dir.Path("a\\only.dir"));
    for (UINT func : {FO_COPY, FO_MOVE, FO_DELETE})
    {
        SCOPED_TRACE(func);
        std::vector<std::string> to =
            func == FO_DELETE ? std::vector<std::string>{} : std::vector<std::string>{dir.Path("b")};
        EXPECT_EQ(ShellOp(func, kQuiet, {dir.Path("a\\*.none")}, to), 0);
        EXPECT_EQ(ShellOp(func, kQuiet | FOF_FILESONLY, {dir.Path("a\\*.dir")}, to), 0);
    }
    EXPECT_TRUE(std::filesystem::exists(dir.Path("a\\3.dat")));
    EXPECT_TRUE(std::filesystem::exists(dir.Path("a\\only.dir")));
}

// NoOverwrite: the shell is asked to rename on collision, which Wine ignores.
// The originals must survive byte for byte beside "x (2).txt", "x (3).txt".
TEST(ShellFileOp, NoOverwriteCopyAndMoveKeepTheOriginals)
{
    ScratchDir dir;
    std::filesystem::create_directories(dir.Path("a"));
    std::filesystem::create_directories(dir.Path("b"));
    WriteBytes(dir.Path("a\\x.txt"), "source");
    WriteBytes(dir.Path("b\\x.txt"), "original");

    EXPECT_EQ(ShellOp(FO_COPY, kNoOverwrite, {dir.Path("a\\x.txt")}, {dir.Path("b")}), 1);
    EXPECT_EQ("x (2).txt=source|x.txt=original", Contents(dir.Path("b")));
    EXPECT_EQ(ShellOp(FO_COPY, kNoOverwrite, {dir.Path("a\\x.txt")}, {dir.Path("b\\")}), 1);
    WriteBytes(dir.Path("a\\x.txt"), "moved");
    EXPECT_EQ(ShellOp(FO_MOVE, kNoOverwrite, {dir.Path("a\\x.txt")}, {dir.Path("b")}), 1);
    EXPECT_EQ("", Contents(dir.Path("a")));
    EXPECT_EQ("x (2).txt=source|x (3).txt=source|x (4).txt=moved|x.txt=original", Contents(dir.Path("b")));

    // The destination named as a file: an existing one is kept too.
    WriteBytes(dir.Path("a\\y.txt"), "new y");
    WriteBytes(dir.Path("b\\z.txt"), "old z");
    EXPECT_EQ(ShellOp(FO_COPY, kNoOverwrite, {dir.Path("a\\y.txt")}, {dir.Path("b\\z.txt")}), 1);
    EXPECT_EQ("old z", ReadBytes(dir.Path("b\\z.txt")));
    EXPECT_EQ("new y", ReadBytes(dir.Path("b\\z (2).txt")));
}

TEST(ShellFileOp, NoOverwriteWildcardMixesNewAndCollidingFiles)
{
    ScratchDir dir;
    std::filesystem::create_directories(dir.Path("a"));
    std::filesystem::create_directories(dir.Path("b"));
    for (const char* name : {"1.txt", "2.txt", "3.txt", "README", "pkg.tar.gz", ".profile", "skip.dat"})
        WriteBytes(dir.Path(std::string("a\\") + name), std::string("new ") + name);
    for (const char* name : {"2.txt", "README", "pkg.tar.gz", ".profile"})
        WriteBytes(dir.Path(std::string("b\\") + name), std::string("old ") + name);
    std::filesystem::create_directories(dir.Path("a\\folder.txt"));

    EXPECT_EQ(
        ShellOp(FO_COPY, kNoOverwrite,
                {dir.Path("a\\*.txt"), dir.Path("a\\README"), dir.Path("a\\*.gz"), dir.Path("a\\.profile")},
                {dir.Path("b")}),
        1);

    // Only files: the folder matching *.txt stays behind.
    EXPECT_EQ(".profile (2)=new .profile|.profile=old .profile|1.txt=new 1.txt|2 (2).txt=new 2.txt|"
              "2.txt=old 2.txt|3.txt=new 3.txt|README (2)=new README|README=old README|"
              "pkg.tar (2).gz=new pkg.tar.gz|pkg.tar.gz=old pkg.tar.gz",
              Contents(dir.Path("b")));

    // Moved the same way, the sources go and the originals stay.
    EXPECT_EQ(ShellOp(FO_MOVE, kNoOverwrite, {dir.Path("a\\*.txt")}, {dir.Path("b")}), 1);
    EXPECT_EQ(".profile=new .profile|README=new README|folder.txt\\|"
              "pkg.tar.gz=new pkg.tar.gz|skip.dat=new skip.dat",
              Contents(dir.Path("a")));
    EXPECT_EQ(ReadBytes(dir.Path("b\\1.txt")), "new 1.txt");
    EXPECT_EQ(ReadBytes(dir.Path("b\\1 (2).txt")), "new 1.txt");
    EXPECT_EQ(ReadBytes(dir.Path("b\\2.txt")), "old 2.txt");
    EXPECT_EQ(ReadBytes(dir.Path("b\\2 (3).txt")), "new 2.txt");
    EXPECT_EQ(ReadBytes(dir.Path("b\\3 (2).txt")), "new 3.txt");
}

TEST(ShellFileOp, NoOverwriteRenamesSourcesThatMeetEachOther)
{
    ScratchDir dir;
    for (const char* sub : {"a", "c", "b"})
        std::filesystem::create_directories(dir.Path(sub));
    WriteBytes(dir.Path("a\\x.txt"), "from a");
    WriteBytes(dir.Path("c\\x.txt"), "from c");

    EXPECT_EQ(ShellOp(FO_COPY, kNoOverwrite, {dir.Path("a\\x.txt"), dir.Path("c\\x.txt")}, {dir.Path("b")}),
              1);
    EXPECT_EQ("x (2).txt=from c|x.txt=from a", Contents(dir.Path("b")));
}

TEST(ShellFileOp, NoOverwriteGivesACollidingFolderANewName)
{
    ScratchDir dir;
    std::filesystem::create_directories(dir.Path("a\\sub.d"));
    std::filesystem::create_directories(dir.Path("b\\sub.d"));
    WriteBytes(dir.Path("a\\sub.d\\f.txt"), "new f");
    WriteBytes(dir.Path("b\\sub.d\\f.txt"), "old f");

    EXPECT_EQ(ShellOp(FO_COPY, (FILEOP_FLAGS)(kNoOverwrite & ~FOF_FILESONLY), {dir.Path("a\\sub.d")},
                      {dir.Path("b")}),
              1);
    EXPECT_EQ(ReadBytes(dir.Path("b\\sub.d\\f.txt")), "old f");
    EXPECT_EQ(ReadBytes(dir.Path("b\\sub.d (2)\\f.txt")), "new f");
}
