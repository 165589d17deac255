#include "ControlChannel.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

ControlChannel::~ControlChannel() {
  if (fd_ >= 0) close(fd_);
}

bool ControlChannel::Connect(int port, std::string& error) {
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd_ < 0 || connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    error = "control connection to 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool ControlChannel::Send(const std::string& line) {
  std::string text = line + "\n";
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = send(fd_, text.data() + done, text.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool ControlChannel::Read(std::vector<std::string>& lines) {
  char buffer[1024];
  ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
  if (n < 0) return errno == EINTR || errno == EAGAIN;
  if (n == 0) return false;
  partial_.append(buffer, static_cast<size_t>(n));
  size_t end;
  while ((end = partial_.find('\n')) != std::string::npos) {
    std::string line = partial_.substr(0, end);
    partial_.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return true;
}
