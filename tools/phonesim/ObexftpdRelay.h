#pragma once
#include <sys/types.h>

#include <string>

#include "ByteLog.h"
#include "ObexBackend.h"

// Relays the OBEX session to an obexftpd started for it on a free loopback port. obexftpd
// serves one connection and then spins, so each session gets its own process, stopped by
// its PID when the session ends.
class ObexftpdRelay : public ObexBackend {
 public:
  ObexftpdRelay(std::string root, ByteLog& log);
  ~ObexftpdRelay() override;

  bool Start(std::string& error) override;
  int Fd() const override { return socket_; }
  void Stop() override;

 private:
  std::string root_;
  ByteLog& log_;
  pid_t pid_ = -1;
  int socket_ = -1;
};
