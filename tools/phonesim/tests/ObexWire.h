#pragma once
#include <cstdint>
#include <map>
#include <string>

class SimProcess;

// OBEX bytes as a client on the PC side writes and reads them.
namespace wire {

extern const std::string kFolderBrowsing;
extern const std::string kSiemens;

std::string Packet(uint8_t opcode, const std::string& fieldsAndHeaders);
std::string Name(const std::string& utf8);  // empty text: the empty Name header 01 00 03
std::string Unicode(uint8_t id, const std::string& utf8);
std::string Bytes(uint8_t id, const std::string& bytes);
std::string Type(const std::string& type);  // with its terminating zero
std::string U32(uint8_t id, uint32_t value);
std::string Connect(const std::string& target, uint16_t maxPacket = 0x8000);
std::string SetPath(uint8_t flags, const std::string& name, bool withName = true);

struct Response {
  uint8_t code = 0;
  std::string raw;
  std::map<uint8_t, std::string> headers;  // byte sequences and Unicode raw; 4-byte values big-endian
  std::string body;                        // Body and End-of-Body data
  bool endOfBody = false;
};
bool Parse(const std::string& packet, Response& out, size_t headersAt = 3);

// Sends a request and reads one whole response.
bool Exchange(SimProcess& sim, const std::string& request, Response& response, int maxMs = 3000);

struct Object {
  std::string data;
  int packets = 0;
  uint8_t lastCode = 0;
  bool sizesFit = true;  // every response within maxPacket
  uint8_t firstHeader = 0;  // id of the first header of the first response
};
// GET with continuations until a response that is not 0x90.
bool Get(SimProcess& sim, const std::string& request, Object& object, uint32_t maxPacket = 0x8000);

}  // namespace wire
