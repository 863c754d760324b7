#include <windows.h>
#include <gtest/gtest.h>
#include "winutils.h"
#include "wintestutil.h"

using wintest::TestWindow;

// Odd sizes, so that the integer halves show.
TEST(CenterWindow, CentresOverTheParentWithIntegerHalves)
{
    EXPECT_EQ(CenterWindow(NULL), 0);
    TestWindow parent("parent", NULL, 0, 3, 3, WS_POPUP | WS_VISIBLE, 301, 201);
    ASSERT_TRUE(parent);
    SetWindowPos(parent, NULL, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    // left = 100 + 301 / 2 - 101 / 2 = 200, top = 50 + 201 / 2 - 51 / 2 = 125,
    // for an owned pop-up and for a child alike.
    for (DWORD style : {(DWORD)WS_POPUP, (DWORD)WS_CHILD})
    {
        TestWindow w("test", parent, 0, 3, 3, style, 101, 51);
        ASSERT_TRUE(w);
        EXPECT_EQ(CenterWindow(w), 1);
        RECT rc;
        GetWindowRect(w, &rc);
        EXPECT_EQ(rc.left, 200) << style;
        EXPECT_EQ(rc.top, 125) << style;
        EXPECT_EQ(rc.right - rc.left, 101) << style;
        EXPECT_FALSE(IsWindowVisible(w)) << "centring must not show the window";
    }
}

TEST(ForceTaskbarButton, AddsAppWindowAndKeepsTheOtherStyles)
{
    TestWindow tool("tool", NULL, WS_EX_TOOLWINDOW, 3, 3, WS_POPUP, 50, 50);
    ASSERT_TRUE(tool);
    ForceTaskbarButton(tool);
    LONG_PTR exStyle = GetWindowLongPtrA(tool, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
}
