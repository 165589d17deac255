#include "ObexWire.h"

#include "SimProcess.h"
#include "Utf16.h"

namespace wire {

const std::string kFolderBrowsing("\xF9\xEC\x7B\xC4\x95\x3C\x11\xD2\x98\x4E\x52\x54\x00\xDC\x9E\x09", 16);
const std::string kSiemens("\x6B\x01\xCB\x31\x41\x06\x11\xD4\x9A\x77\x00\x50\xDA\x3F\x47\x1F", 16);

namespace {

std::string Length16(size_t n) { return {static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)}; }

}  // namespace

std::string Packet(uint8_t opcode, const std::string& rest) {
  return std::string(1, static_cast<char>(opcode)) + Length16(rest.size() + 3) + rest;
}

std::string Bytes(uint8_t id, const std::string& bytes) {
  return std::string(1, static_cast<char>(id)) + Length16(bytes.size() + 3) + bytes;
}

std::string Unicode(uint8_t id, const std::string& utf8) {
  return Bytes(id, utf8.empty() ? std::string() : Utf8ToUtf16Be(utf8, true));
}

std::string Name(const std::string& utf8) { return Unicode(0x01, utf8); }

std::string Type(const std::string& type) { return Bytes(0x42, type + std::string(1, '\0')); }

std::string U32(uint8_t id, uint32_t v) {
  return {static_cast<char>(id), static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
          static_cast<char>(v)};
}

std::string Connect(const std::string& target, uint16_t maxPacket) {
  std::string fields{0x10, 0x00, static_cast<char>(maxPacket >> 8), static_cast<char>(maxPacket & 0xFF)};
  return Packet(0x80, fields + (target.empty() ? std::string() : Bytes(0x46, target)));
}

std::string SetPath(uint8_t flags, const std::string& name, bool withName) {
  std::string fields{static_cast<char>(flags), 0x00};
  return Packet(0x85, fields + (withName ? Name(name) : std::string()));
}

bool Parse(const std::string& packet, Response& out, size_t headersAt) {
  out = {};
  if (packet.size() < 3) return false;
  out.raw = packet;
  out.code = static_cast<uint8_t>(packet[0]);
  size_t at = headersAt;
  while (at < packet.size()) {
    uint8_t id = static_cast<uint8_t>(packet[at]);
    size_t size = 0;
    std::string value;
    if ((id & 0xC0) == 0x80) {
      size = 2;
      if (at + size > packet.size()) return false;
      value = packet.substr(at + 1, 1);
    } else if ((id & 0xC0) == 0xC0) {
      size = 5;
      if (at + size > packet.size()) return false;
      value = packet.substr(at + 1, 4);
    } else {
      if (at + 3 > packet.size()) return false;
      size = (static_cast<uint8_t>(packet[at + 1]) << 8) | static_cast<uint8_t>(packet[at + 2]);
      if (size < 3 || at + size > packet.size()) return false;
      value = packet.substr(at + 3, size - 3);
    }
    if (id == 0x48 || id == 0x49) {
      out.body += value;
      out.endOfBody = out.endOfBody || id == 0x49;
    }
    out.headers[id] += value;
    at += size;
  }
  return true;
}

bool Exchange(SimProcess& sim, const std::string& request, Response& response, int maxMs) {
  if (!sim.Write(request)) return false;
  std::string head = sim.ReadCount(3, maxMs);
  if (head.size() < 3) return false;
  size_t length = (static_cast<uint8_t>(head[1]) << 8) | static_cast<uint8_t>(head[2]);
  std::string rest = length > 3 ? sim.ReadCount(length - 3, maxMs) : std::string();
  if (head.size() + rest.size() != std::max<size_t>(length, 3)) return false;
  // A CONNECT response carries version, flags and maximum packet before its headers.
  bool connect = !request.empty() && static_cast<uint8_t>(request[0]) == 0x80;
  return Parse(head + rest, response, connect ? 7 : 3);
}

bool Get(SimProcess& sim, const std::string& request, Object& object, uint32_t maxPacket) {
  object = {};
  std::string next = request;
  while (true) {
    Response r;
    if (!Exchange(sim, next, r)) return false;
    if (object.packets == 0 && r.raw.size() > 3) object.firstHeader = static_cast<uint8_t>(r.raw[3]);
    ++object.packets;
    object.sizesFit = object.sizesFit && r.raw.size() <= maxPacket;
    object.data += r.body;
    object.lastCode = r.code;
    if (r.code != 0x90) return true;
    next = Packet(0x83, "");
  }
}

}  // namespace wire
