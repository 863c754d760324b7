#include "TextFile.h"
#include "testutil.h"

#include <vector>

namespace
{
struct ReadResult
{
    std::vector<std::string> lines;
    bool eof = false;
    bool tooLong = false;
};

ReadResult ReadAll(const std::string& path, int limit)
{
    ReadResult r;
    CTextFile file;
    if (!file.Open(path.c_str(), CTextFile::modeRead))
        return r;
    file.Init(1024);
    std::vector<char> line((size_t)limit);
    while (file.ReadLine(line.data(), limit))
        r.lines.push_back(line.data());
    r.eof = file.IsEOF() != 0;
    r.tooLong = file.IsLineTooLong() != 0;
    return r;
}

ReadResult ReadBytesAsFile(const std::string& bytes, int limit = CTextFile::lineLaunch)
{
    ScratchDir dir;
    std::string path = dir.Path("in.txt");
    WriteBytes(path, bytes);
    return ReadAll(path, limit);
}
} // namespace

TEST(TextFileReader, JoinsBreakPairsAndSkipsBlankLines)
{
    using V = std::vector<std::string>;
    const std::string x1022(1022, 'x');
    struct
    {
        std::string bytes;
        V lines;
    } cases[] = {
        {"", {}},
        {"a\r\n\r\n\r\nb", {"a", "b"}},
        {"a\n\rb", {"a", "b"}},
        {"a\r\rb\n\n", {"a", "b"}},
        {"\r\n\n  x  \r\n", {"  x  "}},
        {"only", {"only"}},
        // A break split across two blocks is still one break.
        {std::string(1023, 'p') + "\r\nq", {std::string(1023, 'p'), "q"}},
        // A line that spans two blocks arrives whole.
        {"s\r\n" + std::string(1500, 'L') + "\r\nt", {"s", std::string(1500, 'L'), "t"}},
        // A file of exactly three blocks ends after its last line.
        {x1022 + "\r\n" + x1022 + "\r\n" + x1022 + "\r\n", {x1022, x1022, x1022}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.bytes.substr(0, 20));
        ReadResult r = ReadBytesAsFile(c.bytes, 2048);
        EXPECT_EQ(r.lines, c.lines);
        EXPECT_TRUE(r.eof);
        EXPECT_FALSE(r.tooLong);
    }
}

TEST(TextFileReader, EnforcesTheLineLimitOfEachReader)
{
    const int limit = CTextFile::lineLaunch;
    // With a break, a line may hold limit - 2 characters.
    ReadResult fits = ReadBytesAsFile(std::string(1034, 'a') + "\r\n");
    ASSERT_EQ(fits.lines.size(), 1u);
    EXPECT_EQ(fits.lines[0].size(), 1034u);

    for (const std::string& before : {std::string(), std::string("first\r\n"), std::string(2000, '\n')})
    {
        ReadResult over = ReadBytesAsFile(before + std::string(1035, 'a') + "\r\nnext\r\n", limit);
        EXPECT_TRUE(over.tooLong);
        EXPECT_EQ(over.lines.size(), before.empty() || before[0] == '\n' ? 0u : 1u);
    }

    // An unterminated last line may hold limit - 1.
    ReadResult last = ReadBytesAsFile("x\r\n" + std::string(1035, 'b'), limit);
    ASSERT_EQ(last.lines.size(), 2u);
    EXPECT_EQ(last.lines[1].size(), 1035u);
    EXPECT_TRUE(last.eof);
    EXPECT_TRUE(ReadBytesAsFile(std::string(1036, 'b'), limit).tooLong);

    for (int small : {CTextFile::lineKeys, CTextFile::lineTips})
    {
        EXPECT_FALSE(ReadBytesAsFile(std::string((size_t)small - 2, 'k') + "\n", small).tooLong);
        EXPECT_TRUE(ReadBytesAsFile(std::string((size_t)small - 1, 'k') + "\n", small).tooLong);
    }
}

// A reader that keeps the cut part of an over-long line goes on with the
// next physical line: the rest of the cut line is no line of its own, wherever
// the blocks end.
TEST(TextFileReader, SkipsTheRestOfACutLine)
{
    const int limit = CTextFile::lineKeys;
    struct
    {
        std::string bytes;
        std::vector<std::string> lines; // the cut line as its first limit - 1 characters
    } cases[] = {
        {std::string(600, 'a') + "\r\nnext\r\n", {std::string(519, 'a'), "next"}},
        // The rest runs over a block end, and the break is split across it.
        {std::string(1023, 'b') + "\r\nnext", {std::string(519, 'b'), "next"}},
        {std::string(3000, 'c') + "\n\rnext", {std::string(519, 'c'), "next"}},
        // Exactly one character too many: only the break is left to skip.
        {std::string(519, 'd') + "\r\nnext\r\n", {std::string(519, 'd'), "next"}},
        // The cut line is the last one, with or without a break.
        {"first\r\n" + std::string(700, 'e'), {"first", std::string(519, 'e')}},
        {"first\r\n" + std::string(700, 'e') + "\r\n", {"first", std::string(519, 'e')}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.bytes.substr(0, 10) + "... of " + std::to_string(c.bytes.size()));
        ScratchDir dir;
        WriteBytes(dir.Path("in.txt"), c.bytes);
        CTextFile file;
        ASSERT_TRUE(file.Open(dir.Path("in.txt").c_str(), CTextFile::modeRead));
        file.Init(1024);
        std::vector<std::string> got;
        char line[limit];
        for (int guard = 0; guard < 10; guard++)
        {
            if (!file.ReadLine(line, limit))
            {
                if (file.IsEOF() || !file.IsLineTooLong())
                    break;
                line[limit - 1] = '\0';
                file.SkipRestOfLine();
                EXPECT_FALSE(file.IsLineTooLong());
            }
            got.push_back(line);
        }
        EXPECT_EQ(got, c.lines);
        EXPECT_TRUE(file.IsEOF());
    }
}

TEST(TextFileReader, OpenFailsForMissingFile)
{
    ScratchDir dir;
    CTextFile file;
    EXPECT_FALSE(file.Open(dir.Path("missing.txt").c_str(), CTextFile::modeRead));
}

TEST(TextFileWriter, EndsEveryLineWithCrLf)
{
    ScratchDir dir;
    std::string path = dir.Path("out.txt");
    {
        CTextFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CTextFile::modeWrite));
        EXPECT_TRUE(file.WriteLine("one"));
        EXPECT_TRUE(file.WriteLine(std::string(700, 'w').c_str()));
    }
    EXPECT_EQ(ReadBytes(path), "one\r\n" + std::string(700, 'w') + "\r\n");
}
