#include "core/Clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

class RealClock : public Clock {
public:
    uint32_t Milliseconds() override
    {
        using namespace std::chrono;
        return static_cast<uint32_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

RealClock realClock;
std::atomic<Clock*> current{&realClock};

}  // namespace

Clock& SystemClock() { return *current.load(); }

Clock* SetClockForTesting(Clock* clock)
{
    return current.exchange(clock != nullptr ? clock : &realClock);
}
