// Builds one OBEX packet in a fixed buffer: the code, the length (set by Finish), then the
// operation's fields and its headers. An append that does not fit writes nothing and spoils
// the packet, so that Finish refuses it.
#pragma once

#include <cstdint>

class RequestWriter {
public:
    // capacity at most 0xFFFF, the largest length an OBEX packet can state.
    RequestWriter(uint8_t* buffer, uint32_t capacity, uint8_t code);

    void U8(uint8_t value);
    void U16(uint32_t value);
    void U32(uint32_t value);
    void Bytes(const void* data, uint32_t count);
    // A text or byte-sequence header: id, 2-byte length (3 + count), the bytes.
    void Header(uint8_t id, const void* data, uint32_t count);
    // A four-byte header (Length, Connection Id).
    void Header32(uint8_t id, uint32_t value);

    // Replaces the code written at the start (a PUT that turns out to be the last one).
    void SetCode(uint8_t code) { buffer[0] = code; }

    uint32_t Length() const { return length; }
    // Bytes that still fit.
    uint32_t Room() const { return ok ? capacity - length : 0; }
    bool Ok() const { return ok; }
    // Writes the length field; false when anything did not fit.
    bool Finish();

private:
    bool Fits(uint32_t count);

    uint8_t* buffer;
    uint32_t capacity;
    uint32_t length = 0;
    bool ok = true;
};
