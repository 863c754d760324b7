// The agent's log keeps as many entries as the user set, across starts.
#include <gtest/gtest.h>

#include "agent_testutil.h"

namespace
{
using agenttest::AgentProcessTest;

class AgentLogSize : public AgentProcessTest
{
};

// A log of 300 entries with room for 500 is read whole at start: the agent
// adds its own lines to it and drops none of the user's.
TEST_F(AgentLogSize, AStartKeepsEveryEntryTheSetSizeHolds)
{
    wintest::SetRegDword(kAgentKey, "Log File", 500);
    std::string log = "<?TarvinLogFile version='1.00'?>\r\n";
    for (int i = 0; i < 300; i++)
        log += "<logitem severity=\"0\" name=\"Test\" description=\"entry " + std::to_string(i) +
               "\" datetime=\"7 Dec 2026 10:00:00:000\" />\r\n";
    WriteBytes(File("Tarvin.log"), log);
    ASSERT_TRUE(Start());
    Stop();
    std::string after = ReadBytes(File("Tarvin.log"));
    EXPECT_NE(std::string::npos, after.find("description=\"entry 0\"")) << after.substr(0, 400);
    EXPECT_NE(std::string::npos, after.find("description=\"entry 299\""));
}
} // namespace
