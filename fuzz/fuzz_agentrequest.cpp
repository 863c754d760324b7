// The agent's request matcher on arbitrary channel texts (a slot holds at most
// 1023 characters): the argument stays inside its buffer and is terminated,
// nothing but "agent:" requests is recognised, and a request without an
// argument leaves it empty.
#include "fuzz_util.h"
#include "agentreq.h"

#include <string.h>
#include <strings.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text = FuzzText(data, size, 1023);
    // The text alone in an allocation of its own size: a read past it is caught.
    std::vector<char> exact(text.c_str(), text.c_str() + text.size() + 1);
    std::vector<char> arg(AGENT_ARG_SIZE, 'x');
    AgentRequest request = ParseAgentRequest(exact.data(), arg.data());
    FUZZ_FAIL_IF(memchr(arg.data(), 0, arg.size()) == nullptr);
    FUZZ_FAIL_IF(request != AGENT_REQ_NONE &&
                 (text.size() < 11 || strncasecmp(text.c_str(), "agent:", 6) != 0));
    bool takesArgument = request == AGENT_REQ_HIDE || request == AGENT_REQ_SHOW ||
                         request == AGENT_REQ_MESSAGE || request == AGENT_REQ_LOG;
    FUZZ_FAIL_IF(!takesArgument && arg[0] != '\0');
    // An argument is a part of the text.
    FUZZ_FAIL_IF(arg[0] && !strstr(text.c_str(), arg.data()));
    return 0;
}
