// The owner-drawn controls in a real window: mouse messages routed as the
// system routes them, WM_COMMAND counted at the parent, pixels compared.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "iconButton.h"
#include "staticLink.h"
#include "wintestutil.h"

namespace
{
using wintest::CentreOf;

struct Command
{
    WPARAM wParam;
    HWND from;
};
std::vector<Command> g_commands;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND)
    {
        g_commands.push_back({wParam, (HWND)lParam});
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

using wintest::PumpPending;
using wintest::PumpUntil;

// A 48x48 icon: a blue square with a yellow bar, transparent corners.
HICON MakeTestIcon()
{
    return wintest::MakeIcon(48, [](int x, int y) {
        if ((x < 4 || x >= 44) && (y < 4 || y >= 44))
            return wintest::kTransparent;
        return (y >= 20 && y < 28) ? (DWORD)0x00FFD800 : (DWORD)0x002050C0;
    });
}

typedef wintest::Pixels Image;
const auto Capture = wintest::PrintedClient;

bool HasColour(const Image& image, COLORREF colour, const RECT& area)
{
    return image.Count(area, colour) > 0;
}

// Delivers a mouse message as the system does: to the window holding the
// capture, else to the window under the point, in its client coordinates.
void Mouse(UINT msg, POINT screen)
{
    HWND target = GetCapture();
    if (!target)
        target = WindowFromPoint(screen);
    ASSERT_NE(nullptr, target);
    POINT pt = screen;
    ScreenToClient(target, &pt);
    WPARAM keys = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK ? MK_LBUTTON : 0;
    SendMessageA(target, msg, keys, MAKELPARAM(pt.x, pt.y));
}

LONG StateOf(HWND button)
{
    return ((tagICONBUTTON_DATA*)GetWindowLongPtrA(button, GWLP_USERDATA))->state;
}

HWND FindTooltipOf(HWND control)
{
    struct Search
    {
        HWND control;
        HWND found;
    } search = {control, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            Search* s = (Search*)lParam;
            char cls[64];
            GetClassNameA(hwnd, cls, sizeof(cls));
            TTTOOLINFOA ti = {};
            ti.cbSize = TTTOOLINFOA_V2_SIZE;
            ti.hwnd = s->control;
            ti.uId = (UINT_PTR)s->control;
            if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0 && SendMessageA(hwnd, TTM_GETTOOLINFOA, 0, (LPARAM)&ti))
            {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        (LPARAM)&search);
    return search.found;
}

std::string TooltipText(HWND tooltip, HWND control)
{
    char text[1024] = "";
    TTTOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = control;
    ti.uId = (UINT_PTR)control;
    ti.lpszText = text;
    SendMessageA(tooltip, TTM_GETTEXTA, sizeof(text), (LPARAM)&ti);
    return text;
}

class Controls : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        g_commands.clear();
        // Away from the screen's centre, where the real pointer rests.
        m_parent = CreateWindowExA(0, wintest::TestClass("TVTest_ControlsParent", ParentProc), "Controls",
                                   WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 380, 240, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, m_parent);
        m_icon = MakeTestIcon();
        ASSERT_NE(nullptr, m_icon);
        PumpPending();
    }
    void TearDown() override
    {
        if (GetCapture())
            ReleaseCapture();
        DestroyWindow(m_parent);
        DestroyIcon(m_icon);
        PumpPending();
    }
    HWND MakeButton(int id, const char* text, int left = 10)
    {
        RECT rc = {left, 10, left + 110, 100};
        return CreateIconButton(m_parent, GetModuleHandleA(nullptr), id, &rc, text, m_icon, nullptr);
    }
    HWND MakeLink(int id, const char* text)
    {
        RECT rc = {10, 150, 250, 170};
        return CreateStaticLink(m_parent, GetModuleHandleA(nullptr), id, &rc, text);
    }
    POINT Outside() const
    {
        RECT rc;
        GetWindowRect(m_parent, &rc);
        return {rc.right - 20, rc.bottom - 20}; // on the parent, clear of every control
    }

    HWND m_parent = nullptr;
    HICON m_icon = nullptr;
};

TEST_F(Controls, CreationSplitsCaptionAndTooltip)
{
    struct Case
    {
        const char* text;
        const char* caption;
        const char* tip;
    } cases[] = {
        {"Create a\nnew menu\tStarts a new menu.", "Create a\nnew menu", "Starts a new menu."},
        {"No tooltip", "No tooltip", ""},
        {"A\tB\tC", "A", "B\tC"},
        {"\tOnly a tip", "", "Only a tip"},
        {"", "", ""},
    };
    int id = 100;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        HWND controls[] = {MakeButton(id++, c.text), MakeLink(id++, c.text)};
        for (HWND control : controls)
        {
            ASSERT_NE(nullptr, control);
            char caption[256];
            GetWindowTextA(control, caption, sizeof(caption));
            EXPECT_STREQ(c.caption, caption);
            HWND tooltip = FindTooltipOf(control);
            ASSERT_NE(nullptr, tooltip);
            EXPECT_EQ(c.tip, TooltipText(tooltip, control));
            // The tooltip's owner is the top-level window, so the control
            // must take it along.
            DestroyWindow(control);
            EXPECT_FALSE(IsWindow(tooltip));
        }
    }
}

TEST_F(Controls, IconButtonLiftsUnderTheMouse)
{
    HWND button = MakeButton(7, "Lift me\tTooltip");
    ASSERT_NE(nullptr, button);
    RECT client;
    GetClientRect(button, &client);
    RECT iconArea = {0, 0, client.right, 52};
    RECT captionArea = {0, 54, client.right, client.bottom};

    Image flat = Capture(button);
    EXPECT_TRUE(HasColour(flat, GetSysColor(COLOR_BTNTEXT), captionArea));
    EXPECT_FALSE(HasColour(flat, GetSysColor(COLOR_HIGHLIGHT), captionArea));
    EXPECT_TRUE(HasColour(flat, RGB(0x20, 0x50, 0xC0), iconArea));

    Mouse(WM_MOUSEMOVE, CentreOf(button));
    EXPECT_EQ(button, GetCapture());
    EXPECT_EQ(IBS_HOT, StateOf(button));
    Image lifted = Capture(button);
    EXPECT_FALSE(flat == lifted);
    EXPECT_TRUE(HasColour(lifted, GetSysColor(COLOR_HIGHLIGHT), captionArea));
    EXPECT_TRUE(HasColour(lifted, RGB(0x20, 0x50, 0xC0), iconArea));
    // Moving within the button keeps it lifted; leaving flattens it.
    POINT inside = CentreOf(button);
    inside.x += 20;
    Mouse(WM_MOUSEMOVE, inside);
    EXPECT_EQ(lifted, Capture(button));
    Mouse(WM_MOUSEMOVE, Outside());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(flat, Capture(button));
    EXPECT_EQ(IBS_NORMAL, StateOf(button));

    // Losing the capture to someone else also ends the hot look.
    Mouse(WM_MOUSEMOVE, CentreOf(button));
    ASSERT_EQ(button, GetCapture());
    SetCapture(m_parent);
    EXPECT_EQ(flat, Capture(button));
    ReleaseCapture();
}

TEST_F(Controls, IconButtonForcedStatesAndFont)
{
    HWND button = MakeButton(8, "Forced");
    ASSERT_NE(nullptr, button);
    Image flat = Capture(button);
    SendMessageA(button, IBM_FORCEHOT, 0, 0);
    EXPECT_EQ(IBS_FORCEHOT, StateOf(button));
    Image hot = Capture(button);
    EXPECT_FALSE(flat == hot) << "forced hot with the mouse elsewhere";

    SendMessageA(button, IBM_FORCENORMAL, 0, 0);
    Mouse(WM_MOUSEMOVE, CentreOf(button));
    EXPECT_EQ(IBS_FORCENORMAL, StateOf(button));
    EXPECT_EQ(flat, Capture(button)) << "stays flat under the mouse";

    SendMessageA(button, IBM_RESETSTATE, 0, 0);
    EXPECT_EQ(hot, Capture(button)) << "follows the mouse again";
    EXPECT_EQ(IBS_HOT, StateOf(button));
    Mouse(WM_MOUSEMOVE, Outside());
    EXPECT_EQ(flat, Capture(button));

    // A font given is used: the same caption looks different in it.
    HFONT font = CreateFontA(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Verdana");
    SendMessageA(button, WM_SETFONT, (WPARAM)font, TRUE);
    EXPECT_EQ((LRESULT)font, SendMessageA(button, WM_GETFONT, 0, 0));
    EXPECT_FALSE(flat == Capture(button));
    DestroyWindow(button);
    DeleteObject(font);
}

// Hot under the mouse, normal again outside; the underlined font is made
// once for the link, not on every paint, and goes with it.
TEST_F(Controls, StaticLinkTurnsHotUnderTheMouseWithOneFont)
{
    HWND link = MakeLink(9, "Help...\tClick this to view help.");
    ASSERT_NE(nullptr, link);
    HFONT font = (HFONT)SendMessageA(link, WM_GETFONT, 0, 0);
    LOGFONTA lf;
    ASSERT_TRUE(GetObjectA(font, sizeof(lf), &lf));
    EXPECT_TRUE(lf.lfUnderline);
    RECT client;
    GetClientRect(link, &client);
    Image normal = Capture(link);
    EXPECT_EQ(0, GetWindowLongPtrA(link, GWLP_USERDATA));
    EXPECT_TRUE(HasColour(normal, GetSysColor(COLOR_BTNTEXT), client));
    EXPECT_FALSE(HasColour(normal, GetSysColor(COLOR_HIGHLIGHT), client));

    Mouse(WM_MOUSEMOVE, CentreOf(link));
    EXPECT_EQ(1, GetWindowLongPtrA(link, GWLP_USERDATA));
    Image hot = Capture(link);
    EXPECT_TRUE(HasColour(hot, GetSysColor(COLOR_HIGHLIGHT), client));
    EXPECT_FALSE(HasColour(hot, GetSysColor(COLOR_BTNTEXT), client));

    Mouse(WM_MOUSEMOVE, Outside());
    EXPECT_EQ(0, GetWindowLongPtrA(link, GWLP_USERDATA));
    EXPECT_EQ(normal, Capture(link));
    EXPECT_EQ((LRESULT)font, SendMessageA(link, WM_GETFONT, 0, 0));
    EXPECT_EQ((DWORD)OBJ_FONT, GetObjectType(font));
    DestroyWindow(link);
    EXPECT_EQ(0u, GetObjectType(font));
}

TEST_F(Controls, OneCommandPerClick)
{
    HWND button = MakeButton(501, "Button");
    HWND link = MakeLink(502, "Link");
    ASSERT_TRUE(button && link);
    for (HWND control : {button, link})
    {
        int id = GetDlgCtrlID(control);
        SCOPED_TRACE(id);
        POINT in = CentreOf(control);
        POINT out = Outside();
        struct Step
        {
            UINT msg;
            bool inside;
        };
        struct Case
        {
            const char* name;
            std::vector<Step> steps;
            size_t commands;
        } cases[] = {
            {"click", {{WM_MOUSEMOVE, true}, {WM_LBUTTONDOWN, true}, {WM_LBUTTONUP, true}}, 1},
            {"double click",
             {{WM_MOUSEMOVE, true},
              {WM_LBUTTONDOWN, true},
              {WM_LBUTTONUP, true},
              {WM_LBUTTONDBLCLK, true},
              {WM_LBUTTONUP, true}},
             2},
            {"press, leave, release outside",
             {{WM_MOUSEMOVE, true}, {WM_LBUTTONDOWN, true}, {WM_MOUSEMOVE, false}, {WM_LBUTTONUP, false}},
             0},
            {"press outside, enter, release",
             {{WM_LBUTTONDOWN, false}, {WM_MOUSEMOVE, true}, {WM_LBUTTONUP, true}},
             1},
            {"no move at all", {{WM_LBUTTONDOWN, true}, {WM_LBUTTONUP, true}}, 1},
        };
        for (const Case& c : cases)
        {
            SCOPED_TRACE(c.name);
            g_commands.clear();
            Mouse(WM_MOUSEMOVE, out);
            for (const Step& step : c.steps)
                Mouse(step.msg, step.inside ? in : out);
            ASSERT_EQ(c.commands, g_commands.size());
            for (const Command& cmd : g_commands)
            {
                EXPECT_EQ((WPARAM)id, cmd.wParam);
                EXPECT_EQ(control, cmd.from);
            }
        }

        // A release that reaches the control from outside (capture still
        // held) is no click.
        g_commands.clear();
        Mouse(WM_MOUSEMOVE, in);
        ASSERT_EQ(control, GetCapture());
        POINT outClient = out;
        ScreenToClient(control, &outClient);
        SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(outClient.x, outClient.y));
        EXPECT_EQ(0u, g_commands.size());
        Mouse(WM_MOUSEMOVE, out);
    }
}

// The whole way through the system: the pointer is moved and clicked, Wine
// routes the input, the parent gets the command.
TEST_F(Controls, RealPointerClick)
{
    HWND button = MakeButton(601, "Real");
    ASSERT_NE(nullptr, button);
    SetForegroundWindow(m_parent);
    POINT at = CentreOf(button);
    ASSERT_TRUE(SetCursorPos(at.x, at.y));
    EXPECT_TRUE(PumpUntil([&] { return GetCapture() == button; })) << "hot after the pointer entered";

    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(2u, SendInput(2, input, sizeof(INPUT)));
    EXPECT_TRUE(PumpUntil([] { return !g_commands.empty(); }));
    // Nothing more arrives once the input has been handled.
    PumpUntil([] { return false; }, 200);
    ASSERT_EQ(1u, g_commands.size());
    EXPECT_EQ(601u, g_commands[0].wParam);

    POINT away = Outside();
    SetCursorPos(away.x, away.y);
    EXPECT_TRUE(PumpUntil([&] { return GetCapture() != button; })) << "flat after the pointer left";
}

} // namespace
