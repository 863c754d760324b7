#include <windows.h>
#include <gtest/gtest.h>
#include "winutils.h"

namespace
{
// A window of a plain class, destroyed at the end of the test.
class Window
{
  public:
    Window(DWORD exStyle, DWORD style, int cx, int cy, HWND parent)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "TVTEST_WinUtils";
        RegisterClassA(&wc); // fails harmlessly once registered
        m_hwnd = CreateWindowExA(exStyle, wc.lpszClassName, "test", style, 3, 3, cx, cy, parent, NULL,
                                 wc.hInstance, NULL);
    }
    ~Window()
    {
        DestroyWindow(m_hwnd);
    }
    operator HWND() const
    {
        return m_hwnd;
    }

  private:
    HWND m_hwnd;
};
} // namespace

// Odd sizes, so that the integer halves show.
TEST(CenterWindow, CentresOverTheParentWithIntegerHalves)
{
    EXPECT_EQ(CenterWindow(NULL), 0);
    Window parent(0, WS_POPUP | WS_VISIBLE, 301, 201, NULL);
    ASSERT_TRUE(parent);
    SetWindowPos(parent, NULL, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    // left = 100 + 301 / 2 - 101 / 2 = 200, top = 50 + 201 / 2 - 51 / 2 = 125,
    // for an owned pop-up and for a child alike.
    for (DWORD style : {(DWORD)WS_POPUP, (DWORD)WS_CHILD})
    {
        Window w(0, style, 101, 51, parent);
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
    Window tool(WS_EX_TOOLWINDOW, WS_POPUP, 50, 50, NULL);
    ASSERT_TRUE(tool);
    ForceTaskbarButton(tool);
    LONG_PTR exStyle = GetWindowLongPtrA(tool, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
}
