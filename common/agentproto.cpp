#include "agentproto.h"

#include <string.h>

#include "strutils.h"
#include "xmlutils.h"

namespace
{
struct RequestWord
{
    AgentRequest request;
    const char* prefix; // what the builder writes before the argument
    const char* key;    // the property holding the argument; null: none
};

const RequestWord kRequestWords[] = {
    {AGENT_REQ_HIDE, "agent:hide=\"", "agent:hide"}, {AGENT_REQ_SHOW, "agent:show=\"", "agent:show"},
    {AGENT_REQ_SHOWALL, "agent:showall", nullptr},   {AGENT_REQ_MESSAGE, "agent:message=\"", "agent:message"},
    {AGENT_REQ_EXIT, "agent:exit tarvin", nullptr},  {AGENT_REQ_LOG, "agent:log=\"", "agent:log"},
};

const size_t kPrefixLength = 6; // "agent:"
const size_t kSelectorLength = 5;
} // namespace

bool BuildAgentRequest(AgentRequest request, const char* arg, char* out, size_t size)
{
    if (size < AGENT_REQUEST_SIZE)
        return false;
    out[0] = '\0';
    for (const RequestWord& word : kRequestWords)
    {
        if (word.request != request)
            continue;
        if (!word.key)
            return StrCopy(out, size, word.prefix);
        if (!arg)
            return false;
        // Room is kept for the closing quote whatever the argument's length.
        StrCopy(out, AGENT_REQUEST_SIZE - 1, word.prefix);
        StrAppend(out, AGENT_REQUEST_SIZE - 1, arg);
        return StrAppend(out, size, "\"");
    }
    return false;
}

AgentRequest ParseAgentRequest(const char* text, char* arg)
{
    arg[0] = '\0';
    const size_t selected = kPrefixLength + kSelectorLength;
    if (!text || strnlen(text, selected) < selected)
        return AGENT_REQ_NONE;
    for (const RequestWord& word : kRequestWords)
    {
        if (StrCompareNoCaseN(text, word.prefix, selected) != 0)
            continue;
        if (word.key && GetPropertyValue(text, word.key, arg, AGENT_ARG_SIZE) < 0)
        {
            arg[0] = '\0';
            return AGENT_REQ_NONE;
        }
        return word.request;
    }
    return AGENT_REQ_NONE;
}

bool IsAgentReplyOK(const char* text, const char* fromId)
{
    return StrCompareNoCase(text, AGENT_REPLY_OK) == 0 && StrCompareNoCase(fromId, AGENT_CHANNEL_ID) == 0;
}
