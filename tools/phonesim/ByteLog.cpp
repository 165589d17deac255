#include "ByteLog.h"

#include <algorithm>

#include "MonoClock.h"

ByteLog::ByteLog() : startMs_(MonoNowMs()) {}

ByteLog::~ByteLog() {
  if (file_) std::fclose(file_);
}

bool ByteLog::Open(const std::string& path) {
  file_ = std::fopen(path.c_str(), "w");
  return file_ != nullptr;
}

void ByteLog::Stamp() {
  int64_t ms = MonoNowMs() - startMs_;
  std::fprintf(file_, "%6lld.%03lld ", static_cast<long long>(ms / 1000), static_cast<long long>(ms % 1000));
}

void ByteLog::Bytes(bool fromPc, std::string_view bytes) {
  if (!file_ || bytes.empty()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  constexpr size_t kPerLine = 16;
  for (size_t at = 0; at < bytes.size(); at += kPerLine) {
    Stamp();
    std::fputs(fromPc ? "PC> " : "PC< ", file_);
    size_t n = std::min(kPerLine, bytes.size() - at);
    for (size_t i = 0; i < kPerLine; ++i) {
      if (i < n) {
        std::fprintf(file_, "%02X ", static_cast<unsigned char>(bytes[at + i]));
      } else {
        std::fputs("   ", file_);
      }
    }
    std::fputc(' ', file_);
    for (size_t i = 0; i < n; ++i) {
      unsigned char c = static_cast<unsigned char>(bytes[at + i]);
      std::fputc(c >= 0x20 && c < 0x7F ? c : '.', file_);
    }
    std::fputc('\n', file_);
  }
  std::fflush(file_);
}

void ByteLog::Note(std::string_view text) {
  if (!file_) return;
  std::lock_guard<std::mutex> lock(mutex_);
  Stamp();
  std::fprintf(file_, "--- %.*s\n", static_cast<int>(text.size()), text.data());
  std::fflush(file_);
}
