#include "ObexftpdRelay.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "MonoClock.h"

namespace {

// A port the kernel just handed out and nobody listens on. obexftpd sets no SO_REUSEADDR,
// and this socket never connected, so the port is free again at once.
int FreeLoopbackPort() {
  int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return 0;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof addr;
  int port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&addr), &size) == 0) {
    port = ntohs(addr.sin_port);
  }
  close(s);
  return port;
}

// The kernel's tables of TCP sockets (what `ss -ltn` shows). Checking them instead of
// connecting keeps obexftpd's single connection for the PC. obexftpd listens on an IPv6
// socket, so 127.0.0.1 shows up there as ::ffff:127.0.0.1.
bool IsListening(int port) {
  char v4[32];
  char v6[64];
  std::snprintf(v4, sizeof v4, "0100007F:%04X", port);
  std::snprintf(v6, sizeof v6, "0000000000000000FFFF00000100007F:%04X", port);
  for (const char* file : {"/proc/net/tcp", "/proc/net/tcp6"}) {
    std::ifstream table(file);
    std::string line;
    std::getline(table, line);
    while (std::getline(table, line)) {
      std::istringstream fields(line);
      std::string slot, local, remote, state;
      fields >> slot >> local >> remote >> state;
      if ((local == v4 || local == v6) && state == "0A") return true;
    }
  }
  return false;
}

}  // namespace

ObexftpdRelay::ObexftpdRelay(std::string root, ByteLog& log) : root_(std::move(root)), log_(log) {}

ObexftpdRelay::~ObexftpdRelay() { Stop(); }

bool ObexftpdRelay::Start(std::string& error) {
  int port = FreeLoopbackPort();
  if (port == 0) {
    error = "no free loopback port";
    return false;
  }
  std::string address = "127.0.0.1:" + std::to_string(port);
  pid_t parent = getpid();
  pid_ = fork();
  if (pid_ < 0) {
    error = std::string("fork: ") + std::strerror(errno);
    return false;
  }
  if (pid_ == 0) {
    // Should the simulator be killed outright, obexftpd goes with it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    // -c must come before -n, or the root is ignored.
    execlp("obexftpd", "obexftpd", "-c", root_.c_str(), "-n", address.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int64_t deadline = MonoNowMs() + 5000;
  while (!IsListening(port)) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      error = "obexftpd exited before listening";
      return false;
    }
    if (MonoNowMs() > deadline) {
      error = "obexftpd does not listen on " + address;
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  socket_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (socket_ < 0 || connect(socket_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    error = "connect " + address + ": " + std::strerror(errno);
    return false;
  }
  log_.Note("obexftpd pid " + std::to_string(pid_) + " on " + address);
  return true;
}

void ObexftpdRelay::Stop() {
  if (socket_ >= 0) close(socket_);
  socket_ = -1;
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int64_t deadline = MonoNowMs() + 1000;
  while (waitpid(pid_, nullptr, WNOHANG) == 0) {
    if (MonoNowMs() > deadline) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  log_.Note("obexftpd pid " + std::to_string(pid_) + " stopped");
  pid_ = -1;
}
