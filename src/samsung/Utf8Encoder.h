// UTF-16 to UTF-8 into a fixed buffer, one UTF-16 unit at a time (1, 2 or 3 bytes): the names
// the Samsung AT commands carry come from the ANSI code page and so never hold surrogates.
#pragma once

#include <cstdint>

// Encodes text up to its first NUL, or its first count units, into out and terminates it.
// Answers the number of bytes before the terminator, or -1 when the encoded text and its
// terminator do not fit outCap bytes (out then holds an empty string when outCap > 0).
int32_t EncodeUtf8(const char16_t* text, uint32_t count, char* out, uint32_t outCap);
