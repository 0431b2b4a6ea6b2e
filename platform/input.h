// Esc polling and the message pump. Both are cheap enough to call once per directory entry.
#pragma once

#include <cstdint>

// True iff Esc is held down now (the live key state, not a queued press).
bool EscDown();

// Dispatches every window message pending for this thread, then returns.
void PumpMessages();

// A clock in milliseconds that only ever goes forward (wrapping after 49 days), for holding
// repaints apart; never a timer.
uint32_t MillisecondsNow();
