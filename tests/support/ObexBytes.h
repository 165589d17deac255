// Byte vectors for OBEX tests: hex text to bytes, and the pieces packets are made of.
#pragma once

#include <cstdint>
#include <string>

namespace obexbytes {

// "80 00 07" -> the three bytes; spaces are ignored, everything else must be hex digits.
std::string Hex(const std::string& text);
// The bytes as "80 00 07" (for failure messages).
std::string ToHex(const std::string& bytes);
// ASCII/Latin text as UTF-16 big-endian, with the terminator when asked.
std::string Utf16Be(const std::u16string& text, bool terminator = true);
// A 16-bit big-endian number.
std::string Be16(uint32_t value);
std::string Be32(uint32_t value);
// A response or request: code, the length of the whole, then the payload.
std::string Packet(uint8_t code, const std::string& payload);
// A header with a 2-byte length (Unicode and byte-sequence headers).
std::string Header(uint8_t id, const std::string& data);

}  // namespace obexbytes
