#pragma once
#include <openobex/obex.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "ByteLog.h"
#include "ObexBackend.h"
#include "ObexService.h"

// The simulator's own OBEX server: OpenOBEX on one end of a socketpair, run on a thread of
// its own, with the phone's behaviour in ObexService. Objects that do not fit one packet
// go out one chunk per GET request, the last one in End-of-Body, as phones send them.
class OwnObexServer : public ObexBackend {
 public:
  OwnObexServer(const ServiceSettings& settings, uint32_t maxPacket, ByteLog& log);
  ~OwnObexServer() override;

  bool Start(std::string& error) override;
  int Fd() const override { return fds_[0]; }
  void Stop() override;

 private:
  static void OnEvent(obex_t* handle, obex_object_t* object, int mode, int event, int command, int response);
  void Run();
  void Event(obex_t* handle, obex_object_t* object, int event, int command);
  void Collect(obex_t* handle, obex_object_t* object);
  void ReadNonHeaderData(obex_object_t* object, int command);
  void Reply(obex_t* handle, obex_object_t* object, ObexReply reply);
  void SendChunk(obex_t* handle, obex_object_t* object, const std::vector<ObexHeader>& headers);

  ObexService service_;
  ByteLog& log_;
  uint32_t maxPacket_;
  uint32_t txPacket_ = 255;  // the smaller of our maximum and the client's
  ObexRequest request_;
  std::string pending_;      // object being sent by GET
  size_t pendingAt_ = 0;
  bool pendingActive_ = false;
  int fds_[2] = {-1, -1};
  std::thread thread_;
  std::atomic<bool> stop_{false};
};
