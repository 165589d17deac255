#include "OwnObexServer.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "ObexCodes.h"
#include "Utf16.h"

namespace {

std::string Bytes(const obex_headerdata_t& value, uint32_t size) {
  return value.bs && size ? std::string(reinterpret_cast<const char*>(value.bs), size) : std::string();
}

bool IsFourByte(const ObexHeader& header) { return (header.id & 0xC0) == 0xC0; }

uint32_t HeaderSize(const ObexHeader& header) {
  return IsFourByte(header) ? 5 : 3 + static_cast<uint32_t>(header.bytes.size());
}

void AddHeader(obex_t* handle, obex_object_t* object, const ObexHeader& header, unsigned int flags) {
  obex_headerdata_t value{};
  if (IsFourByte(header)) {
    value.bq4 = header.value;
    OBEX_ObjectAddHeader(handle, object, header.id, value, 4, flags);
  } else {
    value.bs = reinterpret_cast<const uint8_t*>(header.bytes.data());
    OBEX_ObjectAddHeader(handle, object, header.id, value, static_cast<uint32_t>(header.bytes.size()), flags);
  }
}

}  // namespace

OwnObexServer::OwnObexServer(const ServiceSettings& settings, uint32_t maxPacket, ByteLog& log)
    : service_(settings, log), log_(log), maxPacket_(maxPacket) {}

OwnObexServer::~OwnObexServer() { Stop(); }

bool OwnObexServer::Start(std::string& error) {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds_) != 0) {
    error = std::string("socketpair: ") + std::strerror(errno);
    return false;
  }
  thread_ = std::thread(&OwnObexServer::Run, this);
  return true;
}

void OwnObexServer::Stop() {
  if (fds_[0] < 0) return;
  stop_ = true;
  shutdown(fds_[0], SHUT_RDWR);
  if (thread_.joinable()) thread_.join();
  close(fds_[0]);
  close(fds_[1]);
  fds_[0] = fds_[1] = -1;
}

void OwnObexServer::Run() {
  obex_t* handle = OBEX_Init(OBEX_TRANS_FD, &OwnObexServer::OnEvent, 0);
  if (!handle) {
    log_.Note("obex: OBEX_Init failed");
    shutdown(fds_[1], SHUT_RDWR);
    return;
  }
  OBEX_SetUserData(handle, this);
  OBEX_SetTransportMTU(handle, static_cast<uint16_t>(maxPacket_), static_cast<uint16_t>(maxPacket_));
  // The library takes the descriptor as its own transport; it stays ours to close.
  FdOBEX_TransportSetup(handle, fds_[1], fds_[1], 0);
  while (!stop_) {
    if (OBEX_HandleInput(handle, 1) < 0) break;
  }
  if (!stop_) {
    log_.Note("obex: server ended on a transport error");
    shutdown(fds_[1], SHUT_RDWR);
  }
  OBEX_Cleanup(handle);
}

void OwnObexServer::OnEvent(obex_t* handle, obex_object_t* object, int, int event, int command, int) {
  static_cast<OwnObexServer*>(OBEX_GetUserData(handle))->Event(handle, object, event, command);
}

void OwnObexServer::Event(obex_t* handle, obex_object_t* object, int event, int command) {
  switch (event) {
    case OBEX_EV_REQHINT:
      request_ = {};
      request_.opcode = static_cast<uint8_t>(command);
      // PUT bodies arrive through STREAMAVAIL, chunk by chunk.
      if (command == OBEX_CMD_PUT) OBEX_ObjectReadStream(handle, object, nullptr);
      OBEX_ObjectSetRsp(object, OBEX_RSP_CONTINUE, OBEX_RSP_SUCCESS);
      break;
    case OBEX_EV_REQCHECK:
      Collect(handle, object);
      break;
    case OBEX_EV_STREAMAVAIL: {
      const uint8_t* data = nullptr;
      int n = OBEX_ObjectReadStream(handle, object, &data);
      request_.hasBody = true;
      if (n > 0 && data) request_.body.append(reinterpret_cast<const char*>(data), static_cast<size_t>(n));
      break;
    }
    case OBEX_EV_REQ: {
      Collect(handle, object);
      ReadNonHeaderData(object, command);
      bool continuation = command == OBEX_CMD_GET && pendingActive_ && !request_.name && !request_.type &&
                          request_.appParams.empty();
      if (continuation && !service_.Admits(request_)) {
        pendingActive_ = false;
        OBEX_ObjectSetRsp(object, ObexService::kRefusedConnectionCode, ObexService::kRefusedConnectionCode);
      } else if (continuation) {
        SendChunk(handle, object, {});
      } else {
        pendingActive_ = false;
        Reply(handle, object, service_.Handle(request_));
      }
      break;
    }
    case OBEX_EV_ABORT:
      pendingActive_ = false;
      request_ = {};
      log_.Note("obex ABORT");
      break;
    case OBEX_EV_PARSEERR:
      log_.Note("obex: unparsable request");
      break;
    case OBEX_EV_LINKERR:
      log_.Note("obex: link error");
      break;
    default:
      break;
  }
}

void OwnObexServer::Collect(obex_t* handle, obex_object_t* object) {
  uint8_t id = 0;
  obex_headerdata_t value{};
  uint32_t size = 0;
  while (OBEX_ObjectGetNextHeader(handle, object, &id, &value, &size)) {
    switch (id) {
      case OBEX_HDR_NAME:
        request_.name = Utf16BeToUtf8(value.bs, value.bs ? size : 0);
        break;
      case OBEX_HDR_DESTNAME:
        request_.destName = Utf16BeToUtf8(value.bs, value.bs ? size : 0);
        break;
      case OBEX_HDR_TARGET:
        request_.target = Bytes(value, size);
        break;
      case OBEX_HDR_TYPE: {
        std::string type = Bytes(value, size);
        request_.type = type.substr(0, type.find('\0'));
        break;
      }
      case OBEX_HDR_TIME:
        request_.time = Bytes(value, size);
        break;
      case OBEX_HDR_APPARAM:
        request_.appParams += Bytes(value, size);
        break;
      case OBEX_HDR_ACTION_ID:
        request_.actionId = value.bq1;
        break;
      case OBEX_HDR_LENGTH:
        request_.length = value.bq4;
        break;
      case OBEX_HDR_CONNECTION:
        request_.connectionId = value.bq4;
        break;
      case OBEX_HDR_BODY:
      case OBEX_HDR_BODY_END:
        request_.hasBody = true;
        request_.body += Bytes(value, size);
        break;
      default:
        break;
    }
  }
}

void OwnObexServer::ReadNonHeaderData(obex_object_t* object, int command) {
  uint8_t* data = nullptr;
  int n = OBEX_ObjectGetNonHdrData(object, &data);
  if (!data) return;
  if (command == OBEX_CMD_SETPATH && n >= 1) request_.setPathFlags = data[0];
  if (command == OBEX_CMD_CONNECT && n >= 4) {
    uint32_t client = (static_cast<uint32_t>(data[2]) << 8) | data[3];
    txPacket_ = std::clamp<uint32_t>(client, 255, maxPacket_);
  }
}

void OwnObexServer::Reply(obex_t* handle, obex_object_t* object, ObexReply reply) {
  if (reply.code != obexcode::kSuccess) {
    OBEX_ObjectSetRsp(object, reply.code, reply.code);
    return;
  }
  if (reply.body) {
    pending_ = std::move(*reply.body);
    pendingAt_ = 0;
    pendingActive_ = true;
    SendChunk(handle, object, reply.headers);
    return;
  }
  for (const ObexHeader& header : reply.headers) AddHeader(handle, object, header, 0);
}

void OwnObexServer::SendChunk(obex_t* handle, obex_object_t* object, const std::vector<ObexHeader>& headers) {
  uint32_t used = 3 + 3;  // response head, body header
  for (const ObexHeader& header : headers) {
    used += HeaderSize(header);
    AddHeader(handle, object, header, OBEX_FL_FIT_ONE_PACKET);
  }
  size_t room = txPacket_ > used ? txPacket_ - used : 0;
  size_t n = std::min(room, pending_.size() - pendingAt_);
  obex_headerdata_t body{};
  body.bs = reinterpret_cast<const uint8_t*>(pending_.data() + pendingAt_);
  pendingAt_ += n;
  if (pendingAt_ < pending_.size()) {
    OBEX_ObjectAddHeader(handle, object, OBEX_HDR_BODY, body, static_cast<uint32_t>(n), OBEX_FL_FIT_ONE_PACKET);
    OBEX_ObjectSetRsp(object, OBEX_RSP_CONTINUE, OBEX_RSP_CONTINUE);
  } else {
    // The library's own splitting would end on a plain Body header; a phone ends with
    // End-of-Body in the last packet.
    OBEX_ObjectAddHeader(handle, object, OBEX_HDR_BODY_END, body, static_cast<uint32_t>(n), OBEX_FL_STREAM_DATAEND);
    pendingActive_ = false;
  }
}
