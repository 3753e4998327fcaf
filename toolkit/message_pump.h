#pragma once
// The wait for events, above the event queue and the windows.
#include <cstdint>

// The next queued event's kind; else, after handling at most one system message, that message's
// number; else 0 once the timeout (milliseconds; -1 no limit, 0 no wait) has passed.
int64_t WaitForEvent(int32_t timeout);
