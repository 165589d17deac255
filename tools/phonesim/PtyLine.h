#pragma once
#include <cstdint>
#include <string>

// The pseudo-terminal the phone sits behind. The simulator keeps a handle of the slave side
// open for its whole life, so the PC closing and reopening the port never hangs the line up.
class PtyLine {
 public:
  PtyLine() = default;
  ~PtyLine();
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;

  bool Open(std::string& error);
  // Points `path` at the slave device; a symlink already there is replaced.
  bool Link(const std::string& path, std::string& error);
  // Closes both sides and removes the link: the PC's port reads nothing more.
  void Cut();
  // Bytes written to the PC that its side has not read yet.
  size_t QueuedForPc() const;
  // The speed the PC's side last set on the line (bit/s), 0 when unknown.
  uint32_t Speed() const;

  int MasterFd() const { return master_; }
  const std::string& SlavePath() const { return slavePath_; }

 private:
  void RemoveLink();

  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
  std::string link_;
};
