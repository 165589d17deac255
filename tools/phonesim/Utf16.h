#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// OBEX names travel as UTF-16 big-endian; the phone's disk holds UTF-8.
// Decoding stops at a 0x0000 unit; a lone surrogate or an odd last byte becomes U+FFFD.
std::string Utf16BeToUtf8(const uint8_t* data, size_t size);
std::string Utf8ToUtf16Be(std::string_view text, bool terminator);
