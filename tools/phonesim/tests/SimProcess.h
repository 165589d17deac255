#pragma once
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

// A phonesim started for one test: it connects to the test's control port, links its pty
// into a scratch folder, and the test talks to the slave side like the program would.
class SimProcess {
 public:
  SimProcess();
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // Starts phonesim with `args` plus --control and --link; waits for READY and opens the port.
  bool Start(const std::vector<std::string>& args);

  bool Write(const std::string& bytes);
  // Whatever arrives until `quietMs` pass without a byte (or `maxMs` in all).
  std::string ReadQuiet(int quietMs = 150, int maxMs = 3000);
  // Reads until `needle` is among the bytes read or `maxMs` passed; answers all bytes read.
  std::string ReadUntil(const std::string& needle, int maxMs = 3000);
  // Reads exactly `count` bytes unless `maxMs` pass first.
  std::string ReadCount(size_t count, int maxMs = 3000);
  // A command on the control connection and its one-line answer.
  std::string Control(const std::string& command);
  // Closes the control connection and waits for the exit; answers the exit status or -1.
  int CloseControlAndWait(int maxMs = 3000);
  // True when the process has exited within maxMs.
  bool WaitExit(int maxMs, int& status);

  void ClosePort();
  bool ReopenPort();
  pid_t Pid() const { return pid_; }
  int PortFd() const { return port_; }
  const std::string& Dir() const { return dir_; }
  const std::string& LinkPath() const { return link_; }
  const std::string& SlavePath() const { return slave_; }
  std::string Log() const;  // the --log file, when the test asked for dir/log

 private:
  std::string ControlLine(int maxMs);

  std::string dir_;
  std::string link_;
  std::string slave_;
  std::string controlBuffer_;
  int listen_ = -1;
  int control_ = -1;
  int port_ = -1;
  pid_t pid_ = -1;
};

// Milliseconds since some fixed point, for timing assertions.
int64_t TestNowMs();
// Runs phonesim with `args` to completion; answers the exit status, stdout in `out`.
int RunPhonesim(const std::vector<std::string>& args, std::string& out);
