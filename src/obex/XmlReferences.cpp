#include "obex/XmlReferences.h"

#include <cstdint>

namespace {

constexpr uint32_t kMaxCodePoint = 0x10FFFF;

struct Entity {
    std::string_view name;
    char character;
};

constexpr Entity kEntities[] = {
    {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''},
};

int DigitValue(char c, bool hex)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (hex && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The character of a numeric reference body ("#38", "#x26"); 0 when it names none.
uint32_t CodePoint(std::string_view body)
{
    if (body.size() < 2 || body[0] != '#')
        return 0;
    const bool hex = body[1] == 'x';
    const size_t first = hex ? 2 : 1;
    if (first >= body.size())
        return 0;
    uint32_t value = 0;
    for (size_t i = first; i < body.size(); ++i) {
        const int digit = DigitValue(body[i], hex);
        if (digit < 0)
            return 0;
        value = value * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
        if (value > kMaxCodePoint)
            return 0;
    }
    // Surrogate halves are no characters.
    if (value >= 0xD800 && value <= 0xDFFF)
        return 0;
    return value;
}

void AppendUtf8(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Decodes the reference whose body (between '&' and ';') is given; false when it is none.
bool Decode(std::string_view body, std::string& out)
{
    for (const Entity& entity : kEntities) {
        if (body == entity.name) {
            out.push_back(entity.character);
            return true;
        }
    }
    const uint32_t c = CodePoint(body);
    if (c == 0)
        return false;
    AppendUtf8(out, c);
    return true;
}

}  // namespace

std::string DecodeXmlReferences(std::string_view text)
{
    // The longest body worth looking at: "#x10FFFF" with a few leading zeros.
    constexpr size_t kMaxBody = 16;
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const size_t amp = text.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, amp - i));
        const size_t end = text.find(';', amp + 1);
        if (end != std::string_view::npos && end - amp - 1 <= kMaxBody &&
            Decode(text.substr(amp + 1, end - amp - 1), out)) {
            i = end + 1;
        } else {
            out.push_back('&');
            i = amp + 1;
        }
    }
    return out;
}
