#include "obex/RequestWriter.h"

#include <cstring>

#include "obex/ObexCodes.h"

RequestWriter::RequestWriter(uint8_t* buffer, uint32_t capacity, uint8_t code)
    : buffer(buffer), capacity(capacity > 0xFFFF ? 0xFFFF : capacity)
{
    U8(code);
    U16(0);  // the length, once it is known
}

bool RequestWriter::Fits(uint32_t count)
{
    if (ok && count <= capacity - length)
        return true;
    ok = false;
    return false;
}

void RequestWriter::U8(uint8_t value)
{
    if (Fits(1))
        buffer[length++] = value;
}

void RequestWriter::U16(uint32_t value)
{
    if (!Fits(2))
        return;
    buffer[length++] = static_cast<uint8_t>(value >> 8);
    buffer[length++] = static_cast<uint8_t>(value);
}

void RequestWriter::U32(uint32_t value)
{
    if (!Fits(4))
        return;
    U16(value >> 16);
    U16(value & 0xFFFF);
}

void RequestWriter::Bytes(const void* data, uint32_t count)
{
    if (count == 0 || !Fits(count))
        return;
    // The data may already lie where it goes (read straight into the packet).
    std::memmove(buffer + length, data, count);
    length += count;
}

void RequestWriter::Header(uint8_t id, const void* data, uint32_t count)
{
    if (count > capacity || !Fits(obex::kHeaderHead + count))
        return;
    U8(id);
    U16(obex::kHeaderHead + count);
    Bytes(data, count);
}

void RequestWriter::Header32(uint8_t id, uint32_t value)
{
    if (!Fits(obex::kFourByteHeader))
        return;
    U8(id);
    U32(value);
}

bool RequestWriter::Finish()
{
    if (!ok || length < obex::kPacketHead)
        return false;
    buffer[1] = static_cast<uint8_t>(length >> 8);
    buffer[2] = static_cast<uint8_t>(length);
    return true;
}
