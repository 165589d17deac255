// The read and write loops of the socket transports (IrDA, Bluetooth), written against a
// small endpoint interface so that they run the same over Winsock and over test doubles.
#pragma once

#include <cstdint>

class StreamEndpoint {
public:
    virtual ~StreamEndpoint() = default;
    // Bytes sent; 0 when the stack takes nothing now (it would block); negative on error,
    // which ends a write.
    virtual int32_t Send(const uint8_t* data, int32_t length) = 0;
    // Bytes received; negative on error (including "nothing yet" on a non-blocking socket).
    virtual int32_t Recv(uint8_t* buffer, int32_t length) = 0;
    // True when the endpoint became readable / writable within ms; a failing wait counts
    // as ready (the following call then reports the error).
    virtual bool WaitReadable(uint32_t ms) = 0;
    virtual bool WaitWritable(uint32_t ms) = 0;
};

// Up to count bytes: what is there now, then up to four waits of waitMs each for the rest.
// Answers the bytes held, never negative.
int32_t StreamRead(StreamEndpoint& endpoint, void* buffer, int32_t count, uint32_t waitMs);

// All length bytes, sending the remainder after a partial send while the endpoint becomes
// writable within waitMs in total. Answers the bytes sent, never negative.
int32_t StreamWrite(StreamEndpoint& endpoint, const void* data, int32_t length, uint32_t waitMs);
