// The times a run takes from its inputs: how long a Wait line waits and how
// long the status strip stays up. Both end up as timer periods, and a timer
// takes at most TVINT_TIMER_MAXIMUM ms (the system's USER_TIMER_MAXIMUM).
#pragma once

const unsigned TVINT_TIMER_MAXIMUM = 0x7FFFFFFF;

// The leading digits of a Wait line's parameter, in ms ("250 ms" waits
// 250); 0 without digits, TVINT_TIMER_MAXIMUM at most.
unsigned WaitMilliseconds(const char* text);
// The strip's time in ms for the stored seconds; 0 (never shown) when the
// strip is off.
unsigned StatusStripMilliseconds(unsigned long seconds, bool show);
