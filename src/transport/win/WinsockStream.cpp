#include "transport/win/WinsockStream.h"

namespace {

timeval Interval(uint32_t ms)
{
    timeval tv;
    tv.tv_sec = static_cast<long>(ms / 1000);
    tv.tv_usec = static_cast<long>((ms % 1000) * 1000);
    return tv;
}

// select on one socket; an error of select itself counts as ready.
bool WaitFor(SOCKET s, bool write, uint32_t ms)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv = Interval(ms);
    int n = select(0, write ? nullptr : &set, write ? &set : nullptr, nullptr, &tv);
    return n != 0;
}

}  // namespace

int32_t WinsockStream::Send(const uint8_t* data, int32_t length)
{
    int n = send(s, reinterpret_cast<const char*>(data), length, 0);
    if (n == SOCKET_ERROR)
        return WSAGetLastError() == WSAEWOULDBLOCK ? 0 : -1;
    return n;
}

int32_t WinsockStream::Recv(uint8_t* buffer, int32_t length)
{
    int n = recv(s, reinterpret_cast<char*>(buffer), length, 0);
    return n == SOCKET_ERROR ? -1 : n;
}

bool WinsockStream::WaitReadable(uint32_t ms) { return WaitFor(s, false, ms); }

bool WinsockStream::WaitWritable(uint32_t ms) { return WaitFor(s, true, ms); }

SOCKET CreateStreamSocket(int family, int protocol)
{
    SOCKET s = socket(family, SOCK_STREAM, protocol);
    if (s == INVALID_SOCKET || s == 0)
        return INVALID_SOCKET;
    u_long nonBlocking = 1;
    if (ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

bool ConnectWithin(SOCKET s, const sockaddr* address, int length, uint32_t waitMs)
{
    if (connect(s, address, length) == 0)
        return true;
    if (WSAGetLastError() != WSAEWOULDBLOCK)
        return false;
    // Writable: connected. A refusal shows in the exception set and ends the wait at once.
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval tv = Interval(waitMs);
    int n = select(0, nullptr, &writable, &failed, &tv);
    if (n > 0)
        return FD_ISSET(s, &writable) && !FD_ISSET(s, &failed);
    if (n == 0)
        return connect(s, address, length) == 0 || WSAGetLastError() == WSAEISCONN;
    return false;
}

void CloseStreamSocket(SOCKET s)
{
    shutdown(s, SD_RECEIVE);
    closesocket(s);
}
