#pragma once
#include <chrono>
#include <cstdint>

// A clock that never jumps; all timing of the line uses it.
inline int64_t MonoNowNs() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

inline int64_t MonoNowMs() { return MonoNowNs() / 1000000; }
