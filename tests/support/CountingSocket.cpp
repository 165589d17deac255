#include "support/CountingSocket.h"

CountingSocket::CountingSocket(Socket& inner) : Socket(inner.port, inner.channel), inner(inner) {}

CountingSocket::~CountingSocket() = default;

bool CountingSocket::Open() { return inner.Open(); }

bool CountingSocket::Close() { return inner.Close(); }

bool CountingSocket::IsOpen() { return inner.IsOpen(); }

int32_t CountingSocket::Read(void* buffer, int32_t count)
{
    const int32_t got = inner.Read(buffer, count);
    ++reads;
    if (got < count)
        ++shortReads;
    return got;
}

int32_t CountingSocket::Write(const void* data, int32_t count) { return inner.Write(data, count); }

void CountingSocket::Purge() { inner.Purge(); }
