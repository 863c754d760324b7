// tvint's -check switch: a word of its own, outside quotes of either kind.
#include "check.h"
#include "tvintTimes.h"

#include <gtest/gtest.h>

TEST(CheckCommandLine, FindsTheSwitchOnlyAsAWordOutsideQuotes)
{
    for (const char* yes :
         {"-file=\"C:\\O'Brien\\a.launch\" -CHECK", "-file='C:\\\"q' -check", "-check\t-file=a"})
        EXPECT_TRUE(IsCheckCommandLine(yes)) << yes;
    for (const char* no :
         {"-file=\"C:\\x -check\\a.launch\"", "-file='x -check'", "-checked -file=a", "-file=a-check"})
        EXPECT_FALSE(IsCheckCommandLine(no)) << no;
}

// A Wait line waits its leading digits in ms, a timer's longest at most.
TEST(TvintTimes, WaitTakesTheLeadingDigits)
{
    EXPECT_EQ(1005u, WaitMilliseconds("1005 ms"));
    EXPECT_EQ(0u, WaitMilliseconds("x10"));
    EXPECT_EQ(TVINT_TIMER_MAXIMUM, WaitMilliseconds("99999999999999999999"));
}
