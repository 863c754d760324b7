// The log: bounds of the in-memory list and the file format read and
// written (the Log File Viewer: logfile_win.cpp).
#include <string.h>
#include <string>
#include <vector>

#include "LogFile.h"
#include "logline.h"
#include "platform.h"
#include "testutil.h"
#include "strutils.h"

namespace
{

SYSTEMTIME MakeTime(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s, WORD ms)
{
    SYSTEMTIME st = {y, mo, 0, d, h, mi, s, ms};
    return st;
}

CLogFile::CLogItem* Item(const char* desc, const char* name = "Test")
{
    SYSTEMTIME st = MakeTime(2026, 12, 5, 21, 56, 50, 123);
    return new CLogFile::CLogItem(CLogFile::LOG_INFO, name, desc, &st);
}

std::vector<std::string> Descriptions(CLogFile& log)
{
    std::vector<std::string> out;
    for (unsigned i = 0; i < log.GetLength(); i++)
        out.push_back(log.GetLogItem(i)->GetDescription());
    return out;
}

std::string Header()
{
    return std::string(LOGFILE_HEADER) + "\r\n";
}

} // namespace

TEST(LogFileBounds, AppendKeepsTheNewestEntriesUpToTheSize)
{
    CLogFile log(3);
    for (const char* d : {"one", "two", "three", "four"})
        log.Append(Item(d));
    EXPECT_EQ((std::vector<std::string>{"two", "three", "four"}), Descriptions(log));

    CLogFile big(100);
    for (int i = 0; i < 100; i++)
        big.Append(Item(std::to_string(i).c_str()));
    big.SetSize(10);
    ASSERT_EQ(10u, big.GetLength());
    EXPECT_EQ(10u, big.GetSize());
    EXPECT_STREQ("90", big.GetLogItem(0)->GetDescription());
    EXPECT_STREQ("99", big.GetLogItem(9)->GetDescription());
    EXPECT_EQ(nullptr, big.GetLogItem(10));

    big.SetSize(0);
    EXPECT_EQ(0u, big.GetLength());
    big.Append(Item("dropped")); // freed, not kept
    EXPECT_EQ(0u, big.GetLength());
}

TEST(LogFileItem, SetCutsTextsAndTakesUniversalTimeByDefault)
{
    std::string longName(400, 'n');
    std::string longDesc(3000, 'd');
    SYSTEMTIME before, after;
    PfGetSystemTime(&before);
    CLogFile::CLogItem item(CLogFile::LOG_MAJOR, longName.c_str(), longDesc.c_str());
    PfGetSystemTime(&after);
    EXPECT_EQ(255u, strlen(item.GetName()));
    EXPECT_EQ(1023u, strlen(item.GetDescription()));
    EXPECT_EQ(CLogFile::LOG_MAJOR, item.GetSeverity());
    // Universal time, not local: the hour is one of the two read around it.
    const SYSTEMTIME* t = item.GetDateTime();
    EXPECT_TRUE(t->wHour == before.wHour || t->wHour == after.wHour);
    EXPECT_EQ(before.wYear, t->wYear);

    CLogFile::CLogItem none(CLogFile::LOG_INFO, nullptr, nullptr);
    EXPECT_STREQ("", none.GetName());
    EXPECT_STREQ("", none.GetDescription());

    CLogFile::CLogItem copy(item);
    EXPECT_STREQ(item.GetName(), copy.GetName());
    EXPECT_EQ(0, memcmp(item.GetDateTime(), copy.GetDateTime(), sizeof(SYSTEMTIME)));
}

TEST(LogFileFormat, FlushWritesHeaderAndItemsThroughASafeSave)
{
    ScratchDir dir;
    std::string path = dir.Path("Tarvin.log");
    {
        CLogFile log(10);
        log.SetFileName(path.c_str());
        SYSTEMTIME st = MakeTime(2026, 12, 5, 21, 56, 50, 123);
        log.Append(new CLogFile::CLogItem(CLogFile::LOG_INFO, "Tarvin 2 Agent", "Tarvin Agent started", &st));
        SYSTEMTIME st2 = MakeTime(2027, 1, 17, 3, 4, 5, 6);
        log.Append(new CLogFile::CLogItem(CLogFile::LOG_CRITICAL, "Tarvin Interpreter", "done", &st2));
        EXPECT_EQ(0, log.Flush());
        EXPECT_EQ(Header() +
                      "<logitem severity=\"0\" name=\"Tarvin 2 Agent\" description=\"Tarvin Agent started\" "
                      "datetime=\"5 Dec 2026 21:56:50:123\" />\r\n"
                      "<logitem severity=\"4\" name=\"Tarvin Interpreter\" description=\"done\" "
                      "datetime=\"17 Jan 2027 03:04:05:006\" />\r\n",
                  ReadBytes(path));
        // The save's temporary file is gone.
        EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.Root()), {}));
        log.Append(Item("at exit"));
    }
    // Destroying the log wrote it once more.
    CLogFile back(100);
    ASSERT_EQ(0, back.Open(path.c_str()));
    EXPECT_EQ((std::vector<std::string>{"Tarvin Agent started", "done", "at exit"}), Descriptions(back));
    const SYSTEMTIME* t = back.GetLogItem(1)->GetDateTime();
    EXPECT_EQ(2027, t->wYear);
    EXPECT_EQ(17, t->wDay);
    EXPECT_EQ(6, t->wMilliseconds);
    EXPECT_EQ(CLogFile::LOG_CRITICAL, back.GetLogItem(1)->GetSeverity());
    EXPECT_STREQ("Tarvin Interpreter", back.GetLogItem(1)->GetName());

    // Given a name, the constructor reads the file at once.
    CLogFile opened(100, path.c_str());
    EXPECT_EQ(3u, opened.GetLength());

    // Size 0: the file keeps only its header.
    back.SetSize(0);
    back.Flush();
    EXPECT_EQ(Header(), ReadBytes(path));

    // Without a name nothing is written anywhere, and nothing fails.
    CLogFile unnamed(5);
    unnamed.Append(Item("x"));
    EXPECT_EQ(0, unnamed.Flush());
}

TEST(LogFileFormat, OpenResultCodes)
{
    ScratchDir dir;
    struct Case
    {
        const char* content;
        int expected;
        unsigned entries;
    };
    const std::string item =
        "<logitem severity=\"1\" name=\"n\" description=\"d\" datetime=\"1 Feb 2026 10:00:00:000\" />\r\n";
    const Case cases[] = {
        {"<?TarvinLogFile version='1.00'?>\r\n", 0, 0},
        {"<?TarvinLogFile version='1.0'?>\r\n", 0, 0},
        {"<?TarvinLogFile version=\"1\"?>\r\n", 0, 0},
        {"\r\n\r\n<?tarvinlogfile version='1.00'?>\r\n", 0, 0},
        {"<?TarvinLogFile version='1.01'?>\r\n", 3, 0},
        {"<?TarvinLogFile version='0.9'?>\r\n", 3, 0},
        {"<?TarvinLogFile?>\r\n", 2, 0},
        {"<logitem severity=\"1\" name=\"n\" description=\"d\" datetime=\"1 Feb 2026 10:00:00:000\" />\r\n",
         2, 0},
        {"", 2, 0},
        {"garbage\r\n", 2, 0},
    };
    int n = 0;
    for (const Case& c : cases)
    {
        std::string path = dir.Path("case" + std::to_string(n++) + ".log");
        WriteBytes(path, std::string(c.content) + item);
        CLogFile log(100);
        log.Append(Item("old"));
        EXPECT_EQ(c.expected, log.Open(path.c_str())) << c.content;
        EXPECT_EQ(c.expected == 0 ? 1u : 0u, log.GetLength()) << c.content;
        EXPECT_STREQ(path.c_str(), log.GetFileName());
    }
    CLogFile log(100);
    std::string missing = dir.Path("missing.log");
    EXPECT_EQ(4, log.Open(missing.c_str()));
    EXPECT_STREQ(missing.c_str(), log.GetFileName());
}

TEST(LogFileFormat, ReadsItemsSkipsOtherLinesAndKeepsTheNewest)
{
    ScratchDir dir;
    std::string path = dir.Path("Tarvin.log");
    std::string text = "<?TarvinLogFile version='1.00'?>\r\n";
    for (int i = 0; i < 150; i++)
    {
        text += "<LOGITEM severity=\"2\" name='src' description='event " + std::to_string(i) +
                "' datetime='1 Feb 2026 10:00:00:000' />\r\n";
        if (i % 50 == 0)
            text += "<other description=\"not an item\" />\r\nplain text\r\n";
    }
    WriteBytes(path, text);
    CLogFile log(100);
    ASSERT_EQ(0, log.Open(path.c_str()));
    ASSERT_EQ(100u, log.GetLength());
    EXPECT_STREQ("event 50", log.GetLogItem(0)->GetDescription());
    EXPECT_STREQ("event 149", log.GetLogItem(99)->GetDescription());
    EXPECT_EQ(CLogFile::LOG_MINOR, log.GetLogItem(0)->GetSeverity());

    // Double quotes in a text come back whole (the text goes in single
    // quotes); a text with both kinds is cut at its first double quote.
    CLogFile quoted(10);
    quoted.SetFileName(path.c_str());
    quoted.Append(Item("say \"hi\" now"));
    quoted.Append(Item("it's \"both\""));
    quoted.Append(Item("it's plain"));
    quoted.Flush();
    CLogFile back(10);
    ASSERT_EQ(0, back.Open(path.c_str()));
    ASSERT_EQ(3u, back.GetLength());
    EXPECT_STREQ("say \"hi\" now", back.GetLogItem(0)->GetDescription());
    EXPECT_STREQ("it's ", back.GetLogItem(1)->GetDescription());
    EXPECT_STREQ("it's plain", back.GetLogItem(2)->GetDescription());
}

TEST(LogFileFormat, LineOverTheLimitIsCompletedFromItsOwnText)
{
    ScratchDir dir;
    std::string path = dir.Path("Tarvin.log");
    // A description of 1300 characters, a name of 200: the line passes 1359
    // characters inside the description, before the time.
    std::string desc(1300, 'x');
    desc.replace(1000, 8, "datetime");
    // Past the cut, text that looks like an entry of its own.
    desc.replace(1150, 45, "<logitem name='ghost' description='ghost' />");
    std::string longLine = "<logitem severity=\"3\" name=\"" + std::string(200, 'n') + "\" description=\"" +
                           desc + "\" datetime=\"5 Dec 2026 21:56:50:123\" />";
    ASSERT_GT(longLine.size(), 1359u);
    std::string text = Header() + longLine + "\r\n" +
                       "<logitem severity=\"0\" name=\"after\" description=\"next\" datetime=\"6 Dec 2026 "
                       "01:02:03:004\" />\r\n";
    WriteBytes(path, text);

    CLogFile log(100);
    ASSERT_EQ(0, log.Open(path.c_str()));
    ASSERT_EQ(2u, log.GetLength());
    CLogFile::CLogItem* cut = log.GetLogItem(0);
    EXPECT_EQ(CLogFile::LOG_MAJOR, cut->GetSeverity());
    EXPECT_EQ(std::string(200, 'n'), cut->GetName());
    // The description runs to the cut and is held to its field.
    EXPECT_EQ(1023u, strlen(cut->GetDescription()));
    EXPECT_EQ(desc.substr(0, 1023), cut->GetDescription());
    // The time was past the cut: the entry has none rather than a stray one.
    EXPECT_EQ(0, cut->GetDateTime()->wYear);
    EXPECT_STREQ("next", log.GetLogItem(1)->GetDescription());
    EXPECT_EQ(6, log.GetLogItem(1)->GetDateTime()->wDay);
}

TEST(LogLine, CutLineNeverReadsPastItsEnd)
{
    // The cut text lives at the very end of its own allocation, so a read
    // past it is caught under the sanitizers of the host build too.
    const char* texts[] = {"<logitem name=\"abc", "<logitem description='", "<logitem severity=\"",
                           "<logitem datetime=\"5 Dec"};
    for (const char* t : texts)
    {
        std::vector<char> exact(t, t + strlen(t) + 1);
        tagLOG_LINE item;
        EXPECT_EQ(1, ReadLogItemLine(exact.data(), true, &item)) << t;
        EXPECT_EQ(0, item.time.wYear) << t;
    }
    tagLOG_LINE item;
    EXPECT_EQ(0, ReadLogItemLine("<logitem", true, &item)); // no tag yet
    ASSERT_EQ(1, ReadLogItemLine("<logitem name=\"abc", true, &item));
    EXPECT_STREQ("abc", item.name);
    ASSERT_EQ(1, ReadLogItemLine("<logitem name=\"abc", false, &item));
    EXPECT_STREQ("", item.name);
}
