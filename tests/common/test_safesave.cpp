#include "safesave.h"
#include "testutil.h"

TEST(SafeSave, ReplacesOnlyWhenCommitted)
{
    ScratchDir dir;
    std::string path = dir.Path("data.txt");
    WriteBytes(path, "previous\r\n");

    {
        CSafeSave save;
        ASSERT_TRUE(save.Begin(path.c_str()));
        save.WriteLine("half");
        // Dropped without Commit: as if the program died mid-save.
    }
    EXPECT_EQ("data.txt=previous\r\n", Contents(dir.Root()));

    CSafeSave save;
    ASSERT_TRUE(save.Begin(path.c_str()));
    EXPECT_TRUE(save.WriteLine("new"));
    EXPECT_TRUE(save.Commit());
    EXPECT_EQ("data.txt=new\r\n", Contents(dir.Root()));
}

TEST(SafeSave, ReportsAFolderThatCannotBeWritten)
{
    ScratchDir dir;
    std::string path = (dir.Root() / "no such folder" / "data.txt").string();
    CSafeSave save;
    EXPECT_FALSE(save.Begin(path.c_str()));
    EXPECT_FALSE(save.WriteLine("x"));
    EXPECT_FALSE(save.Commit());
    EXPECT_FALSE(std::filesystem::exists(path));
}

// Pieces of every size, some larger than anything held in memory, arrive
// whole and in order.
TEST(SafeSave, LargeAndSmallPiecesArriveInOrder)
{
    ScratchDir dir;
    std::string path = dir.Path("big.txt");
    std::string expected;
    CSafeSave save;
    ASSERT_TRUE(save.Begin(path.c_str()));
    unsigned seed = 7;
    for (int i = 0; i < 400; i++)
    {
        seed = seed * 1103515245u + 12345u;
        size_t size = (seed >> 8) % (i % 50 == 0 ? 200000 : 3000);
        std::string piece(size, (char)('a' + i % 26));
        ASSERT_TRUE(save.Write(piece.data(), (unsigned)piece.size()));
        expected += piece;
    }
    ASSERT_TRUE(save.Commit());
    EXPECT_TRUE(ReadBytes(path) == expected)
        << "sizes " << ReadBytes(path).size() << " vs " << expected.size();
}

// Any path a direct write takes saves as well: the temporary name beside the
// target is never longer than the target's own name needs. A file that
// already has a temporary-looking name is never touched.
TEST(SafeSave, SavesPathsUpToTheLimitAndLeavesOtherFilesAlone)
{
    for (size_t total : {200u, 256u, 259u})
    {
        for (std::string name : {"a.txt", "x", "~tv0.tmp"})
        {
            SCOPED_TRACE(std::to_string(total) + " " + name);
            ScratchDir dir;
            std::string root = dir.Root().string();
            ASSERT_LT(root.size() + 2 + name.size(), total);
            std::string folder = dir.Path(std::string(total - root.size() - 2 - name.size(), 'f'));
            std::filesystem::create_directories(folder);
            std::string path = folder + (root.find('\\') != std::string::npos ? "\\" : "/") + name;
            ASSERT_EQ(total, path.size());
            WriteBytes(folder + "/~tv0.tmp", "bystander");
            WriteBytes(folder + "/0", "bystander");

            CSafeSave save;
            ASSERT_TRUE(save.Begin(path.c_str()));
            EXPECT_TRUE(save.WriteLine("saved"));
            ASSERT_TRUE(save.Commit());
            std::string others = "0=bystander|" + (name == "~tv0.tmp" ? "" : name + "=saved\r\n|");
            EXPECT_EQ(others + "~tv0.tmp=" + (name == "~tv0.tmp" ? "saved\r\n" : "bystander"),
                      Contents(folder));
        }
    }
}
