// A clock for tests: time moves only when code sleeps (or the test moves it). Install it
// with ClockOverride for the length of a test.
#pragma once

#include "core/Clock.h"

class VirtualClock : public Clock {
public:
    uint32_t Milliseconds() override { return now; }
    void Sleep(uint32_t ms) override
    {
        now += ms;
        slept += ms;
    }
    uint32_t now = 1000;
    uint32_t slept = 0;  // total of the Sleep calls
};

class ClockOverride {
public:
    explicit ClockOverride(Clock& clock) : previous(SetClockForTesting(&clock)) {}
    ~ClockOverride() { SetClockForTesting(previous); }
    ClockOverride(const ClockOverride&) = delete;
    ClockOverride& operator=(const ClockOverride&) = delete;

private:
    Clock* previous;
};
