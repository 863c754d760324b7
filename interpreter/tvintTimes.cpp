#include "tvintTimes.h"

unsigned WaitMilliseconds(const char* text)
{
    unsigned long long ms = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; p++)
    {
        ms = ms * 10 + (unsigned)(*p - '0');
        if (ms > TVINT_TIMER_MAXIMUM)
            ms = TVINT_TIMER_MAXIMUM;
    }
    return (unsigned)ms;
}

unsigned StatusStripMilliseconds(unsigned long seconds, bool show)
{
    if (!show)
        return 0;
    return seconds > TVINT_TIMER_MAXIMUM / 1000 ? TVINT_TIMER_MAXIMUM : (unsigned)(seconds * 1000);
}
