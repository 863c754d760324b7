// The user menu's error texts.
#include <windows.h>

#include <gtest/gtest.h>

#include "traymenu.h"
#include "strutils.h"

namespace
{
TEST(UserMenu, StartErrorTexts)
{
    char buf[128];
    EXPECT_STREQ("The operating system does not have the resources to execute this command.",
                 UserMenuErrorText(0, 0, buf, sizeof(buf)));
    EXPECT_STREQ("The operating system does not have the resources to execute this command.",
                 UserMenuErrorText(8, 1, buf, sizeof(buf)));
    // A missing target is retried first, and only then reported.
    EXPECT_EQ(nullptr, UserMenuErrorText(2, 0, buf, sizeof(buf)));
    EXPECT_EQ(nullptr, UserMenuErrorText(3, 0, buf, sizeof(buf)));
    EXPECT_STREQ("Cannot find the target file.", UserMenuErrorText(3, 1, buf, sizeof(buf)));
    EXPECT_STREQ("The current user does not have access to the specified target.",
                 UserMenuErrorText(5, 0, buf, sizeof(buf)));
    EXPECT_STREQ("There was a sharing violation with the target file.",
                 UserMenuErrorText(26, 0, buf, sizeof(buf)));
    EXPECT_STREQ("The target file association is incomplete.", UserMenuErrorText(31, 0, buf, sizeof(buf)));
    EXPECT_STREQ("The DDE communication failed.", UserMenuErrorText(29, 1, buf, sizeof(buf)));
    EXPECT_STREQ("Error code 11 occurred while trying to execute the menu command.",
                 UserMenuErrorText(11, 0, buf, sizeof(buf)));
    EXPECT_EQ(nullptr, UserMenuErrorText(11, 1, buf, sizeof(buf)));
}
} // namespace
