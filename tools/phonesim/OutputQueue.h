#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "ByteLog.h"
#include "Faults.h"
#include "PacedLine.h"

// Bytes on their way to the PC. Holds answers for the answer delay, then applies the byte
// count faults (garbage, silence, cut) in the order the bytes leave, then lets them cross the
// line at its rate (when the line is paced). Times are nanoseconds of the monotonic clock.
class OutputQueue {
 public:
  OutputQueue(const LineFaults& faults, uint32_t baud, ByteLog& log);

  // Queued bytes never overtake earlier ones, whatever their delay.
  void Push(std::string_view bytes, int delayMs, int64_t nowNs);
  // When the next held chunk is due or the next piece crosses the line; -1 when neither.
  int64_t NextDueNs() const;
  bool HasReady() const { return !ready_.empty(); }

  enum class FlushResult { Ok, Cut };
  // Writes what is due to the (non-blocking) fd. Cut: the cut-at byte count is reached and
  // every byte before it has been written.
  FlushResult Flush(int fd, int64_t nowNs);

  uint64_t Written() const { return written_; }

 private:
  struct Held {
    int64_t dueNs;
    std::string bytes;
  };
  void Commit(std::string bytes, int64_t atNs);

  LineFaults faults_;
  ByteLog& log_;
  std::deque<Held> held_;
  PacedLine line_;               // committed, crossing the line
  std::string ready_;            // across the line, not yet accepted by the fd
  uint64_t committed_ = 0;       // bytes committed so far, garbage included
  uint64_t written_ = 0;
  bool garbageDone_ = false;
  bool cutReached_ = false;
  uint32_t garbageSeed_ = 0x2545F491u;
};
