#pragma once
#include <chrono>
#include <cstdint>

// Milliseconds of a clock that never jumps; all timing of the line uses it.
inline int64_t MonoNowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
