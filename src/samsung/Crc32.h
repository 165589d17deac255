// CRC-32 as the Samsung media store checks uploads: IEEE 802.3 polynomial, reflected, initial
// value and final XOR all ones (the value zlib computes; "123456789" gives 0xCBF43926).
#pragma once

#include <cstdint>

uint32_t Crc32(const uint8_t* data, uint32_t length);
