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
    EXPECT_GE(GetPropertyValue("<menuitem text=\"Start the target\" target=\"t.exe\" />", "target", v, sizeof(v)),
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
