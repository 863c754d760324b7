// The interpreter's requests over the channel: "agent:" and a five-character
// selector, compared without regard to case.
#pragma once

#include <windows.h>

// Arguments are cut to this size (terminator included): a longer title part
// or text is served with its first 259 characters.
const unsigned AGENT_ARG_SIZE = 260;

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

// Recognises a request and reads its argument into arg (AGENT_ARG_SIZE
// bytes; "" for requests without one).
AgentRequest ParseAgentRequest(const char* text, char* arg);

// Serves the message just read from the channel: replies "OK" to a known
// request, then acts on it. Always 1.
int OnProcessMessage(HWND hwnd);

int CALLBACK HideWindowsEnumProc(HWND hwnd, LPARAM pattern);
int ShowWindowsProc(const char* pattern);
