#include "OutputQueue.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

OutputQueue::OutputQueue(const LineFaults& faults, ByteLog& log) : faults_(faults), log_(log) {
  garbageDone_ = faults_.garbageCount == 0;
}

void OutputQueue::Push(std::string_view bytes, int delayMs, int64_t nowMs) {
  if (bytes.empty()) return;
  int64_t due = nowMs + delayMs;
  if (!held_.empty()) due = std::max(due, held_.back().dueMs);
  held_.push_back({due, std::string(bytes)});
}

int64_t OutputQueue::NextDueMs() const { return held_.empty() ? -1 : held_.front().dueMs; }

void OutputQueue::Commit(std::string bytes) {
  if (!garbageDone_ && committed_ + bytes.size() > faults_.garbageAt) {
    size_t split = static_cast<size_t>(faults_.garbageAt - std::min(faults_.garbageAt, committed_));
    std::string junk;
    for (uint32_t i = 0; i < faults_.garbageCount; ++i) {
      garbageSeed_ = garbageSeed_ * 1103515245u + 12345u;
      junk.push_back(static_cast<char>(0x80 | ((garbageSeed_ >> 16) & 0x7F)));
    }
    bytes.insert(split, junk);
    garbageDone_ = true;
    log_.Note("garbage: " + std::to_string(junk.size()) + " bytes");
  }
  if (faults_.silenceAfter) {
    uint64_t room = *faults_.silenceAfter - std::min(*faults_.silenceAfter, committed_);
    if (bytes.size() > room) {
      log_.Note("silence: " + std::to_string(bytes.size() - room) + " bytes not sent");
      bytes.resize(room);
    }
  }
  if (faults_.cutAt) {
    uint64_t room = *faults_.cutAt - std::min(*faults_.cutAt, committed_);
    if (bytes.size() >= room) {
      bytes.resize(room);
      cutReached_ = true;
    }
  }
  committed_ += bytes.size();
  ready_ += bytes;
}

OutputQueue::FlushResult OutputQueue::Flush(int fd, int64_t nowMs) {
  while (!held_.empty() && held_.front().dueMs <= nowMs && !cutReached_) {
    Commit(std::move(held_.front().bytes));
    held_.pop_front();
  }
  while (!ready_.empty()) {
    ssize_t n = write(fd, ready_.data(), ready_.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    log_.Bytes(false, std::string_view(ready_).substr(0, static_cast<size_t>(n)));
    written_ += static_cast<uint64_t>(n);
    ready_.erase(0, static_cast<size_t>(n));
  }
  return cutReached_ && ready_.empty() ? FlushResult::Cut : FlushResult::Ok;
}
