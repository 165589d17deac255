#include "transport/StreamLoops.h"

#include "core/Clock.h"

int32_t StreamRead(StreamEndpoint& endpoint, void* buffer, int32_t count, uint32_t waitMs)
{
    if (buffer == nullptr || count <= 0)
        return 0;
    uint8_t* bytes = static_cast<uint8_t*>(buffer);
    int32_t held = endpoint.Recv(bytes, count);
    if (held < 0)
        held = 0;
    for (int attempt = 0; attempt < 4 && held < count; ++attempt) {
        if (!endpoint.WaitReadable(waitMs))
            return held;
        int32_t got = endpoint.Recv(bytes + held, count - held);
        if (got > 0)
            held += got;
    }
    return held;
}

int32_t StreamWrite(StreamEndpoint& endpoint, const void* data, int32_t length, uint32_t waitMs)
{
    if (data == nullptr || length <= 0)
        return 0;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    uint32_t start = NowMs();
    int32_t sent = 0;
    for (;;) {
        int32_t n = endpoint.Send(bytes + sent, length - sent);
        if (n < 0)
            return sent;
        sent += n;
        if (sent >= length)
            return sent;
        uint32_t elapsed = NowMs() - start;
        if (elapsed >= waitMs || !endpoint.WaitWritable(waitMs - elapsed))
            return sent;
    }
}
