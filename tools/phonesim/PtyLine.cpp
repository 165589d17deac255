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

uint32_t PtyLine::Speed() const {
  static const struct {
    speed_t code;
    uint32_t bits;
  } kSpeeds[] = {{B50, 50},         {B75, 75},           {B110, 110},         {B134, 134},
                 {B150, 150},       {B200, 200},         {B300, 300},         {B600, 600},
                 {B1200, 1200},     {B1800, 1800},       {B2400, 2400},       {B4800, 4800},
                 {B9600, 9600},     {B19200, 19200},     {B38400, 38400},     {B57600, 57600},
                 {B115200, 115200}, {B230400, 230400},   {B460800, 460800},   {B500000, 500000},
                 {B576000, 576000}, {B921600, 921600},   {B1000000, 1000000}, {B1152000, 1152000},
                 {B1500000, 1500000}, {B2000000, 2000000}, {B2500000, 2500000}, {B3000000, 3000000},
                 {B3500000, 3500000}, {B4000000, 4000000}};
  termios tio{};
  if (slave_ < 0 || tcgetattr(slave_, &tio) != 0) return 0;
  const speed_t code = cfgetospeed(&tio);
  for (const auto& speed : kSpeeds) {
    if (speed.code == code) return speed.bits;
  }
  return 0;
}

void PtyLine::Cut() {
  RemoveLink();
  if (master_ >= 0) close(master_);
  if (slave_ >= 0) close(slave_);
  master_ = -1;
  slave_ = -1;
}
