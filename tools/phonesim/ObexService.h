#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ByteLog.h"
#include "Faults.h"
#include "ObexCodes.h"
#include "ObexFileStore.h"
#include "PhoneProfile.h"

// One OBEX request as the phone's server sees it, whatever library carried it.
struct ObexRequest {
  uint8_t opcode = 0;  // without the final bit
  uint8_t setPathFlags = 0;
  std::optional<std::string> name;      // UTF-8
  std::optional<std::string> destName;  // UTF-8
  std::optional<std::string> target;
  std::optional<std::string> type;
  std::string appParams;
  std::optional<uint8_t> actionId;
  std::optional<uint32_t> length;
  std::optional<std::string> time;
  std::optional<uint32_t> connectionId;
  bool hasBody = false;  // a Body or End-of-Body header came, even an empty one
  std::string body;
};

struct ObexHeader {
  uint8_t id = 0;
  std::string bytes;   // byte-sequence headers
  uint32_t value = 0;  // four-byte headers
};

struct ObexReply {
  uint8_t code = 0x20;  // without the final bit
  std::vector<ObexHeader> headers;
  std::optional<std::string> body;  // an object for GET, sent over as many packets as needed
};

struct ServiceSettings {
  std::filesystem::path root;
  PhoneProfile profile;
  uint64_t memoryTotal = 0;
  ListingFault listingFault = ListingFault::None;
  // Requests of a session that was given a Connection Id must carry it.
  bool strictConnectionId = false;
  std::vector<ListingExtra> listingExtras;
};

// What the phone does with each request: targets, folder browsing, objects, the Siemens
// extras. Independent of the OBEX library that frames the packets.
class ObexService {
 public:
  ObexService(const ServiceSettings& settings, ByteLog& log);

  ObexReply Handle(const ObexRequest& request);
  // False for a request the phone refuses for its missing or wrong Connection Id (strict
  // phones only); the refusal is logged.
  bool Admits(const ObexRequest& request);
  static constexpr uint8_t kRefusedConnectionCode = obexcode::kServiceUnavailable;

 private:
  // What the CONNECT opened: nothing yet, an inbox (no target, IrMC) or folder browsing.
  enum class Service { None, Inbox, Folders };

  ObexReply Connect(const ObexRequest& request);
  ObexReply Get(const ObexRequest& request);
  ObexReply Put(const ObexRequest& request);
  ObexReply SetPath(const ObexRequest& request);
  ObexReply Action(const ObexRequest& request);
  ObexReply MemoryQuery(uint8_t which);
  uint64_t MemoryFree() const;

  ServiceSettings settings_;
  ByteLog& log_;
  ObexFileStore store_;
  Service service_ = Service::None;
  // The Connection Id handed out with the last targeted CONNECT, if any; each session gets
  // a new one.
  std::optional<uint32_t> connectionId_;
  uint32_t nextConnectionId_ = 0x51560001;
};
