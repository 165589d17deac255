// A byte stream to one service of one port (serial line, IrDA or Bluetooth), and the one
// piece of protocol every user of it shares: collecting the reply to an AT command.
#pragma once

#include <cstdint>

#include "core/GString.h"

class TComm;

class Socket {
public:
    // Channels: which service of the port a socket reaches.
    static constexpr int32_t kChannelAt = 0;        // AT commands / data line
    static constexpr int32_t kChannelObex = 1;      // OBEX file browsing
    static constexpr int32_t kChannelPush = 2;      // OBEX object push
    static constexpr int32_t kChannelHeadset = 3;   // headset (Bluetooth only)

    // ReadReply flags.
    static constexpr int32_t kStopAtResult = 1;  // stop at the final line (always done)
    static constexpr int32_t kJoinLines = 2;     // keep every information line, joined

    // Limits of one AT reply: a phone that streams without line ends, or never ends its
    // reply, must not grow our buffers without bound.
    static constexpr uint32_t kMaxLineBytes = 4 * 1024;
    static constexpr uint32_t kMaxReplyBytes = 256 * 1024;

    // The port is not owned; it may be null for sockets used outside a port (tests).
    Socket(TComm* port, int32_t channel);
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    // Every transport's destructor calls its own Close (the base cannot: Close is virtual).
    virtual ~Socket();
    // True when already open; on success the port's isOpen is set.
    virtual bool Open() = 0;
    // True when closed, also when it was not open.
    virtual bool Close() = 0;
    virtual bool IsOpen() = 0;
    // Up to count bytes, waiting as the transport does; answers the number read (0 after a
    // time-out or error), never negative.
    virtual int32_t Read(void* buffer, int32_t count) = 0;
    // Collects one AT reply byte by byte: information lines into reply (the last one, or all
    // joined with kJoinLines), the final "OK" or "...ERROR..." line into result. Answers the
    // number of bytes consumed. result stays empty when no final line arrived, when a line
    // exceeds kMaxLineBytes or the reply exceeds kMaxReplyBytes.
    virtual int32_t ReadReply(int32_t flags);
    // Placeholder kept in the interface; every transport answers false.
    virtual bool Reserved();
    // Writes count bytes, or the NUL-terminated text when count is 0; answers the number of
    // bytes the transport reports written.
    virtual int32_t Write(const void* data, int32_t count) = 0;
    // Discards whatever is queued in both directions (serial lines; nothing elsewhere).
    virtual void Purge();

    GString line;    // the reply line being assembled
    GString reply;   // information text of the last AT reply
    GString result;  // final line of the last AT reply, empty when none was seen
    int32_t channel;
    TComm* port;

protected:
    // Transports record their open state in the port (null port: nothing to record).
    void SetPortOpen(bool open);
    // Length of a write: count, or the text length when count is 0.
    static int32_t WriteLength(const void* data, int32_t count);
};
