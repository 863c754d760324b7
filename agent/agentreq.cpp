#include "agentreq.h"

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
