// UTF-8 names from phones (folder listings, Samsung replies) into the ANSI code page.
#pragma once

#include <cstdint>

// Decodes length bytes of UTF-8 (no 4-byte sequences: a lead byte from 0xE0 up starts three
// bytes, any other byte from 0x80 up two) and converts the text, up to its first NUL, into
// output as a NUL-terminated ANSI string. A sequence cut off by the end of the input becomes
// U+FFFD. False, with output holding an empty string, when the text needs more than
// outputSize - 1 bytes or does not convert.
bool Utf8ToAnsi(const char* bytes, uint32_t length, char* output, uint32_t outputSize);
