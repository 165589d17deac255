#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

// One direction of a serial line at a fixed rate. Every byte takes ten bit times (start bit,
// eight data bits, stop bit) and starts only when the byte ahead of it has gone, so bytes come
// out at the far end no faster than the line carries them. They travel in small pieces (about
// 4 ms of the line each), so the far end sees a steady stream. Times are nanoseconds of the
// monotonic clock. Baud 0: no pacing, bytes come out as soon as they are added.
class PacedLine {
 public:
  explicit PacedLine(uint32_t baud = 0);

  bool Paced() const { return baud_ != 0; }
  uint32_t Baud() const { return baud_; }
  // Bytes handed to the line at readyNs (not before the last call's readyNs).
  void Add(std::string_view bytes, int64_t readyNs);
  // Everything that has come out by nowNs, in order.
  std::string TakeArrived(int64_t nowNs);
  // When the next piece comes out; -1 when nothing is on the line.
  int64_t NextArrivalNs() const;
  // Bytes added that have not come out yet.
  size_t InFlight() const { return inFlight_; }

 private:
  struct Piece {
    int64_t arrivalNs;
    std::string bytes;
  };
  // When `count` bytes that were ready at readyNs have crossed the line.
  int64_t Carry(size_t count, int64_t readyNs);

  uint32_t baud_;
  size_t pieceBytes_;
  int64_t freeNs_ = 0;     // when the line has carried everything so far
  uint64_t remainder_ = 0; // sub-nanosecond rest of the bit times, so long runs do not drift
  bool busy_ = false;      // freeNs_ is set
  std::deque<Piece> pieces_;
  size_t inFlight_ = 0;
};
