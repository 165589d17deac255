#include "ObexService.h"

#include <cstdio>
#include <map>

#include "FolderListing.h"
#include "ObexCodes.h"
#include "Utf16.h"

using namespace obexcode;

namespace {

const std::string kFolderBrowsingTarget(
    "\xF9\xEC\x7B\xC4\x95\x3C\x11\xD2\x98\x4E\x52\x54\x00\xDC\x9E\x09", 16);
const std::string kSiemensTarget("\x6B\x01\xCB\x31\x41\x06\x11\xD4\x9A\x77\x00\x50\xDA\x3F\x47\x1F", 16);
const std::string kIrmcTarget("IRMC-SYNC");
const std::string kDeviceInfoName("telecom/devinfo.txt");
const std::string kListingType("x-obex/folder-listing");

constexpr uint8_t kTagMemory = 0x32;
constexpr uint8_t kTagOperation = 0x34;
constexpr uint8_t kTagOldName = 0x35;
constexpr uint8_t kTagNewName = 0x36;

// Tag-length-value triples; a length that runs past the end takes what is there, as the
// phone's parser would.
std::map<uint8_t, std::string> ParseAppParams(const std::string& bytes) {
  std::map<uint8_t, std::string> tags;
  size_t i = 0;
  while (i + 2 <= bytes.size()) {
    uint8_t tag = static_cast<uint8_t>(bytes[i]);
    size_t length = static_cast<uint8_t>(bytes[i + 1]);
    i += 2;
    length = std::min(length, bytes.size() - i);
    tags.emplace(tag, bytes.substr(i, length));
    i += length;
  }
  return tags;
}

std::string NameText(const std::optional<std::string>& name) { return name ? "'" + *name + "'" : "-"; }

std::string Code(uint8_t code) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", code | 0x80);
  return text;
}

ObexReply Answer(uint8_t code) {
  ObexReply reply;
  reply.code = code;
  return reply;
}

std::string BigEndian32(uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
          static_cast<char>(value)};
}

std::string Utf16Text(const std::string& utf16) {
  return Utf16BeToUtf8(reinterpret_cast<const uint8_t*>(utf16.data()), utf16.size());
}

}  // namespace

ObexService::ObexService(const ServiceSettings& settings, ByteLog& log)
    : settings_(settings), log_(log), store_(settings.root) {}

bool ObexService::Admits(const ObexRequest& request) {
  if (!settings_.strictConnectionId || !connectionId_ || request.opcode == obexop::kConnect ||
      request.connectionId == connectionId_)
    return true;
  log_.Note("obex request " + Code(request.opcode) + " without the Connection Id -> " +
            Code(kRefusedConnectionCode));
  return false;
}

ObexReply ObexService::Handle(const ObexRequest& request) {
  if (!Admits(request)) return Answer(kRefusedConnectionCode);
  ObexReply reply;
  const char* what = "?";
  switch (request.opcode) {
    case obexop::kConnect:
      what = "CONNECT";
      reply = Connect(request);
      break;
    case obexop::kDisconnect:
      what = "DISCONNECT";
      service_ = Service::None;
      connectionId_.reset();
      break;
    case obexop::kGet:
      what = "GET";
      reply = service_ == Service::None ? Answer(kForbidden) : Get(request);
      break;
    case obexop::kPut:
      what = "PUT";
      reply = service_ == Service::None ? Answer(kForbidden) : Put(request);
      break;
    case obexop::kSetPath:
      what = "SETPATH";
      reply = service_ != Service::Folders ? Answer(kForbidden) : SetPath(request);
      break;
    case obexop::kAction:
      what = "ACTION";
      reply = service_ != Service::Folders ? Answer(kForbidden) : Action(request);
      break;
    default:
      reply = Answer(kNotImplemented);
  }
  std::string note = std::string("obex ") + what + " name=" + NameText(request.name);
  if (request.type) note += " type=" + *request.type;
  if (request.hasBody) note += " body=" + std::to_string(request.body.size());
  note += " -> " + Code(reply.code);
  if (reply.body) note += " object=" + std::to_string(reply.body->size());
  note += " folder=" + store_.CurrentPath();
  log_.Note(note);
  return reply;
}

ObexReply ObexService::Connect(const ObexRequest& request) {
  service_ = Service::None;
  connectionId_.reset();
  if (!request.target || *request.target == kIrmcTarget) {
    service_ = Service::Inbox;
  } else if (*request.target == kFolderBrowsingTarget ||
             (*request.target == kSiemensTarget && settings_.profile.siemensObex)) {
    service_ = Service::Folders;
  } else {
    return Answer(kServiceUnavailable);
  }
  store_.SetPath(false, false, std::nullopt);
  ObexReply reply;
  if (request.target) {
    reply.headers.push_back({obexheader::kWho, *request.target, 0});
    connectionId_ = nextConnectionId_++;
    reply.headers.push_back({obexheader::kConnectionId, {}, *connectionId_});
  }
  return reply;
}

ObexReply ObexService::Get(const ObexRequest& request) {
  if (request.type == kListingType) {
    if (service_ != Service::Folders) return Answer(kForbidden);
    std::vector<ListingEntry> entries;
    std::string sub = request.name.value_or("");
    uint8_t code = store_.List(sub, entries);
    if (code != kSuccess) return Answer(code);
    const std::string listed = store_.CurrentPath() + (sub.empty() ? "" : sub + "/");
    for (const ListingExtra& extra : settings_.listingExtras) {
      if ("/" + extra.folder + (extra.folder.empty() ? "" : "/") == listed)
        entries.push_back({extra.name, extra.isFolder, 0, 0});
    }
    ObexReply reply;
    reply.body = BuildFolderListing(entries, store_.AtRoot() && sub.empty(), settings_.listingFault);
    return reply;
  }
  std::map<uint8_t, std::string> params = ParseAppParams(request.appParams);
  auto memory = params.find(kTagMemory);
  if (memory != params.end() && settings_.profile.siemensObex && !memory->second.empty()) {
    return MemoryQuery(static_cast<uint8_t>(memory->second[0]));
  }
  if (!request.name || request.name->empty()) return Answer(request.type ? kNotFound : kBadRequest);
  std::string plain = *request.name;
  for (char& c : plain) c = c == '\\' ? '/' : c;
  const bool deviceInfo = plain == kDeviceInfoName || plain == "/" + kDeviceInfoName;
  // A folder-browsing phone looks a name up in its current folder only: a path names no
  // object there. The device information keeps its object-store path.
  if (service_ == Service::Folders && !deviceInfo && plain.find('/') != std::string::npos) return Answer(kNotFound);
  std::string data;
  uint8_t code = store_.Read(*request.name, data);
  if (code == kNotFound && deviceInfo) {
    data = DeviceInfoText(settings_.profile);
    code = kSuccess;
  }
  if (code != kSuccess) return Answer(code);
  ObexReply reply;
  reply.headers.push_back({obexheader::kLength, {}, static_cast<uint32_t>(data.size())});
  reply.body = std::move(data);
  return reply;
}

ObexReply ObexService::MemoryQuery(uint8_t which) {
  if (which != 1 && which != 2) return Answer(kBadRequest);
  uint64_t value = which == 1 ? settings_.memoryTotal : MemoryFree();
  ObexReply reply;
  std::string tlv{static_cast<char>(kTagMemory), 4};
  tlv += BigEndian32(static_cast<uint32_t>(value));
  reply.headers.push_back({obexheader::kAppParams, tlv, 0});
  return reply;
}

uint64_t ObexService::MemoryFree() const {
  uint64_t used = store_.UsedBytes();
  return used >= settings_.memoryTotal ? 0 : settings_.memoryTotal - used;
}

ObexReply ObexService::Put(const ObexRequest& request) {
  std::map<uint8_t, std::string> params = ParseAppParams(request.appParams);
  auto operation = params.find(kTagOperation);
  if (operation != params.end()) {
    // The vendor rename of serial cables: a PUT carrying only the operation and both names.
    if (service_ != Service::Folders || operation->second != "move") return Answer(kBadRequest);
    auto from = params.find(kTagOldName);
    auto to = params.find(kTagNewName);
    if (from == params.end() || to == params.end()) return Answer(kBadRequest);
    return Answer(store_.Move(Utf16Text(from->second), Utf16Text(to->second)));
  }
  if (!request.name || request.name->empty()) return Answer(kBadRequest);
  if (request.hasBody || request.length) {
    std::optional<std::time_t> modified;
    std::time_t t = 0;
    if (request.time && ParseObexTime(*request.time, t)) modified = t;
    return Answer(store_.Write(*request.name, request.body, modified, MemoryFree()));
  }
  if (service_ != Service::Folders) return Answer(kForbidden);
  return Answer(store_.Remove(*request.name));
}

ObexReply ObexService::SetPath(const ObexRequest& request) {
  bool parent = request.setPathFlags & 0x01;
  bool create = !(request.setPathFlags & 0x02);
  return Answer(store_.SetPath(parent, create, request.name));
}

ObexReply ObexService::Action(const ObexRequest& request) {
  if (!request.actionId) return Answer(kBadRequest);
  if (*request.actionId == 2) return Answer(kSuccess);  // permissions: the phone keeps its own
  if (!request.name || !request.destName) return Answer(kBadRequest);
  if (*request.actionId == 0) return Answer(store_.Copy(*request.name, *request.destName));
  if (*request.actionId == 1) return Answer(store_.Move(*request.name, *request.destName));
  return Answer(kNotImplemented);
}
