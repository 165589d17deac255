#include "toolkit/ProgressHandOver.h"

void ProgressHandOver::Reset(uint32_t delayMs, uint32_t high)
{
    std::lock_guard<std::mutex> guard(lock);
    text = GString();
    textChanged = false;
    rangeLow = 0;
    rangeHigh = high;
    rangeChanged = false;
    value = 0;
    shownValue = 0;
    cancelled.store(false);
    closeRequested.store(false);
    countdownMs = delayMs;
}

void ProgressHandOver::SetText(const GString& newText)
{
    std::lock_guard<std::mutex> guard(lock);
    text = newText;
    textChanged = true;
}

void ProgressHandOver::SetRange(uint32_t low, uint32_t high)
{
    std::lock_guard<std::mutex> guard(lock);
    rangeLow = low;
    rangeHigh = high < 1 ? 1 : high;
    rangeChanged = true;
}

void ProgressHandOver::SetPosition(uint32_t position)
{
    std::lock_guard<std::mutex> guard(lock);
    value = position;
}

void ProgressHandOver::Step()
{
    std::lock_guard<std::mutex> guard(lock);
    ++value;
}

ProgressTick ProgressHandOver::TakeTick()
{
    ProgressTick tick;
    if (closeRequested.load()) {
        tick.close = true;
        return tick;
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        if (textChanged) {
            tick.textChanged = true;
            tick.text = text;
            textChanged = false;
        }
        if (rangeChanged) {
            tick.rangeChanged = true;
            tick.rangeLow = rangeLow;
            tick.rangeHigh = rangeHigh;
            rangeChanged = false;
        }
        if (value != shownValue || tick.rangeChanged) {
            // A new range may clamp the bar: the value is set again after it.
            tick.valueChanged = true;
            tick.value = value;
            shownValue = value;
        }
    }
    if (countdownMs > 0) {
        countdownMs = countdownMs > kTickMs ? countdownMs - kTickMs : 0;
        tick.appear = countdownMs == 0;
    }
    return tick;
}
