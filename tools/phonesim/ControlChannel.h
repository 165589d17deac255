#pragma once
#include <string>
#include <vector>

// The test's control connection: a TCP client of 127.0.0.1:PORT speaking lines.
class ControlChannel {
 public:
  ControlChannel() = default;
  ~ControlChannel();
  ControlChannel(const ControlChannel&) = delete;
  ControlChannel& operator=(const ControlChannel&) = delete;

  bool Connect(int port, std::string& error);
  int Fd() const { return fd_; }
  bool Send(const std::string& line);  // adds the "\n"
  // Reads what is there; complete lines (without CR/LF) go to `lines`. False when the
  // peer closed the connection.
  bool Read(std::vector<std::string>& lines);

 private:
  int fd_ = -1;
  std::string partial_;
};
