// The agent's pure decisions, kept apart from the window code so that they can
// be tested and fuzzed on any system: recognising the interpreter's requests
// and counting the seconds the cursor rests in a screen-saver corner.
#pragma once

#include "platform.h"

// Arguments are cut to this size (terminator included): a longer title part
// or text is served with its first 259 characters.
const unsigned AGENT_ARG_SIZE = 260;

// The time-to-live of the agent's OK: as long as the interpreter waits for it.
// A reply has one reader, whose read frees the slot at once, so on a busy
// machine a late reader still gets it; only a reader that has ended leaves it
// in the slot that long.
const unsigned AGENT_REPLY_TTL_MS = 1000;

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

// Recognises a request by "agent:" and a five-character selector, compared
// without regard to case, and reads its argument into arg (AGENT_ARG_SIZE
// bytes; "" for requests without one). text may be null.
AgentRequest ParseAgentRequest(const char* text, char* arg);

// Corner bits of the "Screen Saver Corner" mask.
enum
{
    SS_CORNER_TOP_LEFT = 1,
    SS_CORNER_TOP_RIGHT = 2,
    SS_CORNER_BOTTOM_LEFT = 4,
    SS_CORNER_BOTTOM_RIGHT = 8
};

// One tick of the screen-saver corner: the cursor at (x, y) on a screen of
// cx by cy pixels. The count grows while the cursor lies exactly on a chosen
// corner and falls to 0 in a tick where it does not. true when the count
// reaches seconds: the screen saver is due, and the count starts again at 0.
bool ScreenSaverCornerTick(DWORD mask, DWORD seconds, long x, long y, long cx, long cy, DWORD* count);
