#include "support/ObexBytes.h"

#include <cstdio>
#include <cstdlib>

namespace obexbytes {

namespace {
// A malformed literal is a mistake in the test itself.
[[noreturn]] void Malformed(const std::string& text)
{
    std::fprintf(stderr, "malformed hex literal: %s\n", text.c_str());
    std::abort();
}
}  // namespace

std::string Hex(const std::string& text)
{
    std::string out;
    int high = -1;
    for (char c : text) {
        if (c == ' ')
            continue;
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else
            Malformed(text);
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<char>(high * 16 + v));
            high = -1;
        }
    }
    if (high >= 0)
        Malformed(text);
    return out;
}

std::string ToHex(const std::string& bytes)
{
    std::string out;
    char buf[4];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof buf, out.empty() ? "%02X" : " %02X", b);
        out += buf;
    }
    return out;
}

std::string Utf16Be(const std::u16string& text, bool terminator)
{
    std::string out;
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c >> 8));
        out.push_back(static_cast<char>(c & 0xFF));
    }
    if (terminator)
        out.append(2, '\0');
    return out;
}

std::string Be16(uint32_t value)
{
    return std::string{static_cast<char>((value >> 8) & 0xFF), static_cast<char>(value & 0xFF)};
}

std::string Be32(uint32_t value)
{
    return Be16(value >> 16) + Be16(value & 0xFFFF);
}

std::string Packet(uint8_t code, const std::string& payload)
{
    return std::string(1, static_cast<char>(code)) + Be16(3 + payload.size()) + payload;
}

std::string Header(uint8_t id, const std::string& data)
{
    return std::string(1, static_cast<char>(id)) + Be16(3 + data.size()) + data;
}

}  // namespace obexbytes
