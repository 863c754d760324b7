#include "strutils.h"

#include <gtest/gtest.h>
#include <string>

TEST(BoundedStrings, AlwaysTerminateAndReportCuts)
{
    char buf[6];
    memset(buf, 'x', sizeof(buf));
    EXPECT_TRUE(StrCopy(buf, "abcde"));
    EXPECT_STREQ(buf, "abcde");
    EXPECT_FALSE(StrCopy(buf, "abcdefgh"));
    EXPECT_STREQ(buf, "abcde");
    EXPECT_TRUE(StrCopy(buf, "ab"));
    EXPECT_FALSE(StrAppend(buf, "cdefg"));
    EXPECT_STREQ(buf, "abcde");
    EXPECT_FALSE(StrFormat(buf, sizeof(buf), "%d", 1234567));
    EXPECT_STREQ(buf, "12345");
    EXPECT_TRUE(StrCopyN(buf, sizeof(buf), "abcdef", 2));
    EXPECT_STREQ(buf, "ab");

    // A destination that lost its terminator is mended, not run past.
    memset(buf, 'y', sizeof(buf));
    EXPECT_FALSE(StrAppend(buf, "z"));
    EXPECT_EQ(buf[5], '\0');
}

TEST(Search, FindsAndReportsMinusOne)
{
    EXPECT_EQ(StrFind("abcabc", "bc", 0), 1);
    EXPECT_EQ(StrFind("abcabc", "bc", 2), 4);
    EXPECT_EQ(StrFind("abcabc", "", 0), -1);
    EXPECT_EQ(StrFind("abc", "abc", 4), -1);
    EXPECT_EQ(StrFind("aab", "ab", 0), 1); // retries one past a false start
    EXPECT_EQ(StrFind("ab", "abc", 0), -1);
    EXPECT_EQ(StrFind("ABC", "abc", 0), -1); // case-sensitive

    EXPECT_EQ(CharFind("a,b,c", ',', 2), 3);
    EXPECT_EQ(CharFind("abc", 'a', 9), -1);

    // Backwards search begins `start` before the last character and never
    // looks at position 0.
    EXPECT_EQ(CharFindRev("\\abc", '\\', 0), -1);
    EXPECT_EQ(CharFindRev("a\\b\\c", '\\', 0), 3);
    EXPECT_EQ(CharFindRev("a\\b\\c", '\\', 2), 1);
    EXPECT_EQ(CharFindRev("", 'a', 0), -1);
    EXPECT_EQ(CharFindRev("ab", 'b', 5), -1);
}

TEST(StrMid, CopiesInclusiveRangesAndRefusesBadOnes)
{
    char out[16] = "keep";
    EXPECT_EQ(StrMid(out, "abcdef", 1, 3), 1);
    EXPECT_STREQ(out, "bcd");
    EXPECT_EQ(StrMid(out, "abcdef", 2, -1), 1);
    EXPECT_STREQ(out, "cdef");
    EXPECT_EQ(StrMid(out, "abcdef", 3, 2), 0);
    EXPECT_STREQ(out, "cdef");
    EXPECT_EQ(StrMid(out, "abc", 0, 4), 0);
    EXPECT_EQ(StrMid(out, "abc", 1, 3), 1); // `to` may name the terminator
    EXPECT_STREQ(out, "bc");

    char same[16] = "hello world";
    EXPECT_EQ(StrMid(same, same, 6, -1), 1);
    EXPECT_STREQ(same, "world");
}

TEST(TrimAndLines, TrimBlanksAndSplitAtLf)
{
    char s[32] = " \t\r\nab c\n\t ";
    TrimStr(s);
    EXPECT_STREQ(s, "ab c");
    char blank[8] = " \t\r\n";
    TrimStr(blank);
    EXPECT_STREQ(blank, "");

    char buf[32] = "\nrest";
    char line[32];
    StrGetLine(line, buf, 1);
    EXPECT_STREQ(line, "");
    EXPECT_STREQ(buf, "rest");

    char crlf[32] = "one\r\ntwo";
    StrGetLine(line, crlf, 0);
    EXPECT_STREQ(line, "one\r");
    EXPECT_STREQ(crlf, "one\r\ntwo");
    StrGetLine(line, crlf, 1);
    EXPECT_STREQ(crlf, "two");
    StrGetLine(line, crlf, 1);
    EXPECT_STREQ(line, "two");
    EXPECT_STREQ(crlf, "");
}

TEST(StrReplace, NeverRescansInsertedTextAndStaysInItsBuffer)
{
    char s[32] = "\\nA\\nB";
    StrReplace(s, sizeof(s), "\\n", "\n");
    EXPECT_STREQ(s, "\nA\nB");

    char a[32] = "aXa";
    StrReplace(a, sizeof(a), "a", "aa");
    EXPECT_STREQ(a, "aaXaa");

    char shrink[32] = "xxabxxab";
    StrReplace(shrink, sizeof(shrink), "xx", "");
    EXPECT_STREQ(shrink, "abab");

    // Growth beyond the buffer is cut, never written past it.
    char small[8] = "aaaa";
    StrReplace(small, sizeof(small), "a", "bcd");
    EXPECT_EQ(strlen(small), 7u);
    EXPECT_STREQ(small, "bcdbcdb");

    char chars[4] = "ab";
    EXPECT_EQ(StrCharAppend(chars, sizeof(chars), 'c'), 3);
    EXPECT_EQ(StrCharAppend(chars, sizeof(chars), 'd'), 3);
    EXPECT_STREQ(chars, "abc");
}

TEST(NoCase, ComparesAsciiIgnoringCase)
{
    EXPECT_EQ(StrCompareNoCase("Launch", "LAUNCH"), 0);
    EXPECT_LT(StrCompareNoCase("launc", "launch"), 0);
    EXPECT_GT(StrCompareNoCase("launchx", "launch"), 0);
    EXPECT_EQ(StrCompareNoCaseN("JanXYZ", "jan", 3), 0);
}
