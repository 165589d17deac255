#include "OutputQueue.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {
constexpr int64_t kNsPerMs = 1000000;
}  // namespace

OutputQueue::OutputQueue(const LineFaults& faults, uint32_t baud, ByteLog& log)
    : faults_(faults), log_(log), line_(baud) {
  garbageDone_ = faults_.garbageCount == 0;
}

void OutputQueue::Push(std::string_view bytes, int delayMs, int64_t nowNs) {
  if (bytes.empty()) return;
  int64_t due = nowNs + delayMs * kNsPerMs;
  if (!held_.empty()) due = std::max(due, held_.back().dueNs);
  held_.push_back({due, std::string(bytes)});
}

int64_t OutputQueue::NextDueNs() const {
  const int64_t held = held_.empty() ? -1 : held_.front().dueNs;
  const int64_t crossing = line_.NextArrivalNs();
  if (held < 0) return crossing;
  return crossing < 0 ? held : std::min(held, crossing);
}

void OutputQueue::Commit(std::string bytes, int64_t atNs) {
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
  line_.Add(bytes, atNs);
}

OutputQueue::FlushResult OutputQueue::Flush(int fd, int64_t nowNs) {
  while (!held_.empty() && held_.front().dueNs <= nowNs && !cutReached_) {
    Commit(std::move(held_.front().bytes), held_.front().dueNs);
    held_.pop_front();
  }
  ready_ += line_.TakeArrived(nowNs);
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
  return cutReached_ && line_.InFlight() == 0 && ready_.empty() ? FlushResult::Cut : FlushResult::Ok;
}
