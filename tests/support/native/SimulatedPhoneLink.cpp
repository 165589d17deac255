#include "support/native/SimulatedPhoneLink.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {
constexpr int kReadWaitMs = 3000;
constexpr int kStartWaitMs = 10000;
}  // namespace

bool PtySocket::Close()
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
    return true;
}

int32_t PtySocket::Read(void* buffer, int32_t count)
{
    if (fd < 0 || count <= 0)
        return 0;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, kReadWaitMs) <= 0)
        return 0;
    const ssize_t n = ::read(fd, buffer, static_cast<size_t>(count));
    return n > 0 ? static_cast<int32_t>(n) : 0;
}

int32_t PtySocket::Write(const void* data, int32_t count)
{
    const int32_t length = WriteLength(data, count);
    const auto* bytes = static_cast<const uint8_t*>(data);
    int32_t done = 0;
    while (fd >= 0 && done < length) {
        const ssize_t n = ::write(fd, bytes + done, static_cast<size_t>(length - done));
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd, POLLOUT, 0};
            poll(&p, 1, kReadWaitMs);
            continue;
        }
        if (n <= 0)
            break;
        done += static_cast<int32_t>(n);
    }
    return done;
}

SimulatedPhoneLink::SimulatedPhoneLink(const std::string& root)
{
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        error = "pipe";
        return;
    }
    const std::vector<std::string> args = {QV_PHONESIM_PATH, "--start-in-obex", "--root", root};
    pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ::close(out[1]);
    // The simulator prints "READY <slave path>" once the line is there.
    std::string line;
    pollfd p{out[0], POLLIN, 0};
    char c = 0;
    while (pid > 0 && poll(&p, 1, kStartWaitMs) > 0 && ::read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    ::close(out[0]);
    if (line.rfind("READY ", 0) != 0) {
        error = "no READY line from " QV_PHONESIM_PATH ": '" + line + "'";
        return;
    }
    const int fd = ::open(line.substr(6).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open " + line.substr(6);
        return;
    }
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    link = new PtySocket(fd);
}

SimulatedPhoneLink::~SimulatedPhoneLink()
{
    delete link;
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}
