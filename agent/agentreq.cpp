#include "agentreq.h"
#include "xmlutils.h"

#include <string.h>

#include "strutils.h"

AgentRequest ParseAgentRequest(const char* text, char* arg)
{
    arg[0] = '\0';
    if (!text || strnlen(text, 11) < 11 || StrCompareNoCaseN(text, "agent:", 6) != 0)
        return AGENT_REQ_NONE;
    const char* selector = text + 6;
    const char* property = nullptr;
    AgentRequest request = AGENT_REQ_NONE;
    if (StrCompareNoCaseN(selector, "hide=", 5) == 0)
    {
        request = AGENT_REQ_HIDE;
        property = "agent:hide";
    }
    else if (StrCompareNoCaseN(selector, "show=", 5) == 0)
    {
        request = AGENT_REQ_SHOW;
        property = "agent:show";
    }
    else if (StrCompareNoCaseN(selector, "showa", 5) == 0)
        request = AGENT_REQ_SHOWALL;
    else if (StrCompareNoCaseN(selector, "messa", 5) == 0)
    {
        request = AGENT_REQ_MESSAGE;
        property = "agent:message";
    }
    else if (StrCompareNoCaseN(selector, "exit ", 5) == 0)
        request = AGENT_REQ_EXIT;
    else if (StrCompareNoCaseN(selector, "log=\"", 5) == 0)
    {
        request = AGENT_REQ_LOG;
        property = "agent:log";
    }
    if (property && GetPropertyValue(text, property, arg, AGENT_ARG_SIZE) < 0)
    {
        arg[0] = '\0';
        return AGENT_REQ_NONE;
    }
    return request;
}

bool ScreenSaverCornerTick(DWORD mask, DWORD seconds, long x, long y, long cx, long cy, DWORD* count)
{
    const struct
    {
        DWORD bit;
        long x, y;
    } corners[] = {{SS_CORNER_TOP_LEFT, 0, 0},
                   {SS_CORNER_TOP_RIGHT, cx - 1, 0},
                   {SS_CORNER_BOTTOM_LEFT, 0, cy - 1},
                   {SS_CORNER_BOTTOM_RIGHT, cx - 1, cy - 1}};
    DWORD before = *count;
    for (const auto& corner : corners)
    {
        if ((mask & corner.bit) && x == corner.x && y == corner.y)
            (*count)++;
    }
    if (*count == before)
        *count = 0;
    if (*count < seconds)
        return false;
    *count = 0;
    return true;
}
