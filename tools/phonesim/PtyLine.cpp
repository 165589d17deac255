#include "PtyLine.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

PtyLine::~PtyLine() { Cut(); }

bool PtyLine::Open(std::string& error) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error = std::string("posix_openpt: ") + std::strerror(errno);
    return false;
  }
  char name[PATH_MAX];
  if (ptsname_r(master_, name, sizeof name) != 0) {
    error = std::string("ptsname: ") + std::strerror(errno);
    return false;
  }
  slavePath_ = name;
  slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) {
    error = "open " + slavePath_ + ": " + std::strerror(errno);
    return false;
  }
  termios tio{};
  if (tcgetattr(slave_, &tio) != 0) {
    error = std::string("tcgetattr: ") + std::strerror(errno);
    return false;
  }
  cfmakeraw(&tio);
  cfsetispeed(&tio, B115200);
  cfsetospeed(&tio, B115200);
  if (tcsetattr(slave_, TCSANOW, &tio) != 0) {
    error = std::string("tcsetattr: ") + std::strerror(errno);
    return false;
  }
  return true;
}

bool PtyLine::Link(const std::string& path, std::string& error) {
  struct stat st{};
  if (lstat(path.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
    error = path + " exists and is not a symlink";
    return false;
  }
  // Made beside the target and renamed over it, so that a reader never sees no link.
  std::string temp = path + ".phonesim-" + std::to_string(getpid());
  unlink(temp.c_str());
  if (symlink(slavePath_.c_str(), temp.c_str()) != 0 || rename(temp.c_str(), path.c_str()) != 0) {
    error = "link " + path + ": " + std::strerror(errno);
    unlink(temp.c_str());
    return false;
  }
  link_ = path;
  return true;
}

void PtyLine::RemoveLink() {
  if (link_.empty()) return;
  // Another simulator may have taken the path over since; its link stays.
  char target[PATH_MAX];
  ssize_t n = readlink(link_.c_str(), target, sizeof target - 1);
  if (n >= 0 && std::string(target, static_cast<size_t>(n)) == slavePath_) unlink(link_.c_str());
  link_.clear();
}

size_t PtyLine::QueuedForPc() const {
  int queued = 0;
  if (slave_ < 0 || ioctl(slave_, FIONREAD, &queued) != 0 || queued < 0) return 0;
  return static_cast<size_t>(queued);
}

void PtyLine::Cut() {
  RemoveLink();
  if (master_ >= 0) close(master_);
  if (slave_ >= 0) close(slave_);
  master_ = -1;
  slave_ = -1;
}
