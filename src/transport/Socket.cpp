#include "transport/Socket.h"

#include <cstring>
#include <string>

#include "devices/TComm.h"

Socket::Socket(TComm* port, int32_t channel) : channel(channel), port(port) {}

Socket::~Socket() = default;

bool Socket::Reserved() { return false; }

void Socket::Purge() {}

void Socket::SetPortOpen(bool open)
{
    if (port != nullptr)
        port->isOpen = open;
}

int32_t Socket::WriteLength(const void* data, int32_t count)
{
    if (count > 0)
        return count;
    if (data == nullptr)
        return 0;
    size_t n = std::strlen(static_cast<const char*>(data));
    return n > INT32_MAX ? INT32_MAX : static_cast<int32_t>(n);
}

int32_t Socket::ReadReply(int32_t flags)
{
    // The text is gathered in local buffers and stored once: a joined reply of many lines
    // would otherwise be copied again for every line.
    std::string current;
    std::string information;
    reply.Assign("");
    result.Assign("");
    line.Assign("");
    int32_t count = 0;
    bool overflow = false;
    for (;;) {
        char byte = 0;
        if (Read(&byte, 1) <= 0)
            break;
        ++count;
        if (byte != '\r' && byte != '\n') {
            if (current.size() >= kMaxLineBytes) {
                overflow = true;
                break;
            }
            current.push_back(byte);
        } else if (byte == '\n') {
            if (current == "OK" || current.find("ERROR") != std::string::npos) {
                result.Assign(current.data(), static_cast<uint32_t>(current.size()));
            } else if (!current.empty()) {
                if (flags & kJoinLines)
                    information += current;
                else
                    information = current;
            }
            current.clear();
        }
        if (!result.IsEmpty())
            break;
        if (static_cast<uint32_t>(count) >= kMaxReplyBytes) {
            overflow = true;
            break;
        }
    }
    reply.Assign(information.data(), static_cast<uint32_t>(information.size()));
    if (overflow)
        current.clear();
    line.Assign(current.data(), static_cast<uint32_t>(current.size()));
    return count;
}
