#include "samsung/Crc32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Bit by bit, straight from the definition: the check the table-driven code must agree with.
uint32_t BitwiseCrc32(const uint8_t* data, size_t length)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

TEST(Crc32, KnownVectors)
{
    const struct {
        const char* text;
        uint32_t crc;
    } cases[] = {
        {"123456789", 0xCBF43926u},
        {"", 0x00000000u},
        {"a", 0xE8B7BE43u},
        {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(c.text), static_cast<uint32_t>(strlen(c.text))),
                  c.crc)
            << c.text;
    }
    EXPECT_EQ(Crc32(nullptr, 0), 0u);
}

TEST(Crc32, OneMebibyteAgreesWithTheBitwiseDefinition)
{
    std::vector<uint8_t> data(1u << 20);
    uint32_t x = 0x12345678u;
    for (uint8_t& b : data) {
        x = x * 1103515245u + 12345u;
        b = static_cast<uint8_t>(x >> 16);
    }
    EXPECT_EQ(Crc32(data.data(), static_cast<uint32_t>(data.size())),
              BitwiseCrc32(data.data(), data.size()));
    // Every byte value and a single changed bit are seen.
    data[data.size() / 2] ^= 0x10;
    EXPECT_EQ(Crc32(data.data(), static_cast<uint32_t>(data.size())),
              BitwiseCrc32(data.data(), data.size()));
    std::vector<uint8_t> all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    EXPECT_EQ(Crc32(all.data(), 256), BitwiseCrc32(all.data(), 256));
}

}  // namespace
