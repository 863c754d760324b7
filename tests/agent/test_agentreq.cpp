// The agent's pure decisions: the interpreter's requests and the screen-saver
// corner count.
#include <string.h>

#include <string>

#include <gtest/gtest.h>

#include "agentreq.h"

namespace
{
struct RequestCase
{
    const char* text;
    AgentRequest request;
    const char* arg;
};

const RequestCase kRequests[] = {
    {"agent:hide=\"notepad\"", AGENT_REQ_HIDE, "notepad"},
    {"agent:show=\"Calc\"", AGENT_REQ_SHOW, "Calc"},
    {"agent:showall", AGENT_REQ_SHOWALL, ""},
    {"AGENT:SHOWALL", AGENT_REQ_SHOWALL, ""},
    {"agent:showa", AGENT_REQ_SHOWALL, ""},
    {"agent:message=\"Hello, world\"", AGENT_REQ_MESSAGE, "Hello, world"},
    {"agent:exit tarvin", AGENT_REQ_EXIT, ""},
    {"agent:exit now", AGENT_REQ_EXIT, ""},
    {"agent:log=\"copied 3 files\"", AGENT_REQ_LOG, "copied 3 files"},
    {"agent:hide=\"\"", AGENT_REQ_HIDE, ""},
    // Property names keep their case: the capital form is not understood.
    {"AGENT:HIDE=\"x\"", AGENT_REQ_NONE, ""},
    {"agent:exit", AGENT_REQ_NONE, ""},
    {"agent:exi", AGENT_REQ_NONE, ""},
    {"agent:", AGENT_REQ_NONE, ""},
    {"", AGENT_REQ_NONE, ""},
    {"agent:bogus", AGENT_REQ_NONE, ""},
    {"agents:showall", AGENT_REQ_NONE, ""},
    {"agent:message=Hello", AGENT_REQ_NONE, ""},
    {"agent:message=\"open", AGENT_REQ_NONE, ""},
    {"agent:log='single'", AGENT_REQ_NONE, ""},
};

TEST(AgentRequests, RecognisedByTheFirstElevenCharacters)
{
    for (const RequestCase& c : kRequests)
    {
        char arg[AGENT_ARG_SIZE];
        EXPECT_EQ(c.request, ParseAgentRequest(c.text, arg)) << c.text;
        EXPECT_STREQ(c.arg, arg) << c.text;
    }
}

TEST(AgentRequests, LongArgumentsAreCutToTheBuffer)
{
    std::string text(AGENT_ARG_SIZE * 3, 'a');
    std::string body = "agent:log=\"" + text + "\"";
    // Guard bytes after the buffer catch an overrun.
    struct
    {
        char arg[AGENT_ARG_SIZE];
        char guard[16];
    } buf;
    memset(buf.guard, 0x5A, sizeof(buf.guard));
    EXPECT_EQ(AGENT_REQ_LOG, ParseAgentRequest(body.c_str(), buf.arg));
    EXPECT_EQ(AGENT_ARG_SIZE - 1, strlen(buf.arg));
    for (char g : buf.guard)
        EXPECT_EQ(0x5A, (unsigned char)g);
}

TEST(ScreenSaverCorner, CountsConsecutiveTicksInAChosenCorner)
{
    // Top-left chosen. Each tick: 'c' in the corner, 'x' one pixel off it;
    // '!' where the screen saver is due. One tick away starts the count again.
    struct
    {
        DWORD seconds;
        const char* ticks;
        const char* due;
    } cases[] = {{3, "cccccxccc", "..!.....!"}, {1, "cxc", "!.!"}};
    for (const auto& c : cases)
    {
        DWORD count = 0;
        for (size_t i = 0; c.ticks[i]; i++)
            EXPECT_EQ(c.due[i] == '!', ScreenSaverCornerTick(SS_CORNER_TOP_LEFT, c.seconds, c.ticks[i] == 'x',
                                                             0, 1024, 768, &count))
                << c.ticks << " tick " << i;
    }
}

TEST(ScreenSaverCorner, OnlyTheChosenCornersExactly)
{
    const long cx = 1024, cy = 768;
    struct
    {
        DWORD bit;
        long x, y;
    } corners[] = {{SS_CORNER_TOP_LEFT, 0, 0},
                   {SS_CORNER_TOP_RIGHT, cx - 1, 0},
                   {SS_CORNER_BOTTOM_LEFT, 0, cy - 1},
                   {SS_CORNER_BOTTOM_RIGHT, cx - 1, cy - 1}};
    for (const auto& at : corners)
    {
        for (const auto& chosen : corners)
        {
            DWORD count = 0;
            EXPECT_EQ(at.bit == chosen.bit, ScreenSaverCornerTick(chosen.bit, 1, at.x, at.y, cx, cy, &count))
                << "cursor " << at.x << "," << at.y << " mask " << chosen.bit;
        }
        // All four chosen; one pixel off the corner, or off the screen, is no corner.
        DWORD count = 0;
        EXPECT_TRUE(ScreenSaverCornerTick(15, 1, at.x, at.y, cx, cy, &count));
        EXPECT_FALSE(ScreenSaverCornerTick(15, 1, at.x ? at.x - 1 : 1, at.y, cx, cy, &count));
        EXPECT_FALSE(ScreenSaverCornerTick(15, 1, at.x ? at.x + 1 : -1, at.y, cx, cy, &count));
    }
    DWORD count = 0;
    EXPECT_FALSE(ScreenSaverCornerTick(0, 1, 0, 0, cx, cy, &count));
    EXPECT_FALSE(ScreenSaverCornerTick(15, 1, cx / 2, cy / 2, cx, cy, &count));
}
} // namespace
