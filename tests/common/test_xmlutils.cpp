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

TEST(PropertyValue, QuotesSubstringsAndBounds)
{
    char v[32];
    const char* line = "name=\"a b\" x='q\"r'";
    EXPECT_GE(GetPropertyValue(line, "name", v, sizeof(v)), 0);
    EXPECT_STREQ(v, "a b");
    EXPECT_GE(GetPropertyValue(line, "x", v, sizeof(v)), 0);
    EXPECT_STREQ(v, "q\"r");
    EXPECT_EQ(GetPropertyValue("name =\"a\"", "name", v, sizeof(v)), -1);
    EXPECT_EQ(GetPropertyValue("file=\"\"", "file", v, sizeof(v)), 0);
    EXPECT_STREQ(v, "");
    EXPECT_EQ(GetPropertyValue("file=\"open", "file", v, sizeof(v)), -1);
    EXPECT_EQ(GetPropertyValue("file=open", "file", v, sizeof(v)), -1);
    EXPECT_EQ(GetPropertyValue("other=\"1\"", "file", v, sizeof(v)), -1);

    // Only a whole name outside any value counts: not the end of a longer
    // name, not a word inside another property's value.
    EXPECT_GE(GetPropertyValue("<i iconpath=\"i.ico\" path=\"p.exe\">", "path", v, sizeof(v)), 0);
    EXPECT_STREQ(v, "p.exe");
    EXPECT_GE(
        GetPropertyValue("<menuitem text=\"Start the target\" target=\"t.exe\" />", "target", v, sizeof(v)),
        0);
    EXPECT_STREQ(v, "t.exe");
    EXPECT_GE(GetPropertyValue("<m text='x target=\"no\"' target=\"yes\" />", "target", v, sizeof(v)), 0);
    EXPECT_STREQ(v, "yes");
    EXPECT_EQ(GetPropertyValue("<m text=\"target=\" />", "target", v, sizeof(v)), -1);
    EXPECT_EQ(GetPropertyValue("<m iconpath=\"i.ico\" />", "path", v, sizeof(v)), -1);
    // Past a value left open nothing is found.
    EXPECT_EQ(GetPropertyValue("<m text='open target=\"t\"", "target", v, sizeof(v)), -1);
    EXPECT_GE(GetPropertyValue("-file=\"C:\\a b\\x.launch\"", "-file", v, sizeof(v)), 0);
    EXPECT_STREQ(v, "C:\\a b\\x.launch");

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
