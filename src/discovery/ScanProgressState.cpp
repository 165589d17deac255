#include "discovery/ScanProgressState.h"

void ScanProgressState::Show()
{
    cancelled.store(false);
    shown.store(true);
    shows.fetch_add(1);
}

void ScanProgressState::SetPosition(uint32_t value) { position.store(value); }

void ScanProgressState::SetRange(uint32_t, uint32_t high) { rangeHigh.store(high < 1 ? 1 : high); }

void ScanProgressState::Step() { steps.fetch_add(1); }

void ScanProgressState::SetText(const GString& value)
{
    std::lock_guard<std::mutex> lock(textMutex);
    text = value;
}

GString ScanProgressState::Text()
{
    std::lock_guard<std::mutex> lock(textMutex);
    return text;
}
