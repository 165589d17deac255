// Millisecond clock and sleeping, behind one seam so that protocol code that waits fixed
// times (mode switches, escape sequences) can run against a virtual clock in tests.
#pragma once

#include <cstdint>

class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t Milliseconds() = 0;  // wraps like timeGetTime
    virtual void Sleep(uint32_t ms) = 0;
};

// The process-wide clock: the system's unless a test installed its own.
Clock& SystemClock();
// Installs a clock for tests (null restores the system clock); returns the previous one.
Clock* SetClockForTesting(Clock* clock);

inline uint32_t NowMs() { return SystemClock().Milliseconds(); }
inline void SleepMs(uint32_t ms) { SystemClock().Sleep(ms); }
