#include <windows.h>
#include <gtest/gtest.h>
#include "winutils.h"

namespace
{
// A plain window class for the tests, registered once.
const char* TestClass()
{
    static const char* name = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "TVTEST_WinUtils";
        RegisterClassA(&wc);
        return "TVTEST_WinUtils";
    }();
    return name;
}

// Destroys the window at the end of the test.
class Window
{
  public:
    Window(DWORD exStyle, DWORD style, int x, int y, int cx, int cy, HWND parent)
        : m_hwnd(CreateWindowExA(exStyle, TestClass(), "test", style, x, y, cx, cy, parent, NULL,
                                 GetModuleHandleA(NULL), NULL))
    {
    }
    ~Window()
    {
        if (m_hwnd)
            DestroyWindow(m_hwnd);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    operator HWND() const
    {
        return m_hwnd;
    }

  private:
    HWND m_hwnd;
};

RECT WindowRect(HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    return rc;
}
} // namespace

// Odd sizes, so that the integer halves show.
TEST(CenterWindow, CentresOverTheParentWithIntegerHalves)
{
    EXPECT_EQ(CenterWindow(NULL), 0);

    Window parent(0, WS_POPUP | WS_VISIBLE, 100, 50, 301, 201, NULL);
    ASSERT_TRUE(parent);

    // Owned pop-up: left = 100 + 301 / 2 - 101 / 2 = 200, top = 50 + 201 / 2 - 51 / 2 = 125.
    Window owned(0, WS_POPUP, 0, 0, 101, 51, parent);
    ASSERT_TRUE(owned);
    EXPECT_EQ(CenterWindow(owned), 1);
    RECT rc = WindowRect(owned);
    EXPECT_EQ(rc.left, 200);
    EXPECT_EQ(rc.top, 125);
    EXPECT_EQ(rc.right - rc.left, 101);
    EXPECT_EQ(rc.bottom - rc.top, 51);
    EXPECT_FALSE(IsWindowVisible(owned)) << "centring must not show the window";

    // A child window lands on the same spot of the screen.
    Window child(0, WS_CHILD, 3, 3, 101, 51, parent);
    ASSERT_TRUE(child);
    EXPECT_EQ(CenterWindow(child), 1);
    rc = WindowRect(child);
    EXPECT_EQ(rc.left, 200);
    EXPECT_EQ(rc.top, 125);
}

TEST(CenterWindow, CentresOverTheDesktopWithoutParent)
{
    Window alone(0, WS_POPUP, 7, 9, 121, 77, NULL);
    ASSERT_TRUE(alone);
    RECT desk = WindowRect(GetDesktopWindow());
    EXPECT_EQ(CenterWindow(alone), 1);
    RECT rc = WindowRect(alone);
    EXPECT_EQ(rc.left, desk.left + (desk.right - desk.left) / 2 - 121 / 2);
    EXPECT_EQ(rc.top, desk.top + (desk.bottom - desk.top) / 2 - 77 / 2);
}

TEST(ForceTaskbarButton, AddsAppWindowAndKeepsTheOtherStyles)
{
    Window tool(WS_EX_TOOLWINDOW, WS_POPUP, 0, 0, 50, 50, NULL);
    ASSERT_TRUE(tool);
    ForceTaskbarButton(tool);
    LONG_PTR exStyle = GetWindowLongPtrA(tool, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
}

TEST(WindowsVersion, FamiliesExcludeEachOther)
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionExA(&info));
    bool nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    EXPECT_EQ(!!IsWindowsNT(), nt);
    // The 95 family and the NT family never both answer yes.
    EXPECT_FALSE(IsWindowsNT() && IsWindows98OrLater());
    if (nt)
    {
        EXPECT_EQ(!!IsWindows2000OrLater(), info.dwMajorVersion >= 5);
        // 6.0 is not "XP or later" by this test, 6.1 is.
        EXPECT_EQ(!!IsWindowsXP(), info.dwMajorVersion >= 5 && info.dwMinorVersion != 0);
    }
}
