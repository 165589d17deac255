#include "SimProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

int64_t TestNowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

namespace {

bool WaitReadable(int fd, int ms) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, ms) > 0;
}

std::vector<char*> Argv(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(PHONESIM_PATH));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  return argv;
}

}  // namespace

SimProcess::SimProcess() {
  char pattern[] = "/tmp/phonesim-test-XXXXXX";
  if (mkdtemp(pattern)) dir_ = pattern;
  link_ = dir_ + "/COM10";
}

SimProcess::~SimProcess() {
  ClosePort();
  // Closing the control connection lets the simulator clean up after itself.
  if (control_ >= 0) close(control_);
  if (listen_ >= 0) close(listen_);
  int status = 0;
  if (pid_ > 0 && !WaitExit(3000, status)) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  std::error_code ec;
  if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
}

bool SimProcess::Start(const std::vector<std::string>& args) {
  listen_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof addr;
  if (listen_ < 0 || bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listen_, 1) != 0 ||
      getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &size) != 0) {
    return false;
  }
  std::vector<std::string> all = args;
  all.insert(all.end(), {"--control", std::to_string(ntohs(addr.sin_port)), "--link", link_});
  pid_ = fork();
  if (pid_ < 0) return false;
  if (pid_ == 0) {
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    std::vector<char*> argv = Argv(all);
    execv(argv[0], argv.data());
    _exit(127);
  }
  if (!WaitReadable(listen_, 5000)) return false;
  control_ = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
  std::string ready = ControlLine(5000);
  if (ready.rfind("READY ", 0) != 0) return false;
  slave_ = ready.substr(6);
  return ReopenPort();
}

bool SimProcess::ReopenPort() {
  ClosePort();
  port_ = open(link_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (port_ < 0) return false;
  termios tio{};
  tcgetattr(port_, &tio);
  cfmakeraw(&tio);
  tcsetattr(port_, TCSANOW, &tio);
  return true;
}

void SimProcess::ClosePort() {
  if (port_ >= 0) close(port_);
  port_ = -1;
}

bool SimProcess::Write(const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(port_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      pollfd p{port_, POLLOUT, 0};
      poll(&p, 1, 100);
      continue;
    }
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

std::string SimProcess::ReadQuiet(int quietMs, int maxMs) {
  std::string got;
  int64_t end = TestNowMs() + maxMs;
  while (TestNowMs() < end) {
    if (!WaitReadable(port_, quietMs)) break;
    char buffer[4096];
    ssize_t n = read(port_, buffer, sizeof buffer);
    if (n <= 0) break;
    got.append(buffer, static_cast<size_t>(n));
  }
  return got;
}

std::string SimProcess::ReadUntil(const std::string& needle, int maxMs) {
  std::string got;
  int64_t end = TestNowMs() + maxMs;
  while (got.find(needle) == std::string::npos) {
    int64_t left = end - TestNowMs();
    if (left <= 0 || !WaitReadable(port_, static_cast<int>(left))) break;
    char buffer[4096];
    ssize_t n = read(port_, buffer, sizeof buffer);
    if (n <= 0) break;
    got.append(buffer, static_cast<size_t>(n));
  }
  return got;
}

std::string SimProcess::ReadCount(size_t count, int maxMs) {
  std::string got;
  int64_t end = TestNowMs() + maxMs;
  while (got.size() < count) {
    int64_t left = end - TestNowMs();
    if (left <= 0 || !WaitReadable(port_, static_cast<int>(left))) break;
    char buffer[4096];
    ssize_t n = read(port_, buffer, std::min(sizeof buffer, count - got.size()));
    if (n <= 0) break;
    got.append(buffer, static_cast<size_t>(n));
  }
  return got;
}

std::string SimProcess::ControlLine(int maxMs) {
  int64_t end = TestNowMs() + maxMs;
  size_t newline;
  while ((newline = controlBuffer_.find('\n')) == std::string::npos) {
    int64_t left = end - TestNowMs();
    if (left <= 0 || !WaitReadable(control_, static_cast<int>(left))) return {};
    char buffer[512];
    ssize_t n = recv(control_, buffer, sizeof buffer, 0);
    if (n <= 0) return {};
    controlBuffer_.append(buffer, static_cast<size_t>(n));
  }
  std::string line = controlBuffer_.substr(0, newline);
  controlBuffer_.erase(0, newline + 1);
  return line;
}

std::string SimProcess::Control(const std::string& command) {
  std::string text = command + "\n";
  if (send(control_, text.data(), text.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(text.size())) return {};
  return ControlLine(3000);
}

bool SimProcess::WaitExit(int maxMs, int& status) {
  int64_t end = TestNowMs() + maxMs;
  while (TestNowMs() < end) {
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

int SimProcess::CloseControlAndWait(int maxMs) {
  close(control_);
  control_ = -1;
  int status = 0;
  return WaitExit(maxMs, status) ? status : -1;
}

std::string SimProcess::Log() const {
  std::ifstream in(dir_ + "/log");
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int RunPhonesim(const std::vector<std::string>& args, std::string& out) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeFds[1], 1);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 2);
    close(pipeFds[0]);
    std::vector<char*> argv = Argv(args);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  char buffer[4096];
  ssize_t n;
  while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<size_t>(n));
  close(pipeFds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}
