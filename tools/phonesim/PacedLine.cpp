#include "PacedLine.h"

#include <algorithm>

namespace {

constexpr uint64_t kBitsPerByte = 10;
constexpr uint64_t kNsPerSecond = 1000000000;
constexpr uint32_t kPieceMs = 4;

}  // namespace

PacedLine::PacedLine(uint32_t baud)
    : baud_(baud), pieceBytes_(std::max<size_t>(1, static_cast<size_t>(baud) / kBitsPerByte * kPieceMs / 1000)) {}

int64_t PacedLine::Carry(size_t count, int64_t readyNs) {
  if (!busy_ || readyNs > freeNs_) {
    // The line was idle: the bytes start now, with no rest carried over.
    freeNs_ = readyNs;
    remainder_ = 0;
    busy_ = true;
  }
  const uint64_t scaled = static_cast<uint64_t>(count) * kBitsPerByte * kNsPerSecond + remainder_;
  freeNs_ += static_cast<int64_t>(scaled / baud_);
  remainder_ = scaled % baud_;
  return freeNs_;
}

void PacedLine::Add(std::string_view bytes, int64_t readyNs) {
  inFlight_ += bytes.size();
  if (!Paced()) {
    if (!bytes.empty()) pieces_.push_back({readyNs, std::string(bytes)});
    return;
  }
  while (!bytes.empty()) {
    const size_t n = std::min(pieceBytes_, bytes.size());
    pieces_.push_back({Carry(n, readyNs), std::string(bytes.substr(0, n))});
    bytes.remove_prefix(n);
  }
}

std::string PacedLine::TakeArrived(int64_t nowNs) {
  std::string out;
  while (!pieces_.empty() && pieces_.front().arrivalNs <= nowNs) {
    out += pieces_.front().bytes;
    pieces_.pop_front();
  }
  inFlight_ -= out.size();
  return out;
}

int64_t PacedLine::NextArrivalNs() const { return pieces_.empty() ? -1 : pieces_.front().arrivalNs; }
