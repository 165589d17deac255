// Behaviour of ThreadObject that both builds share. Included by exactly one test file per test
// binary.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "core/ThreadObject.h"

namespace thread_object_contract {

constexpr uint32_t kPatienceMs = 10000;

// A worker whose body waits until the test opens its gate (or a stop is requested when it
// polls), and records what it saw.
class GatedThread : public ThreadObject {
public:
    explicit GatedThread(bool pollStop = false) : pollStop(pollStop) {}
    ~GatedThread() override
    {
        Open();
        Wait(kInfinite);
    }

    void Prepare() override
    {
        ClearStopRequest();
        ++prepares;
    }
    void Run() override
    {
        stopSeenAtStart = StopRequested();
        ranOn = std::this_thread::get_id();
        std::unique_lock<std::mutex> guard(lock);
        entered = true;
        changed.notify_all();
        while (!gateOpen && !(pollStop && StopRequested()))
            changed.wait_for(guard, std::chrono::milliseconds(1));
        ++runs;
    }

    void Open()
    {
        std::lock_guard<std::mutex> guard(lock);
        gateOpen = true;
        changed.notify_all();
    }
    void Close()
    {
        std::lock_guard<std::mutex> guard(lock);
        gateOpen = false;
        entered = false;
    }
    bool WaitEntered()
    {
        std::unique_lock<std::mutex> guard(lock);
        return changed.wait_for(guard, std::chrono::milliseconds(kPatienceMs),
                                [this] { return entered; });
    }

    std::atomic<int> prepares{0};
    std::atomic<int> runs{0};
    std::atomic<bool> stopSeenAtStart{false};
    std::thread::id ranOn;

private:
    const bool pollStop;
    std::mutex lock;
    std::condition_variable changed;
    bool gateOpen = false;
    bool entered = false;
};

}  // namespace thread_object_contract

using thread_object_contract::GatedThread;
using thread_object_contract::kPatienceMs;

TEST(ThreadObjectContract, RunsThePreparedBodyOnItsOwnThreadAndBecomesIdle)
{
    GatedThread t;
    EXPECT_FALSE(t.IsRunning());
    EXPECT_TRUE(t.Wait(0)) << "nothing to wait for before the first start";
    ASSERT_TRUE(t.Start());
    ASSERT_TRUE(t.WaitEntered());
    EXPECT_TRUE(t.IsRunning());
    EXPECT_NE(std::this_thread::get_id(), t.ranOn);
    EXPECT_FALSE(t.Wait(20)) << "the body is still held";
    t.Open();
    EXPECT_TRUE(t.Wait(kPatienceMs));
    EXPECT_FALSE(t.IsRunning());
    EXPECT_EQ(1, t.prepares.load());
    EXPECT_EQ(1, t.runs.load());
}

TEST(ThreadObjectContract, StartIsRefusedWhileRunningAndWorksAgainAfterwards)
{
    GatedThread t;
    ASSERT_TRUE(t.Start());
    ASSERT_TRUE(t.WaitEntered());
    EXPECT_FALSE(t.Start());
    EXPECT_FALSE(t.Start());
    t.Open();
    ASSERT_TRUE(t.Wait(kPatienceMs));
    EXPECT_EQ(1, t.runs.load()) << "refused starts ran nothing";

    t.Close();
    ASSERT_TRUE(t.Start());
    ASSERT_TRUE(t.WaitEntered());
    t.Open();
    ASSERT_TRUE(t.Wait(kPatienceMs));
    EXPECT_EQ(2, t.prepares.load());
    EXPECT_EQ(2, t.runs.load());
}

TEST(ThreadObjectContract, RequestStopReachesAPollingBodyAndPrepareClearsIt)
{
    GatedThread t(true);
    t.RequestStop();
    ASSERT_TRUE(t.Start());
    ASSERT_TRUE(t.WaitEntered());
    EXPECT_FALSE(t.stopSeenAtStart.load()) << "Prepare clears an earlier request";
    EXPECT_FALSE(t.Wait(20));
    t.RequestStop();
    EXPECT_TRUE(t.Wait(kPatienceMs));
    EXPECT_TRUE(t.StopRequested());
}

TEST(ThreadObjectContract, ManyShortRunsInSequence)
{
    GatedThread t;
    t.Open();
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(t.Start()) << "run " << i;
        ASSERT_TRUE(t.Wait(kPatienceMs)) << "run " << i;
    }
    EXPECT_EQ(50, t.runs.load());
}
