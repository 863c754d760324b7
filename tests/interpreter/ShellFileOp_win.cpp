#include <windows.h>
#include <shellapi.h>
#include <algorithm>
#include <string>
#include <vector>
#include "ShellFileOp.h"
#include "testutil.h"

namespace
{
// No dialog may block a test run; and never FOF_ALLOWUNDO, which sends files
// to the Linux user's trash under Wine.
const FILEOP_FLAGS kQuiet = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT | FOF_NOCONFIRMMKDIR;
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
