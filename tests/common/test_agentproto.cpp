// The agent's requests as the builder writes them and the parser reads them.
#include <gtest/gtest.h>

#include <string.h>
#include <string>

#include "agentproto.h"

TEST(AgentProto, BuiltRequestsReadBackWithTheirArgument)
{
    const struct
    {
        AgentRequest request;
        const char* arg;
        const char* text;
    } cases[] = {
        {AGENT_REQ_HIDE, "Untitled - Note Pad", "agent:hide=\"Untitled - Note Pad\""},
        {AGENT_REQ_SHOW, "calc", "agent:show=\"calc\""},
        {AGENT_REQ_SHOWALL, nullptr, "agent:showall"},
        {AGENT_REQ_MESSAGE, "Backup done", "agent:message=\"Backup done\""},
        {AGENT_REQ_EXIT, nullptr, "agent:exit tarvin"},
        {AGENT_REQ_LOG, "", "agent:log=\"\""},
    };
    for (const auto& c : cases)
    {
        char text[AGENT_REQUEST_SIZE];
        ASSERT_TRUE(BuildAgentRequest(c.request, c.arg, text, sizeof(text))) << c.text;
        EXPECT_STREQ(c.text, text);
        char arg[AGENT_ARG_SIZE];
        EXPECT_EQ(c.request, ParseAgentRequest(text, arg)) << c.text;
        EXPECT_STREQ(c.arg ? c.arg : "", arg) << c.text;
    }
    char text[AGENT_REQUEST_SIZE];
    EXPECT_FALSE(BuildAgentRequest(AGENT_REQ_NONE, "x", text, sizeof(text)));
    EXPECT_FALSE(BuildAgentRequest(AGENT_REQ_HIDE, nullptr, text, sizeof(text)));
    EXPECT_TRUE(IsAgentReplyOK("ok", "tvagent"));
    EXPECT_FALSE(IsAgentReplyOK("OK", "SomeoneElse"));
}

// A text longer than the channel's slot takes is cut so that its closing
// quote stays: the agent still answers, with the argument's first characters.
TEST(AgentProto, LongArgumentIsCutKeepingTheClosingQuote)
{
    const std::string arg(3 * AGENT_REQUEST_SIZE, 'w');
    char text[AGENT_REQUEST_SIZE + 100];
    ASSERT_TRUE(BuildAgentRequest(AGENT_REQ_LOG, arg.c_str(), text, sizeof(text)));
    ASSERT_EQ(AGENT_REQUEST_SIZE - 1, strlen(text));
    EXPECT_EQ('"', text[AGENT_REQUEST_SIZE - 2]);
    char read[AGENT_ARG_SIZE];
    EXPECT_EQ(AGENT_REQ_LOG, ParseAgentRequest(text, read));
    EXPECT_EQ(arg.substr(0, AGENT_ARG_SIZE - 1), read);
}
