#include "MMapIPC.h"
#include "safesave.h"
#include "strutils.h"
#include "xmlutils.h"

#include <gtest/gtest.h>
#include <string>

// A property is only found as a whole name: any name character before it
// makes it part of a longer one.
TEST(CommonEdges, PropertyNamesStartAfterANonNameCharacter)
{
    struct
    {
        const char* line;
        const char* value; // of "id"
    } cases[] = {
        {"<k Aid=\"1\" id=\"2\">", "2"},
        {"<k Zid=\"1\" id=\"2\">", "2"},
        {"<k aid=\"1\" id=\"2\">", "2"},
        {"<k 0id=\"1\" id=\"2\">", "2"},
        {"<k _id=\"1\" id=\"2\">", "2"},
        {"<k -id=\"1\" id=\"2\">", "2"},
        {"<k :id=\"1\" id=\"2\">", "2"},
        {"<k .id=\"1\" id=\"2\">", "2"},
        {"<k \"id=\"1\">", "1"},
        // A value ending in "=" is skipped whole, not read as opening another.
        {"<k a=\"b=\" id=\"2\">", "2"},
        {"<k a='=' id='2'>", "2"},
    };
    for (const auto& c : cases)
    {
        char value[16] = "?";
        EXPECT_GE(GetPropertyValue(c.line, "id", value, sizeof(value)), 0) << c.line;
        EXPECT_STREQ(c.value, value) << c.line;
    }
}

// The terminator is no character of the text.
TEST(CommonEdges, CharFindStopsBeforeTheTerminator)
{
    EXPECT_EQ(-1, CharFind("abc", '\0', 0));
    EXPECT_EQ(-1, CharFind("abc", '\0', 3));
}

// A path of the full length that ends in a separator names no file and
// leaves no room for the temporary one.
TEST(CommonEdges, SaveRefusesAFolderPathAtTheLimit)
{
    CSafeSave save;
    EXPECT_FALSE(save.Begin((std::string(258, 'a') + "/").c_str()));
    EXPECT_FALSE(save.WriteLine("x"));
    EXPECT_FALSE(save.Commit());
}

TEST(CommonEdges, ParseReportsAFrameWithABadPart)
{
    for (const char* text :
         {"<a:b>x", "<a:b:1:2", "<sixteen_chars___:b:1:2>x", "<a:b>:1:2>x", "<a:b:1x:2>x", "<a:b:1:>x"})
    {
        CMMapMsg msg;
        ASSERT_EQ(1, msg.SetMsgStr(text));
        EXPECT_EQ(0, msg.ParseMessage()) << text;
        EXPECT_EQ(0, msg.IsParsed()) << text;
    }
    CMMapMsg msg;
    msg.SetMsgStr("<a:b:1:2>x");
    EXPECT_EQ(1, msg.ParseMessage());
}

// Numbers beyond an int stop at its ends; a buffer of no room takes nothing.
TEST(CommonEdges, NumbersClampAndEmptyBuffersRefuse)
{
    EXPECT_EQ(-2147483647 - 1, StrToInt("-99999999999"));
    EXPECT_EQ(2147483647, StrToInt("99999999999"));
    char text[4] = "ab";
    EXPECT_FALSE(StrAppend(text, 0, "c"));
    EXPECT_FALSE(StrAppend(nullptr, 4, "c"));
    EXPECT_STREQ("ab", StrReplace(text, 0, "a", "b"));
}
