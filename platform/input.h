// Esc polling and the message pump. Both are cheap enough to call once per directory entry.
#pragma once

// True iff Esc is held down now (the live key state, not a queued press).
bool EscDown();

// Dispatches every window message pending for this thread, then returns.
void PumpMessages();
