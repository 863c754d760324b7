// The agent's pure decisions, kept apart from the window code so that they can
// be tested and fuzzed on any system: counting the seconds the cursor rests in
// a screen-saver corner. The requests it serves are in agentproto.h.
#pragma once

#include "agentproto.h"
#include "platform.h"

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
