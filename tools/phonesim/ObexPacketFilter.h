#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ByteLog.h"
#include "Faults.h"

// Sits between the line and the OBEX server, follows the packet framing both ways and
// applies the OBEX faults: requests answered with a chosen code (0: no answer at all),
// responses swallowed after a count, a lying length field. Requests longer than
// maxRequest (0: no limit) or shorter than their own head never reach the server; the
// phone answers the first kind with 0xCD once they are complete, the second not at all.
class ObexPacketFilter {
 public:
  ObexPacketFilter(const ObexFaults& faults, uint32_t maxRequest, ByteLog& log);

  // A new OBEX session: framing starts afresh; the fault counts go on.
  void ResetFraming();
  // Bytes from the PC. toServer gets what the server should see, toPc the answers made here.
  void FromPc(std::string_view bytes, std::string& toServer, std::string& toPc);
  // Bytes from the server; toPc gets what the PC should see.
  void FromServer(std::string_view bytes, std::string& toPc);

  uint64_t Responses() const { return responses_; }
  // A fail rule added while the phone runs (from the control connection); it is tried
  // after the ones of the command line.
  void AddFailRule(const ObexFailRule& rule);

 private:
  struct Framing {
    std::string head;   // first bytes of the packet, up to 3
    uint32_t left = 0;  // bytes of the packet still to come after the head
    bool InPacket() const { return !head.empty(); }
  };
  bool MatchFailRule(uint8_t opcode, uint8_t& code);

  std::vector<ObexFailRule> fail_;
  std::vector<uint32_t> failUsed_;
  ObexFaults faults_;
  uint32_t maxRequest_;
  ByteLog& log_;
  Framing request_;
  bool swallowRequest_ = false;
  uint8_t swallowCode_ = 0;
  Framing response_;
  bool dropResponse_ = false;
  uint64_t responses_ = 0;
};
