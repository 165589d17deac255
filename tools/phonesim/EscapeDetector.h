#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Watches the bytes of OBEX mode for "+++" that follows a guard time of silence from the
// PC, the way a modem notices the escape out of data mode. Pluses that turn out to be data
// are handed on unchanged.
class EscapeDetector {
 public:
  explicit EscapeDetector(int guardMs) : guardMs_(guardMs) {}

  // The line entered OBEX mode at nowMs: silence is counted from there.
  void Reset(int64_t nowMs);

  struct Result {
    std::string pass;     // bytes for the OBEX server
    bool escaped = false; // "+++" completed
    size_t used = 0;      // bytes of the chunk consumed (all of it unless escaped)
  };
  // One chunk as it arrived at nowMs.
  Result Feed(std::string_view chunk, int64_t nowMs);

 private:
  int guardMs_;
  int64_t lastInputMs_ = 0;
  int held_ = 0;  // pluses of a possible escape, not yet passed on
};
