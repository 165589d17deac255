// The phone simulator started for one native test, in OBEX mode from the first byte, serving
// a folder the test fills; the test talks to it through a Socket as the program would.
#pragma once

#include <sys/types.h>

#include <string>

#include "transport/Socket.h"

// A Socket over the simulator's pseudo-terminal.
class PtySocket : public Socket {
public:
    explicit PtySocket(int fd) : Socket(nullptr, kChannelObex), fd(fd) {}
    ~PtySocket() override { Close(); }
    bool Open() override { return fd >= 0; }
    bool Close() override;
    bool IsOpen() override { return fd >= 0; }
    // Waits up to 3 s for the first byte, then takes what is there.
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* data, int32_t count) override;

private:
    int fd;
};

class SimulatedPhoneLink {
public:
    // root: the folder tree the phone serves.
    explicit SimulatedPhoneLink(const std::string& root);
    ~SimulatedPhoneLink();
    SimulatedPhoneLink(const SimulatedPhoneLink&) = delete;
    SimulatedPhoneLink& operator=(const SimulatedPhoneLink&) = delete;

    // Null when the simulator could not be started (the reason is in Error()).
    Socket* socket() { return link; }
    const std::string& Error() const { return error; }

private:
    pid_t pid = -1;
    PtySocket* link = nullptr;
    std::string error;
};
