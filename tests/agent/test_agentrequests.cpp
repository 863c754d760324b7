// Recognising the interpreter's requests, and the user menu's error texts.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "requests.h"
#include "traymenu.h"
#include "strutils.h"

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
