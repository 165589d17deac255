#include "EscapeDetector.h"

void EscapeDetector::Reset(int64_t nowMs) {
  lastInputMs_ = nowMs;
  held_ = 0;
}

EscapeDetector::Result EscapeDetector::Feed(std::string_view chunk, int64_t nowMs) {
  Result result;
  bool afterSilence = nowMs - lastInputMs_ >= guardMs_;
  lastInputMs_ = nowMs;
  if (held_ > 0 && afterSilence) {
    // The pluses so far were followed by a pause: they were data.
    result.pass.append(static_cast<size_t>(held_), '+');
    held_ = 0;
  }
  for (size_t i = 0; i < chunk.size(); ++i) {
    char c = chunk[i];
    bool candidate = c == '+' && (held_ > 0 || (i == 0 && afterSilence));
    if (candidate) {
      if (++held_ == 3) {
        held_ = 0;
        result.escaped = true;
        result.used = i + 1;
        return result;
      }
      continue;
    }
    if (held_ > 0) {
      result.pass.append(static_cast<size_t>(held_), '+');
      held_ = 0;
    }
    result.pass.push_back(c);
  }
  result.used = chunk.size();
  return result;
}
