#include "LaunchFile.h"
#include "LaunchLine.h"

#include <gtest/gtest.h>

TEST(LaunchEdges, DescriptionsReportSuccess)
{
    for (const char* line : {"Launch \"a.exe\",\"\",\"\",Normal", "Open \"d\"", "Print \"d\""})
    {
        char out[LAUNCH_DESCRIPTION_SIZE];
        EXPECT_NE(0, CLaunchAction(line).GetDescription(out, sizeof(out))) << line;
    }
}

TEST(LaunchEdges, AppendingAndMovingOntoItselfSucceed)
{
    CLaunchFile file;
    EXPECT_EQ(1, file.AppendAction("a"));
    EXPECT_EQ(1, file.AppendAction("b"));
    EXPECT_EQ(1, file.MoveAction(1, 1));
    ASSERT_EQ(2, file.GetCount());
    EXPECT_STREQ("a", file.GetAction(0)->GetString());
    EXPECT_STREQ("b", file.GetAction(1)->GetString());
}

TEST(LaunchEdges, BuildingIntoNoRoomWritesNothing)
{
    char out[4] = "x";
    EXPECT_FALSE(BuildLaunchLine(LA_COMMENT, nullptr, 0, out, 0));
    EXPECT_STREQ("x", out);
    EXPECT_FALSE(BuildLaunchLine(LA_COMMENT, nullptr, 0, nullptr, sizeof(out)));
}

TEST(LaunchEdges, ClearingAndReadingIntoNoRoom)
{
    CLaunchFile file;
    file.AppendAction("Open \"d\"");
    char out[4] = "x";
    EXPECT_EQ(1, file.GetAction(0)->GetParam(1, out, 0));
    EXPECT_STREQ("x", out);
    EXPECT_EQ(1, file.Clear());
    EXPECT_EQ(0, file.GetCount());
}
