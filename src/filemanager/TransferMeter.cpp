#include "filemanager/TransferMeter.h"

#include "filemanager/TransferTexts.h"

void TransferMeter::Reset(uint32_t nowMs)
{
    {
        std::lock_guard<std::mutex> guard(textLock);
        source = target = counter = GString();
        sourceChanged = targetChanged = counterChanged = false;
    }
    fileSize.store(0);
    fileDone.store(0);
    totalSize.store(0);
    totalDone.store(0);
    totalChanged.store(false);
    bytesSinceMark.store(0);
    cancelled.store(false);
    closeRequested.store(false);
    markTime = nowMs;
    speed = 0;
    speedShown = false;
    filePercent = 0;
    totalPercent = 0;
    timeLeftShown = GString();
}

void TransferMeter::SetSourceText(const GString& text)
{
    std::lock_guard<std::mutex> guard(textLock);
    source = text;
    sourceChanged = true;
}

void TransferMeter::SetTargetText(const GString& text)
{
    std::lock_guard<std::mutex> guard(textLock);
    target = text;
    targetChanged = true;
}

void TransferMeter::SetFileCounter(uint32_t number, uint32_t count)
{
    GString text;
    FormatFileCounter(text, number, count);
    std::lock_guard<std::mutex> guard(textLock);
    counter = text;
    counterChanged = true;
}

void TransferMeter::SetTotalSize(uint64_t size)
{
    totalSize.store(size);
    totalDone.store(0);
    totalChanged.store(true);
}

void TransferMeter::SetFileSize(uint64_t size)
{
    fileSize.store(size);
    fileDone.store(0);
}

void TransferMeter::AddTransferred(uint64_t bytes)
{
    totalDone.fetch_add(bytes);
    fileDone.fetch_add(bytes);
    bytesSinceMark.fetch_add(bytes);
}

void TransferMeter::Take(std::mutex& lock, GString& from, bool& mark, TextChange& to)
{
    std::lock_guard<std::mutex> guard(lock);
    if (!mark)
        return;
    to.changed = true;
    to.text = from;
    mark = false;
}

void TransferMeter::SampleSpeed(uint32_t nowMs, TransferUpdate& update)
{
    const uint32_t elapsed = nowMs - markTime;  // the clock wraps like timeGetTime
    if (elapsed <= kSampleMs)
        return;
    const uint32_t sampled = BytesPerSecond(bytesSinceMark.exchange(0), elapsed);
    markTime = nowMs;
    if (sampled != speed || !speedShown) {
        speed = sampled;
        speedShown = true;
        update.speed.changed = true;
        FormatGroupedCount(update.speed.text, speed);
    }
    GString left;
    FormatTimeLeft(left, SecondsLeft(totalSize.load(), totalDone.load(), speed));
    if (!left.Equals(timeLeftShown)) {
        timeLeftShown = left;
        update.timeLeft.changed = true;
        update.timeLeft.text = left;
    }
}

TransferUpdate TransferMeter::Tick(uint32_t nowMs)
{
    TransferUpdate update;
    if (closeRequested.load()) {
        update.close = true;
        return update;
    }
    const uint32_t file = PercentOf(fileDone.load(), fileSize.load());
    if (file != filePercent) {
        filePercent = file;
        update.filePercentChanged = true;
        update.filePercent = file;
        SampleSpeed(nowMs, update);
    }
    const uint32_t total = PercentOf(totalDone.load(), totalSize.load());
    if (total != totalPercent) {
        totalPercent = total;
        update.totalPercentChanged = true;
        update.totalPercent = total;
    }
    Take(textLock, source, sourceChanged, update.source);
    Take(textLock, target, targetChanged, update.target);
    Take(textLock, counter, counterChanged, update.counter);
    if (totalChanged.exchange(false)) {
        update.total.changed = true;
        FormatTotalSize(update.total.text, totalSize.load());
    }
    return update;
}
