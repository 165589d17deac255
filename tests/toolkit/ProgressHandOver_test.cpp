// What worker threads hand to the progress and wait dialogs, as the dialog's timer takes it.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "toolkit/ProgressHandOver.h"

namespace {

TEST(ProgressHandOver, DelayStepsTextAndClose)
{
    ProgressHandOver state;
    state.Reset(1000, 100);
    // Five ticks of 200 ms make the second of delay; the dialog appears on the fifth only.
    for (int tick = 1; tick <= 4; ++tick)
        EXPECT_FALSE(state.TakeTick().appear) << tick;
    EXPECT_TRUE(state.TakeTick().appear);
    EXPECT_FALSE(state.TakeTick().appear);

    state.SetRange(0, 0);
    state.SetText(GString("Опрос портов..."));
    for (int i = 0; i < 10; ++i)
        state.Step();
    ProgressTick tick = state.TakeTick();
    EXPECT_TRUE(tick.rangeChanged);
    EXPECT_EQ(tick.rangeHigh, 1u) << "a maximum below 1 counts as 1";
    EXPECT_TRUE(tick.valueChanged);
    EXPECT_EQ(tick.value, 10u);
    EXPECT_STREQ(tick.text.CStr(), "Опрос портов...");
    tick = state.TakeTick();
    EXPECT_FALSE(tick.textChanged || tick.valueChanged || tick.rangeChanged);

    // A position set between steps counts from there.
    state.Step();
    state.SetPosition(0);
    state.Step();
    EXPECT_EQ(state.TakeTick().value, 1u);

    state.Cancel();
    state.RequestClose();
    state.SetText(GString("после"));
    tick = state.TakeTick();
    EXPECT_TRUE(tick.close);
    EXPECT_FALSE(tick.textChanged);
    EXPECT_TRUE(state.IsCancelled());

    state.Reset(0, 100);
    EXPECT_FALSE(state.IsCancelled() || state.CloseRequested() || state.Waiting());
    EXPECT_FALSE(state.TakeTick().textChanged) << "a new showing forgets the old text";
}

// A worker replaces the text while the timer takes it: every text taken is one the worker
// wrote, whole (under AddressSanitizer a text freed while being read would stop the run).
TEST(ProgressHandOver, TextReplacedWhileTheTimerReadsIt)
{
    ProgressHandOver state;
    state.Reset(0, 100);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 20000; ++i)
            state.SetText(GString(i % 2 == 0 ? "Открытие порта «COM1»" : "Опрос последовательных портов..."));
        done.store(true);
    });
    int taken = 0;
    while (!done.load() || taken == 0) {
        ProgressTick tick = state.TakeTick();
        if (!tick.textChanged)
            continue;
        ++taken;
        const std::string text = tick.text.CStr();
        ASSERT_TRUE(text == "Открытие порта «COM1»" || text == "Опрос последовательных портов...") << text;
    }
    worker.join();
    EXPECT_GT(taken, 0);
}

}  // namespace
