// The agent's request protocol, shared by the agent and everything that talks
// to it over the shared-memory channel (the interpreter, the benchmarks, the
// test peers). A request is one text addressed to the agent's channel
// identifier at its window; the agent answers a known request with
// AGENT_REPLY_OK and ignores anything else.
//
//   agent:hide="<title part>"   hide the top-level windows whose title holds it
//   agent:show="<title part>"   show the hidden windows whose title holds it
//   agent:showall               show every hidden window
//   agent:message="<text>"      show the text in a message box
//   agent:exit tarvin           end the agent
//   agent:log="<text>"          add the text to the log
//
// The agent tells requests apart by "agent:" and the next five characters,
// compared without regard to case.
#pragma once

#include <stddef.h>

#include "MMapIPC.h"

// The agent's main window class and its identifier on the channel.
const char AGENT_WINDOW_CLASS[] = "_TVAGENT_WINDOW";
const char AGENT_CHANNEL_ID[] = "TVAgent";
// The agent's answer to a request it knows.
const char AGENT_REPLY_OK[] = "OK";

// The time-to-live of the agent's OK: as long as the interpreter waits for it.
// A reply has one reader, whose read frees the slot at once, so on a busy
// machine a late reader still gets it; only a reader that has ended leaves it
// in the slot that long.
const unsigned AGENT_REPLY_TTL_MS = 1000;

// Arguments are cut to this size (terminator included): a longer title part
// or text is served with its first 259 characters.
const unsigned AGENT_ARG_SIZE = 260;

// The framed message ("<TVAgent:id:ticks:ttl>") must fit in the channel's
// slot beside the body, so a request is at most AGENT_REQUEST_SIZE - 1
// characters: a longer argument is cut, keeping the closing quote; otherwise
// the agent would find no argument and not answer.
const size_t AGENT_REQUEST_SIZE = MMAPIPC_MSG_SIZE - 64;

enum AgentRequest
{
    AGENT_REQ_NONE = 0, // unknown or malformed: no reply
    AGENT_REQ_HIDE,
    AGENT_REQ_SHOW,
    AGENT_REQ_SHOWALL,
    AGENT_REQ_MESSAGE,
    AGENT_REQ_EXIT,
    AGENT_REQ_LOG
};

// Writes the request of that kind with its argument (ignored by requests
// without one) into out (size bytes, at least AGENT_REQUEST_SIZE), cut as
// above. false for AGENT_REQ_NONE, a missing argument or a small buffer.
bool BuildAgentRequest(AgentRequest request, const char* arg, char* out, size_t size);

// Recognises a request and reads its argument into arg (AGENT_ARG_SIZE
// bytes; "" for requests without one). text may be null.
AgentRequest ParseAgentRequest(const char* text, char* arg);

// The message read from the channel is the agent's OK.
bool IsAgentReplyOK(const char* text, const char* fromId);
