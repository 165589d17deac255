#include "ObexPacketFilter.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string Hex(uint8_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

constexpr uint8_t kTooLarge = 0xCD;

uint32_t PacketLength(const std::string& head) {
  return (static_cast<uint8_t>(head[1]) << 8) | static_cast<uint8_t>(head[2]);
}

}  // namespace

ObexPacketFilter::ObexPacketFilter(const ObexFaults& faults, uint32_t maxRequest, ByteLog& log)
    : fail_(faults.fail), failUsed_(faults.fail.size(), 0), faults_(faults), maxRequest_(maxRequest), log_(log) {}

void ObexPacketFilter::ResetFraming() {
  request_ = {};
  response_ = {};
  swallowRequest_ = false;
  dropResponse_ = false;
}

void ObexPacketFilter::AddFailRule(const ObexFailRule& rule) {
  fail_.push_back(rule);
  failUsed_.push_back(0);
}

bool ObexPacketFilter::MatchFailRule(uint8_t opcode, uint8_t& code) {
  for (size_t i = 0; i < fail_.size(); ++i) {
    const ObexFailRule& rule = fail_[i];
    bool same = rule.eitherFinal ? (rule.opcode | 0x80) == (opcode | 0x80) : rule.opcode == opcode;
    if (!same || (rule.count != 0 && failUsed_[i] >= rule.count)) continue;
    ++failUsed_[i];
    code = rule.code;
    return true;
  }
  return false;
}

void ObexPacketFilter::FromPc(std::string_view bytes, std::string& toServer, std::string& toPc) {
  size_t i = 0;
  while (i < bytes.size()) {
    if (request_.head.size() < 3) {
      if (!request_.InPacket()) {
        uint8_t opcode = static_cast<uint8_t>(bytes[i]);
        swallowRequest_ = MatchFailRule(opcode, swallowCode_);
        if (swallowRequest_) log_.Note("obex fault: request " + Hex(opcode) + " answered " + Hex(swallowCode_));
      }
      request_.head.push_back(bytes[i++]);
      if (request_.head.size() < 3) continue;
      // The head is held until the length is known: a packet the server cannot take
      // never reaches it.
      uint32_t length = PacketLength(request_.head);
      if (!swallowRequest_ && (length < 3 || (maxRequest_ != 0 && length > maxRequest_))) {
        swallowRequest_ = true;
        swallowCode_ = length < 3 ? 0 : kTooLarge;
        log_.Note("obex: request of " + std::to_string(length) + " bytes not passed on");
      }
      request_.left = std::max<uint32_t>(length, 3) - 3;
      if (!swallowRequest_) toServer += request_.head;
    } else {
      size_t n = std::min<size_t>(request_.left, bytes.size() - i);
      if (!swallowRequest_) toServer.append(bytes.substr(i, n));
      request_.left -= static_cast<uint32_t>(n);
      i += n;
    }
    if (request_.head.size() == 3 && request_.left == 0) {
      if (swallowRequest_ && swallowCode_ != 0) toPc += std::string{static_cast<char>(swallowCode_), 0, 3};
      request_ = {};
      swallowRequest_ = false;
    }
  }
}

void ObexPacketFilter::FromServer(std::string_view bytes, std::string& toPc) {
  size_t i = 0;
  while (i < bytes.size()) {
    if (response_.head.size() < 3) {
      response_.head.push_back(bytes[i++]);
      if (response_.head.size() < 3) continue;
      uint32_t length = PacketLength(response_.head);
      response_.left = std::max<uint32_t>(length, 3) - 3;
      ++responses_;
      dropResponse_ = faults_.stallAfter && responses_ > *faults_.stallAfter;
      if (dropResponse_) {
        log_.Note("obex fault: response " + std::to_string(responses_) + " swallowed");
      } else {
        std::string head = response_.head;
        if (responses_ == faults_.badLengthAt) {
          uint32_t lie = static_cast<uint32_t>(static_cast<int64_t>(length) + faults_.badLengthDelta) & 0xFFFF;
          head[1] = static_cast<char>(lie >> 8);
          head[2] = static_cast<char>(lie & 0xFF);
          log_.Note("obex fault: response " + std::to_string(responses_) + " length " + std::to_string(length) +
                    " sent as " + std::to_string(lie));
        }
        toPc += head;
      }
    } else {
      size_t n = std::min<size_t>(response_.left, bytes.size() - i);
      if (!dropResponse_) toPc.append(bytes.substr(i, n));
      response_.left -= static_cast<uint32_t>(n);
      i += n;
    }
    if (response_.head.size() == 3 && response_.left == 0) response_ = {};
  }
}
