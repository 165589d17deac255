// A socket that passes everything to another one and counts the reads that came back short.
// On a real line a short read is one that waited out the transport's time-out, so the count
// tells how many time-outs an operation cost, without a clock:
//
//   CountingSocket counted(serial);
//   files.Connect(&counted, nullptr, 0);
//   ... an operation against a silent phone ...
//   EXPECT_LE(counted.shortReads, 1);
#pragma once

#include "transport/Socket.h"

class CountingSocket : public Socket {
public:
    // Takes the inner socket's port and channel; the inner socket is not owned.
    explicit CountingSocket(Socket& inner);
    ~CountingSocket() override;

    bool Open() override;
    bool Close() override;
    bool IsOpen() override;
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* data, int32_t count) override;
    void Purge() override;

    int reads = 0;
    int shortReads = 0;  // reads that answered fewer bytes than asked for

private:
    Socket& inner;
};
