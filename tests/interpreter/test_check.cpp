// tvint's -check switch: a word of its own, outside quotes of either kind.
#include "check.h"

#include <gtest/gtest.h>

TEST(CheckCommandLine, FindsTheSwitchOnlyAsAWordOutsideQuotes)
{
    for (const char* yes : {"-file=\"C:\\O'Brien\\a.launch\" -CHECK", "-file='C:\\\"q' -check"})
        EXPECT_TRUE(IsCheckCommandLine(yes)) << yes;
    for (const char* no :
         {"-file=\"C:\\x -check\\a.launch\"", "-file='x -check'", "-checked -file=a", "-file=a-check"})
        EXPECT_FALSE(IsCheckCommandLine(no)) << no;
}
