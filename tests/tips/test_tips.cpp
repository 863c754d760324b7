// The tips file and the collection: loading, set selection, and handing out
// tips in order and at random.
#include <string>
#include <vector>

#include "Tips.h"
#include "testutil.h"

namespace
{

const std::string kHeader = "<?TarvinTips version=\"1.0\"?>\r\n";

class TipsFile : public ::testing::Test
{
  protected:
    int Load(const std::string& bytes)
    {
        WriteBytes(m_dir.Path("tvdt.sys"), bytes);
        return m_tips.Load(m_dir.Path("tvdt.sys").c_str());
    }
    // The current set's tips, walked with Next from the selected one.
    std::vector<std::string> Walk(int steps, bool forward = true)
    {
        std::vector<std::string> out;
        for (int i = 0; i < steps; i++)
            out.push_back(forward ? m_tips.GetNextTip() : m_tips.GetPrevTip());
        return out;
    }

    ScratchDir m_dir;
    CTips m_tips;
};

TEST_F(TipsFile, LoadResultsForDamagedAndForeignFiles)
{
    const std::string set =
        "<tipset name=\"A\" regpath=\"Software\\A\">\r\n<tip text=\"one\" />\r\n</tipset>\r\n";
    struct Case
    {
        const char* what;
        std::string bytes;
        int result;
        unsigned sets;
    } cases[] = {
        {"good", kHeader + set, 0, 1},
        {"version 1.00, single quotes", "<?TarvinTips version='1.00'?>\n" + set, 0, 1},
        {"version 1", "<?tarvintips version=\"1\"?>\r" + set, 0, 1},
        {"version 1.01", "<?TarvinTips version=\"1.01\"?>\r\n" + set, 3, 0},
        {"version 0.9", "<?TarvinTips version=\"0.9\"?>\r\n" + set, 3, 0},
        {"no version", "<?TarvinTips ?>\r\n" + set, 4, 0},
        {"empty file", "", 0, 0},
        {"no header", set, 0, 0},
        {"binary", std::string("\0\xff<\x01\r\n\n", 7), 0, 0},
        {"tip before any set", kHeader + "<tip text=\"lost\" />\r\n" + set, 2, 0},
        {"tip after the set ended", kHeader + set + "<tip text=\"lost\" />\r\n" + set, 2, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.result, Load(c.bytes));
        EXPECT_EQ(c.sets, m_tips.GetSetCount());
    }
    EXPECT_EQ(5, m_tips.Load(m_dir.Path("missing.sys").c_str()));
    EXPECT_EQ(0u, m_tips.GetSetCount()) << "a failed load still empties the collection";
}

TEST_F(TipsFile, SelectsSetsByNameAndKeepsTheLastOnAMiss)
{
    ASSERT_EQ(0,
              Load(kHeader +
                   "<tipset name=\"Tarvin Editor\" regpath=\"Software\\Norvale\\Tarvin 2\\Editor\">\r\n"
                   "<tip text=\"e1\" />\r\n</tipset>\r\n"
                   "<TIPSET name=\"Tarvin Scheduler\" regpath=\"Software\\Norvale\\Tarvin 2\\Scheduler\">\r\n"
                   "<Tip text=\"s1\" />\r\n</TipSet>\r\n"));
    EXPECT_STREQ("\\Software\\Tarvin Tips", m_tips.GetRegPath()) << "nothing selected yet";
    EXPECT_STREQ("", m_tips.GetNextTip());

    EXPECT_EQ(1, m_tips.OpenSet("tarvin SCHEDULER"));
    EXPECT_STREQ("Software\\Norvale\\Tarvin 2\\Scheduler", m_tips.GetRegPath());
    EXPECT_EQ(1, m_tips.OpenFirstSet());
    EXPECT_STREQ("Software\\Norvale\\Tarvin 2\\Editor", m_tips.GetRegPath());
    EXPECT_EQ(0, m_tips.OpenSet("Tarvin Menu Editor"));
    EXPECT_STREQ("Software\\Norvale\\Tarvin 2\\Scheduler", m_tips.GetRegPath());
    EXPECT_STREQ("s1", m_tips.GetRandomTip());
}

TEST_F(TipsFile, NextAndPreviousWrapAndRandomPicksFromTheSet)
{
    ASSERT_EQ(0,
              Load(kHeader + "<tipset name=\"three\" regpath=\"k\">\r\n<tip text=\"a\" />\r\n"
                             "<tip text=\"b\" />\r\n<tip text=\"c\" />\r\n</tipset>\r\n"
                             "<tipset name=\"one\" regpath=\"k\">\r\n<tip text=\"only\" />\r\n</tipset>\r\n"
                             "<tipset name=\"none\" regpath=\"k\">\r\n</tipset>\r\n"));
    ASSERT_EQ(1, m_tips.OpenSet("three"));
    EXPECT_EQ((std::vector<std::string>{"b", "c", "a", "b"}), Walk(4));
    EXPECT_EQ((std::vector<std::string>{"a", "c", "b", "a", "c"}), Walk(5, false));

    // A random tip becomes the current one: Next goes on from it.
    const std::string order = "abca";
    for (int i = 0; i < 20; i++)
    {
        std::string tip = m_tips.GetRandomTip();
        ASSERT_EQ(1u, tip.size());
        EXPECT_EQ(std::string(1, order[order.find(tip) + 1]), m_tips.GetNextTip());
    }

    ASSERT_EQ(1, m_tips.OpenSet("one"));
    EXPECT_EQ((std::vector<std::string>{"only", "only"}), Walk(2));
    EXPECT_EQ((std::vector<std::string>{"only", "only"}), Walk(2, false));
    ASSERT_EQ(1, m_tips.OpenSet("none"));
    EXPECT_STREQ("", m_tips.GetRandomTip());
    EXPECT_STREQ("", m_tips.GetNextTip());
    EXPECT_STREQ("", m_tips.GetPrevTip());
    EXPECT_EQ(0, m_tips.Save(m_dir.Path("out.sys").c_str()));
}

TEST_F(TipsFile, TextsBreakLinesAndAreCutToTheirFields)
{
    const std::string longName(40, 'n');
    const std::string longPath(280, 'p');
    const std::string longText(300, 't');
    ASSERT_EQ(0, Load(kHeader + "<tipset name=\"\" regpath=\"" + longPath + "\">\r\n</tipset>\r\n\r\n" +
                      "<tipset name=\"" + longName + "\" regpath=\"k\">\r\n" +
                      "<tip text=\"first line\\nsecond line\" />\n" + "<tip text=\"" + longText +
                      "\" />\r\n" + "<tip note=\"no text\" />\r\n" + "<unknown text=\"skipped\" />\r\n" +
                      "<tip text=\"" + std::string(400, 'x') +
                      " <tip text=\"from the rest\" /> <tipset name=\"rest\" regpath=\"r\">\" />\r\n" +
                      "<tip text=\"after the long line\" />\r\n"));
    ASSERT_EQ(1, m_tips.OpenSet(""));
    EXPECT_EQ(longPath.substr(0, 259), m_tips.GetRegPath());
    ASSERT_EQ(1, m_tips.OpenSet(longName.substr(0, 31).c_str()));
    // The line over the reader's limit keeps its tip, cut to the field, and
    // nothing of its rest is read as an element.
    EXPECT_EQ((std::vector<std::string>{longText.substr(0, 255), std::string(255, 'x'), "after the long line",
                                        "first line\nsecond line"}),
              Walk(4));
    EXPECT_EQ(2u, m_tips.GetSetCount());
}

} // namespace
