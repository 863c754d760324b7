#include "xmlutils.h"

#include <gtest/gtest.h>
#include <string>

TEST(TagName, ReadsNameOfOpenAndEndTags)
{
    char name[16];
    EXPECT_EQ(GetTagName("  <  menu >", name, sizeof(name)), 4);
    EXPECT_STREQ(name, "menu");
    EXPECT_EQ(GetTagName("<menuitem text=\"a\" />", name, sizeof(name)), 8);
    EXPECT_STREQ(name, "menuitem");
    EXPECT_EQ(GetTagName("</Menu>", name, sizeof(name)), 4);
    EXPECT_STREQ(name, "Menu");
    EXPECT_EQ(GetTagName("no tag here", name, sizeof(name)), -1);
    EXPECT_EQ(GetTagName("<unclosed", name, sizeof(name)), -1);

    // A name that does not fit gives its length and an empty buffer.
    char tiny[4] = "old";
    EXPECT_EQ(GetTagName("<menuitem>", tiny, sizeof(tiny)), 8);
    EXPECT_STREQ(tiny, "");

    EXPECT_EQ(IsEndTag("</menu>"), 1);
    EXPECT_EQ(IsEndTag("< /menu>"), 0);
    EXPECT_EQ(IsEndTag("a/b <x>"), 0);
    EXPECT_EQ(IsEndTag("no tag"), 0);
}

// The value of a property, or "<none>" when it is not found.
static std::string Value(const char* line, const char* name)
{
    char v[32];
    return GetPropertyValue(line, name, v, sizeof(v)) >= 0 ? v : "<none>";
}

TEST(PropertyValue, QuotesSubstringsAndBounds)
{
    const char* line = "name=\"a b\" x='q\"r'";
    EXPECT_EQ("a b", Value(line, "name"));
    EXPECT_EQ("q\"r", Value(line, "x"));
    EXPECT_EQ("<none>", Value("name =\"a\"", "name"));
    EXPECT_EQ("", Value("file=\"\"", "file"));
    EXPECT_EQ("<none>", Value("file=\"open", "file"));
    EXPECT_EQ("<none>", Value("file=open", "file"));
    EXPECT_EQ("<none>", Value("other=\"1\"", "file"));

    // Only a whole name outside any value counts: not the end of a longer
    // name, not a word inside another property's value.
    EXPECT_EQ("p.exe", Value("<i iconpath=\"i.ico\" path=\"p.exe\">", "path"));
    EXPECT_EQ("t.exe", Value("<menuitem text=\"Start the target\" target=\"t.exe\" />", "target"));
    EXPECT_EQ("yes", Value("<m text='x target=\"no\"' target=\"yes\" />", "target"));
    EXPECT_EQ("<none>", Value("<m text=\"target=\" />", "target"));
    EXPECT_EQ("<none>", Value("<m iconpath=\"i.ico\" />", "path"));
    // Past a value left open nothing is found.
    EXPECT_EQ("<none>", Value("<m text='open target=\"t\"", "target"));
    EXPECT_EQ("C:\\a b\\x.launch", Value("-file=\"C:\\a b\\x.launch\"", "-file"));

    // A long value is cut at the buffer; the bytes after it stay untouched.
    char guarded[12];
    memset(guarded, '#', sizeof(guarded));
    std::string longLine = "t=\"" + std::string(100, 'z') + "\"";
    EXPECT_GE(GetPropertyValue(longLine.c_str(), "t", guarded, 8), 0);
    EXPECT_EQ(std::string(guarded), std::string(7, 'z'));
    EXPECT_EQ(guarded[8], '#');
}

// The writers' half: a value goes in the quotes it does not hold, and a cut
// or unstorable value never loses its closing quote.
TEST(PropertyValue, ValuesAreWrittenInTheQuotesTheyDoNotHold)
{
    struct
    {
        const char* value;
        size_t size;
        const char* written;
        bool whole;
    } cases[] = {
        {"plain", 16, "\"plain\"", true},       {"", 16, "\"\"", true},
        {"it's", 16, "\"it's\"", true},         {"say \"hi\"", 16, "'say \"hi\"'", true},
        {"it's \"x\"", 16, "\"it's \"", false}, {"abcdefgh", 8, "\"abcde\"", false},
        {"a\"bcdefgh", 8, "'a\"bcd'", false},   {"abc", 2, "", false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.value);
        char out[32];
        memset(out, '#', sizeof(out));
        EXPECT_EQ(c.whole, QuoteValue(out, c.size, c.value));
        EXPECT_STREQ(c.written, out);
        EXPECT_EQ('#', out[c.size]);
        EXPECT_EQ(!strchr(c.value, '"') || !strchr(c.value, '\''), IsStorableValue(c.value));
        // What was written reads back as the value, or as much of it as fits.
        std::string line = std::string("v=") + out + " next=\"n\"";
        char back[32];
        if (c.written[0])
        {
            ASSERT_GE(GetPropertyValue(line.c_str(), "v", back, sizeof(back)), 0);
            EXPECT_EQ(std::string(c.written + 1, strlen(c.written) - 2), back);
            ASSERT_GE(GetPropertyValue(line.c_str(), "next", back, sizeof(back)), 0);
            EXPECT_STREQ("n", back);
        }
    }
}
