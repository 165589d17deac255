#pragma once
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

// The --log file: every byte each way with a timestamp, and notes. Safe to use from the
// OBEX server thread too. Without a file every call does nothing.
class ByteLog {
 public:
  ByteLog();
  ~ByteLog();
  ByteLog(const ByteLog&) = delete;
  ByteLog& operator=(const ByteLog&) = delete;

  bool Open(const std::string& path);
  // fromPc: the bytes came from the PC ("PC>"), else they went to it ("PC<").
  void Bytes(bool fromPc, std::string_view bytes);
  void Note(std::string_view text);

 private:
  void Stamp();

  std::mutex mutex_;
  FILE* file_ = nullptr;
  int64_t startMs_ = 0;
};
